#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds Varnola and runs every test: the Linux program's, then the Windows
# program's, cross-built and run under Wine. Installs what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
ctest --preset release -j"$(nproc)"
bash tools/test-windows.sh x64
