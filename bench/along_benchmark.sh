#!/usr/bin/env bash
# The mines along a route, in one run over the same mines and route:
#
#   a 10,000-point route with --within 2 over DATA (the 300,000 mines):
#     the index's build and query (vemra-along-bench, processor time)  vs  the
#       scan of every mine against every leg (the same answer, checked)
#     the whole vemra-cli along (load, index, query, GPX export)
#                                                  vs  GPSBabel's arc filter on
#       the same mines (as GPX) and route (processor time), and  vs  vemra-cli
#       info (load alone); wall time for the whole process
#   and whether the two kept the same mines, but for those within 1 m of the
#   boundary. GPSBabel measures on a sphere of radius 6378.137 km, this
#   program on one of 6371.0088 km: it is given the same angle.
#
# GPSBabel compares every mine with every leg, with trigonometry each time:
# minutes of processor time. BABEL_POINTS (default all 10,000) makes both
# sides of that comparison use the route's first points only.
#
# usage: bench/along_benchmark.sh BUILD_DIR DATA [BABEL_POINTS]   (run_benchmarks.sh runs it)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$1
data=$2
babel_points=${3:-10000}
within=2
cli=$build/cli/vemra-cli
bench=$build/bench/vemra-along-bench
cmake --build "$build" -j2 --target vemra-cli vemra-along-bench >/dev/null

route=$build/bench-data/route-10000.txt
if [[ ! -s $route ]]; then
    python3 "$root/bench/make_route.py" 10000 "$route"
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# "WALL CPU": wall time and processor time (user + system) of a command, in
# seconds. On a machine shared with other work the second varies far less.
timed() {
    python3 -c '
import os, subprocess, sys, time
start = time.perf_counter()
with open(os.devnull, "wb") as null:
    child = subprocess.Popen(sys.argv[1:], stdout=null, stderr=null)
    _, status, usage = os.wait4(child.pid, 0)
if status != 0:
    sys.exit("failed: %s" % " ".join(sys.argv[1:]))
print(time.perf_counter() - start, usage.ru_utime + usage.ru_stime)' "$@"
}
best_of_3() { for _ in 1 2 3; do timed "$@"; done | sort -g | head -n 1; }

echo "== along: index against scan (vemra-along-bench; the scan takes a while)"
core=$("$bench" "$data" "$route" "$within")

echo "== along: whole commands (best of 3), GPSBabel's arc filter (once)"
along=$(best_of_3 "$cli" along "$data" "$route" --within "$within")
info=$(best_of_3 "$cli" info "$data")
head -n "$babel_points" "$route" >"$scratch/route.txt"
along_babel=$(best_of_3 "$cli" along "$data" "$scratch/route.txt" --within "$within" \
    --export "$scratch/along.gpx")
"$cli" export-gpx "$data" "$scratch/mines.gpx" >/dev/null
tr ',' ' ' <"$scratch/route.txt" >"$scratch/arc.txt"
babel_km=$(python3 -c "print(f'{$within * 6378.137 / 6371.0088:.9f}')")
babel=$(timed gpsbabel -i gpx -f "$scratch/mines.gpx" \
    -x "arc,file=$scratch/arc.txt,distance=${babel_km}K" -o gpx -F "$scratch/babel.gpx")
babel_read=$(timed gpsbabel -i gpx -f "$scratch/mines.gpx" -o gpx -F "$scratch/copy.gpx")

python3 - "$core" "$along" "$info" "$babel" "$babel_read" "$along_babel" "$scratch/along.gpx" \
    "$scratch/babel.gpx" "$scratch/route.txt" "$within" <<'PY'
import collections, json, math, sys
from xml.etree import ElementTree

core = json.loads(sys.argv[1])
(along, along_cpu), (info, info_cpu), (babel, babel_cpu), (babel_read, babel_read_cpu), \
    (along_babel, along_babel_cpu) = ((float(x) for x in v.split()) for v in sys.argv[2:7])
ours_path, babel_path, route_path, within = sys.argv[7], sys.argv[8], sys.argv[9], float(sys.argv[10])

def places(path):
    return collections.Counter((round(float(w.get("lat")), 6), round(float(w.get("lon")), 6))
                               for w in ElementTree.parse(path).getroot().iter()
                               if w.tag.endswith("}wpt"))

def vector(lat, lon):
    lat, lon = math.radians(lat), math.radians(lon)
    return (math.cos(lat) * math.cos(lon), math.cos(lat) * math.sin(lon), math.sin(lat))

def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])

def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]

def angle(a, b):
    c = cross(a, b)
    return math.atan2(math.sqrt(dot(c, c)), dot(a, b))

route = [vector(*map(float, line.split(","))) for line in open(route_path) if line.strip()]

def distance_km(place):
    p = vector(*map(float, place))
    best = math.inf
    for a, b in zip(route, route[1:]):
        n = cross(a, b)
        size = math.sqrt(dot(n, n))
        if size < 1e-12:
            continue
        n = tuple(x / size for x in n)
        if dot(p, cross(n, a)) >= 0 and dot(p, cross(n, b)) <= 0:
            best = min(best, abs(math.asin(dot(p, n))))
        else:
            best = min(best, angle(p, a), angle(p, b))
    return best * 6371.0088

ours, theirs = places(ours_path), places(babel_path)
differ = list(((ours - theirs) + (theirs - ours)).elements())
near_boundary = [d for d in (distance_km(p) for p in differ) if abs(d - within) <= 0.001]
query = core["build_s"] + core["query_s"]
print()
print(f"along: {core['mines']} mines, a route of {core['legs']} legs, --within {within:g} km: "
      f"{core['answers']} mines; index and scan agree: {core['same']}")
print(f"  processor time: index build {core['build_s'] * 1e3:.1f} ms + query "
      f"{core['query_s'] * 1e3:.1f} ms; scan {core['scan_s']:.2f} s (query alone "
      f"{core['scan_s'] / core['query_s']:.0f}x faster); route {core['route_bytes'] / 1e6:.2f} MB, "
      f"index {core['index_bytes'] / 1e6:.2f} MB")
print(f"  wall (processor): vemra-cli along {along:.3f} s ({along_cpu:.3f} s), info (load alone) "
      f"{info:.3f} s ({info_cpu:.3f} s)")
print(f"  over the route's first {len(route)} points: vemra-cli along --export {along_babel:.3f} s "
      f"({along_babel_cpu:.3f} s); GPSBabel arc {babel:.2f} s ({babel_cpu:.2f} s), the same GPX "
      f"read and written without the filter {babel_read:.2f} s ({babel_read_cpu:.2f} s)")
print(f"  GPSBabel kept {sum(theirs.values())}, along {sum(ours.values())}; "
      f"{len(differ)} differ, {len(near_boundary)} of them within 1 m of the boundary")
checks = [
    ("along index vs scan", core["scan_s"] / query, "x faster", core["scan_s"] / query >= 100,
     ">= 100x faster"),
    ("along vs GPSBabel arc", babel_cpu / along_babel_cpu, "x faster (cpu)",
     babel_cpu / along_babel_cpu >= 20,
     ">= 20x faster"),
    ("along, whole process", along, " s", along < 1, "< 1 s"),
    ("along, same as GPSBabel", len(differ) - len(near_boundary), " differ", core["same"] and
     len(differ) == len(near_boundary), "0 beyond 1 m"),
]
for name, value, unit, ok, target in checks:
    print(f"{name:26} {value:6.2f}{unit:14} target {target:16} {'met' if ok else 'MISSED'}")
PY
