// Benchmarks of what a user waits for: loading the data file, the lookup
// behind one map click, and the queries of a batch run.
//
// Lookup: 300,000 mines (about the size of the full MRDS database) and a
// click that matches none of them, so every mine is examined.
// Batch queries over the same 300,000 mines, each answered by the spatial
// index and, as the baseline, by the linear scans (FindMineAt for a click
// lookup, FindNearestByScan for the nearest 5): the same query points, half
// on mines and half anywhere around them. Building the index is measured
// with its memory per mine.
// Load: the comma-separated file named by VEMRA_BENCH_CSV and the archive
// named by VEMRA_BENCH_DAT, when they are set (bench/run_benchmarks.sh makes
// them); skipped otherwise.
// Write: the mines of VEMRA_BENCH_DAT written as an archive, in the system's
// temporary folder.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "archive/mine_archive.h"
#include "fileio/platform_file.h"
#include "geo/mine_index.h"
#include "load/mine_loader.h"
#include "minedata/message_sink.h"
#include "minedata/mine_array.h"
#include "ozilink/mine_lookup.h"

namespace {

constexpr std::size_t kLookupMines = 300000;

// Mines spread over Nevada, Oregon and Idaho (latitude 39 to 45, longitude
// -120 to -114), from a fixed linear congruential sequence.
CMineArray SpreadMines(std::size_t count) {
    CMineArray mines;
    mines.Add(CMine());
    uint64_t state = 12345;
    auto next = [&state] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state >> 11) / static_cast<double>(uint64_t{1} << 53);
    };
    for (std::size_t i = 0; i < count; ++i) {
        CMine mine;
        mine.m_fLatitude = static_cast<float>(39.0 + 6.0 * next());
        mine.m_fLongitude = static_cast<float>(-120.0 + 6.0 * next());
        mines.Add(std::move(mine));
    }
    return mines;
}

void BM_LookupOneClick(benchmark::State& state) {
    const CMineArray mines = SpreadMines(kLookupMines);
    for (auto _ : state) {
        // The whole click: the sensitivity box's text, then the scan. The
        // point lies outside the area, so no mine ends the scan early.
        const float sensitivity = SensitivityFromText("0.001");
        benchmark::DoNotOptimize(FindMineAt(mines, 30.0, -100.0, sensitivity));
    }
    state.counters["mines"] = static_cast<double>(kLookupMines);
}
BENCHMARK(BM_LookupOneClick)->Unit(benchmark::kMicrosecond);

// The mines that the batch benchmarks share: built once.
const CMineArray& SharedMines() {
    static const CMineArray mines = SpreadMines(kLookupMines);
    return mines;
}

struct BenchPoint {
    double latitude;
    double longitude;
};

// 4,096 query points: every other one on a mine, the others anywhere in and
// around the mines' area, from a fixed sequence.
const std::vector<BenchPoint>& SharedQueries() {
    static const std::vector<BenchPoint> queries = [] {
        const CMineArray& mines = SharedMines();
        std::vector<BenchPoint> points;
        uint64_t state = 777;
        auto next = [&state] {
            state = state * 6364136223846793005ull + 1442695040888963407ull;
            return static_cast<double>(state >> 11) / static_cast<double>(uint64_t{1} << 53);
        };
        for (std::size_t i = 0; i < 4096; ++i) {
            if (i % 2 == 0) {
                const auto& at = mines.Coordinates()[1 + static_cast<std::size_t>(
                                                             next() * (mines.GetSize() - 1))];
                points.push_back({at.latitude, at.longitude});
            } else {
                points.push_back({38.5 + 7.0 * next(), -120.5 + 7.0 * next()});
            }
        }
        return points;
    }();
    return queries;
}

constexpr double kUnlimitedKm = std::numeric_limits<double>::infinity();

void BM_BuildIndex(benchmark::State& state) {
    const CMineArray& mines = SharedMines();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const CMineIndex index(mines);
        bytes = index.MemoryBytes();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["mines"] = static_cast<double>(kLookupMines);
    state.counters["bytes_per_mine"] = static_cast<double>(bytes) / kLookupMines;
}
BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond);

