#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Brevan need.
# Idempotent: does nothing (and needs no network) when everything is present.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n
  qt6-qpa-plugins libgl-dev
  libsqlite3-dev pxlib-dev
  libjpeg62-turbo-dev libemf2svg-dev libwmf-dev
  fonts-liberation2 fonts-dejavu-core
  xvfb xauth poppler-utils time
)

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
