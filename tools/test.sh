#!/usr/bin/env bash
# Sets up and builds, then runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j2
