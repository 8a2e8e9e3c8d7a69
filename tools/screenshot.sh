#!/usr/bin/env bash
# Starts the program under Xvfb on a program folder, presses the given keys
# (xdotool key names, one step each, half a second apart) and saves a
# screenshot of the whole screen.
# usage: [SCREEN=WxH] [WM=openbox] tools/screenshot.sh [FOLDER] [OUTPUT.png] [KEY...]
#   e.g. tools/screenshot.sh sample-folder classes.png space Tab Down Tab
#        SCREEN=800x600 WM=openbox tools/screenshot.sh sample-folder menu.png
# SCREEN is the screen's size (default 1280x900); WM a window manager to run
# first, as an instructor's desktop has one (title bars, focus).
# Needs xvfb, xdotool, ImageMagick's import and openbox (tools/setup.sh
# installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:-sample-folder}
out=${2:-screenshot.png}
shift $(( $# > 2 ? 2 : $# ))
keys="$*"
screen=${SCREEN:-1280x900}
wm=${WM:-}
xvfb-run -a -s "-screen 0 ${screen}x24" bash -c "
  if [ -n '$wm' ]; then $wm >/dev/null 2>&1 & sleep 1; fi
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
