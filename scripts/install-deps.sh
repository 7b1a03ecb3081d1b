#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs the Debian packages that building, running and testing Brevan need.
# Idempotent: does nothing (and needs no network) when everything is present.
#   install-deps.sh               what building, running and `make test` need
#   install-deps.sh --packaging   also what `make package` and
#                                 `make package-check` need
#   install-deps.sh --fuzz        also what `make fuzz` needs
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n
  qt6-qpa-plugins libgl-dev
  libsqlite3-dev pxlib-dev
  libjpeg62-turbo-dev libemf2svg-dev libwmf-dev
  fonts-liberation2 fonts-dejavu-core
  xvfb xauth poppler-utils unzip time
  desktop-file-utils appstream cmark
)

# The .deb and its check: dependencies from the binaries, the Debian policy
# checker, and a clean root to install into.
PACKAGING=(
  dpkg-dev fakeroot file lintian debootstrap
)
# make fuzz: clang and its libFuzzer and sanitizer runtimes.
FUZZING=(
  clang libclang-rt-14-dev
)
case "${1:-}" in
  --packaging) PACKAGES+=("${PACKAGING[@]}") ;;
  --fuzz | fuzz) PACKAGES+=("${FUZZING[@]}") ;;
esac

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
