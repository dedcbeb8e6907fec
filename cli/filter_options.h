#pragma once

#include <CLI/CLI.hpp>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cli/data_file.h"
#include "minedata/mine_array.h"
#include "minedata/mine_filter.h"

// The filter options shared by every export and listing: --bbox, --commodity,
// --state, --status and --name, each as the user typed it; unset when absent.
struct FilterOptions {
    std::optional<std::string> box;
    std::optional<std::string> commodity;
    std::optional<std::string> state;
    std::optional<std::string> status;
    std::optional<std::string> name;
};

// Adds the filter options to `command`. Their values are checked while the
// arguments are parsed, so a malformed one is a usage error (exit 2, naming
// the option) before any file is touched.
void AddFilterOptions(CLI::App& command, FilterOptions& options);

// The filter the options describe. Throws CommandError(kExitFailed) naming
// the option for a malformed value, which AddFilterOptions's checks have
// already turned away.
MineFilter MakeMineFilter(const FilterOptions& options);

// The indices of the mines of `data` that `filter` takes, from 1 and in file
// order. Throws CommandError(data.ExitStatus(kExitNoMatch)) when the filter
// has a criterion and takes no mine, so that nothing is written.
std::vector<std::size_t> ChooseMines(const LoadedData& data, const MineFilter& filter);

// A collection of `mines`' element 0 and the elements at `indices`, copied.
CMineArray CopyChosenMines(const CMineArray& mines, const std::vector<std::size_t>& indices);
