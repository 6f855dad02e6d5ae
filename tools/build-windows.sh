#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# build-windows.sh [x64|x86]: cross-builds the Windows program, Varnola.exe,
# with mingw-w64 (x86_64 by default, i686 with x86), and says where it is.
# Installs what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=${1:-x64}
case "$arch" in
  x64 | x86) ;;
  *) echo "usage: build-windows.sh [x64|x86]" >&2; exit 2 ;;
esac
bash tools/setup.sh windows
cmake --preset "windows-$arch" >/dev/null
cmake --build --preset "windows-$arch"
echo "Varnola.exe: $(pwd)/build/windows-$arch/app/Varnola.exe"
