#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite. With --sanitize the build
# goes to build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
if [[ "${1:-}" == "--sanitize" ]]; then
    export GYRODEX_BUILD_DIR=build-asan
    scripts/build.sh -DGYRODEX_WERROR=ON -DGYRODEX_SANITIZE=ON -DGYRODEX_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
else
    export GYRODEX_BUILD_DIR=build
    scripts/build.sh -DGYRODEX_WERROR=ON
fi
cd "$GYRODEX_BUILD_DIR"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure
