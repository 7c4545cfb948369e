#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "shp/Bytes.h"
#include "shp/DBFTable.h"

using namespace tvk;
using namespace shptest;

namespace {
std::tm Date(int year, int month, int day) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    return t;
}
}  // namespace

TEST(DBFTable, TwoColumnHeaderIs97BytesWith32ByteRecords) {
    CDBFLayout layout({{"NAME", 0, 20, 0}, {"COUNT", 1, 0, 0}});
    std::string h = layout.Header(Date(2024, 3, 9), 0);
    ASSERT_EQ(h.size(), 97u);
    EXPECT_EQ(Byte(h, 0), 3u);
    EXPECT_EQ(Byte(h, 1), 124u);
    EXPECT_EQ(Byte(h, 2), 3u);
    EXPECT_EQ(Byte(h, 3), 9u);
    EXPECT_EQ(Little32(h, 4), 0u);
    EXPECT_EQ(Little16(h, 8), 97u);
    EXPECT_EQ(Little16(h, 10), 32u);
    EXPECT_EQ(h.substr(12, 20), std::string(20, '\0'));
    // First descriptor: name padded with zeros, C, offset 1, length 20.
    EXPECT_EQ(h.substr(32, 11), std::string("NAME\0\0\0\0\0\0\0", 11));
    EXPECT_EQ(h[43], 'C');
    EXPECT_EQ(Little32(h, 44), 1u);
    EXPECT_EQ(Byte(h, 48), 20u);
    EXPECT_EQ(Byte(h, 49), 0u);
    EXPECT_EQ(h.substr(50, 14), std::string(14, '\0'));
    // Second: N, offset 21, length 11.
    EXPECT_EQ(h[64 + 11], 'N');
    EXPECT_EQ(Little32(h, 64 + 12), 21u);
    EXPECT_EQ(Byte(h, 64 + 16), 11u);
    EXPECT_EQ(Byte(h, 96), 0x0Du);
    EXPECT_EQ(Little32(layout.Header(Date(2024, 3, 9), 3), 4), 3u);
}

TEST(DBFTable, FieldTypesLengthsAndDecimals) {
    struct Case { int type, width, precision; char letter; int length, decimals; };
    const Case cases[] = {
        {0, 5, 0, 'C', 5, 0},      {1, 0, 0, 'N', 11, 0},   {2, 0, 0, 'N', 6, 0},
        {3, 12, 3, 'N', 12, 3},    {4, -1, -1, 'F', 16, 8}, {5, 0, 0, 'F', 16, 8},
        // Widths that would wrap as one byte are clamped into 1..254.
        {0, 300, 0, 'C', 254, 0},  {0, 0, 0, 'C', 1, 0},    {0, -1, 0, 'C', 1, 0},
        {3, 256, 2, 'N', 254, 2},  {3, 0, 0, 'N', 1, 0},    {3, 10, 300, 'N', 10, 254},
        {3, 10, -1, 'N', 10, 0},
    };
    for (const auto& c : cases) {
        DBFField f = DBFFieldForColumn(c.type, c.width, c.precision);
        EXPECT_EQ(f.type, c.letter) << c.type << " " << c.width;
        EXPECT_EQ(f.length, c.length) << c.type << " " << c.width;
        EXPECT_EQ(f.decimals, c.decimals) << c.type << " " << c.width;
    }
}

TEST(DBFTable, NamesAreCutToTenBytesAndDuplicatesNumbered) {
    auto names = DBFFieldNames({"LONGATTRIBUTENAME", Cp1251("Тип координат XY"), Cp1251("Тип координаты H"),
                                "X", "x", "LONGATTRIB_2"});
    ASSERT_EQ(names.size(), 6u);
    EXPECT_EQ(names[0], "LONGATTRIB");
    EXPECT_EQ(names[1], Cp1251("Тип коорди"));
    EXPECT_EQ(names[2], Cp1251("Тип коор_1"));
    EXPECT_EQ(names[3], "X");
    EXPECT_EQ(names[4], "x_1");  // readers compare field names without regard to case
    EXPECT_EQ(names[5], "LONGATTR_1");
    // The suffix that another column holds as its own name is skipped.
    auto clash = DBFFieldNames({"ABCDEFGHIJK", "ABCDEFGHIJL", "ABCDEFGH_1"});
    EXPECT_EQ(clash[0], "ABCDEFGHIJ");
    EXPECT_EQ(clash[1], "ABCDEFGH_2");
    EXPECT_EQ(clash[2], "ABCDEFGH_1");
    for (const auto& n : clash) EXPECT_LE(n.size(), 10u);
}

TEST(DBFTable, ValuesAreLeftAlignedCutAndPaddedWithZeroBytes) {
    auto put = [](const char* text, size_t length) {
        std::string field(length, '#');
        PutDBFValue(field.data(), length, text);
        return field;
    };
    EXPECT_EQ(put("ABC", 5), std::string("ABC\0\0", 5));
    EXPECT_EQ(put("ABCDEFG", 5), "ABCDE");
    EXPECT_EQ(put(nullptr, 3), std::string(3, '\0'));
    EXPECT_EQ(put("12.5", 11), std::string("12.5\0\0\0\0\0\0\0", 11));
}

TEST(DBFTable, LayoutTellsWhenTheLengthsOverflowTheHeader) {
    std::vector<DBFColumn> wide(300, DBFColumn{"C", 0, 254, 0});
    CDBFLayout layout(wide);
    EXPECT_EQ(layout.RecordLength(), 1 + 300 * 254);
    EXPECT_FALSE(layout.FitsHeader());
    EXPECT_TRUE(CDBFLayout({{"A", 0, 254, 0}}).FitsHeader());
}
