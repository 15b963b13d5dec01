#!/usr/bin/env bash
# Rebuilds the outline files of mapdata/ from GSHHG (intermediate resolution) through GMT.
#   tools/mapdata/make_mapdata.sh [BUILD_DIR] [OUT_DIR]
# BUILD_DIR holds the built mapdata_convert (default: build-mapdata, built here if missing);
# OUT_DIR receives the files (default: mapdata/). Needs Debian's gmt and gmt-gshhg packages.
set -euo pipefail
root=$(cd "$(dirname "$(readlink -f "$0")")/../.." && pwd)
build=$(realpath -m "${1:-$root/build-mapdata}")
out=$(realpath -m "${2:-$root/mapdata}")
convert=$build/tools/mapdata/mapdata_convert

if [ ! -x "$convert" ]; then
  [ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja >/dev/null
  cmake --build "$build" --target mapdata_convert
fi
command -v gmt >/dev/null || { echo "gmt not found (apt-get install gmt gmt-gshhg)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# GMT runs in the scratch folder with its history off, so it leaves no gmt.history behind. Fixed
# output formatting keeps the text (and so the result) independent of a user's gmt.conf.
# -Rd: longitudes -180..180; -Di: intermediate resolution; -M: one segment per binned piece.
cd "$work"
gmtdump() {
  gmt coast -Rd -Di -M --GMT_HISTORY=false --FORMAT_FLOAT_OUT=%.12g --IO_COL_SEPARATOR=tab "$@"
}

# One shoreline level per run: -A0/L/L keeps every feature (no area limit) of level L only.
# Antarctica is its ice front (+ai), so the ice shelves are land and take the ice colour.
for level in 1 2 3 4; do
  gmtdump -W -A0/$level/$level+ai > "$work/level$level.txt"
done
gmtdump -N1 > "$work/country.txt"
gmtdump -N2 > "$work/state.txt"
# Rivers by level: 1 permanent major, 2 additional major, 3 additional, 4 minor rivers (GMT's
# intermittent rivers and canals are left out). The map draws more levels as it zooms in.
for level in 1 2 3 4; do
  gmtdump -I$level > "$work/river$level.txt"
done

"$convert" shores "$work"/level{1,2,3,4}.txt "$out"
"$convert" lines "$work/country.txt" "$out/country.pnt"
"$convert" lines "$work/state.txt" "$out/state.pnt"
# Each river polyline's start code carries the length of its chain (pieces joined at junctions
# and through the lakes of lake.pnt), so that coarse maps can leave out small rivers.
"$convert" lines "$work/river1.txt" "$out/river.pnt" --chains "$out/lake.pnt"
for level in 2 3 4; do
  "$convert" lines "$work/river$level.txt" "$out/river$level.pnt" --chains "$out/lake.pnt"
done

"$convert" check --rings "$out/coast.velapnt" "$out/island.pnt" "$out/lake.pnt"
"$convert" check "$out/country.pnt" "$out/state.pnt" "$out"/river{,2,3,4}.pnt
