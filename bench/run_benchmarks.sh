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
#   the load of the same rows under today's USGS header (commod1, ... in lower
#     case)                                      vs  the MRDS header
#   export-gpx of every mine                     vs  export-pnt
#   export-kml, export-gpx of every mine         vs  GDAL's ogr2ogr -f KML / -f GPX of the
#                                                    same file (and, for reference, of the
#                                                    fields the exports write)
#   export-pnt's writing (export-pnt less info)  vs  the load alone (vemra-cli info)
#   every export, with VEMRA_BENCH_BEFORE naming an earlier vemra-cli
#                                                vs  the same export by that program
#   per query over 300,000 mines: the spatial index  vs  the linear scan, for
#     nearest -n 5 and for the click lookup; the index's build time and bytes
#     per mine (vemra-bench)
#   batch runs of 100,000 points (nearest -n 5 --points, lookup --points)
#                                                vs  vemra-cli info (load alone)
#   the load from a deflated zip (vemra-cli info)  vs  unzip -p of the zip, then the load of the
#                                                    unzipped file; and its peak memory against
#                                                    the unzipped load's
# and, beside them, the processor time of the same whole commands, which
# varies less on a machine shared with other work; then the mines along a
# route (bench/along_benchmark.sh) and the queries of the Find Mines window
# (bench/find_benchmark.sh).
#
# usage: [VEMRA_BENCH_BEFORE=OLD_VEMRA_CLI] bench/run_benchmarks.sh [BUILD_DIR]
#        (default build/native)
# Not a test: ctest does not run it.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build/native}
rows=300000
archive_rows=65534
queries=100000

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
today=$build/bench-data/mrds-$rows-today.csv
if [[ ! -s $today ]]; then
    echo "== generating $rows mines (today's header)"
    python3 "$root/scripts/generate_mrds.py" "$rows" "$today.tmp" --seed 1 --header today
    mv "$today.tmp" "$today"
fi
bytes=$(stat -c %s "$data")
echo "== data: $data ($bytes bytes), $today, $small, $archive"

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
    # The output is parsed after the run: a Python reading the pipe would
    # start up beside the load and take a processor from it.
    local out
    for _ in $(seq "$1"); do
        out=$("$cli" info --json "$2")
        json_value '["load_seconds"]' <<<"$out"
    done
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

echo "== core load (vemra-cli info, best of 7)"
core=$(load_seconds 7 "$data" | best_and_worst)
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

minimum() { sort -g | head -n 1; }

echo "== today's header against the MRDS header (vemra-cli info, best of 5 each, alternating)"
cat "$today" >/dev/null
# The load time the program reports, and the processor time of the whole
# run (user + system, all threads): on a busy machine the second is steadier.
load_and_cpu() {
    local out
    out=$(/usr/bin/time -f "cpu %U %S" "$cli" info --json "$1" 2>&1)
    echo "$(json_value '["load_seconds"]' <<<"${out%cpu *}") $(awk '/^cpu / {print $2 + $3}' <<<"$out")"
}
header_times=$(for _ in 1 2 3 4 5; do
    echo "mrds $(load_and_cpu "$data")"
    echo "today $(load_and_cpu "$today")"
done)
header_mrds=$(awk '$1 == "mrds" {print $2}' <<<"$header_times" | minimum)
header_today=$(awk '$1 == "today" {print $2}' <<<"$header_times" | minimum)
header_mrds_cpu=$(awk '$1 == "mrds" {print $3}' <<<"$header_times" | minimum)
header_today_cpu=$(awk '$1 == "today" {print $3}' <<<"$header_times" | minimum)
today_second=$("$cli" info --json "$today" | json_value '["second_names"].__len__()')
today_mines=$("$cli" info --json "$today" | json_value '["mines"]')
if [[ $today_second != 5 || $today_mines != "$mines" ]]; then
    echo "today's header file read wrongly: $today_mines mines, $today_second second names" >&2
    exit 1
fi

echo "== info and every export of every mine (best of 3, alternating)"
out_dir=$build/bench-data/out
mkdir -p "$out_dir"
before=${VEMRA_BENCH_BEFORE:-}
exports="pnt gpx kml wpt"
export_times=$(for _ in 1 2 3; do
    echo "info $(seconds "$cli" info "$data")"
    for kind in $exports; do
        echo "$kind $(seconds "$cli" "export-$kind" "$data" "$out_dir/mines.$kind")"
        if [[ -n $before ]]; then
            echo "before-$kind $(seconds "$before" "export-$kind" "$data" "$out_dir/before.$kind")"
        fi
    done
done)
best_of() { awk -v name="$1" '$1 == name {print $2}' <<<"$export_times" | minimum; }
pnt=$(best_of pnt)
gpx=$(best_of gpx)
kml=$(best_of kml)
wpt=$(best_of wpt)
info=$(best_of info)
before_times=""
if [[ -n $before ]]; then
    before_times="$(best_of before-pnt) $(best_of before-gpx) $(best_of before-kml) $(best_of before-wpt)"
