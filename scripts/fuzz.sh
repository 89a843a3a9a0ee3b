#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, then runs each one from its corpus in fuzz/corpus
# with a fixed seed. FUZZ_SECONDS sets the time per target (default 5).
# New inputs go to a scratch directory, so the corpus in the repository stays
# as it is; a crash leaves its input in build/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build fuzz

seconds=${FUZZ_SECONDS:-5}
build=build/fuzz
targets=(fuzz_suffix fuzz_path_file fuzz_shrink_name fuzz_read_str fuzz_read_cstring)
targets+=(fuzz_orvikfile)  # the program's file readers

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-14 -DORVIK_BUILD_FUZZ=ON \
  -DORVIK_SANITIZERS=address,undefined \
  -DORVIK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

# The targets run side by side, one to a processor: each is one process.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
run_target() {
  local target=$1 log="$build/$1.log"
  mkdir -p "$scratch/$target"
  if "$build/fuzz/$target" -seed=1 -max_total_time="$seconds" -artifact_prefix="$build/$target-" \
       "$scratch/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
    echo "$target: clean for ${seconds}s ($(grep -o 'cov: [0-9]*' "$log" | tail -1))"
  else
    tail -n 40 "$log"
    echo "$target: FAILED (log in $log)"
    return 1
  fi
}
export -f run_target
export build scratch seconds
printf '%s\0' "${targets[@]}" | xargs -0 -n 1 -P "$(nproc)" bash -c 'run_target "$1"' run_target
