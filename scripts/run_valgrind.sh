#!/usr/bin/env bash
# Runs the native unit tests and vemra-cli's commands under valgrind's
# memcheck: any leak or memory error fails the script. Builds a native
# build without sanitizers in build/valgrind (valgrind cannot run those).
#
#   scripts/run_valgrind.sh
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

build=build/valgrind
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVEMRA_SANITIZE=OFF -DVEMRA_BUILD_BENCH=OFF -DVEMRA_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$build" -j2 --target vemra_unit_tests vemra-cli

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

memcheck() {
    valgrind --quiet --leak-check=full --show-leak-kinds=definite,indirect,possible \
        --errors-for-leak-kinds=definite,indirect,possible --error-exitcode=99 \
        --track-origins=yes "$@"
}

status=0
check() {
    # check EXPECTED_STATUS COMMAND...: the command's own status must be the
    # expected one; valgrind's 99 means errors or leaks.
    local expected="$1"
    shift
    local got=0
    memcheck "$@" >"$scratch/out" 2>"$scratch/err" || got=$?
    if [[ "$got" != "$expected" ]]; then
        status=1
        echo "FAILED (status $got, expected $expected): ${*:1:6}"
        tail -n 40 "$scratch/err"
    else
        echo "ok: ${*:1:6}"
    fi
}

cli="$build/cli/vemra-cli"
sample=data/mrds-sample.csv

# The unit tests, in one process.
check 0 "$build/tests/unit/vemra_unit_tests" --gtest_brief=1

check 0 "$cli" info "$sample" --json
check 0 "$cli" lookup "$sample" 39.63718 -117.05204
check 0 "$cli" lookup "$sample" 39.63718 -117.05204 --json
check 1 "$cli" lookup "$sample" -45 170
check 0 "$cli" export-pnt "$sample" "$scratch/all.pnt"
check 0 "$cli" export-pnt "$sample" "$scratch/box.pnt" --bbox 39,-118,41,-116.5
check 0 "$cli" export-dat "$sample" "$scratch/mines.dat"
check 0 "$cli" info "$scratch/mines.dat"
check 0 "$cli" lookup "$scratch/mines.dat" 40.61893 -116.14327 --json
check 0 "$cli" nearest "$sample" 39.6 -117 -n 3
printf '39.63718,-117.05204\n# note\n91,0\n40, -116\n' >"$scratch/points.txt"
check 2 "$cli" nearest "$sample" --points "$scratch/points.txt" --within 50
printf '<gpx><wpt lat="40" lon="-116"/><trk><trkseg><trkpt lat="1"' >"$scratch/cut.gpx"
check 2 "$cli" lookup "$sample" --points "$scratch/cut.gpx"
# Failures leave through the same clean-up.
head -c 700 "$scratch/mines.dat" >"$scratch/cut.dat"
check 4 "$cli" info "$scratch/cut.dat"  # a damaged archive
check 2 "$cli" info "$scratch/missing.csv"
check 2 "$cli" info "$scratch"
check 3 "$cli" export-pnt "$sample" "$scratch"
check 3 "$cli" export-dat "$sample" "$scratch/no/such/folder.dat"
check 2 "$cli" export-pnt "$sample" "$scratch/x.pnt" --bbox 1,2,3
check 2 "$cli" lookup "$sample" nan 1

exit "$status"
