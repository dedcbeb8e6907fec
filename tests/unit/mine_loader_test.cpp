#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "csv/column_map.h"
#include "csv/comma_separated_reader.h"
#include "fileio/line_reader.h"
#include "load/mine_loader.h"
#include "test_support.h"

namespace {

using ExpectedTexts = std::vector<std::pair<CMine::TextField, std::string>>;

// The listed fields hold the given texts, every other text field is empty.
void ExpectTexts(const CMine& mine, const ExpectedTexts& expected) {
    for (std::size_t i = 0; i < kMineTextFields.size(); ++i) {
        std::string want;
        for (const auto& [field, text] : expected) {
            if (field == kMineTextFields[i]) {
                want = text;
            }
        }
        EXPECT_EQ((mine.*kMineTextFields[i]).View(), want) << "text field " << i;
    }
}

void ExpectNumbers(const CMine& mine, int32_t depId, float latitude, float longitude) {
    EXPECT_EQ(mine.m_nDepId, depId);
    EXPECT_EQ(mine.m_fLatitude, latitude);
    EXPECT_EQ(mine.m_fLongitude, longitude);
}

CMineArray SomeMines(std::size_t count) {
    CMineArray mines;
    for (std::size_t i = 0; i < count; ++i) {
        CMine mine;
        mine.m_nDepId = static_cast<int32_t>(i);
        mines.Add(std::move(mine));
    }
    return mines;
}

class MineLoaderTest : public testing::Test {
protected:
    LoadKind Load(std::string_view content, std::string_view leaf = "mines.csv") {
        const LoadResult result = LoadMineData(m_dir.Write(leaf, content), m_mines);
        EXPECT_EQ(result.minesRead, m_mines.IsEmpty() ? 0 : m_mines.GetSize() - 1);
        return result.kind;
    }

