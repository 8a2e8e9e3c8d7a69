#!/usr/bin/env bash
# Builds the fuzz harnesses with clang's libFuzzer (and AddressSanitizer,
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs each for SECONDS
# (default 60), starting from the corpus in fuzz/corpus. New inputs that
# reach new code go to build-fuzz/corpus/<harness>; an input that breaks a
# property or a sanitizer is written to build-fuzz/crash-<harness>-*; copy
# it into fuzz/corpus/<harness> to keep it as a regression test.
# usage: tools/fuzz.sh [SECONDS] [HARNESS...]
#   FUZZ_RUNS=N: stop each harness after N inputs instead (SECONDS is then
#   ignored, but still needed before harness names: tools/fuzz.sh 0 removal);
#   FUZZ_MAX_LEN=N: inputs of at most N bytes (default: libFuzzer's choice);
#   FUZZ_JOBS=2: run two harnesses at once.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
harnesses=${*:-lessons records export diagnostics password removal cli roster}

for p in clang libclang-rt-14-dev cmake ninja-build qt6-base-dev libgl1-mesa-dev; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="${missing:-} $p"
done
if [ -n "${missing:-}" ]; then
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null
fi

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" -DQUILLON_SANITIZE=ON -DQUILLON_FUZZ=ON \
  -DQUILLON_TESTS=OFF -DQUILLON_BENCHMARKS=OFF >/dev/null
targets=""
for h in $harnesses; do targets="$targets ${h}_fuzz"; done
cmake --build build-fuzz --target $targets

limits=(-max_total_time="$seconds")
[ -n "${FUZZ_RUNS:-}" ] && limits=(-runs="$FUZZ_RUNS")
[ -n "${FUZZ_MAX_LEN:-}" ] && limits+=(-max_len="$FUZZ_MAX_LEN")

run() {
  local h=$1
  mkdir -p "build-fuzz/corpus/$h"
  if ./build-fuzz/fuzz/${h}_fuzz "${limits[@]}" -print_final_stats=1 \
      -artifact_prefix="build-fuzz/crash-$h-" "build-fuzz/corpus/$h" "fuzz/corpus/$h" \
      2>"build-fuzz/$h.log"; then
    echo "== $h: no fault"
  else
    echo "== $h: FOUND A FAULT: see build-fuzz/$h.log and build-fuzz/crash-$h-*"
    return 1
  fi
  grep -E "^stat::number_of_executed_units|^stat::new_units_added" "build-fuzz/$h.log" |
    sed "s/^/   $h /"
}

status=0
running=0
for h in $harnesses; do
  if [ "$running" -ge "${FUZZ_JOBS:-1}" ]; then
    wait -n || status=1
    running=$((running - 1))
  fi
  run "$h" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done
exit $status
