#!/usr/bin/env bash
# Runs every test of Vemra, installing what it needs first:
#   native           unit tests, command-line tests, the bad-input suite
#   native-sanitize  the same under AddressSanitizer and UndefinedBehaviorSanitizer
#   win64            unit tests, end-to-end tests of the programs and the
#                    command-line tests of vemra-cli.exe under Wine, the x86_64
#                    package
#   win32            the release build (i686) and its package, checked
#   fuzz             each libFuzzer target for VEMRA_FUZZ_SECONDS (default 60)
#   valgrind         unit tests and the command-line tool under valgrind
# Ends with a line "N passed, M failed"; exits nonzero when anything failed.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
scripts/setup.sh || exit 1

passed=0
failed=0
failed_stages=()

# Adds the counts of a ctest run's summary line, or one failure without one.
count_ctest() {
    local log=$1 stage=$2
    local summary
    summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [[ -z $summary ]]; then
        failed=$((failed + 1))
        failed_stages+=("$stage")
        return
    fi
    local bad total
    bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
    total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
    if ((bad > 0)); then
        failed_stages+=("$stage")
    fi
}

# A stage that is one check: passes when the command succeeds.
count_command() {
    local stage=$1
    shift
    echo "== $stage"
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        failed_stages+=("$stage")
    fi
}

# Configures, builds and tests one preset; a build failure fails the stage.
run_preset() {
    local preset=$1
    local log=build/$preset-ctest.log
    echo "== $preset"
    mkdir -p build
    if ! cmake --preset "$preset" -DVEMRA_WARNINGS_AS_ERRORS=ON >/dev/null || ! cmake --build --preset "$preset" -j2; then
        failed=$((failed + 1))
        failed_stages+=("$preset (build)")
        return
    fi
    ctest --test-dir "build/$preset" -j2 --output-on-failure 2>&1 | tee "$log"
    count_ctest "$log" "$preset"
}

run_preset native
run_preset native-sanitize

# The Windows unit tests run under Wine in a prefix of the build tree, with a
# persistent wineserver so that each test program starts quickly.
export WINEPREFIX=$root/build/win64/wineprefix-unit WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
/usr/lib/wine/wineserver -p
run_preset win64
/usr/lib/wine/wineserver -k 2>/dev/null
unset WINEPREFIX

run_preset win32

if [[ -x scripts/run_fuzz.sh ]]; then
    count_command fuzz scripts/run_fuzz.sh "${VEMRA_FUZZ_SECONDS:-60}"
fi
if [[ -x scripts/run_valgrind.sh ]]; then
    count_command valgrind scripts/run_valgrind.sh
fi

echo
if ((${#failed_stages[@]} > 0)); then
    echo "failed in: ${failed_stages[*]}"
fi
echo "$passed passed, $failed failed"
((failed == 0))
