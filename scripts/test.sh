#!/usr/bin/env bash
# The whole test suite, from a fresh machine: installs what is missing, then
# fuzzes the path-text functions, the file-content parsers and the
# program's readers for a few seconds each (scripts/fuzz.sh), builds and
# tests under ThreadSanitizer (scripts/tsan.sh), builds and tests plainly;
# then clang-format and clang-tidy check the sources (scripts/lint.sh), the
# API reference is generated (warnings are errors), the Debian packages and
# the static build are checked (scripts/package-test.sh), and the suite runs
# again under AddressSanitizer with UndefinedBehaviorSanitizer. Tests
# labelled "once" (a host built as a subproject, the package check), which
# no sanitizer changes, run in the plain suite only. It ends with CTest's
# own summary line.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc)
# run_suite DIR [CMAKE_OPTION...] [-- CTEST_OPTION...]
run_suite() {
  local dir=$1 options=() tests=()
  shift
  while [ "$#" -gt 0 ] && [ "$1" != "--" ]; do options+=("$1"); shift; done
  [ "$#" -eq 0 ] || { shift; tests=("$@"); }
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug "${options[@]}" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" -j "$jobs" --output-on-failure "${tests[@]}"
}

# Each stage says what it cost, so that a slow one shows: the time it took
# and the processor time it used (which a busy machine does not inflate).
stage() {
  local what=$1
  shift
  echo "== $what"
  local TIMEFORMAT="== $what: %0R s (CPU %0U s user, %0S s system)"
  time "$@"
}
sanitized_suite() {
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    run_suite build/sanitize -DORVIK_SANITIZERS=address,undefined -- -LE once
}

stage "short fuzz run" scripts/fuzz.sh
stage "ThreadSanitizer build" scripts/tsan.sh
stage "plain build" run_suite build/plain -DORVIK_BUILD_BENCH=ON
stage "clang-format and clang-tidy" scripts/lint.sh build/plain
# The reference is built once, in the packages' build (with warnings as
# errors, and the packages must carry it).
stage "API reference and packages" scripts/package-test.sh
stage "AddressSanitizer + UndefinedBehaviorSanitizer build" sanitized_suite
