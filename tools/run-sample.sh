#!/usr/bin/env bash
# Sets up and builds, makes a sample program folder (sample-folder/) if there
# is none, and starts the program on it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
if [ ! -f sample-folder/LESSONS.DAT ]; then
  ./build/make_sample_folder --seed 1 sample-folder
fi
exec ./build/quillon sample-folder
