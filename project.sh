#!/usr/bin/env bash
# The project's one entry script.
#   ./project.sh run [args]     build the map alone, then start it (a window, or a PNG with no
#                               display)
#   ./project.sh foxhost [args] build foxhost and the extension libraries, then start foxhost
#                               with them loaded
#   ./project.sh test           build everything, then run the whole test suite; then the same
#                               with AddressSanitizer and UndefinedBehaviorSanitizer
#   ./project.sh bench          build in Release (build-bench/), then run the benchmarks
#   ./project.sh package        build in Release (build-package/), then make the Debian package
#   ./project.sh coverage       build with gcov counters (build-coverage/), run the suite, then
#                               report the product code's line and branch coverage with gcovr
# Each command installs the Debian packages it needs when they are missing (as root).
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"

BUILD_DIR=${BUILD_DIR:-build}
ASAN_BUILD_DIR=${ASAN_BUILD_DIR:-build-asan}
BENCH_BUILD_DIR=${BENCH_BUILD_DIR:-build-bench}
PACKAGE_BUILD_DIR=${PACKAGE_BUILD_DIR:-build-package}
COVERAGE_BUILD_DIR=${COVERAGE_BUILD_DIR:-build-coverage}
JOBS=${JOBS:-$(nproc)}

# Packages needed to configure the project and build the programs and libraries (run, foxhost);
# ALSA for the keyer's sound-card backend.
RUN_PACKAGES=(cmake g++ ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
  libasound2-dev)
# Packages needed to build and test everything.
BUILD_PACKAGES=(cmake g++ ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev dbus dbus-daemon xvfb xauth libhamlib-utils hamradio-files
  libglib2.0-bin clang libclang-rt-dev)
# Making the Debian package and trying it: dpkg-shlibdeps (dpkg-dev) and file, which CPack uses
# to find the package's dependencies; desktop-file-validate for the menu entry.
PACKAGE_PACKAGES=(dpkg-dev file desktop-file-utils)
# Tools the station's README uses to try the Hamlib daemons and play a DX cluster by hand.
STATION_PACKAGES=(netcat-openbsd)

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

configure() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
}

run_suite() {
  (cd "$1" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$JOBS" --timeout 600)
}

werror=OFF
[ "${CI:-}" = "true" ] && werror=ON

# A build folder made by run or foxhost leaves the tests and benchmarks out until the test
# command asks for them; one the test command made keeps them.
first_configure=()
[ -f "$BUILD_DIR/CMakeCache.txt" ] || first_configure=(-DORBELLE_TESTS=OFF -DORBELLE_BENCH=OFF)

cmd=${1:-}
shift || true
case "$cmd" in
  run)
    need_packages "${RUN_PACKAGES[@]}"
    configure "$BUILD_DIR" -DORBELLE_WERROR=$werror "${first_configure[@]}"
    cmake --build "$BUILD_DIR" -j "$JOBS" --target orbelle orbelle-render
    exec tools/run-map.sh "$BUILD_DIR" "$@"
    ;;
  foxhost)
    need_packages "${RUN_PACKAGES[@]}"
    configure "$BUILD_DIR" -DORBELLE_WERROR=$werror "${first_configure[@]}"
    cmake --build "$BUILD_DIR" -j "$JOBS" --target foxhost morse velalib
    exec tools/run-foxhost.sh "$BUILD_DIR" "$@"
    ;;
  test)
    need_packages "${RUN_PACKAGES[@]}" "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}" \
      "${STATION_PACKAGES[@]}"
    configure "$BUILD_DIR" -DORBELLE_WERROR=$werror -DORBELLE_TESTS=ON -DORBELLE_BENCH=ON
    cmake --build "$BUILD_DIR" -j "$JOBS"
    run_suite "$BUILD_DIR"
    # The same suite again with AddressSanitizer and UndefinedBehaviorSanitizer, at -O1 for
    # readable stack traces, with assertions on.
    configure "$ASAN_BUILD_DIR" -DORBELLE_WERROR=$werror -DORBELLE_SANITIZE=ON \
      -DORBELLE_TESTS=ON -DORBELLE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug \
      "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" "-DCMAKE_C_FLAGS_DEBUG=-O1 -g1"
    cmake --build "$ASAN_BUILD_DIR" -j "$JOBS"
    ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
      UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 run_suite "$ASAN_BUILD_DIR"
    ;;
  bench)
    need_packages "${RUN_PACKAGES[@]}" "${BUILD_PACKAGES[@]}"
    configure "$BENCH_BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DORBELLE_TESTS=OFF -DORBELLE_BENCH=ON
    cmake --build "$BENCH_BUILD_DIR" -j "$JOBS"
    find "$BENCH_BUILD_DIR/bench" -type f -name 'bench_*' -executable | sort | while read -r b; do
      echo "== $b"; "$b"
    done
    ;;
  package)
    need_packages "${RUN_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
    configure "$PACKAGE_BUILD_DIR" -DORBELLE_WERROR=$werror -DCMAKE_BUILD_TYPE=Release \
      -DORBELLE_TESTS=OFF -DORBELLE_BENCH=OFF -DCMAKE_INSTALL_PREFIX=/usr
    cmake --build "$PACKAGE_BUILD_DIR" -j "$JOBS"
    (cd "$PACKAGE_BUILD_DIR" && cpack --config CPackConfig.cmake)
    ls "$PACKAGE_BUILD_DIR"/package/*.deb
    ;;
  coverage)
    need_packages "${RUN_PACKAGES[@]}" "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}" gcovr
    configure "$COVERAGE_BUILD_DIR" -DORBELLE_COVERAGE=ON -DORBELLE_TESTS=ON -DORBELLE_BENCH=OFF \
      -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-g0" "-DCMAKE_C_FLAGS_DEBUG=-g0"
    cmake --build "$COVERAGE_BUILD_DIR" -j "$JOBS"
    find "$COVERAGE_BUILD_DIR" -name '*.gcda' -delete
    run_suite "$COVERAGE_BUILD_DIR" || true
    # The product code only: tests, benchmarks and generated files are left out. Test processes
    # running in parallel can leave a few negative branch counts, which gcov reports as errors.
    gcovr -r . --object-directory "$COVERAGE_BUILD_DIR" -e '(.+/)?tests/' -e 'bench/' \
      -e "$COVERAGE_BUILD_DIR/" --gcov-ignore-parse-errors -j "$JOBS" --print-summary \
      --txt "$COVERAGE_BUILD_DIR/coverage.txt"
    echo "per file: $COVERAGE_BUILD_DIR/coverage.txt"
    ;;
  *)
    echo "usage: $0 run [args] | foxhost [args] | test | bench | package | coverage" >&2
    exit 2
    ;;
esac
