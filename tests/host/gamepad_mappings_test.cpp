// Extra gamepad mappings: which lines are mappings, and that each faulty line
// is reported once and left out while its neighbours are kept.
#include "desktop/gamepad_mappings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/host/scoped_env.h"

namespace fs = std::filesystem;

namespace {

const char* kXbox360 =
    "030000005e0400008e02000014010000,Xbox 360 Controller,a:b0,b:b1,x:b2,y:b3,back:b6,start:b7,guide:b8,"
    "leftshoulder:b4,rightshoulder:b5,leftstick:b9,rightstick:b10,leftx:a0,lefty:a1,lefttrigger:a2,"
    "rightx:a3,righty:a4,righttrigger:a5,dpup:h0.1,dpright:h0.2,dpdown:h0.4,dpleft:h0.8,platform:Linux,";
const char* kHalfAxes =
    "03000000ff1100003133000010010000,Pad With Half Axes,a:b2,leftx:a0~,lefty:-a1,lefttrigger:+a4,"
    "+rightx:+a3,-rightx:-a3,misc1:b15,platform:Windows";

TEST(MappingLine, RealMappingsAreAccepted) {
    EXPECT_EQ(MappingLineFault(kXbox360), "");
    EXPECT_EQ(MappingLineFault(kHalfAxes), "");
    EXPECT_EQ(MappingLineFault("0300000000f000000300000000010000,Minimal,"), "");
}

TEST(MappingLine, BrokenLinesSayWhatIsWrong) {
    EXPECT_EQ(MappingLineFault("just some words"), "not GUID,name,mappings");
    EXPECT_EQ(MappingLineFault("030000005e0400008e0200001401000,Short GUID,a:b0"),
              "the GUID is not 32 hexadecimal digits");
    EXPECT_EQ(MappingLineFault("030000005e0400008e020000140100000,Long GUID,a:b0"),
              "the GUID is not 32 hexadecimal digits");
    EXPECT_EQ(MappingLineFault("030000005e0400008e02000014010g00,Not Hex,a:b0"),
              "the GUID is not 32 hexadecimal digits");
    EXPECT_EQ(MappingLineFault("030000005e0400008e02000014010000,No Mappings"), "not GUID,name,mappings");
    EXPECT_EQ(MappingLineFault("030000005e0400008e02000014010000,,a:b0"), "the name is empty");
    EXPECT_EQ(MappingLineFault("030000005e0400008e02000014010000,Pad,a:b0,b1"), "\"b1\" is not element:input");
    EXPECT_EQ(MappingLineFault("030000005e0400008e02000014010000,Pad,a:b0,:b1"), "\":b1\" is not element:input");
    EXPECT_EQ(MappingLineFault("030000005e0400008e02000014010000,Pad,a:b0,b:"), "\"b\" has no input");
    EXPECT_EQ(MappingLineFault("030000005e0400008e02000014010000,Pad,a:q0"), "\"q0\" is not an input");
    EXPECT_EQ(MappingLineFault("030000005e0400008e02000014010000,Pad,a:+b0"), "\"+b0\" is not an input");
    EXPECT_EQ(MappingLineFault("030000005e0400008e02000014010000,Pad,dpup:h0"), "\"h0\" is not an input");
    EXPECT_EQ(MappingLineFault("030000005e0400008e02000014010000,Pad,leftx:a"), "\"a\" is not an input");
}

TEST(MappingLine, NameAndLineLengthsAreCheckedFromBothSides) {
    const std::string guid = "030000005e0400008e02000014010000,";
    EXPECT_EQ(MappingLineFault(guid + std::string(127, 'n') + ",a:b0"), "");
    EXPECT_EQ(MappingLineFault(guid + std::string(128, 'n') + ",a:b0"), "the name is too long");
    // Lines up to 1,023 characters are the longest the window library reads.
    std::string fields = ",a:b0";
    while (guid.size() + 3 + fields.size() + 6 <= 1023) fields += ",b:b11";
    std::string line = guid + "Pad" + fields;
    line += std::string(1023 - line.size(), ',');
    ASSERT_EQ(line.size(), 1023u);
    EXPECT_EQ(MappingLineFault(line), "");
    EXPECT_EQ(MappingLineFault(line + ","), "the line is longer than 1023 characters");
}

TEST(MappingLine, ANulByteAnywhereRejectsTheLine) {
    const std::string guid = "030000005e0400008e02000014010000,";
    EXPECT_EQ(MappingLineFault(guid + std::string("Pad\0X,a:b0", 10)), "the line holds a NUL byte");
    EXPECT_EQ(MappingLineFault(guid + std::string("Pad,a:b0,\0", 10)), "the line holds a NUL byte");
}

TEST(UsableMappings, KeepsGoodLinesAndReportsEachBadOneByItsNumber) {
    std::string text = std::string("# pads\r\n") + kXbox360 + "\r\n\r\n  \nnot,a,mapping\n" + kHalfAxes;
    std::vector<std::string> complaints;
    std::string usable = UsableMappings(text, "pads.txt", &complaints);
    EXPECT_EQ(usable, std::string(kXbox360) + "\n" + kHalfAxes + "\n");
    ASSERT_EQ(complaints.size(), 1u);
    EXPECT_EQ(complaints[0], "pads.txt line 5: the GUID is not 32 hexadecimal digits");
}

struct CollectMappingsTest : ::testing::Test {
    fs::path config = fs::temp_directory_path() / ("solbrim-pads-" + std::to_string(getpid()));
    ScopedEnv configHome{"XDG_CONFIG_HOME", config.c_str()};
    std::FILE* errors = std::tmpfile();