fi
gpx_bytes=$(stat -c %s "$out_dir/mines.gpx")
kml_bytes=$(stat -c %s "$out_dir/mines.kml")
peak_kb() {
    /usr/bin/time -v "$@" 2>&1 >/dev/null |
        awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}'
}
pnt_rss_kb=$(peak_kb "$cli" export-pnt "$data" "$out_dir/mines.pnt")
gpx_rss_kb=$(peak_kb "$cli" export-gpx "$data" "$out_dir/mines.gpx")

echo "== ogr2ogr -f KML and -f GPX of the same file (once each: they take a while)"
ogr_csv=(-oo X_POSSIBLE_NAMES=LONGITUDE -oo Y_POSSIBLE_NAMES=LATITUDE)
layer=$(basename "$data" .csv)
ogr() {  # OUT ARGS... : seconds of ogr2ogr writing OUT from the data file
    local out=$1
    shift
    rm -f "$out"
    seconds ogr2ogr "$@" "$out" "$data" "${ogr_csv[@]}"
}
# The whole record of each mine, named by its site name.
ogr_kml=$(ogr "$out_dir/ogr.kml" -f KML -dsco NameField=SITE_NAME)
# GPX has no place for the record's columns: only the coordinates.
ogr_gpx=$(ogr "$out_dir/ogr.gpx" -f GPX)
# For reference, the fields the exports write: the "Main Page" texts, and
# name, description and type.
main_page=SITE_NAME,COUNTRY,STATE,COUNTY,COM_TYPE,COM_MAJOR,COM_MINOR,COM_TRACE,DEV_STAT
main_page+=,DY_BA,DISC_YR,YFP_BA,YR_FST_PRD,YLP_BA,YR_LST_PRD,PROD_YRS
ogr_kml_fields=$(ogr "$out_dir/ogr-fields.kml" -f KML -dsco NameField=SITE_NAME -select "$main_page")
ogr_gpx_fields=$(ogr "$out_dir/ogr-fields.gpx" -f GPX -sql \
    "SELECT SITE_NAME AS name, COM_MAJOR AS \"desc\", DEV_STAT AS type FROM \"$layer\"")
rm -rf "$out_dir"

echo "== queries: index vs linear scan, index build (vemra-bench)"
query_json=$("$bench" --benchmark_filter='BM_(BuildIndex|NearestFive|Lookup(Indexed|ByScan))' \
    --benchmark_format=json --benchmark_min_time=0.5 2>/dev/null)
read -r build_ms bytes_per_mine nearest_index nearest_scan lookup_index lookup_scan < <(python3 -c '
import json, sys
runs = {r["name"]: r for r in json.load(sys.stdin)["benchmarks"]}
scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}
us = lambda name: runs[name]["real_time"] * scale[runs[name]["time_unit"]]
print(us("BM_BuildIndex") / 1e3, runs["BM_BuildIndex"]["bytes_per_mine"],
      us("BM_NearestFiveIndexed"), us("BM_NearestFiveByScan"),
      us("BM_LookupIndexed"), us("BM_LookupByScan"))' <<<"$query_json")

points=$build/bench-data/points-$queries.txt
if [[ ! -s $points ]]; then
    echo "== $queries query points: half on mines of the file, half anywhere around them"
    python3 - "$data" "$points" "$queries" <<'PY'
import csv, random, sys
data, out, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
rng = random.Random(2)
with open(data, newline="", encoding="cp1252") as f:
    rows = csv.reader(f)
    header = next(rows)
    lat, lon = header.index("LATITUDE"), header.index("LONGITUDE")
    at = [(row[lat], row[lon]) for row in rows]
with open(out + ".tmp", "w") as f:
    for i in range(count):
        if i % 2 == 0:
            f.write("%s,%s\n" % rng.choice(at))
        else:
            f.write("%.5f, %.5f\n" % (rng.uniform(38.5, 45.5), rng.uniform(-120.5, -113.5)))
