// The recent printed lines a crash report shows: the newest twenty, in
// order, cut to length, and never what was printed unrecorded.
#include "runtime/recent_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/string.h"

namespace {

std::vector<std::string> Kept() {
    std::vector<std::string> lines;
    ForEachRecentLine(
        [](const char* line, std::size_t length, void* context) {
            static_cast<std::vector<std::string>*>(context)->emplace_back(line, length);
        },
        &lines);
    return lines;
}

void Record(const std::string& text) { RecordPrintedText(text.data(), text.size()); }

class RecentLines : public ::testing::Test {
protected:
    void SetUp() override { ForgetRecentLines(); }
};

TEST_F(RecentLines, KeepsTheNewestTwentyOldestFirst) {
    for (int i = 1; i <= 3; ++i) Record("line " + std::to_string(i));
    EXPECT_EQ(Kept(), (std::vector<std::string>{"line 1", "line 2", "line 3"}));

    // 23 lines in all: the first three are pushed out, across the wrap.
    for (int i = 4; i <= 23; ++i) Record("line " + std::to_string(i));
    std::vector<std::string> kept = Kept();
    ASSERT_EQ(kept.size(), 20u);
    EXPECT_EQ(kept.front(), "line 4");
    EXPECT_EQ(kept[9], "line 13");
    EXPECT_EQ(kept.back(), "line 23");
}

TEST_F(RecentLines, TextWithNewlinesIsSeveralLinesAndEmptyLinesCount) {
    Record("first\n\nthird");
    Record("");
    EXPECT_EQ(Kept(), (std::vector<std::string>{"first", "", "third", ""}));
}

TEST_F(RecentLines, LongLinesAreCutToTheLineLength) {
    Record(std::string(kRecentLineLength - 1, 'a'));
    Record(std::string(kRecentLineLength, 'b'));
    Record(std::string(kRecentLineLength + 1, 'c') + "TAIL");
    std::vector<std::string> kept = Kept();
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(kept[0], std::string(kRecentLineLength - 1, 'a'));
    EXPECT_EQ(kept[1], std::string(kRecentLineLength, 'b'));
    EXPECT_EQ(kept[2], std::string(kRecentLineLength, 'c'));
}

TEST_F(RecentLines, PrintRecordsButPrintUnrecordedDoesNot) {
    testing::internal::CaptureStdout();
    Print(String("Settings Loaded"));
    PrintUnrecorded(String("7|0|1|secret record|"));
    Print(String("Badges Loaded"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Settings Loaded\n7|0|1|secret record|\nBadges Loaded\n");
    EXPECT_EQ(Kept(), (std::vector<std::string>{"Settings Loaded", "Badges Loaded"}));
}

}  // namespace
