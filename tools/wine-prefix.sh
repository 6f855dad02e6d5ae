#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# wine-prefix.sh PREFIX [x64|x86] [DPI]: makes the Wine prefix that the
# Windows program's tests and screenshots run in, once; does nothing when it
# is already made. x86 makes a 32-bit prefix, for the i686 program under
# 32-bit Wine. DPI sets the screen's dots per inch (96 unless given), as
# the display settings of a HiDPI screen do.
#
# The dialogs ask for the system's Japanese UI fonts by name; IPA P Gothic
# stands in for them. Wine draws the window frames itself, so that a display
# with no window manager (Xvfb) still shows the caption and the window menu.
set -euo pipefail

prefix=$(realpath -m "${1:?usage: wine-prefix.sh PREFIX [x64|x86] [DPI]}")
arch=${2:-x64}
dpi=${3:-96}
ready="$prefix/.varnola-ready"
[ -e "$ready" ] && exit 0

if [ "$arch" = x86 ]; then
  wine=$(command -v wine || echo /usr/lib/wine/wine)
  export WINEARCH=win32
else
  wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
fi
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export WINEPREFIX="$prefix" WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
# No Mono or Gecko: nothing here needs them, and their installers would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY

rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
"$wine" wineboot --init >/dev/null 2>&1 || true
"$wineserver" -w
[ -d "$prefix/drive_c/windows" ] || { echo "wine-prefix: wineboot did not make $prefix" >&2; exit 1; }

# Wine's own Marlett draws the caption buttons; this build finds it only here.
cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"

substitutes='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
for face in 'ＭＳ Ｐゴシック' 'MS UI Gothic' 'MS Shell Dlg'; do
  "$wine" reg add "$substitutes" /v "$face" /d 'IPAPGothic' /f >/dev/null 2>&1
done
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
"$wineserver" -w
touch "$ready"