PY
    mv "$points.tmp" "$points"
fi

echo "== batch runs over $queries points (best of 2), load alone (vemra-cli info, best of 2)"
info_wall=$(for _ in 1 2; do seconds "$cli" info "$data"; done | minimum)
nearest_wall=$(for _ in 1 2; do seconds "$cli" nearest "$data" --points "$points" -n 5; done | minimum)
batch_lookup_wall=$(for _ in 1 2; do seconds "$cli" lookup "$data" --points "$points"; done | minimum)
info_cpu=$(for _ in 1 2; do cpu_seconds 1 "$cli" info "$data"; done | minimum)
nearest_cpu=$(for _ in 1 2; do cpu_seconds 1 "$cli" nearest "$data" --points "$points" -n 5; done | minimum)
batch_lookup_cpu=$(for _ in 1 2; do cpu_seconds 1 "$cli" lookup "$data" --points "$points"; done | minimum)
nearest_rss_kb=$(/usr/bin/time -v "$cli" nearest "$data" --points "$points" -n 5 2>&1 >/dev/null |
    awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}')

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

header_mrds, header_today = $header_mrds, $header_today
header_mrds_cpu, header_today_cpu = $header_mrds_cpu, $header_today_cpu
pnt, gpx, kml, wpt, info = $pnt, $gpx, $kml, $wpt, $info
pnt_write, gpx_write, kml_write = (max(t - info, 1e-3) for t in (pnt, gpx, kml))
ogr_kml, ogr_gpx = $ogr_kml, $ogr_gpx
nearest_index, nearest_scan = $nearest_index, $nearest_scan
lookup_index, lookup_scan = $lookup_index, $lookup_scan
more = [
    ("today's vs MRDS header", header_today / header_mrds, "x (cpu %.3fx)" % (header_today_cpu / header_mrds_cpu),
     lambda r: r <= 1.10, "<= 1.10x"),
    ("export-gpx vs -pnt", gpx / pnt, "x (write %.2fx)" % (gpx_write / pnt_write),
     lambda r: r <= 2, "<= 2x"),
    ("export-kml vs ogr2ogr KML", ogr_kml / kml, "x faster", lambda r: r >= 20, ">= 20x faster"),
    ("export-gpx vs ogr2ogr GPX", ogr_gpx / gpx, "x faster", lambda r: r >= 20, ">= 20x faster"),
    ("export-pnt write vs load", pnt_write / info, "x the load", lambda r: r < 1, "< 1x"),
    ("nearest 5 vs scan", nearest_scan / nearest_index, "x faster", lambda r: r >= 100, ">= 100x faster"),
    ("lookup vs scan", lookup_scan / lookup_index, "x faster", lambda r: r >= 100, ">= 100x faster"),
    ("index memory", $bytes_per_mine, " bytes/mine", lambda r: r < 16, "< 16 bytes"),
    ("batch nearest -n 5", $nearest_wall, " s", lambda r: r < 2, "< 2 s"),
    ("batch lookup", $batch_lookup_wall, " s", lambda r: r < 2, "< 2 s"),
]
for name, ratio, unit, ok, target in more:
    print(f"{name:26} {ratio:6.2f}{unit:14} target {target:16} {verdict(ok(ratio))}")
met += sum(ok(ratio) for _, ratio, _, ok, _ in more)
print(f"\n{met} of {len(checks) + len(more) + 1} targets met")
print(f"\nload, MRDS header {header_mrds:.3f}s (cpu {header_mrds_cpu:.2f}s), today's header "
      f"{header_today:.3f}s (cpu {header_today_cpu:.2f}s)")
print(f"info {info:.3f}s, export-pnt {pnt:.3f}s (peak {$pnt_rss_kb / 1e3:.1f} MB), export-gpx "
      f"{gpx:.3f}s (peak {$gpx_rss_kb / 1e3:.1f} MB, {$gpx_bytes / 1e6:.1f} MB written), "
      f"export-kml {kml:.3f}s ({$kml_bytes / 1e6:.1f} MB), export-wpt {wpt:.3f}s")
print(f"writing alone (export less info): pnt {pnt_write:.3f}s, gpx {gpx_write:.3f}s "
      f"({ogr_gpx / gpx_write:.1f}x faster than ogr2ogr), kml {kml_write:.3f}s "
      f"({ogr_kml / kml_write:.1f}x faster than ogr2ogr)")
