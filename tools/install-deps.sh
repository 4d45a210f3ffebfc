#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need, and nothing when
# they are all there already (a dpkg query per package, well under a second).
set -euo pipefail

packages=(
  cmake ninja-build pkg-config g++
  libsdl2-dev libgl-dev libegl-dev libgl1-mesa-dri xvfb xauth xfonts-base
  libstb-dev libpng-dev libglm-dev libenet-dev
  pybind11-dev python3.11-dev python3-glad libftdi1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core
  python3-numpy python3-pil vorbis-tools
  clang libclang-rt-14-dev lld
  xdotool x11-apps x11-utils
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