    TempDir m_dir;
    CMineArray m_mines;
};

TEST_F(MineLoaderTest, HeaderRowBecomesElementZero) {
    ASSERT_EQ(Load("DEP_ID,SITE_NAME,LATITUDE,LONGITUDE,REF\n"
                   "123,\"Blue Bell\",34.5,-112.25,\"Smith, Jones\"\n"),
              LoadKind::Loaded);
    ASSERT_EQ(m_mines.GetSize(), 2u);
    ExpectNumbers(m_mines[0], 0, 0.0f, 0.0f);
    ExpectTexts(m_mines[0], {{&CMine::m_strSiteName, "SITE_NAME"}, {&CMine::m_strRef, "REF"}});
    ExpectNumbers(m_mines[1], 123, 34.5f, -112.25f);
    ExpectTexts(m_mines[1],
                {{&CMine::m_strSiteName, "\"Blue Bell\""}, {&CMine::m_strRef, "Smith, Jones"}});
    EXPECT_EQ(m_mines.Coordinates()[1].longitude, -112.25f);
}

TEST_F(MineLoaderTest, QuotedHeaderNamesAreRecognisedAndStoredAsARow) {
    ASSERT_EQ(Load("\"DEP_ID\",\"MRDS_ID\",\"REGION\""), LoadKind::Loaded);
    ASSERT_EQ(m_mines.GetSize(), 1u);
    ExpectNumbers(m_mines[0], 0, 0.0f, 0.0f);
    ExpectTexts(m_mines[0],
                {{&CMine::m_strMrdsId, "\"MRDS_ID\""}, {&CMine::m_strRegion, "REGION"}});
}

TEST_F(MineLoaderTest, NoLinesNoRecords) {
    for (const char* content : {"", "\n", "\r\n", "\n\nDEP_ID\n5\n"}) {
        m_mines = SomeMines(3);
        EXPECT_EQ(Load(content), LoadKind::Loaded);
        EXPECT_EQ(m_mines.GetSize(), 0u) << "content: " << content;
    }
}

TEST_F(MineLoaderTest, StopsAtTheFirstEmptyLine) {
    std::string content = "DEP_ID\n";
    for (int i = 1; i < 10; ++i) {
        content += std::to_string(i) + "\r\n";
    }
    ASSERT_EQ(Load(content + "\r\n11\n12\n"), LoadKind::Loaded);
    ASSERT_EQ(m_mines.GetSize(), 10u);
    EXPECT_EQ(m_mines[9].m_nDepId, 9);

    ASSERT_EQ(Load(content + "\n\n11\n"), LoadKind::Loaded);
    EXPECT_EQ(m_mines.GetSize(), 10u);
}

TEST_F(MineLoaderTest, BlankOrCommaOnlyLinesAreRows) {
    ASSERT_EQ(Load("SITE_NAME,REGION\n   \n,,,\nlast,x\n"), LoadKind::Loaded);
    ASSERT_EQ(m_mines.GetSize(), 4u);
    ExpectTexts(m_mines[1], {{&CMine::m_strSiteName, "   "}});
    ExpectTexts(m_mines[2], {});
    ExpectTexts(m_mines[3], {{&CMine::m_strSiteName, "last"}, {&CMine::m_strRegion, "x"}});
}

TEST_F(MineLoaderTest, ShortRowsAndExtraFields) {
    ASSERT_EQ(Load("DEP_ID,SITE_NAME,LATITUDE,REGION\n"
                   "1,one,1.5,north\n"
                   "2\n"
                   "3,three,3.5,south,extra,fields\n"),
              LoadKind::Loaded);
    ASSERT_EQ(m_mines.GetSize(), 4u);
    // Nothing carries over from the row before.
    ExpectNumbers(m_mines[2], 2, 0.0f, 0.0f);
    ExpectTexts(m_mines[2], {});
    ExpectNumbers(m_mines[3], 3, 3.5f, 0.0f);
    ExpectTexts(m_mines[3], {{&CMine::m_strSiteName, "three"}, {&CMine::m_strRegion, "south"}});
}

TEST_F(MineLoaderTest, NumberFields) {
    ASSERT_EQ(Load("DEP_ID,LATITUDE,LONGITUDE\n"
                   "12abc,45.5N,abc\n"
                   "-5,\"45.5\",\" -7.25\"\n"
                   ",,\n"
                   "\"77\",1e400,-0\n"
                   "99999999999,\"4\"\"5\",0x10\n"),
              LoadKind::Loaded);
    ASSERT_EQ(m_mines.GetSize(), 6u);
    ExpectNumbers(m_mines[1], 12, 45.5f, 0.0f);
    ExpectNumbers(m_mines[2], -5, 45.5f, -7.25f);
    ExpectNumbers(m_mines[3], 0, 0.0f, 0.0f);
    ExpectNumbers(m_mines[4], 77, std::numeric_limits<float>::infinity(), 0.0f);
    EXPECT_TRUE(std::signbit(m_mines[4].m_fLongitude));
    ExpectNumbers(m_mines[5], 2147483647, 45.0f, 0.0f);
}

TEST_F(MineLoaderTest, IdentifiersKeepQuotesOtherTextsLoseThem) {
    ASSERT_EQ(Load("MRDS_ID,MAS_ID,SITE_NAME,REGION,REF,DISCR\n"
                   "\"m\",\"a\"\"b\",\"Blue \"\"Bell\"\"\",\"West\",\"Smith, Jones\",x\"y\"z\n"),
              LoadKind::Loaded);
    ASSERT_EQ(m_mines.GetSize(), 2u);
    ExpectTexts(m_mines[1], {{&CMine::m_strMrdsId, "\"m\""},
                             {&CMine::m_strMasId, "\"a\"\"b\""},
                             {&CMine::m_strSiteName, "\"Blue \"\"Bell\"\"\""},
                             {&CMine::m_strRegion, "West"},
                             {&CMine::m_strRef, "Smith, Jones"},
                             {&CMine::m_strDiscr, "xyz"}});
}

TEST_F(MineLoaderTest, QuotesAreFoundWhereverTheColumnsStand) {
    // Columns out of the record's order, quotes in a column not read and in
    // one that keeps them, stray quotes inside unquoted fields, short and
    // long fields quoted with quotes inside.
    ASSERT_EQ(Load("REF,URL,STATE,SITE_NAME,COUNTRY,COUNTY,DISCR,REGION,ADMIN,ORE\n"
                   "a\"b,\"u\"\"rl\",Nevada,\"Blue \"\"Bell\"\"\",Uni\"ted,\"\",p\"q\",West,"
                   "\"BLM \"\"Elko\"\"\",\"\"\"Smith, J., 1949, \"\"\"\"Ore\"\"\"\": Bulletin "
                   "111\"\"\"\n"),
              LoadKind::Loaded);
    ASSERT_EQ(m_mines.GetSize(), 2u);
    ExpectTexts(m_mines[1], {{&CMine::m_strRef, "ab"},
                             {&CMine::m_strState, "Nevada"},
                             {&CMine::m_strSiteName, "\"Blue \"\"Bell\"\"\""},
                             {&CMine::m_strCountry, "United"},
                             {&CMine::m_strDiscr, "pq"},
                             {&CMine::m_strRegion, "West"},
                             {&CMine::m_strAdmin, "BLM Elko"},
                             {&CMine::m_strOre, "Smith, J., 1949, Ore: Bulletin 111"}});
}

TEST_F(MineLoaderTest, EveryColumnReachesItsField) {
    std::string header;
    std::string row;
    for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
        header += std::string(kKnownColumnNames[static_cast<std::size_t>(slot)]) + ",";
        row += "\"" + std::to_string(slot) + "\",";
    }
    ASSERT_EQ(Load(header + "\n" + row + "\n"), LoadKind::Loaded);
    ASSERT_EQ(m_mines.GetSize(), 2u);
    ExpectNumbers(m_mines[1], 1, 5.0f, 6.0f);
    ExpectTexts(m_mines[1], {{&CMine::m_strMrdsId, "\"2\""},   {&CMine::m_strMasId, "\"3\""},
                             {&CMine::m_strSiteName, "\"4\""}, {&CMine::m_strRegion, "7"},
                             {&CMine::m_strCountry, "8"},      {&CMine::m_strState, "9"},
                             {&CMine::m_strCounty, "10"},      {&CMine::m_strDistrict, "11"},
                             {&CMine::m_strAdmin, "12"},       {&CMine::m_strLandStat, "13"},
                             {&CMine::m_strComType, "14"},     {&CMine::m_strComMajor, "15"},
                             {&CMine::m_strComMinor, "16"},    {&CMine::m_strComTrace, "17"},
                             {&CMine::m_strOperType, "18"},    {&CMine::m_strDepType, "19"},
                             {&CMine::m_strProdSize, "20"},    {&CMine::m_strDevStat, "21"},
                             {&CMine::m_strOre, "22"},         {&CMine::m_strGangue, "23"},
                             {&CMine::m_strOtherMatl, "24"},   {&CMine::m_strOrebodyFm, "25"},
                             {&CMine::m_strWorkType, "26"},    {&CMine::m_strModel, "27"},
                             {&CMine::m_strAlteration, "28"},  {&CMine::m_strConcProc, "29"},
                             {&CMine::m_strPrevName, "30"},    {&CMine::m_strOreCtrl, "31"},
                             {&CMine::m_strReporter, "32"},    {&CMine::m_strHrockUnit, "33"},
                             {&CMine::m_strHrockCode, "34"},   {&CMine::m_strArockUnit, "35"},
                             {&CMine::m_strArockCode, "36"},   {&CMine::m_strStructure, "37"},
                             {&CMine::m_strTectonic, "38"},    {&CMine::m_strRef, "39"},
                             {&CMine::m_strYfpBa, "40"},       {&CMine::m_strYrFstPrd, "41"},
                             {&CMine::m_strYlpBa, "42"},       {&CMine::m_strYrLstPrd, "43"},
                             {&CMine::m_strDyBa, "44"},        {&CMine::m_strDiscYr, "45"},
                             {&CMine::m_strProdYrs, "46"},     {&CMine::m_strDiscr, "47"}});
}

