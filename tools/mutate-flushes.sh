#!/bin/bash
# Mutation check of the crash-safe writes: each flush (X->Sync()) in the
# removal, append, bin and restore code is replaced, one at a time, by a
# no-op; the crash tests must then fail. Prints each flush and whether some
# test caught it ("caught") or not ("SURVIVED"). Uses its own build folder.
#   tools/mutate-flushes.sh [build-folder]
set -u
cd "$(dirname "$0")/.."
build=${1:-build-mutate}
files="src/data/Removal.cpp src/data/Append.cpp src/data/Bin.cpp src/data/Restore.cpp src/data/RecordFile.cpp"
lock() { if command -v flock >/dev/null; then flock /tmp/quillon-build.lock "$@"; else "$@"; fi; }
[ -d "$build" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} >/dev/null
survived=0
for file in $files; do
  for line in $(grep -n -- '->Sync()' "$file" | cut -d: -f1); do
    cp "$file" "$file.orig"
    sed -i "${line}s/[A-Za-z_]*->Sync()/Status::OK()/" "$file"
    if ! lock cmake --build "$build" --target data_tests classes_tests >/dev/null 2>&1; then
      echo "$file:$line  (does not build)"
    elif "$build/tests/data_tests" --gtest_brief=1 >/dev/null 2>&1 &&
         "$build/tests/classes_tests" --gtest_brief=1 >/dev/null 2>&1; then
      echo "$file:$line  SURVIVED: $(sed -n "${line}p" "$file.orig" | sed 's/^ *//')"
      survived=$((survived + 1))
    else
      echo "$file:$line  caught"
    fi
    mv "$file.orig" "$file"
  done
done
echo "$survived survived"
