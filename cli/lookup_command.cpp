#include <iostream>
#include <memory>
#include <optional>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/data_file.h"
#include "cli/json_output.h"
#include "cli/point_batch.h"
#include "cli/text_output.h"
#include "geo/mine_index.h"
#include "ozilink/mine_lookup.h"
#include "text/number_text.h"

namespace {

struct LookupOptions {
    std::string dataFile;
    std::string latitude;
    std::string longitude;
    double latitudeDegrees = 0.0;  // parsed by their checks
    double longitudeDegrees = 0.0;
    std::string pointsFile;
    // Taken as the text of the sensitivity box, not as a checked number.
    std::string sensitivity = "0.001";
    bool json = false;
};

int RunBatchLookup(const LookupOptions& options, IMessageSink& sink) {
    CPointsFile points(options.pointsFile);
    const LoadedData data = LoadDataFile(options.dataFile, sink);
    const CMineIndex index(data.mines);
    const float sensitivity = SensitivityFromText(options.sensitivity);
    CMineJson forms;
    return data.ExitStatus(AnswerPoints(
        points, std::cout, std::cerr, [&](const QueryPoint& point, CJsonWriter& result) {
            const auto found = index.FindMineAt(point.latitude, point.longitude, sensitivity);
            if (!found) {
                result.Null();
                return false;
            }
            forms.AppendMine(result, *found, data.mines[*found]);
            return true;
        }));
}

int RunLookup(const LookupOptions& options, IMessageSink& sink) {
    if (!options.pointsFile.empty()) {
        return RunBatchLookup(options, sink);
    }
    if (options.latitude.empty() || options.longitude.empty()) {
        throw CommandError(kExitFailed, "lookup needs LAT and LON, or --points FILE");
    }
    const LoadedData data = LoadDataFile(options.dataFile, sink);
    const auto index = FindMineAt(data.mines, options.latitudeDegrees, options.longitudeDegrees,
                                  SensitivityFromText(options.sensitivity));
    if (!index) {
        throw CommandError(data.ExitStatus(kExitNoMatch), "no mine within '" + options.sensitivity +
                                                              "' of " + options.latitude + ", " +
                                                              options.longitude);
    }
    if (options.json) {
        CJsonWriter json(kJsonIndent);
        CMineJson().AppendMine(json, *index, data.mines[*index]);
        std::cout << json.Text() << '\n';
    } else {
        WriteMinePages(std::cout, data.mines[*index]);
    }
    return data.ExitStatus(kExitOk);
}

}  // namespace

Command AddLookupCommand(CLI::App& app) {
    auto options = std::make_shared<LookupOptions>();
    CLI::App* command = app.add_subcommand(
        "lookup",
        "Show the mine that a map click at LAT, LON would show, or at each point of a file");
    command->add_option("DATAFILE", options->dataFile, "Mine data file (.csv, zip or archive)")
        ->required();
    CLI::Option* latitude =
        command->add_option("LAT", options->latitude, "Latitude of the click, degrees")
            ->check(NumberArgument(options->latitudeDegrees));
    CLI::Option* longitude =
        command->add_option("LON", options->longitude, "Longitude of the click, degrees")
            ->check(NumberArgument(options->longitudeDegrees));
    command
        ->add_option("--points", options->pointsFile,
                     "Look up every point of FILE instead (\"LAT,LON\" lines, or GPX when the "
                     "name ends in .gpx; - for standard input): one JSON line per point")
        ->type_name("FILE")
        ->excludes(latitude)
        ->excludes(longitude);
    command
        ->add_option("--sensitivity", options->sensitivity,
                     "Sensitivity text, read as the program reads its edit box")
        ->capture_default_str();
    command->add_flag("--json", options->json,
                      "One JSON object instead of the four pages (--points always writes JSON)");
    return {command, [options](IMessageSink& sink) { return RunLookup(*options, sink); }};
}
