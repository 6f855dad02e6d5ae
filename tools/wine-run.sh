#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# wine-run.sh WINE PROGRAM [ARGS...]: runs a Windows program under Wine for
# CTest. The first Wine program to start leaves the Wine server and its
# services running, and they hold on to whatever output they were started
# with; the program's output goes through a file, so that CTest sees the
# test end when the program does.
set -u
log=$(mktemp)
"$@" >"$log" 2>&1
status=$?
cat "$log"
rm -f "$log"
exit $status
