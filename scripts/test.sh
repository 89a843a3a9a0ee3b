#!/usr/bin/env bash
# The whole test suite, from a fresh machine: installs what is missing, then
# fuzzes the path-text functions for a few seconds each (scripts/fuzz.sh),
# and builds and tests twice, plainly and under AddressSanitizer with
# UndefinedBehaviorSanitizer; after the plain build, clang-format and
# clang-tidy check the sources (scripts/lint.sh). It ends with CTest's own
# summary line.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc)
run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" -j "$jobs" --output-on-failure
}

echo "== short fuzz run"
scripts/fuzz.sh
echo "== plain build"
run_suite build/plain -DORVIK_BUILD_BENCH=ON
echo "== clang-format and clang-tidy"
scripts/lint.sh build/plain
echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build/sanitize -DORVIK_SANITIZERS=address,undefined
