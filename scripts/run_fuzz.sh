#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) in build/fuzz and runs each one for a bounded
# time, starting from the seed corpus in tests/fuzz/corpus/<target>. Fails
# when any target finds a crash, a leak, a timeout or runs out of memory;
# the input that did it is left in build/fuzz/findings/<target>/.
#
#   scripts/run_fuzz.sh [SECONDS]     (default 60 per target; 3600 is the long run)
#   scripts/run_fuzz.sh --minimize   replaces each committed corpus with the
#                                    smallest set of inputs, from it and the
#                                    working corpus of earlier runs, that
#                                    reaches the same coverage
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

minimize=false
if [[ ${1:-} == --minimize ]]; then
    minimize=true
    shift
fi
seconds="${1:-60}"
build=build/fuzz
targets=(csv_line loader archive filter points zip waypoint_xml)

cmake -S . -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DVEMRA_BUILD_FUZZERS=ON -DVEMRA_BUILD_TESTS=OFF -DVEMRA_BUILD_BENCH=OFF -DVEMRA_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

# The targets' scratch files go to the build tree, not the system's /tmp:
# libFuzzer ends a timed run without the clean-up at exit.
export TMPDIR=$PWD/$build/tmp
rm -rf "$TMPDIR"
mkdir -p "$TMPDIR"

if $minimize; then
    for target in "${targets[@]}"; do
        corpus="tests/fuzz/corpus/$target"
        merged="$build/minimized/$target"
        rm -rf "$merged"
        mkdir -p "$merged" "$build/corpus/$target"
        "$build/tests/fuzz/fuzz_$target" -merge=1 -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
            "$merged" "$corpus" "$build/corpus/$target" >"$build/minimize_$target.log" 2>&1
        rm -rf "$corpus"
        mv "$merged" "$corpus"
        echo "fuzz_$target: $(find "$corpus" -type f | wc -l) inputs, $(du -sk "$corpus" | cut -f1) kB"
    done
    exit 0
fi

status=0
for target in "${targets[@]}"; do
    # New inputs go to a working corpus; the committed seeds stay as they are.
    work="$build/corpus/$target"
    findings="$build/findings/$target"
    mkdir -p "$work" "$findings"
    log="$build/fuzz_$target.log"
    echo "== fuzz_$target: ${seconds} s"
    if "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix="$findings/" \
        "$work" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
        grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$log" | sed 's/^/   /'
    else
        status=1
        echo "   FAILED: see $log; inputs in $findings"
        tail -n 40 "$log"
    fi
done
exit "$status"
