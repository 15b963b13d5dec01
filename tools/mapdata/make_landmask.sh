#!/usr/bin/env bash
# Makes the land/water mask used to score rendered maps (layout in README.md).
#   tools/mapdata/make_landmask.sh [OUT] [CELL_ARCMIN] [RESOLUTION] [BUILD_DIR]
# OUT: the mask file (default: BUILD_DIR/landmask.bin). CELL_ARCMIN: whole arc-minutes per cell,
# dividing 60 (default 2: 10800 x 5400 cells, 58 MB). RESOLUTION: GSHHG resolution letter,
# h (high, default) or f (full). Takes about 15 s at 2' and high resolution.
set -euo pipefail
root=$(cd "$(dirname "$(readlink -f "$0")")/../.." && pwd)
build=$(realpath -m "${4:-$root/build-mapdata}")
out=$(realpath -m "${1:-$build/landmask.bin}")
cell=${2:-2}
resolution=${3:-h}
convert=$build/tools/mapdata/mapdata_convert

case "$cell" in 1|2|3|4|5|6|10|12|15|20|30|60) ;; *) echo "cell must divide 60 arc-minutes" >&2; exit 2;; esac
case "$resolution" in c|l|i|h|f) ;; *) echo "resolution must be one of c l i h f" >&2; exit 2;; esac
if [ ! -x "$convert" ]; then
  [ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja >/dev/null
  cmake --build "$build" --target mapdata_convert
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
columns=$((360 * 60 / cell))
rows=$((180 * 60 / cell))

# Pixel registration (-r): each value belongs to its cell's centre. -N gives every cell its
# shoreline level (ocean 0, land 1, lake 2, island in lake 3, pond 4); Antarctica is its ice
# front (+ai), as in the outline files.
# GMT runs in the scratch folder with its history off, so it leaves no gmt.history behind.
cd "$work"
gmt grdlandmask -Rd -I${cell}m -r -D"$resolution" -A0+ai -N0/1/2/3/4 -G"$work/mask.nc" \
  --GMT_HISTORY=false
# Rows from the top (north) down, columns from the left (west), one byte per cell.
gmt grd2xyz "$work/mask.nc" -ZTLc --GMT_HISTORY=false > "$work/cells.raw"
"$convert" mask "$work/cells.raw" "$columns" "$rows" $((cell * 60)) "$out"
echo "$out: ${columns} x ${rows} cells of ${cell}', GSHHG resolution $resolution"
