#include "cli/filter_options.h"

#include <functional>

#include "cli/commands.h"

namespace {

// Parses an option's text into the filter, or throws FilterValueError.
using Parser = std::function<void(std::string_view)>;

// One filter option: its name, help, value name and the core parser that
// reads its text into the filter.
struct FilterOption {
    const char* name;
    const char* help;
    const char* valueName;
    Parser parse;
};

CLI::Validator Parsed(const Parser& parse, const char* valueName) {
    return CLI::Validator(
        [parse](const std::string& text) {
            try {
                parse(text);
                return std::string();
            } catch (const FilterValueError& error) {
                return std::string(error.what());
            }
        },
        valueName);
}

}  // namespace

void AddFilterOptions(CLI::App& command, FilterOptions& options) {
    const auto add = [&command](const FilterOption& option) {
        // The check parses the value into the filter; nothing is left to do after it.
        command
            .add_option_function<std::string>(
                option.name, [](const std::string&) {}, option.help)
            ->check(Parsed(option.parse, option.valueName))
            ->group("Filters (all given must hold)");
    };
    MineFilter& filter = options.filter;
    // The typed texts are compared as CaselessText reads them: their bytes by
    // the data text rule (the command line arrives as UTF-8, or as code page
    // 1252).
    add({"--bbox",
         "Only the mines inside this box of degrees, bounds included; a WEST greater than EAST "
         "crosses the 180th meridian",
         "SOUTH,WEST,NORTH,EAST",
         [&filter](std::string_view text) { filter.box = ParseGeoBox(text); }});
    add({"--commodity",
         "Only the mines with this whole item, Latin letters in any case, among their major, minor "
         "or trace commodities",
         "NAME",
         [&filter](std::string_view text) { filter.commodity.emplace(ParseCommodity(text)); }});
    add({"--state", "Only the mines of this state, Latin letters in any case", "NAME",
         [&filter](std::string_view text) { filter.state.emplace(ParseFilterText(text)); }});
    add({"--status",
         "Only the mines of this development status, Latin letters in any case (e.g. Producer, "
         "\"Past Producer\", Prospect, Occurrence)",
         "TEXT",
         [&filter](std::string_view text) { filter.status.emplace(ParseFilterText(text)); }});
    add({"--name", "Only the mines whose name holds this text, Latin letters in any case", "TEXT",
         [&filter](std::string_view text) { filter.name.emplace(ParseFilterText(text)); }});
}

const MineFilter& MakeMineFilter(const FilterOptions& options) {
    return options.filter;
}

std::vector<std::size_t> ChooseMines(const LoadedData& data, const MineFilter& filter) {
    std::vector<std::size_t> chosen = SelectMines(data.mines, filter);
    if (chosen.empty() && !filter.IsEmpty()) {
        throw CommandError(data.ExitStatus(kExitNoMatch), "no mine matches the filters");
    }
    return chosen;
}

CMineArray CopyChosenMines(const CMineArray& mines, const std::vector<std::size_t>& indices) {
    CMineArray chosen;
    if (mines.IsEmpty()) {
        return chosen;
    }
    chosen.Add(mines[0]);
    for (const std::size_t index : indices) {
        chosen.Add(mines[index]);
    }
    return chosen;
}
