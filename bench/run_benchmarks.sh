#!/usr/bin/env bash
# Measures the core against its targets in one run, on a generated file of
# 300,000 mines (about 160 MB):
#   load time (vemra-cli info, best of 3)  vs  Python's csv module (baseline)
#                                          vs  wc -l (the floor)
#   peak memory of vemra-cli info          vs  the file's size
#   one map click over 300,000 mines       (vemra-bench)
#   vemra-cli export-gpx, best of 3        vs  vemra-cli export-pnt (baseline)
# Targets: load >= 10x faster than Python's csv, within 10x of wc -l, peak
# memory <= 3x the file's size, one click < 1 ms, export-gpx within 2x of
# export-pnt (whole commands, load included; the write alone is also shown).
#
# usage: bench/run_benchmarks.sh [BUILD_DIR]   (default build/native)
# Not a test: ctest does not run it.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build/native}
rows=300000

echo "== build ($build)"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEMRA_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target vemra-cli vemra-bench >/dev/null
cli=$build/cli/vemra-cli
bench=$build/bench/vemra-bench

data=$build/bench-data/mrds-$rows.csv
if [[ ! -s $data ]]; then
    echo "== generating $rows mines"
    mkdir -p "$(dirname "$data")"
    python3 "$root/scripts/generate_mrds.py" "$rows" "$data.tmp" --seed 1
    mv "$data.tmp" "$data"
fi
bytes=$(stat -c %s "$data")
echo "== data: $data ($bytes bytes)"

# Smallest of the numbers on stdin.
minimum() { sort -g | head -n 1; }
# Wall time of a command in seconds, from bash's own clock.
seconds() {
    local TIMEFORMAT=%R
    { time "$@" >/dev/null 2>&1; } 2>&1
}
json_value() { python3 -c "import json,sys; print(json.load(sys.stdin)$1)"; }

cat "$data" >/dev/null  # every run below reads from the page cache

echo "== core load (vemra-cli info, best of 3)"
core=$(for _ in 1 2 3; do "$cli" info --json "$data" | json_value '["load_seconds"]'; done | minimum)
mines=$("$cli" info --json "$data" | json_value '["mines"]')

echo "== python csv (best of 2)"
python=$(for _ in 1 2; do
    python3 - "$data" <<'PY'
import csv, sys, time
start = time.perf_counter()
with open(sys.argv[1], newline="", encoding="cp1252") as f:
    rows = list(csv.reader(f))
print(time.perf_counter() - start)
PY
done | minimum)

echo "== wc -l (best of 3)"
wc=$(for _ in 1 2 3; do seconds wc -l "$data"; done | minimum)

echo "== peak memory (vemra-cli info)"
rss_kb=$(/usr/bin/time -v "$cli" info "$data" 2>&1 >/dev/null |
    awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}')

echo "== info, export-pnt and export-gpx of every mine (best of 3, alternating)"
out_dir=$build/bench-data/out
mkdir -p "$out_dir"
export_times=$(for _ in 1 2 3; do
    echo "info $(seconds "$cli" info "$data")"
    echo "pnt $(seconds "$cli" export-pnt "$data" "$out_dir/mines.pnt")"
    echo "gpx $(seconds "$cli" export-gpx "$data" "$out_dir/mines.gpx")"
done)
pnt=$(awk '$1 == "pnt" {print $2}' <<<"$export_times" | minimum)
gpx=$(awk '$1 == "gpx" {print $2}' <<<"$export_times" | minimum)
info=$(awk '$1 == "info" {print $2}' <<<"$export_times" | minimum)
gpx_bytes=$(stat -c %s "$out_dir/mines.gpx")
peak_kb() {
    /usr/bin/time -v "$@" 2>&1 >/dev/null |
        awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}'
}
pnt_rss_kb=$(peak_kb "$cli" export-pnt "$data" "$out_dir/mines.pnt")
gpx_rss_kb=$(peak_kb "$cli" export-gpx "$data" "$out_dir/mines.gpx")
rm -rf "$out_dir"

echo "== one map click (vemra-bench)"
lookup_json=$("$bench" --benchmark_filter=BM_LookupOneClick --benchmark_format=json \
    --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>/dev/null)
read -r lookup_real lookup_cpu < <(python3 -c '
import json, sys
runs = json.load(sys.stdin)["benchmarks"]
scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}
best = min((r for r in runs if r.get("aggregate_name") in (None, "median")),
           key=lambda r: r["real_time"])
unit = scale[best["time_unit"]]
print(best["real_time"] * unit, best["cpu_time"] * unit)' <<<"$lookup_json")

python3 - "$mines" "$bytes" "$core" "$python" "$wc" "$rss_kb" "$lookup_real" "$lookup_cpu" \
    "$pnt" "$gpx" "$gpx_bytes" "$pnt_rss_kb" "$gpx_rss_kb" "$info" <<'PY'
import sys
mines, size = int(sys.argv[1]), int(sys.argv[2])
core, python, wc = (float(v) for v in sys.argv[3:6])
rss = int(sys.argv[6]) * 1024
lookup_real, lookup_cpu = float(sys.argv[7]), float(sys.argv[8])
pnt, gpx = float(sys.argv[9]), float(sys.argv[10])
gpx_size = int(sys.argv[11])
pnt_rss, gpx_rss = int(sys.argv[12]) * 1024, int(sys.argv[13]) * 1024
# The write alone: the command less a whole vemra-cli info run (the same load).
info = float(sys.argv[14])
pnt_write, gpx_write = max(pnt - info, 1e-3), max(gpx - info, 1e-3)

def verdict(ok):
    return "met" if ok else "MISSED"

checks = [
    ("load vs python csv", f"{python / core:.1f}x faster", python / core >= 10, ">= 10x faster"),
    ("load vs wc -l", f"{core / wc:.1f}x slower", core / wc <= 10, "<= 10x slower"),
    ("peak memory", f"{rss / size:.2f}x file size", rss <= 3 * size, "<= 3x file size"),
    ("one click", f"{lookup_real:.0f} us (cpu {lookup_cpu:.0f} us)", lookup_real < 1000, "< 1000 us"),
    ("export-gpx vs -pnt", f"{gpx / pnt:.2f}x (write alone {gpx_write / pnt_write:.2f}x)",
     gpx / pnt <= 2, "<= 2x"),
]
print()
print(f"mines {mines}, file {size / 1e6:.1f} MB")
print(f"core load    {core:8.3f} s   ({size / core / 1e6:.0f} MB/s)")
print(f"python csv   {python:8.3f} s")
print(f"wc -l        {wc:8.3f} s")
print(f"peak RSS     {rss / 1e6:8.1f} MB")
print(f"info (load)  {info:8.3f} s   whole command")
print(f"export-pnt   {pnt:8.3f} s   peak RSS {pnt_rss / 1e6:.1f} MB (baseline)")
print(f"export-gpx   {gpx:8.3f} s   peak RSS {gpx_rss / 1e6:.1f} MB, {gpx_size / 1e6:.1f} MB written")
print()
for name, value, ok, target in checks:
    print(f"{name:20} {value:28} target {target:16} {verdict(ok)}")
print(f"\n{sum(ok for _, _, ok, _ in checks)} of {len(checks)} targets met")
PY
