#!/usr/bin/env bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ and runs them headless; any report fails the run. (The staged
# install and package are checked by the plain build's tests.)
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh --packages-only
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_SANITIZE=ON \
  -DQUILLON_BENCHMARKS=OFF >/dev/null
cmake --build build-asan
# Leaks inside the system's font and graphics libraries are theirs, not ours.
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure -j2 -E '^install_and_package$'
