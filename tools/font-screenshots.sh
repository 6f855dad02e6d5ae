#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Shows the dialog with each common Japanese font as the only one there is
# (IPA P Gothic, VL PGothic, Noto Sans CJK JP, beside DejaVu for Latin text,
# which fontconfig brings wherever Qt runs) and saves a screenshot of each
# into build/screenshots/fonts/<font>/, and its main dialog as
# font-<font>.png into FOLDER (docs/ by default). The other fonts stay
# installed: a private fontconfig configuration hides them from the program.
set -euo pipefail
cd "$(dirname "$0")/.."
folder=$(realpath -m "${1:-docs}")
mkdir -p "$folder"
bash tools/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target doc-screenshots
out=$(pwd)/build/screenshots/fonts
declare -A dirs=(
  [ipa-pgothic]=/usr/share/fonts/opentype/ipafont-gothic
  [vl-pgothic]=/usr/share/fonts/truetype/vlgothic
  [noto-sans-cjk-jp]=/usr/share/fonts/opentype/noto
)
for font in ipa-pgothic vl-pgothic noto-sans-cjk-jp; do
  [ -d "${dirs[$font]}" ] || { echo "font-screenshots: ${dirs[$font]} is not installed" >&2; exit 1; }
  mkdir -p "$out/$font"
  cat >"$out/$font/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <dir>${dirs[$font]}</dir>
  <cachedir>$out/$font/cache</cachedir>
  <include ignore_missing="yes">/etc/fonts/conf.d</include>
</fontconfig>
CONF
  FONTCONFIG_FILE=$out/$font/fonts.conf XDG_RUNTIME_DIR=$(mktemp -d) \
    xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24 -nolisten tcp" \
    build/release/tools/doc-screenshots "$out/$font"
  cp "$out/$font/main-dialog.png" "$folder/font-$font.png"
  echo "$font: $(FONTCONFIG_FILE=$out/$font/fonts.conf fc-match 'ＭＳ Ｐゴシック:lang=ja') -> $out/$font"
done
