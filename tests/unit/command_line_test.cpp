#include <gtest/gtest.h>

#include "app/mine_command_line.h"

namespace {

std::string DataFileFrom(const std::vector<std::string>& arguments) {
    CMineCommandLineInfo info;
    ParseCommandLine(arguments, info);
    return info.DataFile();
}

TEST(CommandLineTest, DataFileIsTheLastArgument) {
    EXPECT_EQ(DataFileFrom({}), "mrds.csv");
    EXPECT_EQ(DataFileFrom({"C:\\Data\\MRDS.CSV"}), "C:\\Data\\MRDS.CSV");
    EXPECT_EQ(DataFileFrom({"first.csv", "second.dat"}), "second.dat");
    EXPECT_EQ(DataFileFrom({"/mines.dat"}), "mines.dat");
    EXPECT_EQ(DataFileFrom({"-mines.csv"}), "mines.csv");
    EXPECT_EQ(DataFileFrom({"mines.csv", ""}), "mrds.csv");
}

TEST(CommandLineTest, FlagsAreMarkedAndStripped) {
    struct Recorder : CCommandLineInfo {
        std::vector<std::tuple<std::string, bool, bool>> calls;
        void ParseParam(std::string_view param, bool isFlag, bool isLast) override {
            calls.emplace_back(std::string(param), isFlag, isLast);
        }
    } recorder;
    ParseCommandLine({"/a", "b", "-", ""}, recorder);
    ASSERT_EQ(recorder.calls.size(), 4u);
    EXPECT_EQ(recorder.calls[0], std::make_tuple(std::string("a"), true, false));
    EXPECT_EQ(recorder.calls[1], std::make_tuple(std::string("b"), false, false));
    EXPECT_EQ(recorder.calls[2], std::make_tuple(std::string(""), true, false));
    EXPECT_EQ(recorder.calls[3], std::make_tuple(std::string(""), false, true));
}

}  // namespace
