#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes every package into dist/: the Debian package from the release build,
# and for each Windows architecture (x64, x86) an MSI installer and a zip.
# Installs what it needs first; runs as root or through sudo.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh windows package
rm -rf dist
mkdir -p dist

cmake --preset release >/dev/null
cmake --build --preset release
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/release/CMakeCache.txt)
cpack --config build/release/CPackConfig.cmake -B "$PWD/build/release/packages" >/dev/null
cp "build/release/packages/varnola_${version}_amd64.deb" dist/

for arch in x64 x86; do
  build=build/windows-$arch
  cmake --preset "windows-$arch" >/dev/null
  cmake --build --preset "windows-$arch"
  cpack --config "$build/CPackConfig.cmake" -B "$PWD/$build/packages" >/dev/null
  zip=Varnola-$version-$([ "$arch" = x64 ] && echo win64 || echo win32).zip
  cp "$build/packages/$zip" dist/
  # The installer holds exactly what the zip holds: the installed files.
  rm -rf "$build/msi-stage"
  cmake --install "$build" --prefix "$PWD/$build/msi-stage" --strip >/dev/null
  (cd "$build" && wixl --arch "$arch" -D Stage=msi-stage -o "../../dist/Varnola-$version-$arch.msi" res/varnola.wxs)
done

echo "Packages in $(pwd)/dist:"
ls -l dist
