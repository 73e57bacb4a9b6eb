#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for the given number
# of seconds (default 60) in fork mode under a 512 MB memory limit per run. New inputs join the
# target's corpus in fuzz/corpus/TARGET (commit what is worth keeping); findings land in
# build-fuzz/artifacts/ and make the script fail. Every target is run even after a finding.
#   scripts/fuzz.sh [SECONDS] [TARGET...]     e.g. scripts/fuzz.sh 600 bitmap calendar
# FUZZ_JOBS sets the number of parallel jobs (default 1).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(ini calendar highlight dateformat bitmap ics)
jobs=${FUZZ_JOBS:-1}
scripts/install-deps.sh --tools
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DGYRODEX_FUZZ=ON \
    -DGYRODEX_TESTS=OFF -DGYRODEX_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz
mkdir -p build-fuzz/artifacts build-fuzz/logs
# A small quarantine, so that the memory limit measures what the code keeps, not the freed
# blocks AddressSanitizer holds back (256 MB by default).
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16:malloc_context_size=10}
findings=0
for target in "${targets[@]}"; do
    corpus=fuzz/corpus/$target
    mkdir -p "$corpus"
    before=$(find build-fuzz/artifacts -name "$target-*" | wc -l)
    echo "== fuzz_$target ($seconds s, $jobs job(s))"
    log=build-fuzz/logs/$target.log
    status=0
    /usr/bin/time -f "peak RSS %M KB (largest process)" -o "build-fuzz/logs/$target.time" \
        "build-fuzz/fuzz/fuzz_$target" -fork="$jobs" -ignore_crashes=0 -ignore_ooms=0 \
        -ignore_timeouts=0 -rss_limit_mb=512 -malloc_limit_mb=512 -timeout=10 \
        -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="build-fuzz/artifacts/$target-" "$corpus" >"$log" 2>&1 || status=$?
    grep -E '^#[0-9]+: cov' "$log" | tail -1 || true
    grep -E 'ERROR|SUMMARY|INFO: exiting' "$log" | tail -3 || true
    cat "build-fuzz/logs/$target.time"
    after=$(find build-fuzz/artifacts -name "$target-*" | wc -l)
    if [[ $status -ne 0 || $after -ne $before ]]; then
        echo "fuzz_$target: finding (status $status), see $log and build-fuzz/artifacts/"
        findings=$((findings + 1))
    fi
done
exit $((findings > 0))
