#include <iostream>
#include <limits>
#include <memory>

#include "cli/commands.h"
#include "cli/data_file.h"
#include "cli/filter_options.h"
#include "cli/json_output.h"
#include "cli/point_batch.h"
#include "cli/text_output.h"
#include "find/query_values.h"
#include "geo/great_circle.h"
#include "geo/mine_index.h"
#include "minedata/number_text.h"

namespace {

struct NearestOptions {
    std::string dataFile;
    std::string latitude;
    std::string longitude;
    std::string pointsFile;
    std::size_t count = 5;
    std::string within;
    bool json = false;
    FilterOptions filters;
};

// The mines an answer may be, or an empty predicate when no filter is given.
// `filter` must outlive the predicate.
MinePredicate AcceptedBy(const MineFilter& filter) {
    if (filter.IsEmpty()) {
        return {};
    }
    return [&filter](const CMine& mine) { return filter.Matches(mine); };
}

double WithinKm(const NearestOptions& options) {
    // The validator has accepted the text already.
    return options.within.empty() ? std::numeric_limits<double>::infinity()
                                  : ParseWholeDecimal(options.within).value_or(-1.0);
}

// Says once when fewer mines are loaded than were asked for.
void NoteShortCount(const NearestOptions& options, const LoadedData& data) {
    if (options.count > data.MineCount()) {
        std::cerr << "vemra-cli: -n " << options.count << " asks for more than the "
                  << data.MineCount() << " mines in '" << options.dataFile
                  << "'; each answer lists at most all of them\n";
    }
}

// One JSON line per point of the file, its answers as an array.
int AnswerEachPoint(CPointsFile& points, const NearestOptions& options, const LoadedData& data,
                    const CMineIndex& index, const MinePredicate& accept) {
    const double within = WithinKm(options);
    CMineJson forms;
    std::vector<NearMine> answers;
    return data.ExitStatus(AnswerPoints(
        points, std::cout, std::cerr, [&](const QueryPoint& point, CJsonWriter& result) {
            answers =
                index.FindNearest(point.latitude, point.longitude, options.count, within, accept);
            for (const NearMine& answer : answers) {
                data.mines[answer.index].PrefetchTexts();
            }
            forms.AppendNearMines(result, answers, data.mines);
            return !answers.empty();
        }));
}

// The answers for LAT, LON as text or as one JSON array.
int AnswerOnePoint(const NearestOptions& options, const LoadedData& data, const CMineIndex& index,
                   const MinePredicate& accept) {
    // The validators have accepted both positions already.
    const double latitude = ParseWholeDecimal(options.latitude).value_or(0.0);
    const double longitude = ParseWholeDecimal(options.longitude).value_or(0.0);
    const auto answers =
        index.FindNearest(latitude, longitude, options.count, WithinKm(options), accept);
    if (answers.empty()) {
        throw CommandError(
            data.ExitStatus(kExitNoMatch),
            "no mine" +
                (options.within.empty() ? std::string() : " within " + options.within + " km") +
                " of " + options.latitude + ", " + options.longitude);
    }
    if (options.json) {
        CJsonWriter json(kJsonIndent);
        CMineJson().AppendNearMines(json, answers, data.mines);
        std::cout << json.Text() << '\n';
    } else {
        WriteNearMines(std::cout, data.mines, answers);
    }
    return data.ExitStatus(kExitOk);
}

int RunNearest(const NearestOptions& options, IMessageSink& sink) {
    if (options.pointsFile.empty() && (options.latitude.empty() || options.longitude.empty())) {
        throw CommandError(kExitFailed, "nearest needs LAT and LON, or --points FILE");
    }
    std::optional<CPointsFile> points;
    if (!options.pointsFile.empty()) {
        points.emplace(options.pointsFile);
    }
    const MineFilter filter = MakeMineFilter(options.filters);
    const LoadedData data = LoadDataFile(options.dataFile, sink);
    NoteShortCount(options, data);
    const CMineIndex index(data.mines);
    return points ? AnswerEachPoint(*points, options, data, index, AcceptedBy(filter))
                  : AnswerOnePoint(options, data, index, AcceptedBy(filter));
}

// A decimal number of degrees within ±limit.
CLI::Validator DegreesArgument(double limit) {
    return CLI::Validator(
        [limit](const std::string& text) {
            std::string error;
            return ParseDegrees(text, limit, error) ? std::string() : error;
        },
        "DEGREES");
}

}  // namespace

Command AddNearestCommand(CLI::App& app) {
    auto options = std::make_shared<NearestOptions>();
    CLI::App* command = app.add_subcommand(
        "nearest",
        "List the mines nearest to LAT, LON by great-circle distance, or to each point of a file");
    command->add_option("DATAFILE", options->dataFile, "Mine data file (.csv, zip or archive)")
        ->required();
    CLI::Option* latitude =
        command->add_option("LAT", options->latitude, "Latitude, degrees (-90 to 90)")
            ->check(DegreesArgument(90.0));
    CLI::Option* longitude =
        command->add_option("LON", options->longitude, "Longitude, degrees (-180 to 180)")
            ->check(DegreesArgument(180.0));
    command
        ->add_option("--points", options->pointsFile,
                     "Answer every point of FILE instead (\"LAT,LON\" lines, or GPX when the "
                     "name ends in .gpx; - for standard input): one JSON line per point")
        ->type_name("FILE")
        ->excludes(latitude)
        ->excludes(longitude);
    command->add_option("-n,--count", options->count, "How many mines, nearest first")
        ->capture_default_str()
        ->type_name("N")
        ->check(CLI::Validator(
            [](const std::string& text) {
                std::string error;
                return ParseMineCount(text, error) ? std::string() : error;
            },
            ""));
    command->add_option("--within", options->within, "Only mines at most KM kilometres away")
        ->type_name("KM")
        ->check(CLI::Validator(
            [](const std::string& text) {
                std::string error;
                return ParseDistanceKm(text, error) ? std::string() : error;
            },
            ""));
    command->add_flag("--json", options->json,
                      "A JSON array instead of text (--points always writes JSON)");
    AddFilterOptions(*command, options->filters);
    return {command, [options](IMessageSink& sink) { return RunNearest(*options, sink); }};
}
