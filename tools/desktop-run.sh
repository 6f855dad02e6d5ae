#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# desktop-run.sh [--wm WM] COMMAND...: runs COMMAND on a fresh virtual X
# display under a window manager (openbox unless told otherwise; "none" for
# a bare display), as on a user's desktop.
set -euo pipefail
wm=openbox
if [ "${1:-}" = --wm ]; then
  wm=$2
  shift 2
fi
# shellcheck disable=SC2016 # expanded by the inner shell
exec xvfb-run --auto-servernum --server-args="-screen 0 1280x800x24 -nolisten tcp" bash -c '
  wm=$1
  shift
  if [ "$wm" != none ]; then
    "$wm" >/dev/null 2>&1 &
    wmpid=$!
    # The manager is running once it names itself on the root window.
    for _ in $(seq 100); do
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
      sleep 0.05
    done
  fi
  status=0
  "$@" || status=$?
  if [ -n "${wmpid:-}" ]; then kill "$wmpid" 2>/dev/null || true; fi
  exit $status' desktop-run "$wm" "$@"
