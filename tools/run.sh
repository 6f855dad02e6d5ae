#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds Varnola and starts it. With no display, shows the window on a
# virtual X server, saves a screenshot and says where.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
app=build/release/app/varnola

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$app"
fi

display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 800x500x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$app_pid" "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done

export DISPLAY=":$display" XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
"$app" &
app_pid=$!
sleep 2  # let the window map and paint
mkdir -p build/screenshots
shot="$(pwd)/build/screenshots/varnola.png"
build/release/tools/grab-screen --crop "$shot"
echo "No display here: Varnola ran under Xvfb; its window is in $shot"
