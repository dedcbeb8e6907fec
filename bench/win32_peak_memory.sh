#!/usr/bin/env bash
# Peak memory of the i686 release (Vemra.exe of the win32 build, under Wine's
# 32-bit loader) with 300,000 mines loaded: the 32-bit address space is the
# limit that matters for the program users run.
#   Vemra.exe with 300,000 mines   vs  Vemra.exe with the bundled sample
#                                      (baseline: the program itself)
#                                  vs  the data file's size
# Each run waits until the program has loaded and stopped working (it then
# waits in a message box, as no OziExplorer runs), and reads the process's
# peak resident size (VmHWM: a Wine process is a Linux process).
#
# usage: bench/win32_peak_memory.sh [BUILD_DIR]   (default build/win32)
# Needs a machine that runs 32-bit programs (scripts/can_run_32bit.sh).
# Not a test: ctest does not run it.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build/win32}
rows=300000

if ! reason=$("$root/scripts/can_run_32bit.sh"); then
    echo "win32 peak memory: not measured, since $reason"
    exit 0
fi
if [[ -z ${DISPLAY:-} ]]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

echo "== build ($build)"
cmake --preset win32 -S "$root" >/dev/null
cmake --build "$build" -j2 --target Vemra oziapi >/dev/null

data=$root/build/native/bench-data/mrds-$rows.csv
if [[ ! -s $data ]]; then
    echo "== generating $rows mines"
    mkdir -p "$(dirname "$data")"
    python3 "$root/scripts/generate_mrds.py" "$rows" "$data.tmp" --seed 1
    mv "$data.tmp" "$data"
fi

work=$build/bench-memory
mkdir -p "$work"
cp "$build/Vemra.exe" "$build/ozisim/oziapi.dll" "$root/data/mrds-sample.csv" "$work/"
# By a name in its working folder, as a user starts it: a Unix path is no
# Windows path.
ln -sf "$data" "$work/mrds-$rows.csv"
cd "$work"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [[ ! -f $WINEPREFIX/system.reg ]]; then
    /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
fi
"$root/scripts/start_wineserver.sh"
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT

# Starts Vemra.exe on the file, waits until its CPU time has not grown for
# 3 s, prints its peak resident size in kB and ends it.
peak_kb() {
    /usr/lib/wine/wine Vemra.exe "$1" >/dev/null 2>&1 &
    local pid=$! last=-1 same=0 ticks
    while ((same < 6)); do
        sleep 0.5
        [[ -r /proc/$pid/stat ]] || { echo "Vemra.exe ended early" >&2; return 1; }
        ticks=$(awk '{print $14 + $15}' "/proc/$pid/stat")
        if [[ $ticks == "$last" ]]; then same=$((same + 1)); else same=0; fi
        last=$ticks
    done
    awk '/^VmHWM:/ {print $2}' "/proc/$pid/status"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

echo "== Vemra.exe (i686) with the bundled sample (baseline)"
base_kb=$(peak_kb mrds-sample.csv)
echo "== Vemra.exe (i686) with $rows mines"
big_kb=$(peak_kb "mrds-$rows.csv")
bytes=$(stat -c %s "$data")

python3 - "$base_kb" "$big_kb" "$bytes" <<'PY'
import sys
base, big, size = int(sys.argv[1]) * 1024, int(sys.argv[2]) * 1024, int(sys.argv[3])
print()
print(f"baseline: Vemra.exe (i686) with the bundled sample   {base / 1e6:7.1f} MB peak resident")
print(f"Vemra.exe (i686) with 300,000 mines                 {big / 1e6:7.1f} MB peak resident")
print(f"  = {big / base:.1f}x the baseline, {(big - base) / 1e6:.1f} MB for the mines;"
      f" {big / size:.2f}x the file's {size / 1e6:.1f} MB")
print(f"  = {big / 2**31:.0%} of the 2 GB a 32-bit Windows process may use")
PY
