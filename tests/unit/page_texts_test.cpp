#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <regex>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "infosheet/page_texts.h"
#include "res/resource.h"

namespace {

CMine WithTexts(std::initializer_list<std::pair<CMine::TextField, std::string_view>> texts) {
    CMine mine;
    for (const auto& [field, value] : texts) {
        mine.SetText(field, value);
    }
    return mine;
}

TEST(PositionTextTest, SixDecimalsOfTheWidenedFloats) {
    CMine mine;
    mine.m_fLatitude = 44.12345f;
    mine.m_fLongitude = -117.25f;
    EXPECT_EQ(PositionText(mine), "Lat: 44.123451, Lon: -117.250000");
    EXPECT_EQ(PositionText(CMine()), "Lat: 0.000000, Lon: 0.000000");
    mine.m_fLatitude = std::numeric_limits<float>::max();
    EXPECT_EQ(PositionText(mine).substr(0, 9), "Lat: 3402");
}

TEST(LocationTextTest, JoinsThePresentPartsWithoutLeadingSeparators) {
    using M = CMine;
    EXPECT_EQ(LocationText(WithTexts({{&M::m_strCountry, "United States"},
                                      {&M::m_strState, "Oregon"},
                                      {&M::m_strCounty, "Grant"}})),
              "United States, Oregon, Grant");
    EXPECT_EQ(LocationText(WithTexts({{&M::m_strState, "Oregon"}, {&M::m_strCounty, "Grant"}})),
              "Oregon, Grant");
    EXPECT_EQ(LocationText(WithTexts({{&M::m_strCounty, "Grant"}})), "Grant");
    EXPECT_EQ(
        LocationText(WithTexts({{&M::m_strCountry, "United States"}, {&M::m_strCounty, "Grant"}})),
        "United States, Grant");
    EXPECT_EQ(LocationText(CMine()), "");
    // Blanks and commas at the front go, those of the country itself too.
    EXPECT_EQ(LocationText(WithTexts({{&M::m_strCountry, " ,Canada"}, {&M::m_strState, "BC"}})),
              "Canada, BC");
    EXPECT_EQ(LocationText(WithTexts({{&M::m_strCountry, " "}, {&M::m_strCounty, "Grant"}})),
              "Grant");
}

TEST(CommodityTypeTextTest, KnownCodesInAnyCaseOnly) {
    using M = CMine;
    EXPECT_EQ(CommodityTypeText(WithTexts({{&M::m_strComType, "M"}})), "metallic");
    EXPECT_EQ(CommodityTypeText(WithTexts({{&M::m_strComType, "n"}})), "non-metallic");
    EXPECT_EQ(CommodityTypeText(WithTexts({{&M::m_strComType, "b"}})), "metallic and non-metallic");
    EXPECT_EQ(CommodityTypeText(WithTexts({{&M::m_strComType, "Metallic"}})), std::nullopt);
    EXPECT_EQ(CommodityTypeText(WithTexts({{&M::m_strComType, " M"}})), std::nullopt);
    EXPECT_EQ(CommodityTypeText(CMine()), std::nullopt);
}

TEST(ProductionTextTest, YearsWithTheirQualifiers) {
    using M = CMine;
    EXPECT_EQ(ProductionText(WithTexts({{&M::m_strYrFstPrd, "1905"}, {&M::m_strYrLstPrd, "1942"}})),
              "1905 to 1942");
    EXPECT_EQ(ProductionText(WithTexts({{&M::m_strYfpBa, "B"},
                                        {&M::m_strYrFstPrd, "1905"},
                                        {&M::m_strYlpBa, "A"},
                                        {&M::m_strYrLstPrd, "1942"}})),
              "B1905 to A1942");
    EXPECT_EQ(ProductionText(WithTexts({{&M::m_strYrFstPrd, "1905"}})), "1905 to ???");
    EXPECT_EQ(ProductionText(WithTexts({{&M::m_strYrLstPrd, "1942"}})), " ??? to 1942");
    // Qualifiers alone do not make a line.
    EXPECT_EQ(ProductionText(WithTexts({{&M::m_strYfpBa, "B"}, {&M::m_strYlpBa, "A"}})),
              std::nullopt);
}

TEST(MainPageTextsTest, DiscoveryAndPlainFields) {
    using M = CMine;
    const CMine mine = WithTexts({{&M::m_strSiteName, "\"Blue Bell\""},
                                  {&M::m_strDyBa, "B"},
                                  {&M::m_strComMajor, "Gold, Silver"},
                                  {&M::m_strComMinor, "Lead"},
                                  {&M::m_strComTrace, "Zinc"},
                                  {&M::m_strProdYrs, "1905-1942"}});
    const MainPageTexts texts = MakeMainPageTexts(mine);
    EXPECT_EQ(texts.name, "\"Blue Bell\"");
    EXPECT_EQ(texts.discovery, "B");  // the qualifier alone
    EXPECT_EQ(texts.major, "Gold, Silver");
    EXPECT_EQ(texts.minor, "Lead");
    EXPECT_EQ(texts.trace, "Zinc");
    EXPECT_EQ(texts.productionYears, "1905-1942");
    EXPECT_EQ(texts.commodityType, std::nullopt);
    EXPECT_EQ(texts.production, std::nullopt);
}

TEST(PageFieldsTest, EachPageShowsDistinctControlsAndFields) {
    auto check = [](const auto& fields) {
        std::set<int> ids;
        std::vector<CMine::TextField> shown;
        for (const PageField& field : fields) {
            EXPECT_TRUE(ids.insert(field.controlId).second) << field.label;
            EXPECT_EQ(std::count(shown.begin(), shown.end(), field.field), 0) << field.label;
            shown.push_back(field.field);
        }
    };
    check(kMoreLocationFields);
    check(kCharacteristics1Fields);
    check(kCharacteristics2Fields);
    EXPECT_EQ(kCharacteristics2Fields.front().field, &CMine::m_strTectonic);
}

struct TemplateControls {
    std::set<int> ids;
    std::set<std::string> texts;
};

// The control ids and texts of one dialog template of res/vemra.rc.
TemplateControls ReadTemplate(const std::filesystem::path& res, std::string_view dialog) {
    std::map<std::string, int> numbers;
    std::ifstream header(res / "resource.h");
    const std::regex define(R"re(#define\s+(\w+)\s+(0x[0-9A-Fa-f]+|\d+))re");
    for (std::string line; std::getline(header, line);) {
        std::smatch m;
        if (std::regex_search(line, m, define)) {
            numbers[m[1]] = static_cast<int>(std::stol(m[2], nullptr, 0));
        }
    }
    TemplateControls controls;
    std::ifstream script(res / "vemra.rc");
    const std::regex control(R"re(^\s*[A-Z]+\s+(?:"([^"]*)"\s*,\s*)?(\w+)\s*,)re");
    bool inside = false;
    for (std::string line; std::getline(script, line);) {
        if (line.rfind(std::string(dialog) + " DIALOG", 0) == 0) {
            inside = true;
        } else if (inside && line == "END") {
            break;
        }
        std::smatch m;
        if (inside && std::regex_search(line, m, control)) {
            controls.texts.insert(m[1]);
            if (numbers.count(m[2]) != 0) {
                controls.ids.insert(numbers[m[2]]);
            }
        }
    }
    return controls;
}

TEST(PageFieldsTest, EveryFieldHasItsControlAndLabelInThePageTemplate) {
    const char* data = std::getenv("VEMRA_TEST_DATA");
    if (data == nullptr) {
        GTEST_SKIP() << "VEMRA_TEST_DATA names no source tree";
    }
    const std::filesystem::path res = std::filesystem::path(data).parent_path() / "res";
    const auto check = [&](std::string_view dialog, std::span<const PageField> fields) {
        const TemplateControls controls = ReadTemplate(res, dialog);
        ASSERT_FALSE(controls.ids.empty()) << dialog;
        for (const PageField& field : fields) {
            EXPECT_EQ(controls.ids.count(field.controlId), 1u) << dialog << ": " << field.label;
            EXPECT_EQ(controls.texts.count(std::string(field.label)), 1u)
                << dialog << ": " << field.label;
        }
    };
    check("IDD_INFO_MORE_LOCATION", kMoreLocationFields);
    check("IDD_INFO_CHARACTERISTICS1", kCharacteristics1Fields);
    check("IDD_INFO_CHARACTERISTICS2", kCharacteristics2Fields);
}

}  // namespace

TEST(PositionTextTest, SameDigitsAsPrintfForAnyFloat) {
    // The text is built without printf; every float must read as "%f" has it.
    std::mt19937 random(5);
    CMine mine;
    char expected[128];
    for (int i = 0; i < 100000; ++i) {
        mine.m_fLatitude = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        // Values with few digits, many on a halfway point of the sixth decimal.
        mine.m_fLongitude = static_cast<float>(static_cast<int>(random() % 4000000) - 2000000) /
                            static_cast<float>(1 << (random() % 24));
        std::snprintf(expected, sizeof expected, "Lat: %f, Lon: %f",
                      static_cast<double>(mine.m_fLatitude),
                      static_cast<double>(mine.m_fLongitude));
        ASSERT_EQ(PositionText(mine), expected);
    }
}