TEST_F(MineLoaderTest, SizeIsTheNumberOfLines) {
    for (const int lines : {2, 999, 1000, 1001, 2500}) {
        std::string content = "DEP_ID\n";
        for (int i = 1; i < lines; ++i) {
            content += std::to_string(i) + "\n";
        }
        ASSERT_EQ(Load(content), LoadKind::Loaded);
        ASSERT_EQ(m_mines.GetSize(), static_cast<std::size_t>(lines));
        EXPECT_EQ(m_mines[static_cast<std::size_t>(lines) - 1].m_nDepId, lines - 1);
    }
}

TEST_F(MineLoaderTest, AbsentColumnsStayEmptyInWideRows) {
    std::string row;
    for (int i = 1; i <= 1200; ++i) {
        row += std::to_string(i) + ",";
    }
    ASSERT_EQ(Load("SITE_NAME\n" + row + "\n"), LoadKind::Loaded);
    ASSERT_EQ(m_mines.GetSize(), 2u);
    ExpectNumbers(m_mines[1], 0, 0.0f, 0.0f);
    ExpectTexts(m_mines[1], {{&CMine::m_strSiteName, "1"}});

    // A known column far to the right is still read.
    std::string header;
    for (int i = 1; i < 1200; ++i) {
        header += "c,";
    }
    ASSERT_EQ(Load(header + "REGION,DEP_ID\n" + row + "\n"), LoadKind::Loaded);
    ASSERT_EQ(m_mines.GetSize(), 2u);
    ExpectNumbers(m_mines[1], 0, 0.0f, 0.0f);
    ExpectTexts(m_mines[1], {{&CMine::m_strRegion, "1200"}});
}

