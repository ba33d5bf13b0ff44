#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer) in
# build-fuzz/ and runs each one in turn.
#   fuzz/run.sh [MINUTES]        each target for MINUTES minutes (default 1)
#   FUZZ_SECONDS=20 fuzz/run.sh  each target for 20 seconds (what CI does)
#   FUZZ_TARGETS="project_parser" fuzz/run.sh   only the targets named
# The seed corpus of a target is fuzz/corpus/NAME; what a run finds new is kept in
# build-fuzz/corpus/NAME. A crash stops the run with the input saved as build-fuzz/crash-*;
# copy it into fuzz/regressions/NAME, where every test build replays it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-$(( ${1:-1} * 60 ))}
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DPFSETUP_SANITIZE=ON -DPFSETUP_BUILD_FUZZ=ON -DPFSETUP_BUILD_TESTS=OFF -DPFSETUP_BUILD_APP=OFF \
    -DPFSETUP_BUILD_UI=OFF -DPFSETUP_BUILD_BENCH=OFF >/dev/null
targets=${FUZZ_TARGETS:-$(sed -n 's/^set(PFSETUP_FUZZ_TARGETS \(.*\))$/\1/p' fuzz/CMakeLists.txt)}
cmake --build build-fuzz -j "$(nproc)" --target $(printf 'fuzz_%s ' $targets)
for name in $targets; do
    work=build-fuzz/corpus/$name
    mkdir -p "$work"
    echo "fuzz: $name for ${seconds}s"
    log=build-fuzz/fuzz-$name.log
    if ! build-fuzz/bin/fuzz_$name -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix=build-fuzz/crash-$name- -print_final_stats=1 \
        "$work" "fuzz/corpus/$name" "fuzz/regressions/$name" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "fuzz: $name failed; the input is in build-fuzz/crash-$name-*"
        exit 1
    fi
    grep -E '^stat::(number_of_executed_units|new_units_added)' "$log" || true
done
