#!/usr/bin/env bash
# Starts the program under Xvfb on a program folder and saves a screenshot.
# usage: tools/screenshot.sh [FOLDER] [OUTPUT.png]   (needs ImageMagick's import)
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:-sample-folder}
out=${2:-screenshot.png}
xvfb-run -a -s "-screen 0 1280x800x24" bash -c "
  ./build/quillon '$folder' &
  pid=\$!
  sleep 2
  import -window root '$out'
  kill \$pid"
echo "saved $out"
