#pragma once

#include <array>
#include <string>
#include <string_view>

#include "infosheet/page_texts.h"

// The lines of "Main Page", top to bottom as the page lays them out, with the
// names each form of the page (vemra-cli's text and JSON, the KML balloon)
// gives them.

enum class MainPageField {
    Name,
    Position,
    Location,
    CommodityType,
    Major,
    Minor,
    Trace,
    Discovery,
    Production,
    ProductionYears,
};

struct MainPageLine {
    MainPageField field;
    std::string_view key;        // "commodity_type": the JSON key
    std::string_view heading;    // "Type": the heading of its row in a table of the page
    std::string_view textLabel;  // "Type:": vemra-cli's label, empty for a line under another
};

extern const std::array<MainPageLine, 10> kMainPageLines;

// The text of `field` in `texts`; null for a line the page leaves out.
const std::string* MainPageLineText(const MainPageTexts& texts, MainPageField field);
