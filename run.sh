#!/usr/bin/env bash
# Builds everything and starts the program. Until the windows exist this runs
# solvcalc on a copy of the example return set.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build

work=build/run/SAVE
mkdir -p "$work"
cp examples/pit37.i10 "$work/1.i10"
echo "== solvcalc recalc $work/1.i10"
build/src/tools/solvcalc recalc "$work/1.i10"
echo "== solvcalc check $work/1.i10"
build/src/tools/solvcalc check "$work/1.i10" || true
for page in TPIT37a TPIT37b TPIT37c; do
  build/src/tools/solvcalc render "$work/1.i10" "$page" "build/run/$page.png"
done
echo "== strony PIT-37: build/run/TPIT37a.png, TPIT37b.png, TPIT37c.png"
