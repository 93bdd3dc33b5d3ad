#!/usr/bin/env bash
# Installs what the workstation needs to build, run and test on Debian 12.
# Skips apt when everything is already there, so repeated runs are quick.
set -euo pipefail
packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-serialport-dev qt6-translations-l10n libqt6sql6-sqlite libgl-dev libasound2-dev
    fonts-dejavu-core dpkg-dev desktop-file-utils file
    socat xvfb xauth xdotool imagemagick
    poppler-utils                        # pdfinfo checks the full check's PDF report
    clang-14 libclang-rt-14-dev graphviz   # fuzz/build.sh; kia-bench scenario --dot pictures
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO apt-get update
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
