#!/usr/bin/env bash
# Starts the program under Xvfb on a program folder, presses the given keys
# (xdotool key names, one step each, half a second apart) and saves a
# screenshot of the whole screen.
# usage: tools/screenshot.sh [FOLDER] [OUTPUT.png] [KEY...]
#   e.g. tools/screenshot.sh sample-folder classes.png space Tab Down Tab
# Needs xvfb, xdotool and ImageMagick's import (tools/setup.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:-sample-folder}
out=${2:-screenshot.png}
shift $(( $# > 2 ? 2 : $# ))
keys="$*"
xvfb-run -a -s "-screen 0 1280x900x24" bash -c "
  ./build/quillon '$folder' &
  pid=\$!
  sleep 2
  # Without a window manager nothing has the focus: give it to the newest
  # window of the program before each key.
  for k in $keys; do
    w=\$(xdotool search --onlyvisible --pid \$pid 2>/dev/null | tail -1)
    [ -n \"\$w\" ] && xdotool windowfocus \"\$w\" 2>/dev/null
    xdotool key --clearmodifiers \"\$k\"
    sleep 0.5
  done
  sleep 0.5
  import -window root '$out'
  kill \$pid"
echo "saved $out"
