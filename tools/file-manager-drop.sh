#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# file-manager-drop.sh [VARNOLA]: a check by hand of drops from a real file
# manager. On a fresh virtual display under openbox, PCManFM shows a folder
# holding one wave file whose name is not UTF-8 (Latin-1 "caf\xe9.wav"), and
# the mouse (XTEST, through xdotool) drags it onto the dialog twice: first
# with Shift held, which proposes a move and must be refused (the file stays
# where it is, unchanged), then plainly, a copy, after which the file must
# be normalised in place. VARNOLA is the Linux program (build/release's by
# default). Prints what it saw; exits 0 when both drops behaved.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" != --on-display ]; then
  bash tools/setup.sh desktop
  program=$(realpath "${1:-build/release/app/varnola}")
  exec env QT_QPA_PLATFORM=xcb bash tools/desktop-run.sh bash "$0" --on-display "$program"
fi
program=$2
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/music" "$work/home"
file=$work/music/$(printf 'caf\xe9.wav')
# A stereo 16-bit wave whose largest sample is 3000; normalised, it is near
# full scale (32767).
python3 - "$file" <<'PY'
import math, struct, sys
frames = b"".join(struct.pack("<hh", s, s) for s in (round(3000 * math.sin(i / 10)) for i in range(6000)))
fmt = struct.pack("<HHIIHH", 1, 2, 44100, 44100 * 4, 4, 16)
body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(frames)) + frames
open(sys.argv[1], "wb").write(b"RIFF" + struct.pack("<I", len(body)) + body)
PY
peak() {
  python3 -c '
import struct, sys
data = open(sys.argv[1], "rb").read()[44:]
print(max(abs(v) for v in struct.unpack("<%dh" % (len(data) // 2), data)))' "$1"
}

# Waits (at most ten seconds) for the visible window matching the xdotool
# search arguments and prints its id.
window() {
  for _ in $(seq 200); do
    xdotool search --onlyvisible "$@" 2>/dev/null | head -1 | grep . && return 0
    sleep 0.05
  done
  echo "no window: $*" >&2
  return 1
}

(cd "$work" && "$program" >/dev/null 2>&1) &
HOME=$work/home XDG_CONFIG_HOME=$work/home/.config pcmanfm --no-desktop "$work/music" >/dev/null 2>&1 &
dialog=$(window --name '^Varnola$')
manager=$(window --class pcmanfm)
# PCManFM at the top left, 600x500, puts the folder's first icon at
# (207, 115); the dialog to its right.
xdotool windowmove --sync "$manager" 0 0 windowsize --sync "$manager" 600 500
xdotool windowmove --sync "$dialog" 700 100
eval "$(xdotool getwindowgeometry --shell "$dialog")"
target_x=$((X + WIDTH / 2))
target_y=$((Y + HEIGHT / 2))

drag() {
  [ -n "${1:-}" ] && xdotool keydown "$1"
  xdotool mousemove 207 115 mousedown 1
  # A few steps, as a hand moves: the drag starts past a threshold and the
  # windows under the pointer take part one after another.
  for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((207 + (target_x - 207) * step / 8)) $((115 + (target_y - 115) * step / 8))
    sleep 0.1
  done
  sleep 0.5
  xdotool mouseup 1
  [ -n "${1:-}" ] && xdotool keyup "$1"
  return 0
}

status=0
before=$(peak "$file")
drag shift
# Nothing to wait for when the drop is refused: give a wrong acceptance
# time to show.
sleep 3
if [ -f "$file" ] && [ "$(peak "$file")" = "$before" ]; then
  echo "Shift (move): refused, the file stays as it was (peak $before)"
else
  echo "Shift (move): the file was taken or changed"
  status=1
fi

drag
after=$before
for _ in $(seq 200); do
  after=$(peak "$file")
  [ "$after" != "$before" ] && break
  sleep 0.05
done
if [ "$after" -ge 32000 ]; then
  echo "plain (copy): the file was normalised in place (peak $before -> $after)"
else
  echo "plain (copy): the file was not normalised (peak $after)"
  status=1
fi
exit $status
