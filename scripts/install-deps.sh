#!/usr/bin/env bash
# Installs the Debian 12 packages Gyrodex needs to build, test and run. Safe to run again:
# it asks apt only when something is missing. Runs as root, or through sudo.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-svg-dev libgl-dev libical-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-liberation fonts-dejavu-core
    ghostscript poppler-utils
    xvfb xauth openbox xdotool x11-utils imagemagick
    desktop-file-utils appstream man-db
)
# Extra tools for fuzzing and looking at output: pass --tools.
if [[ "${1:-}" == "--tools" ]]; then
    packages+=(clang libclang-rt-14-dev librsvg2-bin faketime)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
