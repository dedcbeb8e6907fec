#include "csv/column_map.h"

#include <climits>
#include <string>

#include "csv/csv_line.h"
#include "text/ascii_text.h"

const std::array<std::string_view, kKnownColumnCount + 1> kKnownColumnNames = {
    "",           "DEP_ID",     "MRDS_ID",   "MAS_ID",     "SITE_NAME",  "LATITUDE",   "LONGITUDE",
    "REGION",     "COUNTRY",    "STATE",     "COUNTY",     "DISTRICT",   "ADMIN",      "LAND_STAT",
    "COM_TYPE",   "COM_MAJOR",  "COM_MINOR", "COM_TRACE",  "OPER_TYPE",  "DEP_TYPE",   "PROD_SIZE",
    "DEV_STAT",   "ORE",        "GANGUE",    "OTHER_MATL", "OREBODY_FM", "WORK_TYPE",  "MODEL",
    "ALTERATION", "CONC_PROC",  "PREV_NAME", "ORE_CTRL",   "REPORTER",   "HROCK_UNIT", "HROCK_CODE",
    "AROCK_UNIT", "AROCK_CODE", "STRUCTURE", "TECTONIC",   "REF",        "YFP_BA",     "YR_FST_PRD",
    "YLP_BA",     "YR_LST_PRD", "DY_BA",     "DISC_YR",    "PROD_YRS",   "DISCR",
};

const std::array<SecondColumnName, kSecondColumnNameCount> kSecondColumnNames = {{
    {15, "commod1"},     // COM_MAJOR
    {16, "commod2"},     // COM_MINOR
    {17, "commod3"},     // COM_TRACE
    {34, "hrock_type"},  // HROCK_CODE
    {36, "arock_type"},  // AROCK_CODE
}};

namespace {

// The record field of each slot; null for the number slots. "REF" sits
// among the columns at slot 39 but is the record's last field.
constexpr std::array<CMine::TextField, kKnownColumnCount + 1> kSlotFields = {
    nullptr,
    nullptr,  // DEP_ID
    &CMine::m_strMrdsId,
    &CMine::m_strMasId,
    &CMine::m_strSiteName,
    nullptr,  // LATITUDE
    nullptr,  // LONGITUDE
    &CMine::m_strRegion,
    &CMine::m_strCountry,
    &CMine::m_strState,
    &CMine::m_strCounty,
    &CMine::m_strDistrict,
    &CMine::m_strAdmin,
    &CMine::m_strLandStat,
    &CMine::m_strComType,
    &CMine::m_strComMajor,
    &CMine::m_strComMinor,
    &CMine::m_strComTrace,
    &CMine::m_strOperType,
    &CMine::m_strDepType,
    &CMine::m_strProdSize,
    &CMine::m_strDevStat,
    &CMine::m_strOre,
    &CMine::m_strGangue,
    &CMine::m_strOtherMatl,
    &CMine::m_strOrebodyFm,
    &CMine::m_strWorkType,
    &CMine::m_strModel,
    &CMine::m_strAlteration,
    &CMine::m_strConcProc,
    &CMine::m_strPrevName,
    &CMine::m_strOreCtrl,
    &CMine::m_strReporter,
    &CMine::m_strHrockUnit,
    &CMine::m_strHrockCode,
    &CMine::m_strArockUnit,
    &CMine::m_strArockCode,
    &CMine::m_strStructure,
    &CMine::m_strTectonic,
    &CMine::m_strRef,
    &CMine::m_strYfpBa,
    &CMine::m_strYrFstPrd,
    &CMine::m_strYlpBa,
    &CMine::m_strYrLstPrd,
    &CMine::m_strDyBa,
    &CMine::m_strDiscYr,
    &CMine::m_strProdYrs,
    &CMine::m_strDiscr,
};

}  // namespace

CMine::TextField TextFieldOfSlot(int slot) {
    if (slot < 1 || slot > kKnownColumnCount) {
        return nullptr;
    }
    return kSlotFields[static_cast<std::size_t>(slot)];
}

std::size_t TextIndexOfSlot(int slot) {
    static const std::array<std::size_t, kKnownColumnCount + 1> indexes = [] {
        std::array<std::size_t, kKnownColumnCount + 1> places{};
        for (int k = 1; k <= kKnownColumnCount; ++k) {
            const CMine::TextField field = TextFieldOfSlot(k);
            if (field != nullptr) {
                places[static_cast<std::size_t>(k)] = TextIndexOf(field);
            }
        }
        return places;
    }();
    return indexes[static_cast<std::size_t>(slot)];
}

std::string_view SecondNameOfSlot(int slot) {
    for (const SecondColumnName& second : kSecondColumnNames) {
        if (second.slot == slot) {
            return second.name;
        }
    }
    return {};
}

ColumnPresence BuildColumnMap(std::string_view headerLine, ColumnMap& columnMap,
                              ColumnPresence* takenBySecondName) {
    constexpr char kSeparator = ',';
    constexpr char kQuote = '"';
    columnMap.fill(kNoColumn);
    ColumnPresence present;
    // Where each second name last stood; they are placed once the whole
    // header is known, since an own name further on takes precedence.
    std::array<int, kSecondColumnNameCount> secondColumns{};
    std::bitset<kSecondColumnNameCount> secondFound;
    // Column numbers are ints, as CCsvLine's field numbers are.
    std::size_t start = 0;
    for (int column = 1; start < headerLine.size() && column < INT_MAX; ++column) {
        const std::size_t end = CsvFieldEnd(headerLine, start, kSeparator, kQuote);
        // Spreadsheets often quote every header name; the quotes are not
        // part of the name.
        const std::string name = RemoveQuotes(headerLine.substr(start, end - start), kQuote);
        for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
            if (EqualIgnoringAsciiCase(name, kKnownColumnNames[static_cast<std::size_t>(slot)])) {
                columnMap[static_cast<std::size_t>(slot)] = column;
                present.set(static_cast<std::size_t>(slot));
                break;
            }
        }
        for (std::size_t i = 0; i < kSecondColumnNames.size(); ++i) {
            if (EqualIgnoringAsciiCase(name, kSecondColumnNames[i].name)) {
                secondColumns[i] = column;
                secondFound.set(i);
            }
        }
        start = end + 1;
    }
    // A trailing empty field, or an empty header, matches no name.
    if (takenBySecondName != nullptr) {
        takenBySecondName->reset();
    }
    for (std::size_t i = 0; i < kSecondColumnNames.size(); ++i) {
        const auto slot = static_cast<std::size_t>(kSecondColumnNames[i].slot);
        if (secondFound.test(i) && !present.test(slot)) {
            columnMap[slot] = secondColumns[i];
            present.set(slot);
            if (takenBySecondName != nullptr) {
                takenBySecondName->set(slot);
            }
        }
    }
    return present;
}
