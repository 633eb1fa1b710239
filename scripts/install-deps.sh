#!/usr/bin/env bash
# Installs the Debian packages the build, the media generator, the tests and the
# benchmarks need. Idempotent: apt-get runs only when something is missing.
set -euo pipefail

packages=(
  # build tools
  g++ cmake ninja-build pkg-config clang libclang-rt-14-dev lld
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # libraries the program calls
  zlib1g-dev libpng-dev libjpeg-dev libtinyxml-dev libminizip-dev
  libvorbisidec-dev libsdl2-dev libx11-dev
  # media generator inputs and libraries
  libfreetype-dev fonts-dejavu-core scowl libcairo2-dev libvorbis-dev
  # benchmark reference; peak memory of the scripted runs
  libpixman-1-dev time
  # the session memory script patches a stored player file
  python3
  # the real-window test: an X server in memory, X input, screen pictures, a window manager
  xvfb xdotool x11-utils imagemagick openbox
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
