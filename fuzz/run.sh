#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one in turn.
#   fuzz/run.sh [MINUTES]        each target for MINUTES minutes (default 1), built with
#                                AddressSanitizer and UndefinedBehaviorSanitizer in build-fuzz/
#   FUZZ_SECONDS=20 fuzz/run.sh  each target for 20 seconds (what CI does)
#   FUZZ_TARGETS="project_parser" fuzz/run.sh   only the targets named
#   FUZZ_DEEP=1 fuzz/run.sh [MINUTES]   for depth: built in build-fuzz-deep/ with coverage only
#                                (no sanitizers, no tracing of comparisons), one fuzzer per
#                                processor; every input they keep is then run once under the
#                                sanitizers (build-fuzz/), so a memory fault still shows
# The seed corpus of a target is fuzz/corpus/NAME; what a run finds new is kept in
# BUILD/corpus/NAME. A crash stops the run with the input saved as BUILD/crash-*; copy it into
# fuzz/regressions/NAME, where every test build replays it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-$(( ${1:-1} * 60 ))}
deep=${FUZZ_DEEP:-0}
read -r -a targets <<<"${FUZZ_TARGETS:-$(sed -n 's/^set(PFSETUP_FUZZ_TARGETS \(.*\))$/\1/p' fuzz/CMakeLists.txt)}"

# build DIR SANITIZE [CXXFLAGS]: configures and builds the fuzz targets in DIR.
build() {
    cmake -S . -B "$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_CXX_FLAGS="${3:-}" -DPFSETUP_SANITIZE="$2" -DPFSETUP_BUILD_FUZZ=ON \
        -DPFSETUP_BUILD_TESTS=OFF -DPFSETUP_BUILD_APP=OFF -DPFSETUP_BUILD_UI=OFF \
        -DPFSETUP_BUILD_BENCH=OFF >/dev/null
    cmake --build "$1" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"
}

# The runs a target made, from the final stats of its logs.
runs() {
    awk '/^stat::number_of_executed_units/ { n += $2 } END { print n + 0 }' "$@"
}

build build-fuzz ON
dir=build-fuzz
jobs=1
parallel=()
if [ "$deep" = 1 ]; then
    # Comparison tracing makes the library's loops several times slower per input; the seed
    # corpora already hold every key and marker it would help to find.
    build build-fuzz-deep OFF -fno-sanitize-coverage=trace-cmp
    dir=build-fuzz-deep
    jobs=$(nproc)
    parallel=(-jobs="$jobs" -workers="$jobs")
fi
top=$PWD
for name in "${targets[@]}"; do
    work=$top/$dir/corpus/$name
    logs=$top/$dir/logs/$name
    mkdir -p "$work" "$logs"
    rm -f "$logs"/*.log
    echo "fuzz: $name for ${seconds}s$([ "$jobs" -gt 1 ] && echo " in $jobs processes")"
    # One process writes fuzz-0.log; with jobs, job N writes fuzz-N.log in the current
    # directory and the process that starts them repeats each one's log in jobs.log.
    if ! (cd "$logs" && "$top/$dir/bin/fuzz_$name" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -artifact_prefix="$top/$dir/crash-$name-" -print_final_stats=1 \
        "${parallel[@]}" \
        "$work" "$top/fuzz/corpus/$name" "$top/fuzz/regressions/$name" \
        >"$logs/$([ "$jobs" -gt 1 ] && echo jobs || echo fuzz-0).log" 2>&1); then
        tail -n 40 "$logs"/fuzz-*.log
        echo "fuzz: $name failed; the input is in $dir/crash-$name-*"
        exit 1
    fi
    total=$(runs "$logs"/fuzz-*.log)
    echo "fuzz: $name: $total runs, $(( total / seconds )) a second"
    if [ "$deep" = 1 ]; then
        # What the fast run kept, once under the sanitizers.
        if ! build-fuzz/bin/fuzz_"$name" -runs=0 -timeout=10 -rss_limit_mb=2048 \
            -artifact_prefix="build-fuzz/crash-$name-" "$work" >"$logs/replay.log" 2>&1; then
            tail -n 40 "$logs/replay.log"
            echo "fuzz: $name failed under the sanitizers; the input is in build-fuzz/crash-$name-*"
            exit 1
        fi
        echo "fuzz: $name: $(find "$work" -type f | wc -l) inputs kept, all read under the sanitizers"
    fi
done
