#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# test-windows.sh [x64|x86]: cross-builds the Windows program and its tests
# and runs them under Wine on a virtual X display: the engine's suite and
# the real dialog driven with real messages. x86 needs 32-bit Wine
# (tools/setup.sh wine32).
set -euo pipefail
cd "$(dirname "$0")/.."
arch=${1:-x64}
[ "$arch" = x86 ] && bash tools/setup.sh wine32
bash tools/build-windows.sh "$arch"
prefix=build/wine-prefix
[ "$arch" = x86 ] && prefix=build/wine-prefix-x86
bash tools/wine-prefix.sh "$prefix" "$arch"
status=0
xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24 -nolisten tcp" \
  ctest --preset "windows-$arch" -j"$(nproc)" || status=$?
WINEPREFIX="$(pwd)/$prefix" "$(command -v wineserver || echo /usr/lib/wine/wineserver)" -k 2>/dev/null || true
exit $status
