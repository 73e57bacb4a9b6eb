#!/usr/bin/env bash
# Installs what is missing, builds and starts Gyrodex.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [[ -x build/ui/gyrodex ]]; then
    exec build/ui/gyrodex "$@"
fi
# Until the desktop window is built, show today's wheel through the command-line renderer.
build/cli/gyrodex-cli render --out wheel.png "$@"
echo "Painted today's wheel into $(pwd)/wheel.png"
