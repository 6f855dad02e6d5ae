#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# test-windows.sh [x64|x86]: cross-builds the Windows program and its tests
# and runs them under Wine on a virtual X display, as large as a 192-dpi
# screen so that the system's dialogs fit there too: the engine's suite and
# the real dialog driven with real messages, in three locales and at three
# dpi settings. x86 needs 32-bit Wine (tools/setup.sh wine32).
set -euo pipefail
cd "$(dirname "$0")/.."
arch=${1:-x64}
[ "$arch" = x86 ] && bash tools/setup.sh wine32
bash tools/build-windows.sh "$arch"
prefix=build/wine-prefix
[ "$arch" = x86 ] && prefix=build/wine-prefix-x86
bash tools/wine-prefix.sh "$prefix" "$arch"
# Screens of 144 and 192 dpi, for the layout tests that run in them.
for dpi in 144 192; do bash tools/wine-prefix.sh "$prefix-dpi$dpi" "$arch" "$dpi"; done
status=0
xvfb-run --auto-servernum --server-args="-screen 0 2048x1536x24 -nolisten tcp" \
  ctest --preset "windows-$arch" -j"$(nproc)" || status=$?
for p in "$prefix" "$prefix-dpi144" "$prefix-dpi192"; do
  WINEPREFIX="$(pwd)/$p" "$(command -v wineserver || echo /usr/lib/wine/wineserver)" -k 2>/dev/null || true
done
exit $status
