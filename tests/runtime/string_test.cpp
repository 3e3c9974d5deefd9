#include <gtest/gtest.h>

#include <climits>

#include "runtime/array.h"
#include "runtime/string.h"

namespace {

String Bytes(std::initializer_list<unsigned char> b) {
    std::vector<unsigned char> v(b);
    return String::Decode(v.data(), v.size());
}

TEST(StringTest, EmptyResultsShareOneRepresentationAndOperandsAreNotCopied) {
    String abc("abc"), empty;
    EXPECT_TRUE((abc + empty).SameAs(abc));
    EXPECT_TRUE((empty + abc).SameAs(abc));
    EXPECT_TRUE((empty + String()).SameAs(String("")));
    EXPECT_TRUE(abc.Slice(0).SameAs(abc));
    EXPECT_TRUE(abc.Slice(2, 1).SameAs(String()));
    EXPECT_TRUE(abc.ToLower().SameAs(abc));
    EXPECT_TRUE(abc.Split(",")[0].SameAs(abc));
    EXPECT_FALSE(String("ABC").ToLower().SameAs(abc));
    EXPECT_EQ(String("ABC").ToLower(), abc);
}

TEST(StringTest, SliceCountsNegativeIndicesFromTheEnd) {
    String hello("hello");
    EXPECT_EQ(hello.Slice(1, -1), String("ell"));
    EXPECT_EQ(hello.Slice(-2), String("lo"));
    EXPECT_EQ(hello.Slice(3, 1), String(""));
    EXPECT_EQ(hello.Slice(-99, 2), String("he"));
    EXPECT_EQ(hello.Slice(2, 99), String("llo"));
    EXPECT_EQ(hello.Slice(9), String(""));
}

TEST(StringTest, SplitKeepsEmptyPiecesAndSplitsIntoUnitsOnEmptySeparator) {
    auto parts = String("a,b,").Split(",");
    ASSERT_EQ(parts.Length(), 3);
    EXPECT_EQ(parts[0], String("a"));
    EXPECT_EQ(parts[1], String("b"));
    EXPECT_TRUE(parts[2].Empty());
    auto units = String("ab").Split("");
    ASSERT_EQ(units.Length(), 2);
    EXPECT_EQ(units[1], String("b"));
    EXPECT_EQ(String("").Split("").Length(), 0);
    auto multi = String("x--y----z").Split("--");
    ASSERT_EQ(multi.Length(), 4);
    EXPECT_EQ(multi[2], String(""));
    EXPECT_EQ(multi[3], String("z"));
}

// An end of 0 is the start of the string, not a count from its end; a
// separator in first place leaves an empty first piece.
TEST(StringTest, SliceAndSplitAtTheStartOfAString) {
    String hello("hello");
    EXPECT_TRUE(hello.Slice(0, 0).Empty());
    EXPECT_TRUE(hello.Slice(3, 0).Empty());
    EXPECT_EQ(hello.Slice(0, 1), String("h"));
    EXPECT_EQ(hello.Slice(0, -4), String("h"));
    EXPECT_TRUE(hello.Slice(0, -5).Empty());
    auto parts = String(",a").Split(",");
    ASSERT_EQ(parts.Length(), 2);
    EXPECT_TRUE(parts[0].Empty());
    EXPECT_EQ(parts[1], String("a"));
    auto doubled = String(",,b,").Split(",");
    ASSERT_EQ(doubled.Length(), 4);
    EXPECT_TRUE(doubled[0].Empty());
    EXPECT_TRUE(doubled[1].Empty());
    EXPECT_EQ(doubled[2], String("b"));
    EXPECT_TRUE(doubled[3].Empty());
}

TEST(StringTest, FindWithEmptyNeedleAndNegativeStart) {
    EXPECT_EQ(String("hello").Find("", 5), 5);
    EXPECT_EQ(String("hell").Find("", 5), -1);
    EXPECT_EQ(String("abcabc").Find("abc", -3), 0);
    EXPECT_EQ(String("abcabc").Find("abc", 1), 3);
    EXPECT_EQ(String("abc").Find("abcd"), -1);
    EXPECT_TRUE(String("abc").StartsWith("ab"));
    EXPECT_TRUE(String("abc").EndsWith("bc"));
    EXPECT_FALSE(String("abc").EndsWith("abcd"));
}

TEST(StringTest, NumberConversions) {
    EXPECT_EQ(String::FromFloat(2.0), String("2.0"));
    EXPECT_EQ(String::FromFloat(1e20), String("1e+20"));
    EXPECT_EQ(String::FromFloat(0.1f), String("0.10000000149011612"));
    EXPECT_EQ(String::FromInt(-42), String("-42"));
    EXPECT_EQ(String("  -17xyz").ToInt(), -17);
    EXPECT_EQ(String("abc").ToInt(), 0);
    EXPECT_EQ(String("+8").ToInt(), 8);
    EXPECT_EQ(String("99999999999999999999").ToInt(), INT_MAX);
    EXPECT_EQ(String("-99999999999999999999").ToInt(), INT_MIN);
    EXPECT_EQ(String("2147483648").ToInt(), INT_MAX);
}

TEST(StringTest, DecodingByteOrderMarksAndUtf8) {
    String le = Bytes({255, 254, 65, 0});
    ASSERT_EQ(le.Length(), 1);
    EXPECT_EQ(le[0], 'A');
    String be = Bytes({254, 255, 0, 66, 0x20, 0xAC, 7});  // odd byte dropped
    ASSERT_EQ(be.Length(), 2);
    EXPECT_EQ(be[1], 0x20AC);
    String bom = Bytes({239, 187, 191, 'h', 195, 169, 226, 130, 172});
    ASSERT_EQ(bom.Length(), 3);
    EXPECT_EQ(bom[1], 233);
    EXPECT_EQ(bom[2], 0x20AC);
    EXPECT_TRUE(Bytes({}).SameAs(String()));
    EXPECT_TRUE(Bytes({239, 187, 191}).Empty());
}

TEST(StringTest, InvalidUtf8PrintsAMessageAndFallsBackToBytes) {
    testing::internal::CaptureStdout();
    String bad = Bytes({195, 40});
    String cut = Bytes({239, 187, 191, 'a', 226, 130});
    String lead = Bytes({0xF0, 0x9F, 0x98, 0x80});
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Invalid UTF-8!\nInvalid UTF-8!\nInvalid UTF-8!\n");
    ASSERT_EQ(bad.Length(), 2);
    EXPECT_EQ(bad[0], 195);
    EXPECT_EQ(bad[1], 40);
    ASSERT_EQ(cut.Length(), 3);  // after the byte-order mark
    EXPECT_EQ(cut[0], 'a');
    EXPECT_EQ(cut[2], 130);
    EXPECT_EQ(lead.Length(), 4);
}

TEST(StringTest, Utf8EncodingRoundTripsEveryBmpUnit) {
    std::vector<char16_t> all;
    for (int u = 1; u < 0x10000; u += 7) all.push_back(static_cast<char16_t>(u));
    String s(all.data(), static_cast<int>(all.size()));
    std::string bytes = s.ToUtf8();
    String back = String::Decode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    EXPECT_EQ(back, s);
    EXPECT_EQ(String::FromChar(233).ToUtf8(), "\xC3\xA9");
    EXPECT_EQ(String::FromChar(0x20AC).ToUtf8(), "\xE2\x82\xAC");
}

TEST(StringTest, PrintNarrowsEachUnitAndEndsTheLine) {
    testing::internal::CaptureStdout();
    Print(String("ok") + String::FromChar(0x141));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ok\x41\n");
}

TEST(StringTest, CopiesShareAndReleaseTheirRepresentation) {
    String a = String("x") + String("y");
    {
        String b = a, c;
        c = b;
        EXPECT_TRUE(c.SameAs(a));
        String d = std::move(c);
        EXPECT_TRUE(c.Empty());
        EXPECT_TRUE(d.SameAs(a));
    }
    EXPECT_EQ(a, String("xy"));  // still alive after the copies are gone
}

}  // namespace
