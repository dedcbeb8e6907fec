#!/usr/bin/env bash
# Measures the core against its targets in one run, on generated files: the
# full database (300,000 mines, about 160 MB) and the most an archive holds
# (65,534 mines, as comma-separated text and as an archive). Every figure is
# a ratio to a baseline measured in the same run; each time is the best of
# several runs (the spread is printed beside it).
#
#   archive load (vemra-cli info, 65,534 mines)  vs  comma-separated load of the same mines
#                                                vs  wc -l on the archive (the floor)
#   archive write (WriteMineArchive, vemra-bench) vs  cp of the same archive
#   comma-separated load (vemra-cli info, 300,000 mines)
#                                                vs  wc -l (the floor)
#                                                vs  Python's csv reading rows one by one
#                                                    (and, for reference, into lists)
#   peak memory of vemra-cli info (300,000 mines)    vs  the file's size
#   one map click over 300,000 mines             (vemra-bench)
# and, beside them, the processor time of the same whole commands, which
# varies less on a machine shared with other work.
#
# usage: bench/run_benchmarks.sh [BUILD_DIR]   (default build/native)
# Not a test: ctest does not run it.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build/native}
rows=300000
archive_rows=65534

echo "== build ($build)"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEMRA_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target vemra-cli vemra-bench >/dev/null
cli=$build/cli/vemra-cli
bench=$build/bench/vemra-bench

generate() {  # ROWS -> path of the comma-separated file
    local path=$build/bench-data/mrds-$1.csv
    if [[ ! -s $path ]]; then
        echo "== generating $1 mines" >&2
        mkdir -p "$(dirname "$path")"
        python3 "$root/scripts/generate_mrds.py" "$1" "$path.tmp" --seed 1
        mv "$path.tmp" "$path"
    fi
    echo "$path"
}
data=$(generate $rows)
small=$(generate $archive_rows)
archive=${small%.csv}.dat
if [[ ! -s $archive || $archive -ot $small ]]; then
    "$cli" export-dat "$small" "$archive" >/dev/null
fi
bytes=$(stat -c %s "$data")
echo "== data: $data ($bytes bytes), $small, $archive"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# "best spread" of the numbers on stdin: the smallest, and the largest.
best_and_worst() { sort -g | sed -n '1p;$p' | paste -sd' '; }
# Wall time of a command in seconds, from bash's own clock.
seconds() {
    local TIMEFORMAT=%R
    { time "$@" >/dev/null 2>&1; } 2>&1
}
repeat() {  # N COMMAND... : N wall times
    local n=$1
    shift
    for _ in $(seq "$n"); do seconds "$@"; done
}
load_seconds() {  # N FILE : N load times reported by vemra-cli info
    for _ in $(seq "$1"); do "$cli" info --json "$2" | json_value '["load_seconds"]'; done
}
json_value() { python3 -c "import json,sys; print(json.load(sys.stdin)$1)"; }
# Best (and worst) real time in seconds of a vemra-bench benchmark.
bench_seconds() {
    "$bench" --benchmark_filter="^$1(/|\$)" --benchmark_format=json --benchmark_repetitions=5 \
        2>/dev/null | python3 -c '
import json, sys
scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
runs = [r for r in json.load(sys.stdin)["benchmarks"] if r.get("run_type") == "iteration"]
times = sorted(r["real_time"] * scale[r["time_unit"]] for r in runs)
print(times[0], times[-1])'
}

cat "$data" "$small" "$archive" >/dev/null  # every run below reads from the page cache

echo "== archive: load, comma-separated load of the same mines, wc -l (best of 7)"
archive_load=$(load_seconds 7 "$archive" | best_and_worst)
small_load=$(load_seconds 7 "$small" | best_and_worst)
archive_wc=$(repeat 7 wc -l "$archive" | best_and_worst)
archive_mines=$("$cli" info --json "$archive" | json_value '["mines"]')

echo "== archive: write (vemra-bench, best of 5), cp (best of 7)"
archive_write=$(VEMRA_BENCH_DAT=$archive bench_seconds BM_WriteArchive)
archive_cp=$(repeat 7 cp "$archive" "$scratch/copy.dat" | best_and_worst)

echo "== core load (vemra-cli info, best of 3)"
core=$(load_seconds 3 "$data" | best_and_worst)
mines=$("$cli" info --json "$data" | json_value '["mines"]')

cat >"$scratch/python_csv.py" <<'PY'
import csv, sys, time
start = time.perf_counter()
with open(sys.argv[1], newline="", encoding="cp1252") as f:
    if sys.argv[2] == "stream":
        for row in csv.reader(f):
            pass
    else:
        rows = list(csv.reader(f))
print(time.perf_counter() - start)
PY
python_csv() {  # MODE : seconds for Python's csv module to read the file
    python3 "$scratch/python_csv.py" "$data" "$1"
}
echo "== python csv, rows one by one and into lists (best of 2)"
python=$(for _ in 1 2; do python_csv stream; done | best_and_worst)
python_lists=$(for _ in 1 2; do python_csv lists; done | best_and_worst)

echo "== wc -l (best of 5)"
wc=$(repeat 5 wc -l "$data" | best_and_worst)