TEST_F(MineLoaderTest, ColumnNineHundredNinetyNineIsRead) {
    std::string header;
    std::string row;
    for (int i = 1; i < kNoColumn; ++i) {
        header += "c,";
        row += std::to_string(i) + ",";
    }
    ASSERT_EQ(Load(header + "SITE_NAME,LATITUDE\n" + row + "Deep Mine,12.5\n"), LoadKind::Loaded);
    ASSERT_EQ(m_mines.GetSize(), 2u);
    ExpectNumbers(m_mines[1], 0, 12.5f, 0.0f);
    ExpectTexts(m_mines[1], {{&CMine::m_strSiteName, "Deep Mine"}});
}

// Rows of millions of separators after the columns read.
TEST_F(MineLoaderTest, SeparatorsBeyondTheLastColumnRead) {
    const std::string tail(5'000'000, ',');
    ASSERT_EQ(Load("SITE_NAME,DEP_ID\nMine,7" + tail + "\n" + tail + "\n"), LoadKind::Loaded);
    ASSERT_EQ(m_mines.GetSize(), 3u);
    ExpectNumbers(m_mines[1], 7, 0.0f, 0.0f);
    ExpectTexts(m_mines[1], {{&CMine::m_strSiteName, "Mine"}});
    ExpectNumbers(m_mines[2], 0, 0.0f, 0.0f);
    ExpectTexts(m_mines[2], {});
}

TEST_F(MineLoaderTest, LineEnds) {
    ASSERT_EQ(Load("SITE_NAME\r\na\r\nb\r\r\nc\rd\ne"), LoadKind::Loaded);
    ASSERT_EQ(m_mines.GetSize(), 5u);
    ExpectTexts(m_mines[0], {{&CMine::m_strSiteName, "SITE_NAME"}});
    ExpectTexts(m_mines[1], {{&CMine::m_strSiteName, "a"}});
    ExpectTexts(m_mines[2], {{&CMine::m_strSiteName, "b\r"}});
    ExpectTexts(m_mines[3], {{&CMine::m_strSiteName, "c\rd"}});
    ExpectTexts(m_mines[4], {{&CMine::m_strSiteName, "e"}});

    // A carriage return without a line feed after it stays in the line.
    ASSERT_EQ(Load("SITE_NAME\nx\r"), LoadKind::Loaded);
    ASSERT_EQ(m_mines.GetSize(), 2u);
    ExpectTexts(m_mines[1], {{&CMine::m_strSiteName, "x\r"}});
}

