#!/bin/bash
# Installs the Debian 12 packages that WHAT needs and this machine lacks
# (only those; as root), and asks only for what this machine can use:
# 32-bit Wine only where the kernel runs 32-bit code. An index that cannot
# be read (a mirror mid-sync) is retried, then let be: only a package that
# cannot be installed stops set-up, and it is named.
# Usage: scripts/install.sh linux|web|all
# RUNS_32_BIT_CHECK names the command that tells whether this kernel runs
# 32-bit code (scripts/runs-32-bit.sh unless set); RETRY_PAUSE the pause
# between tries, in seconds.
set -uo pipefail
cd "$(dirname "$0")/.."
what=${1:-all}
runs_32_bit=${RUNS_32_BIT_CHECK:-scripts/runs-32-bit.sh}

LINUX_PACKAGES=(cmake ninja-build g++ libfltk1.3-dev libbenchmark-dev libxtst-dev libosmesa6-dev libx11-dev libgl-dev libglu1-mesa-dev
  libgl1-mesa-dri xvfb xauth x11-utils imagemagick python3)
# The x86-64 Windows tree runs every Windows test under 64-bit Wine, on any
# x86-64 kernel; the 32-bit one, where it can, under 32-bit Wine too. Wine
# only recommends the X and GL libraries it draws with, so they are named.
TEST_PACKAGES=(xdotool x11-xserver-utils locales valgrind dpkg-dev desktop-file-utils appstream file lintian clang-14 libclang-rt-14-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64 fonts-wine libfreetype6 libgl1 libglx-mesa0 libglu1-mesa
  libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1 libxxf86vm1 libxfixes3)
WINE32_PACKAGES=(wine32:i386 libwine:i386 libfreetype6:i386
  libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386 libglu1-mesa:i386
  libxrender1:i386 libxrandr2:i386 libxi6:i386 libxcursor1:i386 libxinerama1:i386
  libxcomposite1:i386 libxxf86vm1:i386 libxfixes3:i386)
# The browser host: Emscripten (its JavaScript optimiser needs Debian's
# acorn; the build hands it NODE_PATH), and the three engines for its
# tests, Chromium, Firefox ESR and WebKitGTK (its WebDriver brings
# MiniBrowser), which Xvfb gives a display.
WEB_PACKAGES=(cmake ninja-build python3 emscripten node-acorn nodejs chromium firefox-esr webkit2gtk-driver xvfb xauth)

wine32=no
case $what in
  web) packages=("${WEB_PACKAGES[@]}") ;;
  all)
    packages=("${LINUX_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${WEB_PACKAGES[@]}")
    if "$runs_32_bit"; then
      wine32=yes
      packages+=("${WINE32_PACKAGES[@]}")
    else
      echo "setup: this kernel runs no 32-bit code: no i386 packages; the Windows tests run under 64-bit Wine in build/win64"
    fi
    ;;
  *) packages=("${LINUX_PACKAGES[@]}") ;;
esac

installed() { dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null | grep -q '^ii'; }
missing_of() {
  local p
  for p in "$@"; do installed "$p" || echo "$p"; done
}
mapfile -t missing < <(missing_of "${packages[@]}" | awk '!seen[$0]++')
# npm, where the installed node does not bring its own.
if [ "$what" != linux ] && ! command -v npm >/dev/null; then missing+=(npm); fi

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: missing packages (run as root to install): ${missing[*]}" >&2
    exit 1
  fi
  added_i386=no
  if [ $wine32 = yes ] && printf '%s\n' "${missing[@]}" | grep -q ':i386$' \
     && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386 && added_i386=yes
  fi
  # One index that fails (a mirror mid-sync) leaves the others read.
  RETRY_PAUSE=${RETRY_PAUSE:-5} scripts/retry.sh 3 apt-get update -q \
    || echo "setup: some package index could not be read; going on with what was read"
  apt_install() {
    DEBIAN_FRONTEND=noninteractive scripts/retry.sh 2 apt-get install -y -q --no-install-recommends "$@"
  }
  echo "setup: installing ${missing[*]}"
  if ! apt_install "${missing[@]}"; then
    mapfile -t rest < <(printf '%s\n' "${missing[@]}" | grep -v ':i386$')
    if [ $wine32 = yes ] && [ ${#rest[@]} -lt ${#missing[@]} ] && { [ ${#rest[@]} -eq 0 ] || apt_install "${rest[@]}"; }; then
      wine32=no
      echo "setup: the i386 packages of 32-bit Wine cannot be installed; the Windows tests run under 64-bit Wine in build/win64"
      if [ $added_i386 = yes ]; then dpkg --remove-architecture i386 || true; fi
    else
      # Name what stops set-up: each package that apt cannot install alone.
      failed=()
      for p in "${rest[@]}"; do
        apt-get install -s -y -q --no-install-recommends "$p" >/dev/null 2>&1 || failed+=("$p")
      done
      echo "setup: cannot install ${failed[*]:-the packages above}" >&2
      exit 1
    fi
  fi
fi

if [ "$what" = all ]; then
  echo "setup: the Windows tests run under Wine in: $(scripts/wine-trees.sh)"
fi