# Processor time (user + system) of whole commands, the least of N runs. On a
# machine shared with other work it varies far less than the wall time, but
# it does not show what threads gain.
cpu_seconds() {  # N COMMAND...
    python3 -c '
import os, subprocess, sys
n, command = int(sys.argv[1]), sys.argv[2:]
best = None
for _ in range(n):
    with open(os.devnull, "wb") as null:
        child = subprocess.Popen(command, stdout=null, stderr=null)
        _, _, usage = os.wait4(child.pid, 0)
    used = usage.ru_utime + usage.ru_stime
    best = used if best is None else min(best, used)
print(best)' "$@"
}
echo "== processor time of whole commands (least of 5)"
cpu_archive=$(cpu_seconds 5 "$cli" info "$archive")
cpu_small=$(cpu_seconds 5 "$cli" info "$small")
cpu_archive_wc=$(cpu_seconds 5 wc -l "$archive")
cpu_core=$(cpu_seconds 5 "$cli" info "$data")
cpu_wc=$(cpu_seconds 5 wc -l "$data")
cpu_python=$(cpu_seconds 2 python3 "$scratch/python_csv.py" "$data" stream)

echo "== peak memory (vemra-cli info)"
rss_kb=$(/usr/bin/time -v "$cli" info "$data" 2>&1 >/dev/null |
    awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}')

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

python3 - "$mines" "$bytes" "$rss_kb" "$lookup_real" "$lookup_cpu" "$archive_mines" \
    "$(stat -c %s "$archive")" "$(stat -c %s "$small")" <<PY
import sys
mines, size, rss_kb = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
lookup_real, lookup_cpu = float(sys.argv[4]), float(sys.argv[5])
archive_mines, archive_size, small_size = (int(v) for v in sys.argv[6:9])
rss = rss_kb * 1024

def pair(text):
    best, worst = (float(v) for v in text.split())
    return best, worst

times = {
    "archive load": pair("$archive_load"),
    "csv load, same mines": pair("$small_load"),
    "wc -l, archive": pair("$archive_wc"),
    "archive write": pair("$archive_write"),
    "cp, archive": pair("$archive_cp"),
    "core load": pair("$core"),
    "python csv, rows": pair("$python"),
    "python csv, lists": pair("$python_lists"),
    "wc -l": pair("$wc"),
}
best = {name: value[0] for name, value in times.items()}

def verdict(ok):
    return "met" if ok else "MISSED"

checks = [
    ("archive load vs csv load", best["csv load, same mines"] / best["archive load"], "x faster",
     lambda r: r >= 3, ">= 3x faster"),
    ("archive load vs wc -l", best["archive load"] / best["wc -l, archive"], "x slower",
     lambda r: r <= 4, "<= 4x slower"),
    ("archive write vs cp", best["archive write"] / best["cp, archive"], "x slower",
     lambda r: r <= 3, "<= 3x slower"),
    ("csv load vs wc -l", best["core load"] / best["wc -l"], "x slower",
     lambda r: r <= 5, "<= 5x slower"),
    ("csv load vs python rows", best["python csv, rows"] / best["core load"], "x faster",
     lambda r: r >= 10, ">= 10x faster"),
    ("peak memory", rss / size, "x file size", lambda r: r <= 1.25, "<= 1.25x file"),
]
print()
print(f"archive: {archive_mines} mines, {archive_size / 1e6:.1f} MB "
      f"({small_size / 1e6:.1f} MB as comma-separated text)")
print(f"comma-separated: {mines} mines, {size / 1e6:.1f} MB")
print()
print(f"{'measured':24} {'best':>9} {'worst':>9}")
for name, (low, high) in times.items():
    print(f"{name:24} {low:8.3f}s {high:8.3f}s")
print(f"{'peak RSS':24} {rss / 1e6:8.1f}MB")
print(f"{'python rows / lists':24} {best['python csv, rows'] / best['python csv, lists']:8.2f}")
print()
for name, ratio, unit, ok, target in checks:
    print(f"{name:26} {ratio:6.2f}{unit:14} target {target:16} {verdict(ok(ratio))}")
click_ok = lookup_real < 1000
print(f"{'one click':26} {lookup_real:6.0f} us (cpu {lookup_cpu:.0f})  target {'< 1000 us':16} "
      f"{verdict(click_ok)}")
met = sum(ok(ratio) for _, ratio, _, ok, _ in checks) + click_ok
print(f"\n{met} of {len(checks) + 1} targets met")

cpu = {name: float(value) for name, value in [
    ("archive", "$cpu_archive"), ("csv, same mines", "$cpu_small"),
    ("wc -l, archive", "$cpu_archive_wc"), ("csv", "$cpu_core"), ("wc -l", "$cpu_wc"),
    ("python rows", "$cpu_python")]}
print("\nprocessor time of whole commands (user + system, least of 5; not the targets):")
print(f"  vemra-cli info: archive {cpu['archive']:.3f}s, same mines as csv "
      f"{cpu['csv, same mines']:.3f}s ({cpu['csv, same mines'] / cpu['archive']:.2f}x), "
      f"wc -l of the archive {cpu['wc -l, archive']:.3f}s "
      f"(archive {cpu['archive'] / max(cpu['wc -l, archive'], 1e-6):.2f}x)")
print(f"  vemra-cli info: csv {cpu['csv']:.3f}s, wc -l {cpu['wc -l']:.3f}s "
      f"({cpu['csv'] / max(cpu['wc -l'], 1e-6):.2f}x), python rows {cpu['python rows']:.3f}s "
      f"({cpu['python rows'] / cpu['csv']:.2f}x)")
PY
