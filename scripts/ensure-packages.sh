#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when any is missing.
# Sourced by the other scripts; safe to run again (does nothing when all are present).
set -euo pipefail

TORVEL_PACKAGES=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libx11-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri libegl1 libegl-mesa0 libstb-dev
  xvfb xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils xauth xfonts-base xdotool x11-utils imagemagick sox webp
  lintian desktop-file-utils appstream man-db dpkg-dev file
  clang-14 libclang-rt-14-dev clang-format valgrind mesa-utils python3
)

missing=()
for p in "${TORVEL_PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}" >&2
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}" >&2
fi
