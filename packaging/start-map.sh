#!/usr/bin/env bash
# Starts the map for its user: the orbelle window on the user's display (with the map of its
# settings drawn for it at the first start), or, with no display, a picture of the map for the
# stored settings rendered headless by orbelle-render. The menu entry starts the installed map
# through it, and tools/run-map.sh the map of a build tree.
#
#   start-map ORBELLE ORBELLE_RENDER [orbelle arguments...]
#
# ORBELLE and ORBELLE_RENDER are the two programs. Settings and the map cache live in the map's
# working folder, $XDG_DATA_HOME/orbelle (by default ~/.local/share/orbelle), as when the
# session bus starts the map, so a host and the menu share them. Environment:
#   ORBELLE_HEADLESS=1   render the picture even when a display is available
#   ORBELLE_MAP_PNG=FILE where the picture goes (default: orbelle-map.png in the working folder)
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 ORBELLE ORBELLE_RENDER [orbelle arguments...]" >&2
  exit 2
fi
# Absolute paths: the programs are started from the working folder.
absolute() { case "$1" in /*) printf '%s\n' "$1" ;; *) printf '%s\n' "$PWD/$1" ;; esac; }
window=$(absolute "$1")
renderer=$(absolute "$2")
shift 2

workdir="${XDG_DATA_HOME:-$HOME/.local/share}/orbelle"
mkdir -p "$workdir"
cd "$workdir"

# A display the window can open: a Wayland socket, a local X socket, or a remote X display
# (forwarded over ssh, say), which cannot be checked without connecting.
has_display() {
  if [ -n "${WAYLAND_DISPLAY:-}" ]; then
    case "$WAYLAND_DISPLAY" in
      /*) [ -S "$WAYLAND_DISPLAY" ] && return 0 ;;
      *) [ -S "${XDG_RUNTIME_DIR:-/nonexistent}/$WAYLAND_DISPLAY" ] && return 0 ;;
    esac
  fi
  [ -n "${DISPLAY:-}" ] || return 1
  case "$DISPLAY" in
    :* | unix:*)
      local number=${DISPLAY#*:}
      number=${number%%.*}
      [ -S "/tmp/.X11-unix/X$number" ]
      ;;
    *) return 0 ;;
  esac
}

# ---- the stored (or default) settings, as the window reads them ----

# The value of a key of section "Settings" in orbelle.ini (names case-blind, blanks around the
# value dropped), or the default.
setting() {
  local key=$1 default=$2 value=""
  if [ -f orbelle.ini ]; then
    value=$(awk -v key="$key" '
      /^[ \t]*\[/ {
        name = $0; sub(/^[ \t]*\[[ \t]*/, "", name); sub(/[ \t]*\].*$/, "", name)
        section = tolower(name); next
      }
      section == "settings" && index($0, "=") > 0 {
        k = substr($0, 1, index($0, "=") - 1); v = substr($0, index($0, "=") + 1)
        gsub(/^[ \t]+|[ \t]+$/, "", k); gsub(/^[ \t]+|[ \t\r]+$/, "", v)
        if (tolower(k) == tolower(key)) { print v; exit }
      }' orbelle.ini)
  fi
  printf '%s\n' "${value:-$default}"
}

# The leading number of a text, as the settings store reads it; the default when there is none.
number() {
  awk -v text="$1" -v def="$2" 'BEGIN {
    if (match(text, /^[ \t]*[-+]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][-+]?[0-9]+)?/)) print substr(text, RSTART, RLENGTH) + 0
    else print def }'
}

# Nearest whole number, halves to even; clamped to [lo, hi].
whole() {
  awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN {
    f = int(v); if (v < 0 && f != v) f -= 1
    d = v - f; r = (d > 0.5 || (d == 0.5 && f % 2 != 0)) ? f + 1 : f
    if (r < lo) r = lo; if (r > hi) r = hi; print r }'
}

clamp() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { if (v < lo) v = lo; if (v > hi) v = hi; printf "%.10g\n", v }'; }

truthy() {
  case "$(printf '%s' "$1" | tr '[:lower:]' '[:upper:]')" in
    Y* | T* | 1* | ON) return 0 ;;
    *) return 1 ;;
  esac
}

lat=$(clamp "$(number "$(setting LatHere 33.9)" 33.9)" -90 90)
lon=$(clamp "$(number "$(setting LonHere -84.179)" -84.179)" -180 180)
# The window bounds a stored radius to the miles field's 100 .. 12437.
radius=$(number "$(setting MaxDx 12437.565315561978)" 12437.565315561978)
radius=$(awk -v v="$radius" 'BEGIN { if (v > 12437.565315561978) v = 12437; if (v < 100) v = 100; print v }')
radius=$(whole "$radius" 100 12437)
size=$(whole "$(number "$(setting PixelWidth 600)" 600)" 1 8192)
utc_offset=$(whole "$(number "$(setting UTCOffset 5)" 5)" -32768 32767)

args=(--lat "$lat" --lon "$lon" --radius "$radius" --size "$size")
if truthy "$(setting ShowRivers No)"; then args+=(--rivers); fi

if [ "${ORBELLE_HEADLESS:-0}" != 1 ] && has_display; then
  if [ ! -x "$window" ]; then
    echo "$0: $window is not a program" >&2
    exit 1
  fi
  # Without a host to ask for a map, a first start would show a blank surface until the
  # operator draws one: give it the map of its settings as its cache.
  if [ ! -f MapCache.bmp ] && [ -x "$renderer" ]; then
    "$renderer" "${args[@]}" MapCache.bmp >/dev/null || rm -f MapCache.bmp
  fi
  exec "$window" EXE=T "$@"
fi

if truthy "$(setting ShowSun Yes)"; then
  # The window's sun time: the local clock plus the stored UTC offset in hours.
  args+=(--sun "$(date -d "@$(($(date +%s) + utc_offset * 3600))" '+%Y-%m-%d %H:%M:%S')")
fi

if [ ! -x "$renderer" ]; then
  echo "$0: $renderer is not a program" >&2
  exit 1
fi
output=${ORBELLE_MAP_PNG:-$workdir/orbelle-map.png}
case "$output" in /*) ;; *) output="$OLDPWD/$output" ;; esac
echo "No display: rendering the map for the stored settings (${args[*]})"
status=0
"$renderer" "${args[@]}" "$output" || status=$?
if [ -f "$output" ] && [ "$status" -le 1 ]; then
  echo "Map written to $output"
fi
exit "$status"
