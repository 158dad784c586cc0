#!/bin/bash
# Installs what Arrowbench needs on Debian 12 (only what is missing; needs
# root for that) and builds it.
# Usage: scripts/setup.sh linux     the Linux program only
#        scripts/setup.sh web       the browser host and its tests only
#        scripts/setup.sh all       every host and everything the tests use
set -euo pipefail
cd "$(dirname "$0")/.."
what=${1:-all}

# Debian 12 package names.
LINUX_PACKAGES=(cmake ninja-build g++ libfltk1.3-dev libbenchmark-dev libxtst-dev libosmesa6-dev libx11-dev libgl-dev libglu1-mesa-dev
  libgl1-mesa-dri xvfb xauth x11-utils imagemagick python3)
TEST_PACKAGES=(xdotool x11-xserver-utils locales valgrind dpkg-dev desktop-file-utils appstream file lintian clang-14 libclang-rt-14-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev wine64
  wine wine32:i386 libwine:i386 fonts-wine libfreetype6:i386
  libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386 libglu1-mesa:i386
  libxrender1:i386 libxrandr2:i386 libxi6:i386 libxcursor1:i386 libxinerama1:i386
  libxcomposite1:i386 libxxf86vm1:i386 libxfixes3:i386)
# The browser host: Emscripten (its JavaScript optimiser needs Debian's
# acorn; the build hands it NODE_PATH), and the three engines for its
# tests, Chromium, Firefox ESR and WebKitGTK (its WebDriver brings
# MiniBrowser), which Xvfb gives a display. npm too, where the installed
# node does not bring its own.
WEB_PACKAGES=(cmake ninja-build python3 emscripten node-acorn nodejs chromium firefox-esr webkit2gtk-driver xvfb xauth)

case $what in
  web) packages=("${WEB_PACKAGES[@]}") ;;
  all) packages=("${LINUX_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${WEB_PACKAGES[@]}") ;;
  *) packages=("${LINUX_PACKAGES[@]}") ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null | grep -q '^ii' || missing+=("$p")
done
if [ "$what" != linux ] && ! command -v npm >/dev/null; then missing+=(npm); fi
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: missing packages (run as root to install): ${missing[*]}" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if [ "$what" = all ] && ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
  # The conversions are tested under a locale with a decimal comma.
  localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi

if [ "$what" = web ] || [ "$what" = all ]; then
  cmake --preset web >/dev/null
  cmake --build --preset web
fi
[ "$what" = web ] && exit 0
cmake --preset linux >/dev/null
cmake --build --preset linux
if [ "$what" = all ]; then
  cmake --preset win32 >/dev/null
  cmake --build --preset win32
  # Where the kernel runs no 32-bit code there is no 32-bit Wine: the same
  # Windows sources are built for x86-64 too, and tested under 64-bit Wine.
  if ! scripts/runs-32-bit.sh; then
    cmake --preset win64 >/dev/null
    cmake --build --preset win64
  fi
fi
