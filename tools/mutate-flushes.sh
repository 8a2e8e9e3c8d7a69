#!/usr/bin/env bash
# Mutation check of the store's flushes: every flush of a file or a folder
# in src/store (X->Sync(), folder.SyncFolder(), folder.SyncSubfolder(...)) is
# replaced, one at a time, by Status::OK(); the crash and power-cut tests
# must then fail. Prints each flush and whether a test caught it ("caught")
# or not ("SURVIVED"), then how many survived; exits 1 when any did. The
# sources are put back whatever happens (an error, Ctrl-C). Uses its own
# build folder; takes about a minute per flush.
#   tools/mutate-flushes.sh [build-folder]
set -u
cd "$(dirname "$0")/.."
build=${1:-build-mutate}
files=$(ls src/store/*.cpp)
kept=$(mktemp -d)
for file in $files; do cp -p "$file" "$kept/"; done
put_back() {
  for file in $files; do cp -p "$kept/$(basename "$file")" "$file"; done
  rm -rf "$kept"
}
trap put_back EXIT
trap 'exit 130' INT TERM

lock() { if command -v flock >/dev/null; then flock /tmp/quillon-build.lock "$@"; else "$@"; fi; }
[ -d "$build" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLON_BENCHMARKS=OFF \
  ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} >/dev/null
flush='(\(\*[a-z_]+\)|[A-Za-z_]+)->Sync\(\)|[a-z_]+\.SyncFolder\(\)|[a-z_]+\.SyncSubfolder\([^)]*\)'
survived=0
for file in $files; do
  for line in $(grep -n -E -- "$flush" "$file" | grep -v -E '^[0-9]+:\s*//' | cut -d: -f1); do
    was=$(sed -n "${line}p" "$file" | sed 's/^ *//')
    sed -i -E "${line}s/${flush}/Status::OK()/" "$file"
    if ! lock cmake --build "$build" --target store_tests classes_tests >/dev/null 2>&1; then
      echo "$file:$line  (does not build): $was"
    elif "$build/tests/store_tests" --gtest_brief=1 >/dev/null 2>&1 &&
         "$build/tests/classes_tests" --gtest_brief=1 >/dev/null 2>&1; then
      echo "$file:$line  SURVIVED: $was"
      survived=$((survived + 1))
    else
      echo "$file:$line  caught"
    fi
    cp -p "$kept/$(basename "$file")" "$file"
  done
done
echo "$survived survived"
[ "$survived" -eq 0 ]
