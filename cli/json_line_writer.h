#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "infosheet/page_texts.h"
#include "minedata/mine.h"

// Writes the JSON forms of json_output.h straight into one growing string,
// byte for byte as nlohmann::ordered_json::dump() writes them (the same
// escapes, the same number digits), without building a JSON tree and without
// an allocation per answer once the buffers have grown. Batch commands use it
// for their JSON Lines; json_output.h stays the reference form.
class CJsonLineWriter {
public:
    // What has been written so far.
    std::string& Text() { return m_text; }

    // A JSON string of 8-bit text in code page 1252, converted to UTF-8.
    void AppendCp1252String(std::string_view text);
    // A number as nlohmann writes a double: the shortest digits that read
    // back the same, ".0" after whole numbers, null when not finite.
    void AppendNumber(double value);
    void AppendNumber(std::uint64_t value);
    void AppendNumber(std::int64_t value);
    // Text written as it is: punctuation and keys known to need no escape.
    void AppendRaw(std::string_view text) { m_text.append(text); }

    // MainPageJson, MineJson and NearMineJson of json_output.h.
    void AppendMainPage(const CMine& mine);
    void AppendMine(std::size_t index, const CMine& mine);
    void AppendNearMine(std::size_t index, const CMine& mine, double distanceKm,
                        double bearingDegrees);

private:
    void AppendOptionalCp1252String(const std::optional<std::string>& text);

    std::string m_text;
    // The page texts of the last record written, kept for their room.
    MainPageTexts m_page;
};
