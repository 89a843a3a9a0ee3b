#!/usr/bin/env bash
# The whole test suite, from a fresh machine: installs what is missing, then
# fuzzes the path-text functions, the file-content parsers and the
# program's readers for a few seconds each (scripts/fuzz.sh), builds and
# tests under ThreadSanitizer (scripts/tsan.sh), builds and tests plainly;
# then clang-format and clang-tidy check the sources (scripts/lint.sh), the
# API reference is generated (warnings are errors), the Debian packages and
# the static build are checked (scripts/package-test.sh), and the suite runs
# again under AddressSanitizer with UndefinedBehaviorSanitizer. It ends with
# CTest's own summary line.
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
echo "== ThreadSanitizer build"
scripts/tsan.sh
echo "== plain build"
run_suite build/plain -DORVIK_BUILD_BENCH=ON
echo "== clang-format and clang-tidy"
scripts/lint.sh build/plain
echo "== API reference and packages"
cmake --build build/plain --target docs && scripts/package-test.sh
echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build/sanitize -DORVIK_SANITIZERS=address,undefined
