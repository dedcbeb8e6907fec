// vemra-find-bench DATAFILE ROUTE: times the queries of the "Find Mines"
// window through RunFind and its list's sorting, each against baselines
// measured in the same run: the load alone and a scan of every mine. Prints
// one line per figure. bench/find_benchmark.sh runs it.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "find/find_columns.h"
#include "find/mine_query.h"
#include "geo/lazy_mine_index.h"
#include "geo/mine_index.h"
#include "minedata/mine_loader.h"

namespace {

// Processor time of this process: the code measured runs on one thread (but
// the load), and on a machine shared with other work this varies far less
// than wall time.
double ProcessorSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The best processor time of `runs` runs of `work`.
template <typename Work>
double Best(int runs, Work work) {
    double best = 1e9;
    for (int run = 0; run < runs; ++run) {
        const double start = ProcessorSeconds();
        work();
        best = std::min(best, ProcessorSeconds() - start);
    }
    return best;
}

// One figure, its ratio to a baseline, and its target; no target for a
// reference figure.
void Report(const char* name, double seconds, const char* baseline, double baselineSeconds,
            double targetSeconds = 0) {
    std::printf("%-34s %9.3f ms  %8.4fx %-22s", name, seconds * 1e3, seconds / baselineSeconds,
                baseline);
    if (targetSeconds > 0) {
        std::printf(" target %8.1f ms  %s", targetSeconds * 1e3,
                    seconds <= targetSeconds ? "met" : "MISSED");
    }
    std::printf("\n");
}

FindResult Checked(const FindResult& result) {
    if (!result.ok) {
        std::fprintf(stderr, "vemra-find-bench: %s\n", result.message.c_str());
        std::exit(2);
    }
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vemra-find-bench DATAFILE ROUTE\n");
        return 2;
    }
    CMineArray mines;
    double loadWall = 1e9;
    double loadCpu = 1e9;
    for (int run = 0; run < 3; ++run) {
        CMineArray loaded;
        const double wall = WallSeconds();
        const double cpu = ProcessorSeconds();
        if (LoadMineData(argv[1], loaded).kind != LoadKind::Loaded) {
            std::fprintf(stderr, "vemra-find-bench: cannot load '%s'\n", argv[1]);
            return 2;
        }
        loadWall = std::min(loadWall, WallSeconds() - wall);
        loadCpu = std::min(loadCpu, ProcessorSeconds() - cpu);
        mines.Swap(loaded);
    }
    const std::size_t count = mines.GetSize() - 1;

    // The floor of any query that looks at every record: each name's length
    // and each position, once.
    std::size_t sink = 0;
    const double scan = Best(5, [&] {
        for (std::size_t i = 1; i < mines.GetSize(); ++i) {
            sink += mines[i].m_strSiteName.GetLength();
            sink += mines.Coordinates()[i].latitude > 0 ? 1 : 0;
        }
    });

    // The floor of a query that reads every name: each of its bytes, once.
    const double names = Best(5, [&] {
        for (std::size_t i = 1; i < mines.GetSize(); ++i) {
            for (const char c : mines[i].m_strSiteName.View()) {
                sink += static_cast<unsigned char>(c);
            }
        }
    });

    CLazyMineIndex index(mines);
    const double build = Best(5, [&] {
        index.Reset();
        index.Get();
    });

    // Near: points across the generated mines' region, 20 mines each.
    FindRequest near;
    near.count = "20";
    std::vector<std::pair<std::string, std::string>> points;
    for (int i = 0; i < 100; ++i) {
        points.emplace_back(std::to_string(39.5 + 0.05 * i), std::to_string(-119.5 + 0.05 * i));
    }
    std::size_t nearRows = 0;
    const double nearAll = Best(3, [&] {
        for (const auto& [latitude, longitude] : points) {
            near.latitude = latitude;
            near.longitude = longitude;
            nearRows += Checked(RunFind(near, mines, index)).rows.size();
        }
    });
    const double nearQuery = nearAll / static_cast<double>(points.size());
    const double nearScan = Best(3, [&] { FindNearestByScan(mines, 42.0, -117.0, 20, 1e9); });

    FindRequest along;
    along.mode = FindMode::Along;
    along.routePath = argv[2];
    along.withinKm = "1";
    std::size_t alongRows = 0;
    const double alongQuery =
        Best(5, [&] { alongRows = Checked(RunFind(along, mines, index)).rows.size(); });

    FindRequest matching;
    matching.mode = FindMode::Matching;
    matching.name = "lucky";
    std::size_t matchingRows = 0;
    const double matchingQuery =
        Best(5, [&] { matchingRows = Checked(RunFind(matching, mines, index)).rows.size(); });

    FindRequest every;
    every.mode = FindMode::Matching;
    const FindResult all = Checked(RunFind(every, mines, index));
    CFindRowOrder order;
    const double sortName = Best(5, [&] {
        order.Reset(all.rows.size());
        order.Click(FindColumn::Name, all.rows, mines);
    });
    const double sortNameBack = Best(5,
                                     [&] {
                                         order.Reset(all.rows.size());
                                         order.Click(FindColumn::Name, all.rows, mines);
                                         order.Click(FindColumn::Name, all.rows, mines);
                                     }) -
                                sortName;
    const double sortCounty = Best(5, [&] {
        order.Reset(all.rows.size());
        order.Click(FindColumn::County, all.rows, mines);
    });

    std::printf(
        "find: %zu mines; load alone %.3f s wall (%.3f s processor, its threads "
        "together); scan of every mine %.3f ms; reading every name's bytes %.3f ms\n",
        count, loadWall, loadCpu, scan * 1e3, names * 1e3);
    std::printf(
        "  rows: near %zu per query, along %zu, matching 'lucky' %zu, all %zu (check %zu)\n",
        nearRows / (3 * points.size()), alongRows, matchingRows, all.rows.size(), sink % 2);
    Report("index build", build, "of the load (wall)", loadWall, loadWall / 3);
    Report("near 20 (one query)", nearQuery, "of the scan", scan, 0.002);
    Report("near 20 by scan (reference)", nearScan, "of the scan", scan);
    Report("along 10,000 points, 1 km", alongQuery, "of the scan", scan, 0.050);
    Report("matching a name over all mines", matchingQuery, "of the scan", scan, 0.030);
    Report("", matchingQuery, "of reading the names", names, 0.030);
    Report("sort all rows by name", sortName, "of the scan", scan, 0.150);
    Report("", sortName, "of reading the names", names, 0.150);
    Report("  then reversed (second click)", sortNameBack, "of the scan", scan, 0.150);
    Report("sort all rows by county", sortCounty, "of the scan", scan, 0.150);
    std::printf("  index build against the load's processor time: %.3fx\n", build / loadCpu);
    return 0;
}
