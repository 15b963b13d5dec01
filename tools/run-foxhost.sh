#!/usr/bin/env bash
# foxhost at its prompt with the extension libraries that exist loaded.
set -euo pipefail
build=$1; shift
args=()
for lib in "$build"/lib/morse.so "$build"/lib/velalib.so; do
  [ -f "$lib" ] && args+=(--library "$lib")
done
exec "$build"/host/foxhost "${args[@]}" "$@"
