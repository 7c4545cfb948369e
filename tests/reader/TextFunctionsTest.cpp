// The small text functions of the syntax and the model's own value types.
#include <gtest/gtest.h>

#include <climits>

#include "reader/IntMap.h"
#include "reader/ModelText.h"
#include "reader/ProgressScale.h"
#include "reader/TLXReader.h"
#include "reader/TextScan.h"

namespace tvk {
namespace {

TEST(GetIndex, AcceptsNumbersAndPlainZerosOnly) {
    EXPECT_EQ(CTLXReader::GetIndex("  12"), 12);
    EXPECT_EQ(CTLXReader::GetIndex("12abc"), 12);
    EXPECT_EQ(CTLXReader::GetIndex("0"), 0);
    EXPECT_EQ(CTLXReader::GetIndex(" 000 "), 0);
    EXPECT_EQ(CTLXReader::GetIndex(""), -1);
    EXPECT_EQ(CTLXReader::GetIndex("   "), -1);
    EXPECT_EQ(CTLXReader::GetIndex("+0"), -1);
    EXPECT_EQ(CTLXReader::GetIndex("abc"), -1);
    EXPECT_EQ(CTLXReader::GetIndex("-5"), -5);
    EXPECT_EQ(CTLXReader::GetIndex(nullptr), -1);
}

TEST(GetIndex, ReadsColumnsOfALine) {
    std::string_view line = "      17 rest\n";
    EXPECT_EQ(CTLXReader::GetIndex(line, 0, 7), 17);
    EXPECT_EQ(CTLXReader::GetIndex(line, 9, 12), -1);           // "rest"
    EXPECT_EQ(CTLXReader::GetIndex(line, 14, 20), -1);          // beyond the end
    EXPECT_EQ(CTLXReader::GetIndex("  5", 0, 7), 5);            // cut at the end
    EXPECT_EQ(CTLXReader::GetIndex("  7", 0, 10239), -1);                   // too long a field
    EXPECT_EQ(CTLXReader::GetIndex("  7", 0, 10238), 7);
}

class SubstringProbe : public CTLXReader {
public:
    using CTLXReader::GetSubstring;
};

TEST(GetSubstring, TrimsAndTellsAbsentFromBlank) {
    SubstringProbe r;
    std::string_view line = "12345678  name   \n";
    EXPECT_EQ(r.GetSubstring(line, 8, 15).View(), "name");
    EXPECT_EQ(r.GetSubstring(line, 17, 30).View(), "");         // only the line feed: present, blank
    EXPECT_FALSE(r.GetSubstring(line, 17, 30).IsNull());
    EXPECT_TRUE(r.GetSubstring(line, 18, 30).IsNull());         // at the end: absent
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

TEST(ScanKeywords, FindsWordsAnywhereButSkipsOneCharacterAfterEach) {
    std::vector<std::string> flags = {"/h", "/v", "/s"};
    std::vector<const char*> hits;
    std::string_view text = " /h /v";
    ScanKeywords(text, flags, hits);
    EXPECT_EQ(hits[0], text.data() + 1);
    EXPECT_EQ(hits[1], text.data() + 4);
    EXPECT_EQ(hits[2], nullptr);
    ScanKeywords("/h/v", flags, hits);  // "/v" falls into the skipped character
    EXPECT_NE(hits[0], nullptr);
    EXPECT_EQ(hits[1], nullptr);
    ScanKeywords("x/s", flags, hits);   // inside a word
    EXPECT_NE(hits[2], nullptr);

    std::vector<std::string> objects = {"POINT", "LINE", "POLYLINE"};
    ScanKeywords("POLYLINE /smooth", objects, hits);
    EXPECT_EQ(hits[0], nullptr);
    EXPECT_EQ(hits[1], nullptr);
    EXPECT_NE(hits[2], nullptr);
}

TEST(CText, KeepsAbsentApartFromEmptyAndCopiesLongTexts) {
    CText absent, empty(std::string_view("")), shortText("5000.000"), fifteen("123456789012345"),
        longText("a name longer than fifteen bytes");
    EXPECT_TRUE(absent.IsNull());
    EXPECT_EQ(absent.Get(), nullptr);
    EXPECT_STREQ(absent.c_str(), "");
    EXPECT_FALSE(empty.IsNull());
    EXPECT_STREQ(empty.Get(), "");
    EXPECT_EQ(fifteen.size(), 15u);
    EXPECT_STREQ(fifteen.Get(), "123456789012345");
    EXPECT_FALSE(absent == empty);
    CText copy = longText;
    EXPECT_EQ(copy, longText);
    EXPECT_NE(copy.Get(), longText.Get());
    CText moved = std::move(copy);
    EXPECT_TRUE(copy.IsNull());
    EXPECT_EQ(moved.View(), "a name longer than fifteen bytes");
    moved = shortText;
    EXPECT_EQ(moved.View(), "5000.000");
    moved.Data()[0] = '6';
    EXPECT_EQ(moved.View(), "6000.000");
    EXPECT_TRUE(CText(" \t").IsBlank());
    EXPECT_TRUE(absent.IsBlank());
}

TEST(CIntMap, MapsKeepsBucketCountsAndRehashes) {
    CIntMap map(1000);
    for (int k = -50; k < 5000; ++k) map.SetAt(k, k * 2);
    EXPECT_EQ(map.GetCount(), 5050u);
    EXPECT_EQ(map.GetHashTableSize(), 1000u);
    map.Rehash(7);
    EXPECT_EQ(map.GetHashTableSize(), 7u);
    int v = 0;
    for (int k = -50; k < 5000; ++k) {
        ASSERT_TRUE(map.Lookup(k, v));
        ASSERT_EQ(v, k * 2);
    }
    EXPECT_FALSE(map.Lookup(5000, v));
    EXPECT_FALSE(map.TryEmplace(3, 99).second);
    EXPECT_EQ(*map.Find(3), 6);
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(map.Find(3), nullptr);
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
