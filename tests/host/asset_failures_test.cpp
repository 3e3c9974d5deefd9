// Which asset failures are named on standard error, and how.
#include "host/asset_failures.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/recent_lines.h"

namespace {

TEST(AssetFailureLog, OneLinePerFileUntilItsReasonChanges) {
    AssetFailureLog log;
    EXPECT_TRUE(log.IsNew("data/menu-hd.png", "not a PNG image"));
    EXPECT_FALSE(log.IsNew("data/menu-hd.png", "not a PNG image"));  // a reload, same fault
    EXPECT_TRUE(log.IsNew("data/menu-hd2.png", "not a PNG image"));  // another file
    EXPECT_TRUE(log.IsNew("data/menu-hd.png", "file not found"));    // the file changed on disk
    EXPECT_FALSE(log.IsNew("data/menu-hd.png", "file not found"));
    EXPECT_TRUE(log.IsNew("data/menu-hd.png", "not a PNG image"));   // and back again
}

TEST(AssetFailureLog, PathsShowAsTheGameAskedForThem) {
    EXPECT_EQ(AssetDisplayPath(String("vellum://data/world001-hd.png")), "data/world001-hd.png");
    EXPECT_EQ(AssetDisplayPath(String("vellum://data/sfx/001.wav")), "data/sfx/001.wav");
    EXPECT_EQ(AssetDisplayPath(String("./data/menu.png")), "data/menu.png");
    EXPECT_EQ(AssetDisplayPath(String("/opt/x/menu.png")), "/opt/x/menu.png");
    EXPECT_EQ(AssetDisplayPath(String("vellum:odd")), "vellum:odd");
}

TEST(AssetFailureLog, ReportsGoToStandardErrorOnceAndAmongTheRecentLines) {
    ForgetRecentLines();
    testing::internal::CaptureStderr();
    ReportAssetFailure(String("vellum://data/probe-7.png"), "not a PNG image");
    ReportAssetFailure(String("vellum://data/probe-7.png"), "not a PNG image");
    ReportAssetFailure(String("vellum://data/probe-7.png"), "truncated or damaged PNG");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err,
              "Sol Brim: cannot load data/probe-7.png: not a PNG image\n"
              "Sol Brim: cannot load data/probe-7.png: truncated or damaged PNG\n");
    int lines = 0;
    ForEachRecentLine([](const char*, std::size_t, void* count) { ++*static_cast<int*>(count); }, &lines);
    EXPECT_EQ(lines, 2);
}

}  // namespace
