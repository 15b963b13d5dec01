#!/usr/bin/env bash
# Runs the map of a build tree as the menu entry runs the installed one (packaging/start-map.sh):
# the window on the user's display, or a picture of the map without one.
#
#   tools/run-map.sh BUILD_DIR [orbelle arguments...]
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [orbelle arguments...]}
shift
build=$(cd "$build" && pwd)

# Where the build places each program, or wherever it is found below map/.
program() {
  local name=$1 usual=$2 found
  if [ -x "$build/$usual" ]; then
    printf '%s\n' "$build/$usual"
    return
  fi
  found=$(find "$build/map" -name "$name" -type f -perm -u+x 2>/dev/null | head -n 1)
  printf '%s\n' "${found:-$build/$usual}"
}

exec "$(dirname "$(readlink -f "$0")")/../packaging/start-map.sh" \
  "$(program orbelle map/shell/orbelle)" "$(program orbelle-render map/app/orbelle-render)" "$@"
