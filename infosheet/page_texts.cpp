#include "infosheet/page_texts.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <utility>

#include "res/resource.h"
#include "text/ascii_text.h"

namespace {

void StripLeadingBlanksAndCommas(std::string& text) {
    text.erase(0, text.find_first_not_of(" ,"));
}

// The text of `Field` among a record's texts. The place is found once per
// field (when compiling, where the compiler can compare member pointers then).
template <CMine::TextField Field>
std::string_view TextOf(const CMine::Texts& texts) {
    static const std::size_t index = TextIndexOf(Field);
    return texts[index];
}

// The string an optional line is written into, reusing the room it had.
std::string& Engaged(std::optional<std::string>& line) {
    if (line) {
        line->clear();
    } else {
        line.emplace();
    }
    return *line;
}

// Appends `value` as printf's "%f" writes it. std::to_chars promises the
// same digits for finite values and is several times faster than printf.
void AppendFixedSix(std::string& text, double value) {
    // Six decimals of a float widened to double need at most 39 + 8 characters;
    // a bigger buffer holds any value, infinities and NaNs included.
    char buffer[128];
    if (std::isfinite(value)) {
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
        text.append(buffer, static_cast<std::size_t>(result.ptr - buffer));
        return;
    }
    const int length = std::snprintf(buffer, sizeof buffer, "%f", value);
    text.append(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

void FillPosition(std::string& text, const CMine& mine) {
    text.assign("Lat: ");
    AppendFixedSix(text, static_cast<double>(mine.m_fLatitude));
    text += ", Lon: ";
    AppendFixedSix(text, static_cast<double>(mine.m_fLongitude));
}

void FillLocation(std::string& text, const CMine::Texts& texts) {
    text.clear();
    const std::string_view country = TextOf<&CMine::m_strCountry>(texts);
    const std::string_view state = TextOf<&CMine::m_strState>(texts);
    const std::string_view county = TextOf<&CMine::m_strCounty>(texts);
    text = country;
    if (!state.empty()) {
        text += ", ";
        text += state;
    }
    StripLeadingBlanksAndCommas(text);
    if (!county.empty()) {
        text += ", ";
        text += county;
    }
    StripLeadingBlanksAndCommas(text);
}

void FillCommodityType(std::optional<std::string>& line, const CMine::Texts& texts) {
    const std::string_view code = TextOf<&CMine::m_strComType>(texts);
    for (const auto& [letter, meaning] :
         {std::pair<std::string_view, std::string_view>{"M", "metallic"},
          {"N", "non-metallic"},
          {"B", "metallic and non-metallic"}}) {
        if (EqualIgnoringAsciiCase(code, letter)) {
            Engaged(line) = meaning;
            return;
        }
    }
    line.reset();
}

void FillProduction(std::optional<std::string>& line, const CMine::Texts& texts) {
    const std::string_view firstQualifier = TextOf<&CMine::m_strYfpBa>(texts);
    const std::string_view first = TextOf<&CMine::m_strYrFstPrd>(texts);
    const std::string_view lastQualifier = TextOf<&CMine::m_strYlpBa>(texts);
    const std::string_view last = TextOf<&CMine::m_strYrLstPrd>(texts);
    if (first.empty() && last.empty()) {
        line.reset();
        return;
    }
    std::string& text = Engaged(line);
    if (!first.empty()) {
        text.append(firstQualifier).append(first);
        text += last.empty() ? " to ???" : " to ";
    } else {
        text += " ??? to ";
    }
    if (!last.empty()) {
        text.append(lastQualifier).append(last);
    }
}

}  // namespace

std::string PositionText(const CMine& mine) {
    std::string text;
    FillPosition(text, mine);
    return text;
}

std::string LocationText(const CMine& mine) {
    std::string text;
    FillLocation(text, mine.GetTexts());
    return text;
}

std::optional<std::string> CommodityTypeText(const CMine& mine) {
    std::optional<std::string> line;
    FillCommodityType(line, mine.GetTexts());
    return line;
}

std::optional<std::string> ProductionText(const CMine& mine) {
    std::optional<std::string> line;
    FillProduction(line, mine.GetTexts());
    return line;
}

void FillMainPageTexts(const CMine& mine, MainPageTexts& texts) {
    // One walk of the record's text block rather than one per field.
    const CMine::Texts fields = mine.GetTexts();
    texts.name = TextOf<&CMine::m_strSiteName>(fields);
    FillPosition(texts.position, mine);
    FillLocation(texts.location, fields);
    FillCommodityType(texts.commodityType, fields);
    texts.major = TextOf<&CMine::m_strComMajor>(fields);
    texts.minor = TextOf<&CMine::m_strComMinor>(fields);
    texts.trace = TextOf<&CMine::m_strComTrace>(fields);
    texts.discovery.assign(TextOf<&CMine::m_strDyBa>(fields))
        .append(TextOf<&CMine::m_strDiscYr>(fields));
    FillProduction(texts.production, fields);
    texts.productionYears = TextOf<&CMine::m_strProdYrs>(fields);
}

MainPageTexts MakeMainPageTexts(const CMine& mine) {
    MainPageTexts texts;
    FillMainPageTexts(mine, texts);
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
