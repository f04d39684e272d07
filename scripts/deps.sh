#!/usr/bin/env bash
# Installs the Debian packages Lumivex needs, only those that are missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-l10n-tools libgl-dev
  qt6-translations-l10n # Qt's own dialogs and key names in the chosen language
  libfreeimage-dev zlib1g-dev
  libopenexr-dev # OpenEXR files are checked with OpenEXR's own reader before FreeImage reads them
  libjpeg-dev # JPEG photographs are decoded with libjpeg directly (the library FreeImage uses)
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 # metric twin of "Arial" for captions
)
# run.sh without a display starts the program on a virtual screen (xvfb-run);
# ImageMagick's import takes screenshots of it.
if [ "${LUMIVEX_VIRTUAL_SCREEN:-0}" = 1 ]; then
  packages+=(xvfb xauth imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
