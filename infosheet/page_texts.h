#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "minedata/mine.h"

// The texts that the pages of the "Mine Info" sheet show for one mine, as
// pure functions of the record, so that they are tested without a window.

// What "Main Page" shows. A missing optional is a line that the page's
// rules leave unwritten (no known commodity type, no production year).
struct MainPageTexts {
    std::string name;
    std::string position;
    std::string location;
    std::optional<std::string> commodityType;
    std::string major;
    std::string minor;
    std::string trace;
    std::string discovery;
    std::optional<std::string> production;
    std::string productionYears;
};

MainPageTexts MakeMainPageTexts(const CMine& mine);
// The same texts written into `texts`, reusing the room its strings hold, for
// callers that fill many in a row.
void FillMainPageTexts(const CMine& mine, MainPageTexts& texts);

// "Lat: %f, Lon: %f" of the widened coordinates.
std::string PositionText(const CMine& mine);
// Country, state and county joined by ", ", without leading blanks or commas.
std::string LocationText(const CMine& mine);
// "metallic", "non-metallic", "metallic and non-metallic" for M, N, B (any case).
std::optional<std::string> CommodityTypeText(const CMine& mine);
// First and last production years with their qualifiers.
std::optional<std::string> ProductionText(const CMine& mine);

// One value control of the other three pages: it shows one record field as
// stored. `label` is the text beside it in the page.
struct PageField {
    int controlId;
    std::string_view label;
    CMine::TextField field;
};

// The controls of each page in the order the page writes them.
extern const std::array<PageField, 8> kMoreLocationFields;
extern const std::array<PageField, 9> kCharacteristics1Fields;
extern const std::array<PageField, 10> kCharacteristics2Fields;

// The four tab titles, in sheet order.
inline constexpr std::array<std::string_view, 4> kPageTitles = {
    "Main Page", "More Location", "Characteristics 1", "Characteristics 2"};
