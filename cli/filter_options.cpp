#include "cli/filter_options.h"

#include <functional>

#include "cli/commands.h"

namespace {

using Parser = std::function<void(std::string_view)>;

// One filter option: its name, help, value name and the core parser that
// checks its text.
struct FilterOption {
    const char* name;
    const char* help;
    const char* valueName;
    Parser check;
};

CLI::Validator Checked(const Parser& check, const char* valueName) {
    return CLI::Validator(
        [check](const std::string& text) {
            try {
                check(text);
                return std::string();
            } catch (const FilterValueError& error) {
                return std::string(error.what());
            }
        },
        valueName);
}

template <typename T>
std::optional<T> ParseIfGiven(const std::optional<std::string>& text, const char* option,
                              T (*parse)(std::string_view)) {
    if (!text) {
        return std::nullopt;
    }
    try {
        return parse(*text);
    } catch (const FilterValueError& error) {
        throw CommandError(kExitFailed, std::string(option) + ": " + error.what());
    }
}

// The typed text as the filter compares it; its bytes are read by the data
// text rule (the command line arrives as UTF-8, or as code page 1252).
std::optional<CaselessText> Caseless(const std::optional<std::string>& text) {
    if (!text) {
        return std::nullopt;
    }
    return CaselessText(*text);
}

}  // namespace

void AddFilterOptions(CLI::App& command, FilterOptions& options) {
    const auto add = [&command](std::optional<std::string>& value, const FilterOption& option) {
        command.add_option(option.name, value, option.help)
            ->check(Checked(option.check, option.valueName))
            ->group("Filters (all given must hold)");
    };
    add(options.box, {"--bbox",
                      "Only the mines inside this box of degrees, bounds included; a WEST "
                      "greater than EAST crosses the 180th meridian",
                      "SOUTH,WEST,NORTH,EAST", [](std::string_view text) { ParseGeoBox(text); }});
    add(options.commodity,
        {"--commodity",
         "Only the mines with this whole item, Latin letters in any case, among their major, minor "
         "or trace commodities",
         "NAME", [](std::string_view text) { ParseCommodity(text); }});
    add(options.state, {"--state", "Only the mines of this state, Latin letters in any case",
                        "NAME", [](std::string_view text) { ParseFilterText(text); }});
    add(options.status,
        {"--status",
         "Only the mines of this development status, Latin letters in any case (e.g. Producer, "
         "\"Past Producer\", Prospect, Occurrence)",
         "TEXT", [](std::string_view text) { ParseFilterText(text); }});
    add(options.name,
        {"--name", "Only the mines whose name holds this text, Latin letters in any case", "TEXT",
         [](std::string_view text) { ParseFilterText(text); }});
}

MineFilter MakeMineFilter(const FilterOptions& options) {
    MineFilter filter;
    filter.box = ParseIfGiven(options.box, "--bbox", &ParseGeoBox);
    filter.commodity = Caseless(ParseIfGiven(options.commodity, "--commodity", &ParseCommodity));
    filter.state = Caseless(ParseIfGiven(options.state, "--state", &ParseFilterText));
    filter.status = Caseless(ParseIfGiven(options.status, "--status", &ParseFilterText));
    filter.name = Caseless(ParseIfGiven(options.name, "--name", &ParseFilterText));
    return filter;
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