TEST_F(MineLoaderTest, LinesLongerThanTheReadBlock) {
    const std::string header = "SITE_NAME,REGION\n";
    // The first row's CR is the last byte of the first block, its LF the
    // first byte of the next.
    const std::size_t firstName = CLineReader::kDefaultBlockSize - header.size() - 3;
    const std::string first = std::string(firstName, 'n') + ",r\r\n";
    const std::string second = std::string(3'000'000, 's') + ",t";
    ASSERT_EQ(header.size() + first.size() - 1, CLineReader::kDefaultBlockSize);
    ASSERT_EQ(Load(header + first + second), LoadKind::Loaded);
    ASSERT_EQ(m_mines.GetSize(), 3u);
    EXPECT_EQ(m_mines[1].m_strSiteName.GetLength(), firstName);
    EXPECT_EQ(m_mines[1].m_strRegion.View(), "r");
    EXPECT_EQ(m_mines[2].m_strSiteName.GetLength(), 3'000'000u);
    EXPECT_EQ(m_mines[2].m_strRegion.View(), "t");
}

TEST_F(MineLoaderTest, FileThatCannotBeOpened) {
    const std::string missing = m_dir.File("100%s missing.csv");
    const std::string folder = m_dir.File("folder.csv");
    std::filesystem::create_directory(folder);
    for (const std::string& name : {missing, folder}) {
        m_mines = SomeMines(3);
        const LoadResult result = LoadMineData(name, m_mines);
        EXPECT_EQ(result.kind, LoadKind::NotOpened);
        EXPECT_EQ(result.format, DataFormat::CommaSeparated);
        EXPECT_EQ(result.text, "Error opening file: '" + name + "'");
        EXPECT_EQ(m_mines.GetSize(), 3u);
    }
}

#ifdef __linux__
// Reading address 0 of the process's own memory fails with EIO.
TEST_F(MineLoaderTest, ReadErrorLeavesTheMinesAsTheyWere) {
    const std::string name = m_dir.File("memory.csv");
    std::filesystem::create_symlink("/proc/self/mem", name);
    m_mines = SomeMines(3);
    const LoadResult result = LoadMineData(name, m_mines);
    EXPECT_EQ(result.kind, LoadKind::Failed);
    EXPECT_EQ(result.text.rfind("Error reading file: '" + name + "' (", 0), 0u) << result.text;
    EXPECT_EQ(m_mines.GetSize(), 3u);
}
#endif

TEST(MineFileNameTest, CommaSeparatedByNameInAnyCase) {
    for (const char* name :
         {"mrds.csv", "MRDS.CSV", "Mines.Csv", "mines.csv.dat", "a.cSv/x", ".csv"}) {
        EXPECT_TRUE(IsCommaSeparatedName(name)) << name;
    }
    for (const char* name :
         {"", "csv", "mrds.cs", "mrds_csv", "mrds.dat", ". csv", "mrds.c\xD3v"}) {
        EXPECT_FALSE(IsCommaSeparatedName(name)) << name;
    }
}

TEST_F(MineLoaderTest, NameDecidesTheFormat) {
    EXPECT_EQ(Load("SITE_NAME\nx\n", "MINES.CSV"), LoadKind::Loaded);
    EXPECT_EQ(m_mines.GetSize(), 2u);
    EXPECT_EQ(Load("SITE_NAME\nx\ny\n", "mines.csv.dat"), LoadKind::Loaded);
    EXPECT_EQ(m_mines.GetSize(), 3u);

    m_mines = SomeMines(3);
    const LoadResult result = LoadMineData(m_dir.File("missing.dat"), m_mines);
    EXPECT_EQ(result.kind, LoadKind::NotOpened);
    EXPECT_EQ(result.format, DataFormat::Archive);
    EXPECT_EQ(m_mines.GetSize(), 3u);
}

