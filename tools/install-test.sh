#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the packages in dist/ as their users do and starts what was
# installed once, on a virtual X display:
# - the Debian package with apt-get on this machine; then purges it and
#   checks that every file it installed is gone;
# - the x64 MSI under Wine, over an older build of the same installer
#   (1.0.0.0 when this is 1.0.0.1), which it must replace; then uninstalls
#   it and checks that the files, the shortcut and the programs-list entry
#   are gone; then the x86 MSI, installed and uninstalled the same way.
# Runs as root or through sudo; exits 1 on the first thing that is wrong.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh windows package
version=$(sed -n 's/^project(Varnola VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
fail() { echo "install-test: $*" >&2; exit 1; }
work=$(mktemp -d)
pids=()
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  # The prefix is gone only once its server has let go of it.
  if [ -n "${WINEPREFIX:-}" ]; then "$wineserver" -k 2>/dev/null || true; "$wineserver" -w 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
export DISPLAY=":$display"
# A window of this title is mapped within the time given, or the start failed.
wait_for_window() { timeout 60 xdotool search --sync --onlyvisible --name "^$1\$" >/dev/null; }

# --- The Debian package -------------------------------------------------
deb=$(realpath "dist/varnola_${version}_amd64.deb")
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$deb" >/dev/null
installed=$(dpkg-query -L varnola)
[ -x /usr/bin/varnola ] || fail "/usr/bin/varnola is not installed"
XDG_RUNTIME_DIR=$work /usr/bin/varnola &
app=$!
pids+=("$app")
wait_for_window Varnola || fail "the installed program showed no window"
kill "$app"
DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq varnola >/dev/null
left=()
while IFS= read -r path; do
  # Shared folders such as /usr/share stay; everything of the package goes.
  if [ -e "$path" ] && { [ ! -d "$path" ] || [[ "$path" == */varnola ]]; }; then left+=("$path"); fi
done <<<"$installed"
[ ${#left[@]} -eq 0 ] || fail "left after purge: ${left[*]}"
echo "install-test: the Debian package installs, starts and purges cleanly"

# --- The MSI under Wine -------------------------------------------------
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
bash tools/wine-prefix.sh "$WINEPREFIX" x64
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
msi=$(realpath "dist/Varnola-$version-x64.msi")
# The older installer: the same description with the fourth part one less.
older=${version%.*}.$((${version##*.} - 1))
(cd build/windows-x64 &&
  sed "s/Version=\"$version\"/Version=\"$older\"/" res/varnola.wxs >"$work/older.wxs" &&
  wixl --arch x64 -D Stage=msi-stage -o "$work/older.msi" "$work/older.wxs")
# Wine sees the whole file system as drive Z:.
windows_path() { local p=${1//\//\\}; echo "Z:$p"; }
entries() {
  "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
    tr -d '\r' | grep -c 'DisplayName.*Varnola' || true
}
"$wine" msiexec /i "$(windows_path "$work/older.msi")" /qn || fail "the older MSI did not install"
"$wine" msiexec /i "$(windows_path "$msi")" /qn || fail "the MSI did not install over $older"
"$wineserver" -w
[ "$(entries)" = 1 ] || fail "$(entries) Varnola entries in the installed-programs list after the upgrade"
listed=$("$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r')
[[ "$listed" =~ DisplayVersion[^$'\n']*"$version" ]] || fail "the programs list does not show $version"
installed_in() {
  for name in Varnola.exe README.txt LICENSE.txt THIRD_PARTY_NOTICES.txt; do
    [ -f "$1/$name" ] || fail "not installed: $1/$name"
  done
  [ -n "$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs*' -iname 'Varnola.lnk')" ] || fail "no Start menu shortcut"
}
uninstalled_from() {
  "$wine" msiexec /x "$(windows_path "$2")" /qn || fail "$2 did not uninstall"
  "$wineserver" -w
  [ ! -e "$1" ] || fail "left after uninstall: $1: $(ls -A "$1")"
  [ -z "$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs*' -iname 'Varnola.lnk')" ] || fail "the shortcut is left"
  [ "$(entries)" = 0 ] || fail "the programs list still names Varnola"
}
folder="$WINEPREFIX/drive_c/Program Files/Varnola"
installed_in "$folder"
"$wine" "$folder/Varnola.exe" &
pids+=($!)
wait_for_window Varnola || fail "the installed Varnola.exe showed no window"
"$wineserver" -k
uninstalled_from "$folder" "$msi"
echo "install-test: the x64 MSI replaces an older one, starts, and uninstalls cleanly"

# The x86 MSI on 64-bit Windows goes to the 32-bit Program Files. (Starting
# it would need 32-bit Wine.)
msi=$(realpath "dist/Varnola-$version-x86.msi")
"$wine" msiexec /i "$(windows_path "$msi")" /qn || fail "the x86 MSI did not install"
"$wineserver" -w
installed_in "$WINEPREFIX/drive_c/Program Files (x86)/Varnola"
uninstalled_from "$WINEPREFIX/drive_c/Program Files (x86)/Varnola" "$msi"
echo "install-test: the x86 MSI installs and uninstalls cleanly"
