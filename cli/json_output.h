#pragma once

#include <cstddef>
#include <vector>

#include "cli/data_file.h"
#include "cli/json_writer.h"
#include "geo/great_circle.h"
#include "geo/mine_index.h"
#include "infosheet/page_texts.h"
#include "minedata/mine.h"

// JSON forms of what the commands report, written with a CJsonWriter. Keys
// keep the order given here; a record's texts are decoded by DataTextToUtf8's
// rule.

// The indent of the JSON a command prints as its one result.
inline constexpr int kJsonIndent = 2;

// Writes the forms of mine records. It keeps the page texts of the last
// record written, so that many answers in a row allocate nothing once its
// strings have grown.
class CMineJson {
public:
    // {"name", "position", "location", "commodity_type", "major", "minor",
    // "trace", "discovery", "production", "production_years"}: the texts of
    // "Main Page"; a line the page leaves unwritten is null.
    void AppendMainPage(CJsonWriter& json, const CMine& mine);
    // {"index", "fields": the 47 columns by name in column-map order,
    // "main_page"}. DEP_ID is a number, LATITUDE and LONGITUDE the stored
    // single-precision values (null when not finite), every other field a
    // string.
    void AppendMine(CJsonWriter& json, std::size_t index, const CMine& mine);
    // {"index", "distance_km", "bearing_deg", "main_page"}: one answer of a
    // nearest-mines query, rounded as above.
    void AppendNearMine(CJsonWriter& json, const NearMine& answer, const CMine& mine);
    // The answers of one query as an array of AppendNearMine's objects.
    void AppendNearMines(CJsonWriter& json, const std::vector<NearMine>& answers,
                         const CMineArray& mines);

private:
    MainPageTexts m_page;
};

// {"mines", "format": "csv" or "archive", "columns": the known names read,
// "second_names": {known name: the second name it was read under},
// "load_seconds"}.
void AppendInfoJson(CJsonWriter& json, const LoadedData& data, const ColumnsRead& columns);
