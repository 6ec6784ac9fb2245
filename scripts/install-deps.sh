#!/usr/bin/env bash
# Installs the Debian packages that the build needs, when any is missing.
set -euo pipefail

PACKAGES=(
  g++ cmake ninja-build
  qt6-base-dev qt6-translations-l10n libcurl4-openssl-dev libarchive-dev libsodium-dev pkg-config libssl-dev
  googletest libgtest-dev libbenchmark-dev
  fonts-liberation locales
  poppler-utils
  desktop-file-utils appstream dpkg-dev
  clang libclang-rt-14-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Instaluję brakujące pakiety: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
