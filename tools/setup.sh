#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages that building, running and testing Varnola need.
# Does nothing when they are all present. Runs as root or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev googletest
  qt6-base-dev libgl-dev
  xvfb xauth
  fonts-ipafont-gothic fontconfig
  librsvg2-bin
)
# Optional groups, asked for by the caller: reliability tooling; the Windows
# cross build with Wine to run it; 32-bit Wine for the i686 program; making
# and checking the packages.
for group in "$@"; do
  case "$group" in
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    windows) packages+=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 fonts-wine locales xdotool) ;;
    wine32) packages+=(wine32:i386) ;;
    package) packages+=(dpkg-dev file lintian appstream desktop-file-utils wixl msitools unzip) ;;
    *) echo "setup: unknown group '$group'" >&2; exit 2 ;;
  esac
done

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

# wine32 comes from the i386 architecture.
if [[ " $* " == *" wine32 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The Windows program runs under Wine in the Japanese locale, whose ANSI
# code page is the program's own (932).
if [[ " $* " == *" windows "* ]] && ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  echo "setup: generating the ja_JP.UTF-8 locale"
  $sudo localedef -i ja_JP -c -f UTF-8 ja_JP.UTF-8
fi
