#!/usr/bin/env bash
# Installs what is missing, builds and starts Gyrodex. Without a display it says so and paints
# today's wheel into wheel.png with the command-line renderer instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    exec build/ui/gyrodex "$@"
fi
echo "No display to show Gyrodex on (DISPLAY is not set); painting today's wheel instead."
build/cli/gyrodex-cli render --out wheel.png
echo "Painted today's wheel into $(pwd)/wheel.png"