// One query per iteration, cycling through the shared points.
template <typename Query>
void RunQueries(benchmark::State& state, Query query) {
    const auto& queries = SharedQueries();
    std::size_t i = 0;
    for (auto _ : state) {
        const BenchPoint& q = queries[i++ % queries.size()];
        benchmark::DoNotOptimize(query(q));
    }
    state.counters["mines"] = static_cast<double>(kLookupMines);
}

void BM_NearestFiveIndexed(benchmark::State& state) {
    const CMineIndex index(SharedMines());
    RunQueries(state, [&](const BenchPoint& q) {
        return index.FindNearest(q.latitude, q.longitude, 5, kUnlimitedKm);
    });
}
BENCHMARK(BM_NearestFiveIndexed)->Unit(benchmark::kMicrosecond);

void BM_NearestFiveByScan(benchmark::State& state) {
    const CMineArray& mines = SharedMines();
    RunQueries(state, [&](const BenchPoint& q) {
        return FindNearestByScan(mines, q.latitude, q.longitude, 5, kUnlimitedKm);
    });
}
BENCHMARK(BM_NearestFiveByScan)->Unit(benchmark::kMicrosecond);

void BM_LookupIndexed(benchmark::State& state) {
    const CMineIndex index(SharedMines());
    const float sensitivity = SensitivityFromText("0.001");
    RunQueries(state, [&](const BenchPoint& q) {
        return index.FindMineAt(q.latitude, q.longitude, sensitivity);
    });
}
BENCHMARK(BM_LookupIndexed)->Unit(benchmark::kMicrosecond);

void BM_LookupByScan(benchmark::State& state) {
    const CMineArray& mines = SharedMines();
    const float sensitivity = SensitivityFromText("0.001");
    RunQueries(state, [&](const BenchPoint& q) {
        return FindMineAt(mines, q.latitude, q.longitude, sensitivity);
    });
}
BENCHMARK(BM_LookupByScan)->Unit(benchmark::kMicrosecond);

void BM_LoadCommaSeparatedFile(benchmark::State& state, const std::string& path) {
    const auto bytes = std::filesystem::file_size(path);
    std::size_t mines = 0;
    for (auto _ : state) {
        CMineArray loaded;
        if (LoadMineData(path, loaded).kind != LoadKind::Loaded) {
            state.SkipWithError("the file could not be loaded");
            return;
        }
        mines = loaded.IsEmpty() ? 0 : loaded.GetSize() - 1;
        benchmark::DoNotOptimize(loaded);
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
    state.counters["mines"] = static_cast<double>(mines);
}

void BM_LoadArchive(benchmark::State& state, const std::string& path) {
    const auto bytes = std::filesystem::file_size(path);
    for (auto _ : state) {
        CMineArray loaded;
        if (ReadMineArchive(path, FilePtr(OpenFileForReading(path)), loaded).kind !=
            LoadKind::Loaded) {
            state.SkipWithError("the archive could not be read whole");
            return;
        }
        benchmark::DoNotOptimize(loaded);
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
}

void BM_WriteArchive(benchmark::State& state, const std::string& path) {
    CMineArray mines;
    if (ReadMineArchive(path, FilePtr(OpenFileForReading(path)), mines).kind != LoadKind::Loaded) {
        state.SkipWithError("the archive could not be read whole");
        return;
    }
    const std::string out =
        (std::filesystem::temp_directory_path() / "vemra-bench-write.dat").string();
    for (auto _ : state) {
        if (!WriteMineArchive(out, mines).IsWritten()) {
            state.SkipWithError("the archive could not be written");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(std::filesystem::file_size(out)) *
                            state.iterations());
    std::filesystem::remove(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (const char* path = std::getenv("VEMRA_BENCH_CSV"); path != nullptr && *path != '\0') {
        benchmark::RegisterBenchmark("BM_LoadCommaSeparatedFile", BM_LoadCommaSeparatedFile,
                                     std::string(path))
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    if (const char* path = std::getenv("VEMRA_BENCH_DAT"); path != nullptr && *path != '\0') {
        benchmark::RegisterBenchmark("BM_LoadArchive", BM_LoadArchive, std::string(path))
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark("BM_WriteArchive", BM_WriteArchive, std::string(path))
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
