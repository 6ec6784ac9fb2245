#!/usr/bin/env bash
# Builds the programs and the Debian package of an installed copy:
#   scripts/build-package.sh      -> build/solvenor-vandrel-2010_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build
(cd build && cpack -G DEB)
