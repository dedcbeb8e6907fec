#include "cli/json_output.h"

#include <array>
#include <optional>
#include <string>

#include "csv/column_map.h"
#include "infosheet/main_page_lines.h"
#include "infosheet/page_texts.h"
#include "text/text_encoding.h"

void CMineJson::AppendMainPage(CJsonWriter& json, const CMine& mine) {
    FillMainPageTexts(mine, m_page);
    json.BeginObject();
    for (const MainPageLine& line : kMainPageLines) {
        json.Key(line.key);
        if (const std::string* text = MainPageLineText(m_page, line.field)) {
            json.DataText(*text);
        } else {
            json.Null();
        }
    }
    json.EndObject();
}

void CMineJson::AppendMine(CJsonWriter& json, std::size_t index, const CMine& mine) {
    json.BeginObject();
    json.Key("index");
    json.Number(index);
    json.Key("fields");
    json.BeginObject();
    const CMine::Texts texts = mine.GetTexts();
    for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
        json.Key(kKnownColumnNames[static_cast<std::size_t>(slot)]);
        switch (slot) {
            case kSlotDepId:
                json.Number(mine.m_nDepId);
                break;
            case kSlotLatitude:
                json.Number(static_cast<double>(mine.m_fLatitude));
                break;
            case kSlotLongitude:
                json.Number(static_cast<double>(mine.m_fLongitude));
                break;
            default:
                json.DataText(texts[TextIndexOfSlot(slot)]);
        }
    }
    json.EndObject();
    json.Key("main_page");
    AppendMainPage(json, mine);
    json.EndObject();
}

void CMineJson::AppendNearMine(CJsonWriter& json, const NearMine& answer, const CMine& mine) {
    json.BeginObject();
    json.Key("index");
    json.Number(answer.index);
    json.Key("distance_km");
    json.Number(RoundedDistanceKm(answer.distanceKm));
    json.Key("bearing_deg");
    json.Number(RoundedBearing(answer.bearingDegrees));
    json.Key("main_page");
    AppendMainPage(json, mine);
    json.EndObject();
}

void CMineJson::AppendNearMines(CJsonWriter& json, const std::vector<NearMine>& answers,
                                const CMineArray& mines) {
    json.BeginArray();
    for (const NearMine& answer : answers) {
        AppendNearMine(json, answer, mines[answer.index]);
    }
    json.EndArray();
}

void CMineJson::AppendAlongMine(CJsonWriter& json, const AlongMine& answer, const CMine& mine) {
    json.BeginObject();
    json.Key("index");
    json.Number(answer.index);
    json.Key("distance_km");
    json.Number(RoundedDistanceKm(answer.distanceKm));
    json.Key("along_km");
    json.Number(RoundedDistanceKm(answer.alongKm));
    json.Key("side");
    json.String(RouteSideName(answer.side));
    json.Key("leg");
    json.Number(answer.leg);
    json.Key("main_page");
    AppendMainPage(json, mine);
    json.EndObject();
}

void CMineJson::AppendAlongMines(CJsonWriter& json, const std::vector<AlongMine>& answers,
                                 const CMineArray& mines) {
    json.BeginArray();
    for (const AlongMine& answer : answers) {
        AppendAlongMine(json, answer, mines[answer.index]);
    }
    json.EndArray();
}

void AppendInfoJson(CJsonWriter& json, const LoadedData& data, const ColumnsRead& columns) {
    json.BeginObject();
    json.Key("mines");
    json.Number(data.MineCount());
    const bool zipped = !data.zipMember.empty();
    json.Key("format");
    json.String(zipped ? "zip" : data.commaSeparated ? "csv" : "archive");
    if (zipped) {
        // A member's name is bytes of the zip's choosing: decoded as data texts are.
        json.Key("zip_member");
        json.DataText(data.zipMember);
    }
    json.Key("columns");
    json.BeginArray();
    for (std::string_view name : columns.names) {
        json.String(name);
    }
    json.EndArray();
    json.Key("second_names");
    json.BeginObject();
    for (const auto& [name, secondName] : columns.secondNames) {
        json.Key(name);
        json.String(secondName);
    }
    json.EndObject();
    json.Key("load_seconds");
    json.Number(data.loadSeconds);
    json.EndObject();
}
