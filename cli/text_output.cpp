#include "cli/text_output.h"

#include <algorithm>
#include <cstdio>
#include <iomanip>
#include <optional>
#include <string>

#include "cli/json_output.h"
#include "infosheet/main_page_lines.h"
#include "infosheet/page_texts.h"
#include "text/text_encoding.h"
#include "text/trim.h"

namespace {

struct Line {
    std::string label;
    std::optional<std::string> value;  // 8-bit text as the record holds it
};

// A page template's label as the CLI shows it: without trailing blanks and
// ending in a colon ("Reporter" shows as "Reporter:").
std::string CleanLabel(std::string_view templateLabel) {
    std::string label(TrimEnd(templateLabel, kSpaces));
    if (!label.empty() && label.back() != ':') {
        label += ':';
    }
    return label;
}

void WritePage(std::ostream& out, std::string_view title, const std::vector<Line>& lines) {
    std::size_t width = 0;
    for (const Line& line : lines) {
        width = std::max(width, line.label.size());
    }
    out << title << '\n';
    for (const Line& line : lines) {
        if (!line.value || line.value->empty()) {
            out << "  " << line.label << '\n';
            continue;
        }
        out << "  " << line.label << std::string(width + 2 - line.label.size(), ' ')
            << DataTextToUtf8(*line.value) << '\n';
    }
}

template <std::size_t N>
std::vector<Line> FieldLines(const CMine& mine, const std::array<PageField, N>& fields) {
    std::vector<Line> lines;
    for (const PageField& field : fields) {
        lines.push_back({CleanLabel(field.label), (mine.*field.field).Str()});
    }
    return lines;
}

}  // namespace

void WriteMainPage(std::ostream& out, const CMine& mine) {
    const MainPageTexts main = MakeMainPageTexts(mine);
    std::vector<Line> lines;
    for (const MainPageLine& line : kMainPageLines) {
        const std::string* text = MainPageLineText(main, line.field);
        lines.push_back(
            {std::string(line.textLabel), text ? std::optional<std::string>(*text) : std::nullopt});
    }
    WritePage(out, kPageTitles[0], lines);
}

void WriteMinePages(std::ostream& out, const CMine& mine) {
    WriteMainPage(out, mine);
    out << '\n';
    WritePage(out, kPageTitles[1], FieldLines(mine, kMoreLocationFields));
    out << '\n';
    WritePage(out, kPageTitles[2], FieldLines(mine, kCharacteristics1Fields));
    out << '\n';
    WritePage(out, kPageTitles[3], FieldLines(mine, kCharacteristics2Fields));
}

void WriteNearMines(std::ostream& out, const CMineArray& mines,
                    const std::vector<NearMine>& answers) {
    for (std::size_t i = 0; i < answers.size(); ++i) {
        const NearMine& answer = answers[i];
        char heading[128];
        std::snprintf(heading, sizeof heading, "%zu. %.3f km, bearing %.1f, mine %zu", i + 1,
                      RoundedDistanceKm(answer.distanceKm), RoundedBearing(answer.bearingDegrees),
                      answer.index);
        out << (i == 0 ? "" : "\n") << heading << '\n';
        WriteMainPage(out, mines[answer.index]);
    }
}

void WriteAlongMines(std::ostream& out, const CMineArray& mines,
                     const std::vector<AlongMine>& answers) {
    for (std::size_t i = 0; i < answers.size(); ++i) {
        const AlongMine& answer = answers[i];
        char heading[160];
        std::snprintf(heading, sizeof heading, "%zu. %.3f km %s, %.3f km along, leg %zu, mine %zu",
                      i + 1, RoundedDistanceKm(answer.distanceKm), RouteSideName(answer.side),
                      RoundedDistanceKm(answer.alongKm), answer.leg, answer.index);
        out << (i == 0 ? "" : "\n") << heading << '\n';
        WriteMainPage(out, mines[answer.index]);
    }
}

void WriteInfo(std::ostream& out, const LoadedData& data, const ColumnsRead& columns) {
    out << "Mines:     " << data.MineCount() << '\n';
    out << "Format:    ";
    if (!data.zipMember.empty()) {
        out << "zip (member " << DataTextToUtf8(data.zipMember) << ")\n";
    } else {
        out << (data.commaSeparated ? "comma-separated (csv)" : "mine archive") << '\n';
    }
    out << "Columns:   " << columns.names.size() << " recognised";
    for (std::size_t i = 0; i < columns.names.size(); ++i) {
        out << (i == 0 ? ": " : ", ") << columns.names[i];
    }
    out << '\n';
    if (!columns.secondNames.empty()) {
        out << "Read as:   ";
        for (std::size_t i = 0; i < columns.secondNames.size(); ++i) {
            out << (i == 0 ? "" : ", ") << columns.secondNames[i].first << " from "
                << columns.secondNames[i].second;
        }
        out << '\n';
    }
    out << "Load time: " << std::fixed << std::setprecision(6) << data.loadSeconds << " s\n";
}
