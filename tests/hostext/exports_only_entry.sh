#!/bin/sh
# Each extension library named must export DispatchAPI and nothing else: a template instance of
# the standard library left exported would be bound across the host and every other library,
# and a GNU unique symbol would keep the library from ever unloading.
status=0
for lib in "$@"; do
  if ! nm -D --defined-only "$lib" >/dev/null; then
    echo "$lib: cannot read its symbols"
    exit 1
  fi
  symbols=$(nm -D --defined-only "$lib" | awk '{ print $3 }')
  unique=$(nm -D --defined-only "$lib" | awk '$2 == "u" { print $3 }')
  if [ "$symbols" != "DispatchAPI" ] || [ -n "$unique" ]; then
    echo "$lib exports more than DispatchAPI:"
    echo "$symbols" | head -n 20
    status=1
  fi
done
exit $status
