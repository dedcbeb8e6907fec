#!/usr/bin/env bash
# The queries of the "Find Mines" window over DATA (the 300,000 mines), in one
# run (vemra-find-bench, processor time, best of several runs):
#
#   the index's build                               vs  the load alone
#   a near query of 20, along the 10,000-point route of make_route.py with
#   1 km, matching a name over all mines, sorting every mine's row by name
#                                                   vs  a scan of every mine
#
# usage: bench/find_benchmark.sh BUILD_DIR DATA   (run_benchmarks.sh runs it)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$1
data=$2
cmake --build "$build" -j2 --target vemra-find-bench >/dev/null

route=$build/bench-data/route-10000.txt
if [[ ! -s $route ]]; then
    python3 "$root/bench/make_route.py" 10000 "$route"
fi
echo
echo "== find: the Find Mines window's queries (vemra-find-bench)"
"$build/bench/vemra-find-bench" "$data" "$route"
