#!/usr/bin/env bash
# Installs every Debian package that building, testing and running vesk needs.
# Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git clang libclang-rt-dev
  zlib1g-dev libdeflate-dev libpng-dev libjpeg62-turbo-dev
  libsdl2-dev
  libfreetype-dev libfontconfig-dev fonts-ipafont-gothic fonts-ipafont-mincho
  libavformat-dev libavcodec-dev libswresample-dev libswscale-dev libavutil-dev
  libfluidsynth-dev fluid-soundfont-gm
  libcurl4-openssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev
  xvfb xauth xdotool xfonts-base
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
