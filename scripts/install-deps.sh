#!/usr/bin/env bash
# Installs the Debian 12 packages Zelkor needs to build, test and play,
# and only those that are missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang git
  libsdl2-dev libfreetype-dev libfontconfig-dev fonts-ipafont-mincho fonts-ipafont-gothic
  libjpeg62-turbo-dev libpng-dev libvorbis-dev libimgui-dev libmpv-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth
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

echo "installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
