#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages orbel needs to build, run and test.
# Quiet and idempotent: only packages that are missing are installed.
set -euo pipefail

PACKAGES=(
  # build
  build-essential cmake ninja-build pkg-config
  # shell script checks
  shellcheck
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # the precise synthesis's inverse FFT
  libfftw3-dev
  # window system and sound output
  qt6-base-dev libgl-dev libpulse-dev libxcb1-dev
  # translations: lrelease builds the .qm files
  qt6-l10n-tools
  # fonts the panel's typefaces map to
  fonts-dejavu-core fonts-dejavu-extra fonts-liberation2
  # install tree and Debian package checks
  desktop-file-utils appstream lintian dpkg-dev fakeroot libxml2-utils man-db
  # headless sound server, display and measurement tools used by tests
  pulseaudio pulseaudio-utils sox sndfile-programs python3-numpy
  pipewire pipewire-pulse wireplumber dbus
  xvfb xauth x11-utils xdotool imagemagick openbox
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq >/dev/null
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
