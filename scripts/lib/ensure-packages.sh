#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when any is missing.
# Run (not sourced) by the other scripts, and by hand as root once where the user has no sudo;
# safe to run again (does nothing when all are present).
# "ensure-packages.sh web" adds what the page needs: emscripten, the two browsers its driver starts,
# npm where node came without it (build-web.sh installs the driver's library with it), and dpkg-dev
# to unpack the source packages of SDL2 and GLU.
# "ensure-packages.sh windows" adds the mingw-w64 cross compilers, Wine to run what they build,
# GoogleTest's sources to build for Windows, and dpkg-dev for SDL2's source package.
set -euo pipefail

TORVEL_PACKAGES=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libx11-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri libegl1 libegl-mesa0 libstb-dev
  xvfb xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils xauth xfonts-base xdotool x11-utils imagemagick sox webp
  lintian desktop-file-utils appstream man-db dpkg-dev file
  clang-14 libclang-rt-14-dev clang-format valgrind mesa-utils python3
)
case "${1:-}" in
  web)
    TORVEL_PACKAGES+=(emscripten nodejs chromium firefox-esr dpkg-dev)
    command -v npm >/dev/null || TORVEL_PACKAGES+=(npm)
    ;;
  windows) TORVEL_PACKAGES+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64 googletest dpkg-dev) ;;
esac

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
