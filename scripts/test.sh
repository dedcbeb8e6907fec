#!/usr/bin/env bash
# Runs every test of Vemra, installing what it needs first:
#   format           every C++ source as clang-format makes it (.clang-format)
#   include circles  no circle of #include lines between units (a header
#                    with its sources), scripts/check_include_cycles.py
#   folder arrows    the README's Layout block lists the folders' includes as
#                    they are, scripts/folder_arrows.py --check
#   native           unit tests, command-line tests, the bad-input suite
#   native-sanitize  the same under AddressSanitizer and UndefinedBehaviorSanitizer
#   win64            unit tests, end-to-end tests of the programs and the
#                    command-line tests of vemra-cli.exe under Wine, the x86_64
#                    package
#   win32            the release build (i686) and its package, checked
#   win32 e2e        the end-to-end tests against the i686 programs under
#                    Wine's 32-bit loader, where the kernel runs 32-bit code
#                    (otherwise one line says why they were skipped)
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

# Configures and builds one preset, with any further cmake arguments; a
# build failure fails the stage.
build_preset() {
    local preset=$1
    shift
    mkdir -p build
    if ! cmake --preset "$preset" -DVEMRA_WARNINGS_AS_ERRORS=ON "$@" >/dev/null || ! cmake --build --preset "$preset" -j2; then
        failed=$((failed + 1))
        failed_stages+=("$preset (build)")
        return 1
    fi
}

# Runs the tests of a built preset (those ctest's further arguments select)
# as the stage named.
test_preset() {
    local preset=$1 stage=$2
    shift 2
    local log="build/${stage// /-}-ctest.log"
    ctest --test-dir "build/$preset" -j2 --output-on-failure "$@" 2>&1 | tee "$log"
    count_ctest "$log" "$stage"
}

# Configures, builds and tests one preset.
run_preset() {
    echo "== $1"
    build_preset "$1" && test_preset "$1" "$1"
}

count_command format scripts/check_format.sh
count_command "include circles" scripts/check_include_cycles.py
count_command "folder arrows" scripts/folder_arrows.py --check
run_preset native
run_preset native-sanitize

# The Windows unit tests run under Wine in a prefix of the build tree, with a
# persistent wineserver so that each test program starts quickly.
export WINEPREFIX=$root/build/win64/wineprefix-unit WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
if scripts/start_wineserver.sh; then
    run_preset win64
else
    failed=$((failed + 1))
    failed_stages+=("win64 (wineserver)")
fi
/usr/lib/wine/wineserver -k 2>/dev/null
/usr/lib/wine/wineserver -w 2>/dev/null
unset WINEPREFIX

# The i686 release: its package is checked everywhere; its end-to-end tests
# (Vemra.exe with the i686 stand-in and oziapi.dll, driven by an i686 test
# program) run under Wine's 32-bit loader where the kernel runs 32-bit code.
echo "== win32"
win32_e2e=OFF
if ! reason=$(scripts/can_run_32bit.sh); then
    :
elif [[ ! -x /usr/lib/wine/wine ]]; then
    reason="Wine's 32-bit loader (wine32:i386) is not installed"
else
    win32_e2e=ON
fi
if build_preset win32 -DVEMRA_WIN32_E2E=$win32_e2e; then
    test_preset win32 win32 -E '^e2e\.'
    if [[ $win32_e2e == ON ]]; then
        echo "== win32 e2e"
        started=$SECONDS
        test_preset win32 "win32 e2e" -R '^e2e\.'
        echo "win32 e2e: $((SECONDS - started)) s"
    else
        echo "win32 e2e: skipped, since $reason"
    fi
fi

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
