#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks the packages tools/package.sh wrote into dist/ as their users'
# tools read them: lintian, the desktop entry and AppStream validators, the
# Debian package's fields and files, the installers' tables and the zips.
# Says what is wrong and exits 1 when anything is.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh windows package
version=$(sed -n 's/^project(Varnola VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
failures=0
fail() { echo "check-packages: $*" >&2; failures=$((failures + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

deb=dist/varnola_${version}_amd64.deb
[ -f "$deb" ] || { echo "check-packages: no $deb; run tools/package.sh" >&2; exit 1; }

# lintian: no error; what else it says is printed for the record.
lintian --display-info --pedantic "$deb" 2>/dev/null | tee "$work/lintian" || true
if grep -q '^E:' "$work/lintian"; then fail "lintian reports errors"; fi

dpkg-deb -x "$deb" "$work/root"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
depends=$(field Depends)
case "$depends" in *"fonts-ipafont-gothic | fonts-vlgothic | fonts-noto-cjk"*) ;; *) fail "no Japanese font in Depends: $depends" ;; esac
case "$depends" in *libqt6widgets6*) ;; *) fail "Depends lacks the Qt libraries (shlibdeps): $depends" ;; esac
if grep -Eq -- '-dev\b|googletest|libgtest' <<<"$depends"; then fail "Depends names a build package: $depends"; fi

usr=$work/root/usr
# (Output is captured before it is searched: grep -q stopping early would
# break the pipe, which pipefail counts as a failure.)
[[ "$(file -b "$usr/bin/varnola")" == *", stripped"* ]] || fail "usr/bin/varnola is not stripped"
for size in 16 22 24 32 48 64 128 256; do
  png=$usr/share/icons/hicolor/${size}x${size}/apps/varnola.png
  [[ "$(file -b "$png" 2>&1)" == "PNG image data, $size x $size,"* ]] || fail "icon $size: $(file -b "$png" 2>&1)"
done
[ -f "$usr/share/icons/hicolor/scalable/apps/varnola.svg" ] || fail "no scalable icon"
doc=$usr/share/doc/varnola
[ "$(head -1 "$doc/copyright")" = "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] ||
  fail "copyright is not in the machine-readable format"
# gzip -n: header bytes 4..7 (the time) are zero and no name is stored (flag 0x08).
header=$(od -An -tx1 -N8 "$doc/changelog.gz" | tr -d ' \n')
if [ "${header:0:6}" != 1f8b08 ] || [ $((0x${header:6:2} & 8)) -ne 0 ] || [ "${header:8:8}" != 00000000 ]; then
  fail "changelog.gz carries a name or a time (header $header)"
fi
[[ "$(zcat "$doc/changelog.gz")" == "varnola ($version) "* ]] || fail "changelog does not start at $version"
desktop=$usr/share/applications/org.varnola.Varnola.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate: $desktop"
metainfo=$usr/share/metainfo/org.varnola.Varnola.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate: $metainfo"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo lacks release $version"

# The Windows packages: the same four files in each, the program of the
# right architecture.
expected=$'LICENSE.txt\nREADME.txt\nTHIRD_PARTY_NOTICES.txt\nVarnola.exe'
for arch in x64 x86; do
  bits=$([ "$arch" = x64 ] && echo 64 || echo 32)
  pe=$([ "$arch" = x64 ] && echo 'PE32+ executable (GUI) x86-64' || echo 'PE32 executable (GUI) Intel 80386')
  zip=dist/Varnola-$version-win$bits.zip
  listed=$(unzip -Z1 "$zip" | grep -v '/$' | sed 's|^Varnola-[^/]*/||' | sort)
  [ "$listed" = "$expected" ] || fail "$zip holds: $listed"
  rm -rf "$work/zip" && unzip -q "$zip" -d "$work/zip"
  [[ "$(file -b "$work"/zip/*/Varnola.exe)" == "$pe"* ]] || fail "$zip: Varnola.exe is $(file -b "$work"/zip/*/Varnola.exe)"

  msi=dist/Varnola-$version-$arch.msi
  names=$(msiinfo export "$msi" File | tail -n +4 | cut -f3 | sed 's/^[^|]*|//' | sort)
  [ "$names" = "$expected" ] || fail "$msi installs: $names"
  property() { msiinfo export "$msi" Property | awk -F'\t' -v p="$1" '$1 == p { print $2 }' | tr -d '\r'; }
  [ "$(property ProductVersion)" = "$version" ] || fail "$msi: ProductVersion $(property ProductVersion)"
  [ "$(property UpgradeCode)" = "{37BC24F0-67B4-44ED-BB60-48D3CDA04472}" ] || fail "$msi: UpgradeCode $(property UpgradeCode)"
  [ "$(property ALLUSERS)" = 1 ] || fail "$msi is not per machine"
  [[ "$(msiinfo export "$msi" Shortcut)" == *ProgramMenuFolder* ]] || fail "$msi has no Start menu shortcut"
  [[ "$(msiinfo export "$msi" Upgrade)" == *37BC24F0* ]] || fail "$msi does not replace older versions"
done

if [ "$failures" -gt 0 ]; then
  echo "check-packages: $failures problem(s)" >&2
  exit 1
fi
echo "check-packages: every package passes"
