#!/bin/sh
# Runs one end-to-end test in a Wine prefix of its own: a hard-linked copy of
# the prepared prefix (registry files copied for real, since Wine rewrites
# them), a persistent wineserver for the test's life, and a working folder.
# Killing the wineserver at the end ends every program the test started.
#   run_e2e.sh TEMPLATE_PREFIX RUNS_DIR TEST_EXE TEST_NAME
# VEMRA_E2E_LOGPIXELS, when set, is the display's dots per inch (96 = 100%).
# VEMRA_E2E_WINE names Wine's loader for the test program (default wine64;
# /usr/lib/wine/wine for an i686 build).
# Without a display it runs itself under xvfb-run. A failed test's folder
# is kept under RUNS_DIR for inspection.
set -u
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" sh "$0" "$@"
fi
template=$1
runs=$2
exe=$3
name=$4
dir=$runs/$name

rm -rf "$dir"
mkdir -p "$dir/work"
cp -al "$template" "$dir/prefix"
for reg in "$template"/*.reg; do
    cp --remove-destination "$reg" "$dir/prefix/"
done

export WINEPREFIX="$dir/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export VEMRA_E2E_WORK="$dir/work"
sh "$(dirname "$0")/../../scripts/start_wineserver.sh" || exit 1
if [ -n "${VEMRA_E2E_LOGPIXELS:-}" ]; then
    # A scaled display: every program started from here on draws at that DPI.
    /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
        /d "$VEMRA_E2E_LOGPIXELS" /f >/dev/null 2>&1
fi
"${VEMRA_E2E_WINE:-/usr/lib/wine/wine64}" "$exe" --gtest_filter="$name" >"$dir/output.txt" 2>&1
status=$?
/usr/lib/wine/wineserver -k 2>/dev/null
/usr/lib/wine/wineserver -w 2>/dev/null
cat "$dir/output.txt"

# A filter that matches nothing passes in GoogleTest: not here.
if [ $status -eq 0 ] && ! grep -q "^\[  *\(OK\|SKIPPED\) *\] $name " "$dir/output.txt"; then
    echo "run_e2e.sh: $name did not run" >&2
    status=1
fi
if [ $status -eq 0 ]; then
    rm -rf "$dir"
else
    echo "run_e2e.sh: kept $dir" >&2
fi
exit $status
