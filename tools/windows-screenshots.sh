#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# windows-screenshots.sh [FOLDER]: runs the Windows program under Wine on a
# virtual X display and acts on it as a user would, with keys: a take is
# chosen with the File button and normalised, the window menu is opened
# with Alt+Space, the About entry chosen. Wine runs in a Western locale
# (en_US.UTF-8), whose own code page holds no Japanese. Saves
# windows-main-dialog.png, windows-system-menu.png and windows-about-box.png
# in FOLDER (docs/ by default), then windows-main-dialog-192dpi.png from a
# screen of 192 dpi.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs}")
mkdir -p "$out"

bash tools/setup.sh windows
# Only the program: the pictures need none of the Windows test suites.
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target varnola >/dev/null
cmake --preset release >/dev/null
cmake --build --preset release --target grab-screen >/dev/null
bash tools/wine-prefix.sh build/wine-prefix
bash tools/wine-prefix.sh build/wine-prefix-dpi192 x64 192
grab=build/release/tools/grab-screen
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

work=$(mktemp -d)
# One second of a 440 Hz tone, 16-bit mono, peaking at a quarter of full scale.
perl -e '
  my $n = 44100;
  my @s = map { int(8192 * sin(2 * 3.14159265358979 * 440 * $_ / 44100)) } 0 .. $n - 1;
  print pack("A4 V A4 A4 V v v V V v v A4 V", "RIFF", 36 + 2 * $n, "WAVE", "fmt ", 16,
             1, 1, 44100, 88200, 2, 16, "data", 2 * $n), pack("s<*", @s);
' >"$work/Take1.wav"

export WINEDEBUG=-all LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
xvfb=""
cleanup() {
  WINEPREFIX="$(pwd)/build/wine-prefix" "$wineserver" -k 2>/dev/null || true
  WINEPREFIX="$(pwd)/build/wine-prefix-dpi192" "$wineserver" -k 2>/dev/null || true
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# session PREFIX WIDTHxHEIGHT: a fresh X display of that size, and the
# program started on it in PREFIX with a fresh copy of the take.
session() {
  if [ -n "$xvfb" ]; then
    "$wineserver" -k 2>/dev/null || true
    kill "$xvfb"
    wait "$xvfb" 2>/dev/null || true
  fi
  local display=99
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 "$2x24" -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  DISPLAY=":$display"
  WINEPREFIX="$(pwd)/$1"
  export DISPLAY WINEPREFIX
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
  "$wine" build/windows-x64/app/Varnola.exe >/dev/null 2>&1 &
  xdotool search --sync --name '^Varnola$' >/dev/null
  sleep 1
}

# The File button has the focus: Space presses it; the open-file dialog
# takes the take's name (its folder is drive Z: to Wine) and Enter.
normalise_take() {
  local folder
  folder=$(mktemp -d -p "$work")
  cp "$work/Take1.wav" "$folder/"
  xdotool key space
  sleep 1.5
  xdotool type --delay 20 "Z:${folder//\//\\}\\Take1.wav"
  xdotool key Return
  sleep 2
}

session build/wine-prefix 800x500
normalise_take
"$grab" --crop "$out/windows-main-dialog.png"

xdotool key alt+space
sleep 1
"$grab" --crop "$out/windows-system-menu.png"

# The About entry is the menu's last: Up from the top wraps to it.
xdotool key Up Return
sleep 1.5
"$grab" --crop "$out/windows-about-box.png"
xdotool key Return

session build/wine-prefix-dpi192 1600x1000
normalise_take
"$grab" --crop "$out/windows-main-dialog-192dpi.png"
echo "Windows screenshots: $out/windows-main-dialog.png, windows-system-menu.png," \
  "windows-about-box.png, windows-main-dialog-192dpi.png"
