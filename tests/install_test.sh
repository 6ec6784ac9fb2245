#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses the installed copy:
# its files where a desktop expects them, solvcalc on an example set, and
# Solv2010 keeping its sets in the user's data folder.
#   install_test.sh BUILD_DIR EXAMPLES_DIR
set -euo pipefail
build=$1
examples=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
for f in bin/Solv2010 bin/renovo bin/solvcalc share/solvenor-vandrel-2010/wersja.ini \
         share/solvenor-vandrel-2010/html/index.html share/applications/pl.solvenor.Vandrel2010.desktop \
         share/icons/hicolor/scalable/apps/pl.solvenor.Vandrel2010.svg \
         share/metainfo/pl.solvenor.Vandrel2010.metainfo.xml share/man/man1/solvcalc.1; do
  [ -e "$prefix/$f" ] || fail "not installed: $f"
done
# Nothing of the build's own (tests, libraries, the signing tool) is installed.
extra=$(cd "$prefix" && find . -type f | grep -Ev '^\./(bin/(Solv2010|renovo|solvcalc)|share/(solvenor-vandrel-2010/|applications/|icons/|metainfo/|man/))' || true)
[ -z "$extra" ] || fail "installed besides the programs: $extra"

desktop-file-validate "$prefix/share/applications/pl.solvenor.Vandrel2010.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/pl.solvenor.Vandrel2010.metainfo.xml" >/dev/null
grep -q '^Categories=.*Office;.*Finance;' "$prefix/share/applications/pl.solvenor.Vandrel2010.desktop" ||
  fail "the desktop entry is not in Office and Finance"

# The installed solvcalc recalculates and checks an example.
cp "$examples/pit37.i10" "$tmp/zestaw.i10"
"$prefix/bin/solvcalc" recalc "$tmp/zestaw.i10" >/dev/null
"$prefix/bin/solvcalc" check "$tmp/zestaw.i10" | grep -q . || fail "solvcalc check printed nothing"

# An installed copy writes nowhere under its prefix: its sets are in the
# user's data folder, made on its first start (the program waits at its
# start screen and is then ended).
chmod -R a-w "$prefix"
home=$tmp/home
mkdir -p "$home"
HOME=$home XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$tmp QT_QPA_PLATFORM=offscreen \
  "$prefix/bin/Solv2010" >/dev/null 2>&1 &
pid=$!
for _ in $(seq 1 100); do
  [ -d "$home/data/Solvenor Vandrel 2010/SAVE" ] && break
  sleep 0.1
done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
chmod -R u+w "$prefix"
[ -d "$home/data/Solvenor Vandrel 2010/SAVE" ] || fail "no SAVE folder in the user's data folder"
[ ! -e "$prefix/bin/SAVE" ] || fail "the installed copy made SAVE beside itself"
echo "installed copy OK"
