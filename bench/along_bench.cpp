// vemra-along-bench DATAFILE ROUTE KM: times (processor time) the mines along
// a route through the spatial index (its build, and the query) against the scan of every
// mine against every leg, checks that both give the same answer, and prints
// one JSON object. bench/along_benchmark.sh runs it.

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "geo/mine_index.h"
#include "geo/route_search.h"
#include "load/mine_loader.h"
#include "points/route_file.h"
#include "text/number_text.h"

namespace {

// Processor time of this process: the code measured runs on one thread, and
// on a machine shared with other work this varies far less than wall time.
double ProcessorSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

bool SameAnswers(const std::vector<AlongMine>& a, const std::vector<AlongMine>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const AlongMine& x, const AlongMine& y) {
                          return x.index == y.index && x.distanceKm == y.distanceKm &&
                                 x.alongKm == y.alongKm && x.side == y.side && x.leg == y.leg;
                      });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: vemra-along-bench DATAFILE ROUTE KM\n");
        return 2;
    }
    const double within = ParseWholeDecimal(argv[3]).value_or(-1.0);
    CMineArray mines;
    std::ifstream routeFile(argv[2], std::ios::binary);
    const RouteReadResult route = ReadRoute(routeFile, RouteFormatOfName(argv[2]));
    if (!(within >= 0) || !route.Ok() || LoadMineData(argv[1], mines).kind != LoadKind::Loaded) {
        std::fprintf(stderr, "vemra-along-bench: bad arguments, route or data file\n");
        return 2;
    }
    double start = ProcessorSeconds();
    const CMineIndex index(mines);
    const double buildSeconds = ProcessorSeconds() - start;
    double querySeconds = 1e9;
    std::vector<AlongMine> answers;
    for (int run = 0; run < 5; ++run) {
        start = ProcessorSeconds();
        answers = FindAlongRoute(index, mines, route.route, within);
        querySeconds = std::min(querySeconds, ProcessorSeconds() - start);
    }
    start = ProcessorSeconds();
    const std::vector<AlongMine> scanned = FindAlongRouteByScan(mines, route.route, within);
    const double scanSeconds = ProcessorSeconds() - start;
    std::printf(
        "{\"mines\": %zu, \"legs\": %zu, \"answers\": %zu, \"build_s\": %.6f, \"query_s\": "
        "%.6f, \"scan_s\": %.6f, \"same\": %s, \"route_bytes\": %zu, \"index_bytes\": %zu}\n",
        mines.GetSize() - 1, route.route.UsefulLegCount(), answers.size(), buildSeconds,
        querySeconds, scanSeconds, SameAnswers(answers, scanned) ? "true" : "false",
        route.route.MemoryBytes(), index.MemoryBytes());
    return 0;
}
