#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Varnola need.
# Does nothing when they are all present. Runs as root or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev googletest
  qt6-base-dev libgl-dev
  xvfb xauth
  fonts-ipafont-gothic fontconfig
)
# Optional groups, asked for by the caller: reliability tooling, the Windows cross build.
for group in "$@"; do
  case "$group" in
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    windows) packages+=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 locales) ;;
    *) echo "setup: unknown group '$group'" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
