#!/usr/bin/env bash
# Builds the fuzz harnesses with clang's libFuzzer (and AddressSanitizer,
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs each for SECONDS
# (default 60), starting from the corpus in fuzz/corpus. New inputs that
# reach new code go to build-fuzz/corpus/<harness>; an input that breaks a
# property or a sanitizer is written to build-fuzz/crash-<harness>-*; copy
# it into fuzz/corpus/<harness> to keep it as a regression test.
# usage: tools/fuzz.sh [SECONDS] [HARNESS...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
harnesses=${*:-lessons records export diagnostics password removal cli}

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

status=0
for h in $harnesses; do
  mkdir -p "build-fuzz/corpus/$h"
  echo "== $h: $seconds s"
  if ! ./build-fuzz/fuzz/${h}_fuzz -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="build-fuzz/crash-$h-" "build-fuzz/corpus/$h" "fuzz/corpus/$h" \
      2>"build-fuzz/$h.log"; then
    echo "   FOUND A FAULT: see build-fuzz/$h.log and build-fuzz/crash-$h-*"
    status=1
  fi
  grep -E "^stat::number_of_executed_units|^stat::new_units_added" "build-fuzz/$h.log" | sed 's/^/   /'
done
exit $status
