#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# icon-screenshots.sh [FOLDER]: pictures of the icon as the build renders it
# from res/varnola.svg, into FOLDER (docs/ by default): icon-sizes.png, the
# 16, 32, 48 and 256 px images each magnified (or reduced) to 128 px with
# their pixels kept square, on a light and a dark ground; launcher-48.png
# and launcher-128.png, the installed desktop entry as PCManFM shows it at
# those sizes beside its own entry, on a light and a dark theme.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" != --on-display ]; then
  out=$(realpath -m "${1:-docs}")
  mkdir -p "$out"
  bash tools/setup.sh desktop
  cmake --preset release >/dev/null
  cmake --build --preset release --target varnola_theme_icons grab-screen >/dev/null
  icons=build/release/res/hicolor
  tiles=()
  for size in 16 32 48 256; do
    filter=point
    [ "$size" -gt 128 ] && filter=lanczos
    tiles+=("(" "$icons/$size/varnola.png" -filter "$filter" -resize 128x128 -gravity center
      -background none -extent 140x140 ")")
  done
  row=$(mktemp --suffix=.png)
  convert "${tiles[@]}" +append +repage "$row"
  convert "(" "$row" -background white -flatten ")" "(" "$row" -background '#262626' -flatten ")" \
    -append +repage -define png:exclude-chunks=date,time "$out/icon-sizes.png"
  rm "$row"
  exec env QT_QPA_PLATFORM=xcb bash tools/desktop-run.sh --wm none bash "$0" --on-display "$out"
fi
out=$2
grab=$(pwd)/build/release/tools/grab-screen
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
# The entry and the icon theme's images where the install puts them.
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "$work/usr/share/icons/hicolor/${size}x$size/apps"
  cp "build/release/res/hicolor/$size/varnola.png" "$work/usr/share/icons/hicolor/${size}x$size/apps/"
done
mkdir -p "$work/apps"
cp res/org.varnola.Varnola.desktop /usr/share/applications/pcmanfm.desktop "$work/apps/"
export XDG_DATA_DIRS=$work/usr/share:/usr/share

# shot SIZE THEME: PCManFM's icon view of the two entries at SIZE px, in a
# light or dark theme, cropped to the view.
shot() {
  local home=$work/home-$1-$2
  mkdir -p "$home/.config/libfm" "$home/.config/pcmanfm/default"
  printf '[ui]\nbig_icon_size=%s\n' "$1" >"$home/.config/libfm/libfm.conf"
  printf '[ui]\nview_mode=icon\nshow_statusbar=0\nwin_width=%s\nwin_height=%s\n' \
    600 500 >"$home/.config/pcmanfm/default/pcmanfm.conf"
  local ground='#f2f2f2' ink=black
  if [ "$2" = dark ]; then ground='#262626' ink=white; fi
  cat >"$home/gtkrc" <<RC
style "view" { base[NORMAL] = "$ground" text[NORMAL] = "$ink" bg[NORMAL] = "$ground" fg[NORMAL] = "$ink" }
widget_class "*" style "view"
RC
  HOME=$home XDG_CONFIG_HOME=$home/.config GTK2_RC_FILES=$home/gtkrc \
    pcmanfm --no-desktop "$work/apps" >/dev/null 2>&1 &
  local pid=$!
  for _ in $(seq 200); do
    xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1 && break
    sleep 0.05
  done
  sleep 2 # the icons load after the window maps
  "$grab" "$work/screen.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  # The folder view: right of the side pane and below the window's bars
  # (the window is 600x500 at the top left of a bare display), trimmed to
  # what differs from its ground, with a margin.
  convert "$work/screen.png" -crop 440x430+160+66 +repage -fuzz 2% -trim +repage \
    -bordercolor "$ground" -border 12 "$work/$1-$2.png"
}
for size in 48 128; do
  shot "$size" light
  shot "$size" dark
  convert "$work/$size-light.png" "$work/$size-dark.png" +append +repage \
    -define png:exclude-chunks=date,time "$out/launcher-$size.png"
done
echo "Icon pictures: $out/icon-sizes.png, launcher-48.png, launcher-128.png"
