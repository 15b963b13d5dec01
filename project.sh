#!/usr/bin/env bash
# The project's one entry script.
#   ./project.sh run [args]   build, then start the map (a window, or a PNG with no display)
#   ./project.sh foxhost [args] build, then start foxhost with the extension libraries loaded
#   ./project.sh test         build, then run the whole test suite; then the same with
#                             AddressSanitizer and UndefinedBehaviorSanitizer
#   ./project.sh bench        build, then run the benchmarks
# Each command installs the Debian packages it needs when they are missing (as root).
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"

BUILD_DIR=${BUILD_DIR:-build}
ASAN_BUILD_DIR=${ASAN_BUILD_DIR:-build-asan}
JOBS=${JOBS:-$(nproc)}

# Packages needed to build and test everything.
BUILD_PACKAGES=(cmake g++ ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev dbus dbus-daemon xvfb xauth libhamlib-utils hamradio-files
  netcat-openbsd libglib2.0-bin clang libclang-rt-dev libasound2-dev)

apt_updated=0
need_packages() {
  local missing=()
  for p in "$@"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages: ${missing[*]} (run as root, or install them)" >&2
    exit 1
  fi
  if [ $apt_updated -eq 0 ]; then
    apt-get update -qq
    apt_updated=1
  fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
}

configure_and_build() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$JOBS"
}

run_suite() {
  (cd "$1" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$JOBS" --timeout 600)
}

werror=OFF
[ "${CI:-}" = "true" ] && werror=ON

cmd=${1:-}
shift || true
case "$cmd" in
  run)
    need_packages "${BUILD_PACKAGES[@]}"
    configure_and_build "$BUILD_DIR" -DORBELLE_WERROR=$werror
    exec tools/run-map.sh "$BUILD_DIR" "$@"
    ;;
  foxhost)
    need_packages "${BUILD_PACKAGES[@]}"
    configure_and_build "$BUILD_DIR" -DORBELLE_WERROR=$werror
    exec tools/run-foxhost.sh "$BUILD_DIR" "$@"
    ;;
  test)
    need_packages "${BUILD_PACKAGES[@]}"
    configure_and_build "$BUILD_DIR" -DORBELLE_WERROR=$werror
    run_suite "$BUILD_DIR"
    # The same suite again with AddressSanitizer and UndefinedBehaviorSanitizer, at -O1 for
    # readable stack traces, with assertions on.
    configure_and_build "$ASAN_BUILD_DIR" -DORBELLE_WERROR=$werror -DORBELLE_SANITIZE=ON \
      -DORBELLE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" \
      "-DCMAKE_C_FLAGS_DEBUG=-O1 -g1"
    ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
      UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 run_suite "$ASAN_BUILD_DIR"
    ;;
  bench)
    need_packages "${BUILD_PACKAGES[@]}"
    configure_and_build "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release
    find "$BUILD_DIR/bench" -type f -name 'bench_*' -executable | sort | while read -r b; do
      echo "== $b"; "$b"
    done
    ;;
  *)
    echo "usage: $0 run [args] | foxhost [args] | test | bench" >&2
    exit 2
    ;;
esac
