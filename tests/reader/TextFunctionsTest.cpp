// The column and bracket parsing of the syntax, and progress beyond 2 GiB.
#include <gtest/gtest.h>

#include <climits>

#include "reader/ProgressScale.h"
#include "reader/TLXReader.h"

namespace tvk {
namespace {

TEST(GetIndex, AcceptsNumbersAndPlainZerosOnly) {
    const std::pair<const char*, int> cases[] = {{"  12", 12}, {"12abc", 12}, {"0", 0},    {" 000 ", 0}, {"", -1},
                                                 {"   ", -1},  {"+0", -1},    {"abc", -1}, {"-5", -5},   {nullptr, -1}};
    for (const auto& [text, index] : cases) EXPECT_EQ(CTLXReader::GetIndex(text), index) << (text ? text : "null");
}

// A column is read in place, as the C string a copy of it would be: up to
// its end or its first NUL.
TEST(GetIndex, ReadsAColumnInPlaceAsACopyOfItWouldRead) {
    using namespace std::string_literals;
    for (const std::string& text :
         {"  12"s, "12abc"s, "0"s, " 000 "s, ""s, "   "s, "+0"s, "-0"s, "abc"s, "-5"s, "  7  "s, "99999999999"s,
          "-99999999999"s, "0x1"s, "00 1"s, "1\0 2"s, " 0\0x"s, "\0 5"s, " \t\r0"s}) {
        const std::string line = "  " + text + "  tail";
        EXPECT_EQ(CTLXReader::GetIndex(line, 2, static_cast<int>(text.size()) + 1), CTLXReader::GetIndex(text.c_str()))
            << '"' << text << '"';
    }
    std::string_view line = "      17 rest\n";
    EXPECT_EQ(CTLXReader::GetIndex(line, 0, 7), 17);
    EXPECT_EQ(CTLXReader::GetIndex(line, 14, 20), -1);  // beyond the end
    EXPECT_EQ(CTLXReader::GetIndex("  5", 0, 7), 5);    // cut at the end
    EXPECT_EQ(CTLXReader::GetIndex("  5", 2, 1), -1);   // an empty column
}

TEST(ParseToken, SplitsBracketsLikeStrtok) {
    std::vector<char*> args;
    auto copy = CTLXReader::ParseToken("/Pen(1,,2,0) /Brush(3)", args);
    ASSERT_TRUE(copy);
    ASSERT_EQ(args.size(), 3u);
    EXPECT_STREQ(args[0], "1");
    EXPECT_STREQ(args[1], "2");
    EXPECT_STREQ(args[2], "0");
    auto copy2 = CTLXReader::ParseToken("Char( 20 , x)", args);
    ASSERT_TRUE(copy2);
    ASSERT_EQ(args.size(), 2u);
    EXPECT_STREQ(args[0], " 20 ");
    EXPECT_TRUE(CTLXReader::ParseToken("()", args));
    EXPECT_TRUE(args.empty());
    EXPECT_FALSE(CTLXReader::ParseToken("Char(", args));
    EXPECT_FALSE(CTLXReader::ParseToken("Char(20", args));
    EXPECT_FALSE(CTLXReader::ParseToken("Char", args));
    EXPECT_TRUE(args.empty());
}

TEST(ProgressScale, FitsFilesBeyondTwoGigabytesIntoInt) {
    CProgressScale scale;
    EXPECT_EQ(scale.Begin(1000), 1000);
    EXPECT_EQ(scale.Step(0, 300), 300);

    const int64_t length = 5'000'000'123LL;  // about 4.7 GiB
    int high = scale.Begin(length);
    EXPECT_GT(high, 0);
    EXPECT_LE(high, INT_MAX);
    // Steps of uneven line lengths add up to the range exactly.
    int64_t sum = 0, last = 0;
    for (int64_t pos = 0; pos < length;) {
        pos = std::min(length, pos + 104 + (pos % 7) * 1'000'003);
        int step = scale.Step(last, pos);
        ASSERT_GE(step, 0);
        sum += step;
        last = pos;
    }
    EXPECT_EQ(sum, high);
    EXPECT_EQ(scale.Begin(INT_MAX), INT_MAX);
    EXPECT_EQ(scale.Begin(int64_t{INT_MAX} + 1), int64_t{INT_MAX} / 2 + 1);
}

}  // namespace
}  // namespace tvk
