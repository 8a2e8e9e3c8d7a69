#!/usr/bin/env bash
# Installs what the build needs (Debian 12, as root) and builds into build/.
# usage: tools/setup.sh [--packages-only]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ qt6-base-dev libgl1-mesa-dev libgtest-dev libgmock-dev
          libbenchmark-dev libcli11-dev nlohmann-json3-dev xvfb xauth xdotool imagemagick openbox
          poppler-utils fonts-dejavu-core fonts-liberation dpkg-dev file desktop-file-utils samba
          smbnetfs)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

[ "${1:-}" = "--packages-only" ] && exit 0

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
