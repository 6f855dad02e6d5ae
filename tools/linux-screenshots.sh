#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# linux-screenshots.sh [FOLDER]: takes the Linux program's pictures as a
# user meets it, on a fresh virtual display under a real window manager,
# with keys through XTEST: a take is chosen with the File button in the
# open-file dialog and normalised, then the window menu (Shift+F10) opens
# the About box over the dialog. Under openbox it saves main-dialog.png and
# about-box.png in FOLDER (docs/ by default), under xfwm4
# about-box-xfwm4.png.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" != --on-display ]; then
  out=$(realpath -m "${1:-docs}")
  mkdir -p "$out"
  bash tools/setup.sh desktop
  cmake --preset release >/dev/null
  cmake --build --preset release --target varnola grab-screen >/dev/null
  for wm in openbox xfwm4; do
    env QT_QPA_PLATFORM=xcb bash tools/desktop-run.sh --wm "$wm" bash "$0" --on-display "$wm" "$out"
  done
  echo "Linux screenshots: $out/main-dialog.png, about-box.png, about-box-xfwm4.png"
  exit 0
fi
wm=$2
out=$3
program=$(pwd)/build/release/app/varnola
grab=$(pwd)/build/release/tools/grab-screen
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/takes"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/home
chmod 700 "$work/home"
# One second of a 440 Hz tone, 16-bit mono, peaking at a quarter of full scale.
python3 - "$work/takes/Take1.wav" <<'PY'
import math, struct, sys
frames = b"".join(struct.pack("<h", round(8192 * math.sin(2 * math.pi * 440 * i / 44100))) for i in range(44100))
fmt = struct.pack("<HHIIHH", 1, 1, 44100, 88200, 2, 16)
body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(frames)) + frames
open(sys.argv[1], "wb").write(b"RIFF" + struct.pack("<I", len(body)) + body)
PY
mkdir "$work/kept"
cp "$work/takes/Take1.wav" "$work/kept/"

# until WHAT COMMAND...: polls COMMAND for at most ten seconds.
until_true() {
  local what=$1
  shift
  for _ in $(seq 200); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  echo "linux-screenshots ($wm): $what did not happen" >&2
  exit 1
}
visible_windows() { xdotool search --onlyvisible --pid "$app" 2>/dev/null | wc -l; }
windows_are() { [ "$(visible_windows)" = "$1" ]; }
normalised() { ! cmp -s "$work/takes/Take1.wav" "$work/kept/Take1.wav"; }
key() { xdotool key --clearmodifiers "$@"; }

(cd "$work" && exec "$program") >/dev/null 2>&1 &
app=$!
until_true "the dialog's window" windows_are 1
dialog=$(xdotool search --onlyvisible --pid "$app")
xdotool windowmove --sync "$dialog" 100 100
xdotool windowactivate --sync "$dialog" 2>/dev/null || xdotool windowfocus --sync "$dialog"

# The File button has the keyboard: Space opens the open-file dialog, whose
# name field (Alt+N) takes the take's whole path.
key space
until_true "the open-file dialog" windows_are 2
sleep 0.5 # the dialog's folder view fills in after it maps
key alt+n
xdotool type --delay 0 "$work/takes/Take1.wav"
key Return
until_true "the take's rewrite" normalised
until_true "the open-file dialog closing" windows_are 1
sleep 1 # the bars and the status line repaint
[ "$wm" = openbox ] && "$grab" --crop "$out/main-dialog.png"

# The window menu's last entry is About: Up from the top wraps to it.
key shift+F10
sleep 0.5
key Up Return
until_true "the About box" windows_are 2
sleep 1
if [ "$wm" = openbox ]; then
  "$grab" --crop "$out/about-box.png"
else
  "$grab" --crop "$out/about-box-xfwm4.png"
fi
key Return
until_true "the About box closing" windows_are 1
kill "$app"
