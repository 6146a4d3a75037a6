#!/usr/bin/env bash
# Checks that every include runs down the floors, then builds everything
# (benchmarks included, not run) and runs every test, first in the plain build,
# then in the sanitizer build, then runs the fuzz targets built by Clang over
# their corpora and a short run from a fixed seed each. ZELSAL_SKIP_ASAN=1 and
# ZELSAL_SKIP_FUZZ=1 skip those rounds for quick local runs; CI always runs
# them. A Release build of what a packager makes (the two programs and the
# library; the tests' own code is built and run in the other trees) is built
# too, so a break that only optimisation shows is caught; tools/debug-check compiles what -O0 warns of.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps
tools/check-layers
jobs=$(nproc)

build_tree() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

run_suite() {
  build_tree "$@"
  ctest --test-dir "$1" -j "$jobs" --output-on-failure --timeout 300
}

run_suite build
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELSAL_BENCH=OFF >/dev/null
cmake --build build-release -j "$jobs" --target Zelsal Zelsetup
tools/debug-check build-debug
if [ -n "${CI:-}" ] || [ -z "${ZELSAL_SKIP_ASAN:-}" ]; then
  run_suite build-asan -DZELSAL_SANITIZE=ON -DZELSAL_BENCH=OFF
fi
if command -v clang++ >/dev/null && { [ -n "${CI:-}" ] || [ -z "${ZELSAL_SKIP_FUZZ:-}" ]; }; then
  CC=clang CXX=clang++ run_suite build-fuzz -DZELSAL_FUZZ=ON
fi
