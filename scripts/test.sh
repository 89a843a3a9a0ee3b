#!/usr/bin/env bash
# The whole test suite, from a fresh machine: installs what is missing, then
# fuzzes the path-text functions and the file-content parsers for a few
# seconds each (scripts/fuzz.sh), builds and tests under ThreadSanitizer
# (scripts/tsan.sh), and builds and tests twice more, plainly and under
# AddressSanitizer with UndefinedBehaviorSanitizer. It ends with CTest's own
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
echo "== ThreadSanitizer build"
scripts/tsan.sh
echo "== plain build"
run_suite build/plain -DORVIK_BUILD_BENCH=ON
echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build/sanitize -DORVIK_SANITIZERS=address,undefined
