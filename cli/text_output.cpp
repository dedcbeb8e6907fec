#include "cli/text_output.h"

#include <algorithm>
#include <iomanip>
#include <optional>
#include <string>

#include "infosheet/page_texts.h"
#include "text/text_encoding.h"

namespace {

struct Line {
    std::string_view label;
    std::optional<std::string> value;  // 8-bit text as the record holds it
};

std::string_view TrimTrailingBlanks(std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

void WritePage(std::ostream& out, std::string_view title, const std::vector<Line>& lines) {
    std::size_t width = 0;
    for (const Line& line : lines) {
        width = std::max(width, TrimTrailingBlanks(line.label).size());
    }
    out << title << '\n';
    for (const Line& line : lines) {
        const std::string_view label = TrimTrailingBlanks(line.label);
        if (!line.value || line.value->empty()) {
            out << "  " << label << '\n';
            continue;
        }
        out << "  " << label << std::string(width + 2 - label.size(), ' ')
            << Cp1252ToUtf8(*line.value) << '\n';
    }
}

template <std::size_t N>
std::vector<Line> FieldLines(const CMine& mine, const std::array<PageField, N>& fields) {
    std::vector<Line> lines;
    for (const PageField& field : fields) {
        lines.push_back({field.label, (mine.*field.field).Str()});
    }
    return lines;
}

}  // namespace

void WriteMainPage(std::ostream& out, const CMine& mine) {
    MainPageTexts main = MakeMainPageTexts(mine);
    // Top to bottom as the page lays them out; position and location share
    // the frame titled "Locaction".
    WritePage(out, kPageTitles[0],
              {
                  {"Name: ", std::move(main.name)},
                  {"Locaction", std::move(main.position)},
                  {"", std::move(main.location)},
                  {"Type: ", std::move(main.commodityType)},
                  {"Major:", std::move(main.major)},
                  {"Minor", std::move(main.minor)},
                  {"Trace:", std::move(main.trace)},
                  {"Discovery", std::move(main.discovery)},
                  {"Production:", std::move(main.production)},
                  {"Prod.Years:", std::move(main.productionYears)},
              });
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

void WriteInfo(std::ostream& out, const LoadedData& data, const ColumnsRead& columns) {
    out << "Mines:     " << data.MineCount() << '\n';
    out << "Format:    ";
    if (!data.zipMember.empty()) {
        out << "zip (member " << data.zipMember << ")\n";
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
