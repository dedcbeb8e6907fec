#pragma once

#include <CLI/CLI.hpp>
#include <cstddef>
#include <vector>

#include "cli/data_file.h"
#include "minedata/mine_array.h"
#include "minedata/mine_filter.h"

// The filter options shared by every export and listing: --bbox, --commodity,
// --state, --status and --name. Each value is parsed once, by its option's
// check while the arguments are read, into `filter`.
struct FilterOptions {
    MineFilter filter;
};

// Adds the filter options to `command`, each filling its part of
// `options.filter`, which must outlive the parse. A malformed value is a
// usage error (exit 2, naming the option) before any file is touched.
void AddFilterOptions(CLI::App& command, FilterOptions& options);

// The filter the options given describe.
const MineFilter& MakeMineFilter(const FilterOptions& options);

// The indices of the mines of `data` that `filter` takes, from 1 and in file
// order. Throws CommandError(data.ExitStatus(kExitNoMatch)) when the filter
// has a criterion and takes no mine, so that nothing is written.
std::vector<std::size_t> ChooseMines(const LoadedData& data, const MineFilter& filter);

// A collection of `mines`' element 0 and the elements at `indices`, copied.
CMineArray CopyChosenMines(const CMineArray& mines, const std::vector<std::size_t>& indices);
