#!/usr/bin/env bash
# Builds the Debian package from the build and checks what it holds and
# what it depends on.
#   package_test.sh BUILD_DIR
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp" >/dev/null
deb=$(ls "$tmp"/*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for d in qt6-qpa-plugins qt6-translations-l10n fonts-liberation libqt6widgets6 libcurl4 libarchive13; do
  grep -q "$d" <<<"$depends" || fail "does not depend on $d: $depends"
done
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/Solv2010 ./usr/bin/solvcalc ./usr/bin/renovo ./usr/share/solvenor-vandrel-2010/wersja.ini \
         ./usr/share/applications/pl.solvenor.Vandrel2010.desktop ./usr/share/metainfo/pl.solvenor.Vandrel2010.metainfo.xml; do
  grep -qx "$f" <<<"$files" || fail "not in the package: $f"
done
echo "package OK: $(basename "$deb")"
