#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for the given number
# of seconds (default 60). The working corpus grows in build-fuzz/corpus/, seeded from
# fuzz/corpus/; crashes land in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/install-deps.sh --tools
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DGYRODEX_FUZZ=ON \
    -DGYRODEX_TESTS=OFF -DGYRODEX_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz
mkdir -p build-fuzz/artifacts
for target in ini calendar highlight dateformat bitmap; do
    mkdir -p "build-fuzz/corpus/$target"
    echo "== fuzz_$target ($seconds s)"
    "build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/artifacts/$target-" \
        "build-fuzz/corpus/$target" "fuzz/corpus/$target" 2>&1 | grep -E '^(#|stat::|==|SUMMARY)' | tail -8
done
