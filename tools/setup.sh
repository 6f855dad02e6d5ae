#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages that building, running and testing Varnola need.
# Does nothing when they are all present. Runs as root or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev googletest
  qt6-base-dev libgl-dev libxcb1-dev
  xvfb xauth
  openbox xdotool x11-utils python3-xlib
  at-spi2-core python3-pyatspi dbus
  fonts-ipafont-gothic fontconfig
  librsvg2-bin
)
# Optional groups, asked for by the caller: reliability tooling; the
# checkers CI runs over the sources; the Windows cross build with Wine to
# run it; 32-bit Wine for the i686 program; making and checking the
# packages; a desktop's file manager and a second window manager, for
# checks by hand.
for group in "$@"; do
  case "$group" in
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    lint) packages+=(shellcheck clang-format) ;;
    windows) packages+=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 fonts-wine locales xdotool) ;;
    wine32) packages+=(wine32:i386) ;;
    desktop) packages+=(pcmanfm xfwm4 imagemagick) ;;
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

# The Windows program's tests run under Wine in a Japanese and a Western
# locale (C.UTF-8 comes with the C library).
if [[ " $* " == *" windows "* ]]; then
  for locale in ja_JP en_US; do
    if ! locale -a 2>/dev/null | grep -qix "$locale.utf8"; then
      echo "setup: generating the $locale.UTF-8 locale"
      $sudo localedef -i "$locale" -c -f UTF-8 "$locale.UTF-8"
    fi
  done
fi
