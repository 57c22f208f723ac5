#!/usr/bin/env bash
# Installs the Debian 12 packages Lumavo needs to build, run and test, and any further packages
# named as arguments. Runs apt-get as root, or through sudo. Does nothing when all are there.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-multimedia-dev
          libgtest-dev libgmock-dev libbenchmark-dev libsndfile1-dev libasound2-dev
          libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev libx11-dev libxcb1-dev
          gstreamer1.0-plugins-base gstreamer1.0-plugins-good fonts-liberation fonts-dejavu-core
          fonts-noto-core fonts-noto-cjk libqt6svg6 qt6-image-formats-plugins
          xvfb xauth poppler-utils qt6-websockets-dev curl liblo-tools "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
run() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
echo "Installing: ${missing[*]}"
run apt-get update -qq
run env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
