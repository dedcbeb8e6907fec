#include "infosheet/page_texts.h"

#include <cstdio>

#include "minedata/ascii_text.h"
#include "res/resource.h"

namespace {

void StripLeadingBlanksAndCommas(std::string& text) {
    text.erase(0, text.find_first_not_of(" ,"));
}

std::string Concat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts) {
        text += part;
    }
    return text;
}

}  // namespace

std::string PositionText(const CMine& mine) {
    // Six decimals of a float widened to double need at most 39 + 8 characters
    // each; a bigger buffer holds any value, infinities and NaNs included.
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "Lat: %f, Lon: %f", static_cast<double>(mine.m_fLatitude),
                  static_cast<double>(mine.m_fLongitude));
    return buffer;
}

std::string LocationText(const CMine& mine) {
    std::string text;
    if (!mine.m_strCountry.IsEmpty()) {
        text = mine.m_strCountry.View();
    }
    if (!mine.m_strState.IsEmpty()) {
        text += ", ";
        text += mine.m_strState.View();
    }
    StripLeadingBlanksAndCommas(text);
    if (!mine.m_strCounty.IsEmpty()) {
        text += ", ";
        text += mine.m_strCounty.View();
    }
    StripLeadingBlanksAndCommas(text);
    return text;
}

std::optional<std::string> CommodityTypeText(const CMine& mine) {
    const std::string_view code = mine.m_strComType.View();
    if (EqualIgnoringAsciiCase(code, "M")) {
        return "metallic";
    }
    if (EqualIgnoringAsciiCase(code, "N")) {
        return "non-metallic";
    }
    if (EqualIgnoringAsciiCase(code, "B")) {
        return "metallic and non-metallic";
    }
    return std::nullopt;
}

std::optional<std::string> ProductionText(const CMine& mine) {
    const bool hasFirst = !mine.m_strYrFstPrd.IsEmpty();
    const bool hasLast = !mine.m_strYrLstPrd.IsEmpty();
    if (hasFirst && hasLast) {
        return Concat(
            {mine.m_strYfpBa, mine.m_strYrFstPrd, " to ", mine.m_strYlpBa, mine.m_strYrLstPrd});
    }
    if (hasFirst) {
        return Concat({mine.m_strYfpBa, mine.m_strYrFstPrd, " to ???"});
    }
    if (hasLast) {
        return Concat({" ??? to ", mine.m_strYlpBa, mine.m_strYrLstPrd});
    }
    return std::nullopt;
}

MainPageTexts MakeMainPageTexts(const CMine& mine) {
    MainPageTexts texts;
    texts.name = mine.m_strSiteName.Str();
    texts.position = PositionText(mine);
    texts.location = LocationText(mine);
    texts.commodityType = CommodityTypeText(mine);
    texts.major = mine.m_strComMajor.Str();
    texts.minor = mine.m_strComMinor.Str();
    texts.trace = mine.m_strComTrace.Str();
    texts.discovery = Concat({mine.m_strDyBa, mine.m_strDiscYr});
    texts.production = ProductionText(mine);
    texts.productionYears = mine.m_strProdYrs.Str();
    return texts;
}

const std::array<PageField, 8> kMoreLocationFields = {{
    {IDC_LOC_NAME, "Name: ", &CMine::m_strSiteName},
    {IDC_LOC_ADMIN, "Administrative unit area:", &CMine::m_strAdmin},
    {IDC_LOC_DISTRICT, "District:", &CMine::m_strDistrict},
    {IDC_LOC_LAND_STAT, "Type of geographic area:", &CMine::m_strLandStat},
    {IDC_LOC_REGION, "Region:", &CMine::m_strRegion},
    {IDC_LOC_PREV_NAME, "Previous names:", &CMine::m_strPrevName},
    {IDC_LOC_REPORTER, "Reporter", &CMine::m_strReporter},
    {IDC_LOC_REF, "References", &CMine::m_strRef},
}};

const std::array<PageField, 9> kCharacteristics1Fields = {{
    {IDC_CH1_WORK_TYPE, "Work type:", &CMine::m_strWorkType},
    {IDC_CH1_PROD_SIZE, "Production size:", &CMine::m_strProdSize},
    {IDC_CH1_OTHER_MATL, "Other Material", &CMine::m_strOtherMatl},
    {IDC_CH1_OREBODY_FM, "Ore Body", &CMine::m_strOrebodyFm},
    {IDC_CH1_ORE, "Ore:", &CMine::m_strOre},
    {IDC_CH1_OPER_TYPE, "Type of operation:", &CMine::m_strOperType},
    {IDC_CH1_GANGUE, "Gangue", &CMine::m_strGangue},
    {IDC_CH1_DEV_STAT, "Development status:", &CMine::m_strDevStat},
    {IDC_CH1_DEP_TYPE, "Deposit Type:", &CMine::m_strDepType},
}};

const std::array<PageField, 10> kCharacteristics2Fields = {{
    {IDC_CH2_TECTONIC, "Tectonic setting", &CMine::m_strTectonic},
    {IDC_CH2_STRUCTURE, "Structural characteristics", &CMine::m_strStructure},
    {IDC_CH2_ORE_CTRL, "Ore Controls", &CMine::m_strOreCtrl},
    {IDC_CH2_MODEL, "Deposit Model", &CMine::m_strModel},
    {IDC_CH2_HROCK_UNIT, "Host rock name", &CMine::m_strHrockUnit},
    {IDC_CH2_HROCK_CODE, "Host rock type", &CMine::m_strHrockCode},
    {IDC_CH2_CONC_PROC, "Concentration processes", &CMine::m_strConcProc},
    {IDC_CH2_AROCK_UNIT, "Associated rock name", &CMine::m_strArockUnit},
    {IDC_CH2_AROCK_CODE, "Associated rock type", &CMine::m_strArockCode},
    {IDC_CH2_ALTERATION, "Alteration processes", &CMine::m_strAlteration},
}};
