#!/usr/bin/env bash
# The test suite under ThreadSanitizer, in build/tsan: every data race in the
# libraries or the tests fails the run. The tests that start threads of their
# own are the ones it watches (per-thread return codes, texts and record
# buffers, drive mapping during lookups, a FIFO read while its writer
# writes); the rest run too, as a check that nothing else races.
# Left out: the single-threaded sweeps and texts of gigabytes, which take minutes under its
# instrumentation and start no thread; and the hostile neighbour, whose
# host forks while its threads run, which ThreadSanitizer does not support;
# and the tests labelled "once", which no sanitizer changes (the plain
# suite runs them).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build test

build=build/tsan
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVIK_SANITIZERS=thread \
  -DORVIK_INSTALL=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  ctest --test-dir "$build" -j "$(nproc)" --output-on-failure -LE once -E 'LongText|LongPathText|FaultSweep|HostileNeighbour'