    void WriteFile(const std::string& text) {
        fs::create_directories(config / "solbrim");
        std::ofstream(config / "solbrim" / "gamecontrollerdb.txt") << text;
    }
    std::string Errors() {
        std::rewind(errors);
        std::string out;
        for (int c; (c = std::fgetc(errors)) != EOF;) out.push_back(static_cast<char>(c));
        return out;
    }
    ~CollectMappingsTest() override {
        std::fclose(errors);
        fs::remove_all(config);
    }
};

TEST_F(CollectMappingsTest, FileFirstThenTheVariableAndOneMessagePerBadLine) {
    WriteFile(std::string(kXbox360) + "\n030000005e0400008e02000014010000,Pad,a:z9\n");
    ScopedEnv variable("SDL_GAMECONTROLLERCONFIG", (std::string(kHalfAxes) + "\nbroken").c_str());
    std::string usable = CollectGamepadMappings(errors);
    EXPECT_EQ(usable, std::string(kXbox360) + "\n" + kHalfAxes + "\n");
    std::string path = (config / "solbrim" / "gamecontrollerdb.txt").string();
    EXPECT_EQ(Errors(), "Gamepad mapping skipped, " + path + " line 2: \"z9\" is not an input\n" +
                            "Gamepad mapping skipped, SDL_GAMECONTROLLERCONFIG line 2: not GUID,name,mappings\n");
}

TEST_F(CollectMappingsTest, ANulLineIsNamedAndTheLinesAfterItStillReachTheLibrary) {
    WriteFile(std::string("030000005e0400008e02000014010000,Nul\0Pad,a:b0\n", 46) + kXbox360 + "\n");
    ScopedEnv variable("SDL_GAMECONTROLLERCONFIG", kHalfAxes);
    std::string usable = CollectGamepadMappings(errors);
    // What the library receives is the C string: nothing may end it early.
    EXPECT_EQ(std::string(usable.c_str()), std::string(kXbox360) + "\n" + kHalfAxes + "\n");
    std::string path = (config / "solbrim" / "gamecontrollerdb.txt").string();
    EXPECT_EQ(Errors(), "Gamepad mapping skipped, " + path + " line 1: the line holds a NUL byte\n");
}

TEST_F(CollectMappingsTest, NeitherPlaceGivesNothingAndSaysNothing) {
    ScopedEnv variable("SDL_GAMECONTROLLERCONFIG", nullptr);
    EXPECT_EQ(CollectGamepadMappings(errors), "");
    EXPECT_EQ(Errors(), "");
}

}  // namespace
