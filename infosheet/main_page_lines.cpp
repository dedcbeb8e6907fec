#include "infosheet/main_page_lines.h"

// Position and location share one frame, whose title the page spells
// "Locaction": vemra-cli labels the position "Location:" and sets the
// location under it.
const std::array<MainPageLine, 10> kMainPageLines = {{
    {MainPageField::Name, "name", "Name", "Name:"},
    {MainPageField::Position, "position", "Position", "Location:"},
    {MainPageField::Location, "location", "Location", ""},
    {MainPageField::CommodityType, "commodity_type", "Type", "Type:"},
    {MainPageField::Major, "major", "Major", "Major:"},
    {MainPageField::Minor, "minor", "Minor", "Minor:"},
    {MainPageField::Trace, "trace", "Trace", "Trace:"},
    {MainPageField::Discovery, "discovery", "Discovery", "Discovery:"},
    {MainPageField::Production, "production", "Production", "Production:"},
    {MainPageField::ProductionYears, "production_years", "Prod. Years", "Prod.Years:"},
}};

const std::string* MainPageLineText(const MainPageTexts& texts, MainPageField field) {
    switch (field) {
        case MainPageField::Name:
            return &texts.name;
        case MainPageField::Position:
            return &texts.position;
        case MainPageField::Location:
            return &texts.location;
        case MainPageField::CommodityType:
            return texts.commodityType ? &*texts.commodityType : nullptr;
        case MainPageField::Major:
            return &texts.major;
        case MainPageField::Minor:
            return &texts.minor;
        case MainPageField::Trace:
            return &texts.trace;
        case MainPageField::Discovery:
            return &texts.discovery;
        case MainPageField::Production:
            return texts.production ? &*texts.production : nullptr;
        case MainPageField::ProductionYears:
            break;
    }
    return &texts.productionYears;
}
