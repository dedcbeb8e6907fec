#include <fstream>
#include <iostream>
#include <memory>
#include <span>
#include <vector>

#include "cli/commands.h"
#include "cli/data_file.h"
#include "cli/export_status.h"
#include "cli/filter_options.h"
#include "cli/json_output.h"
#include "cli/text_output.h"
#include "export/export_kind.h"
#include "find/query_values.h"
#include "geo/mine_index.h"
#include "geo/route_search.h"
#include "points/route_file.h"
#include "text/ascii_text.h"
#include "text/number_text.h"

namespace {

struct AlongOptions {
    std::string dataFile;
    std::string routeFile;
    std::string within;   // as typed
    double withinKm = 0;  // parsed by its check
    std::string exportFile;
    bool json = false;
    FilterOptions filters;
};

// The endings --export takes, as "a, b or c".
std::string ExportEndings() {
    std::string endings;
    const auto rows = ExportKindRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        endings += i == 0 ? "" : i + 1 == rows.size() ? " or " : ", ";
        endings += rows[i].ending;
    }
    return endings;
}

// Reads the route file ("-" for standard input) whole, before the data file
// is loaded, so that a bad route fails at once.
CRoute ReadRouteArgument(const std::string& path) {
    RouteReadResult result;
    if (path == "-") {
        result = ReadRoute(std::cin, RouteFormatOfName(path));
        if (!result.Ok()) {
            result.error = RouteFileError(path, result.error);
        }
    } else {
        result = ReadRouteFile(path);
    }
    if (!result.Ok()) {
        throw CommandError(kExitFailed, result.error);
    }
    return std::move(result.route);
}

// Writes the chosen mines, in route order, with the writer OUT's ending picks.
void ExportAnswers(const std::string& path, const LoadedData& data,
                   const std::vector<AlongMine>& answers) {
    std::vector<std::size_t> indices;
    indices.reserve(answers.size());
    for (const AlongMine& answer : answers) {
        indices.push_back(answer.index);
    }
    // The validator has accepted the ending.
    const ExportKind kind = ExportKindForPath(path).value_or(ExportKind::PointFile);
    ThrowUnlessWritten(ExportMines(kind, path, data.mines, indices), data);
}

int RunAlong(const AlongOptions& options, IMessageSink& sink) {
    const MineFilter& filter = MakeMineFilter(options.filters);
    MinePredicate accept;
    if (!filter.IsEmpty()) {
        accept = [&filter](const CMine& mine) { return filter.Matches(mine); };
    }
    const CRoute route = ReadRouteArgument(options.routeFile);
    const LoadedData data = LoadDataFile(options.dataFile, sink);
    const CMineIndex index(data.mines);
    const std::vector<AlongMine> answers =
        FindAlongRoute(index, data.mines, route, options.withinKm, accept);
    if (answers.empty()) {
        throw CommandError(
            data.ExitStatus(kExitNoMatch),
            "no mine within " + options.within + " km of the route in '" + options.routeFile + "'");
    }
    if (!options.exportFile.empty()) {
        ExportAnswers(options.exportFile, data, answers);
    }
    if (options.json) {
        CJsonWriter json(kJsonIndent);
        CMineJson().AppendAlongMines(json, answers, data.mines);
        std::cout << json.Text() << '\n';
    } else {
        WriteAlongMines(std::cout, data.mines, answers);
    }
    return data.ExitStatus(kExitOk);
}

}  // namespace

Command AddAlongCommand(CLI::App& app) {
    auto options = std::make_shared<AlongOptions>();
    CLI::App* command = app.add_subcommand(
        "along", "List the mines within KM of a route, in the order the route passes them");
    command->add_option("DATAFILE", options->dataFile, "Mine data file (.csv or archive)")
        ->required();
    command
        ->add_option("ROUTE", options->routeFile,
                     "Route file: GPX routes and tracks (.gpx), OziExplorer track (.plt) or "
                     "route (.rte), or \"LAT,LON\" lines; - for standard input")
        ->required();
    command
        ->add_option("--within", options->within,
                     "Only mines at most KM kilometres from the route (0 to 1000)")
        ->type_name("KM")
        ->required()
        ->check(CLI::Validator(
            [&withinKm = options->withinKm](const std::string& text) {
                std::string error;
                const auto value = ParseCorridorKm(text, error);
                if (value) {
                    withinKm = *value;
                }
                return error;
            },
            ""));
    command
        ->add_option("--export", options->exportFile,
                     "Also write the mines, in route order, to OUT: GPX (.gpx), KML (.kml), "
                     "OziExplorer waypoints (.wpt), point file (.pnt) or comma-separated text "
                     "(.csv)")
        ->type_name("OUT")
        ->check(CLI::Validator(
            [](const std::string& text) {
                return ExportKindForPath(text)
                           ? std::string()
                           : "expected a file name ending in " + ExportEndings() + ": " + text;
            },
            ""));
    command->add_flag("--json", options->json, "A JSON array instead of text");
    AddFilterOptions(*command, options->filters);
    return {command, [options](IMessageSink& sink) { return RunAlong(*options, sink); }};
}