// What the program shows for each outcome, and the result its dialog's
// LoadMineData gives: only an archive not opened is followed by "Error
// loading Mine data".
TEST(LoadResultTest, EachOutcomeIsToldAsTheProgramTellsIt) {
    struct Case {
        LoadKind kind;
        DataFormat format;
        int code;
        std::vector<MessageKind> messages;
    };
    const std::vector<Case> cases = {
        {LoadKind::Loaded, DataFormat::CommaSeparated, kLoadDone, {}},
        {LoadKind::Loaded, DataFormat::Archive, kLoadDone, {}},
        {LoadKind::Damaged, DataFormat::Archive, kLoadDone, {MessageKind::ArchiveDamaged}},
        {LoadKind::NotOpened,
         DataFormat::CommaSeparated,
         kLoadCsvNotOpened,
         {MessageKind::DataFileNotOpened}},
        {LoadKind::NotOpened,
         DataFormat::Archive,
         kLoadArchiveFailed,
         {MessageKind::FileError, MessageKind::LoadFailed}},
        {LoadKind::Failed,
         DataFormat::CommaSeparated,
         kLoadCsvNotOpened,
         {MessageKind::ReadFailed}},
        {LoadKind::NotOpened,
         DataFormat::ZippedCommaSeparated,
         kLoadCsvNotOpened,
         {MessageKind::DataFileNotOpened}},
        {LoadKind::Failed,
         DataFormat::ZippedCommaSeparated,
         kLoadCsvNotOpened,
         {MessageKind::ReadFailed}},
    };
    for (const Case& c : cases) {
        const LoadResult result{c.kind, c.format, c.kind == LoadKind::Loaded ? "" : "why", 0, {}};
        RecordingSink sink;
        ReportLoaderMessages(result, sink);
        ReportLoadResult(LoadResultCode(result), sink);
        EXPECT_EQ(LoadResultCode(result), c.code) << static_cast<int>(c.kind);
        ASSERT_EQ(sink.messages.size(), c.messages.size()) << static_cast<int>(c.kind);
        for (std::size_t i = 0; i < c.messages.size(); ++i) {
            EXPECT_EQ(sink.messages[i].kind, c.messages[i]);
            EXPECT_EQ(sink.messages[i].text,
                      c.messages[i] == MessageKind::LoadFailed ? "Error loading Mine data" : "why");
        }
    }
}

using LineList = std::vector<std::string>;

LineList ReadAll(const std::string& path, std::size_t blockSize) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        ADD_FAILURE() << "cannot open " << path;
        return {};
    }
    LineList lines;
    CLineReader reader(file, blockSize);
    std::string_view line;
    while (reader.ReadLine(line) == CLineReader::Result::Line) {
        lines.emplace_back(line);
    }
    EXPECT_EQ(reader.ReadLine(line), CLineReader::Result::End);
    std::fclose(file);
    return lines;
}

TEST(LineReaderTest, EveryBlockBoundary) {
    const TempDir dir;
    const std::vector<std::pair<std::string, LineList>> cases = {
        {"", {}},
        {"\n", {""}},
        {"x", {"x"}},
        {"x\n", {"x"}},
        {"\r", {"\r"}},
        {"\r\n\r\n", {"", ""}},
        {"ab\r\n\r\ncd\re\n\nlong line here\r\r\nend\r",
         {"ab", "", "cd\re", "", "long line here\r", "end\r"}},
        {std::string("nul\0byte\n", 9), {std::string("nul\0byte", 8)}},
    };
    for (const auto& [content, expected] : cases) {
        const std::string path = dir.Write("lines.txt", content);
        for (std::size_t blockSize = 1; blockSize <= content.size() + 1; ++blockSize) {
            EXPECT_EQ(ReadAll(path, blockSize), expected) << "block size " << blockSize;
        }
        EXPECT_EQ(ReadAll(path, CLineReader::kDefaultBlockSize), expected);
    }
}

}  // namespace
