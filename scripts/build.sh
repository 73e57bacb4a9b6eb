#!/usr/bin/env bash
# Configures and builds Gyrodex into build/ (or $GYRODEX_BUILD_DIR), passing extra arguments to CMake.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${GYRODEX_BUILD_DIR:-build}
cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir"