print(f"ogr2ogr: KML {ogr_kml:.2f}s, GPX {ogr_gpx:.2f}s; of the exports' fields alone: KML "
      f"{$ogr_kml_fields:.2f}s ({$ogr_kml_fields / kml:.1f}x export-kml), GPX {$ogr_gpx_fields:.2f}s "
      f"({$ogr_gpx_fields / gpx:.1f}x export-gpx)")
before = "$before_times".split()
if before:
    print("earlier vemra-cli ($before) against this one: " + ", ".join(
        f"export-{kind} {float(old):.3f}s -> {new:.3f}s ({float(old) / new:.2f}x faster)"
        for kind, old, new in zip(("pnt", "gpx", "kml", "wpt"), before, (pnt, gpx, kml, wpt))))
print(f"index build {$build_ms:.1f} ms; per query: nearest -n 5 {nearest_index:.2f} us indexed, "
      f"{nearest_scan:.0f} us by scan; lookup {lookup_index:.2f} us indexed, {lookup_scan:.0f} us by scan")
print(f"batch over $queries points: nearest -n 5 {$nearest_wall:.2f}s (cpu {$nearest_cpu:.2f}s, "
      f"peak {$nearest_rss_kb / 1e3:.1f} MB), lookup {$batch_lookup_wall:.2f}s (cpu "
      f"{$batch_lookup_cpu:.2f}s); load alone (info) {$info_wall:.2f}s (cpu {$info_cpu:.2f}s)")

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

# The USGS download as it comes: the same 300,000 mines from a deflated zip,
# against unzipping it (unzip -p to /dev/null) and loading the unzipped file;
# the peak memory of the zip load against the unzipped load.
echo
echo "== zip: vemra-cli info on the deflated zip, against unzip -p then info (best of 5, alternating)"
zip_file=$build/bench-data/mrds-$rows-csv.zip
if [[ ! -s $zip_file || $zip_file -ot $data ]]; then
    rm -f "$zip_file"
    ln -sf "$data" "$scratch/mrds.csv"
    zip -q -6 -j "$zip_file" "$scratch/mrds.csv"
fi
zip_mines=$("$cli" info --json "$zip_file" | json_value '["mines"]')
if [[ $zip_mines != "$mines" ]]; then
    echo "the zip read wrongly: $zip_mines mines, $mines unzipped" >&2
    exit 1
fi
zip_times=$(for _ in 1 2 3 4 5; do
    echo "zip $(seconds "$cli" info "$zip_file") $(cpu_seconds 1 "$cli" info "$zip_file")"
    echo "unzip $(seconds unzip -p "$zip_file") $(cpu_seconds 1 unzip -p "$zip_file")"
    echo "csv $(seconds "$cli" info "$data") $(cpu_seconds 1 "$cli" info "$data")"
done)
zip_rss_kb=$(peak_kb "$cli" info "$zip_file")
csv_rss_kb=$(peak_kb "$cli" info "$data")
python3 - "$zip_times" "$zip_rss_kb" "$csv_rss_kb" "$(stat -c %s "$zip_file")" <<'PY'
import sys
rows = [line.split() for line in sys.argv[1].splitlines()]
best = lambda kind, column: min(float(r[column]) for r in rows if r[0] == kind)
zip_wall, unzip_wall, csv_wall = best("zip", 1), best("unzip", 1), best("csv", 1)
zip_cpu, unzip_cpu, csv_cpu = best("zip", 2), best("unzip", 2), best("csv", 2)
zip_rss, csv_rss, zip_size = int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
pair = unzip_wall + csv_wall
print(f"zip {zip_size / 1e6:.1f} MB: info {zip_wall:.3f}s (cpu {zip_cpu:.2f}s); unzip -p "
      f"{unzip_wall:.3f}s (cpu {unzip_cpu:.2f}s) + info on the unzipped file {csv_wall:.3f}s "
      f"(cpu {csv_cpu:.2f}s)")
ratio = zip_wall / pair
print(f"{'zip load vs unzip + load':26} {ratio:6.2f}x{'':13} target {'<= 1x':16} "
      f"{'met' if ratio <= 1 else 'MISSED'}  (cpu {zip_cpu / (unzip_cpu + csv_cpu):.2f}x)")
print(f"{'zip peak vs unzipped peak':26} {zip_rss / csv_rss:6.2f}x{'':13} "
      f"({zip_rss / 1e3:.1f} MB against {csv_rss / 1e3:.1f} MB)")
PY

"$root/bench/along_benchmark.sh" "$build" "$data"
"$root/bench/find_benchmark.sh" "$build" "$data"
