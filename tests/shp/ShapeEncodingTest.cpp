// The bytes the shapefile and table formats fix, and the ring order (the file
// headers: the read-back and SHPWriterTest).
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/CodePage.h"
#include "shp/DBFTable.h"
#include "shp/ShapeEncoding.h"
#include "shp/ShapeFiles.h"

using namespace tvk;
using namespace shptest;

TEST(ShapeEncoding, PointRecordIs28BytesAndATwoPointPolyline40Words) {
    std::string point;
    AppendPointRecord(point, 1, {400000.25, 6000000.5});
    ASSERT_EQ(point.size(), 28u);
    EXPECT_EQ(point.substr(0, 12), std::string("\0\0\0\x01\0\0\0\x0A\x01\0\0\0", 12));
    EXPECT_EQ(LittleDouble(point, 12), 400000.25);
    EXPECT_EQ(LittleDouble(point, 20), 6000000.5);

    std::string line(100, '\0');  // ParseRecords reads after a file header
    ShapePoint pts[] = {{10, 20}, {5, 30}};
    AppendPartRecord(line, 7, kShapePolyline, pts, 2);
    ASSERT_EQ(line.size(), 100u + 8 + 2 * 40);
    ShapeRecord r = ParseRecords(line).at(0);
    EXPECT_EQ(r.number, 7u);
    EXPECT_EQ(r.contentWords, 40u);
    EXPECT_EQ(r.type, kShapePolyline);
    EXPECT_EQ(std::tie(r.box.minX, r.box.minY, r.box.maxX, r.box.maxY), std::make_tuple(5.0, 20.0, 10.0, 30.0));
    EXPECT_EQ(r.parts, std::vector<int32_t>{0});
    ASSERT_EQ(r.points.size(), 2u);
    EXPECT_EQ(std::tie(r.points[1].x, r.points[1].y), std::make_tuple(5.0, 30.0));
}

TEST(ShapeEncoding, CounterClockwiseRingsAreReversedOthersKept) {
    auto same = [](ShapePoint a, ShapePoint b) { return a.x == b.x && a.y == b.y; };
    const std::vector<ShapePoint> ccw = {{400000, 6000000}, {400001, 6000000}, {400001, 6000001}, {400000, 6000000}};
    std::vector<ShapePoint> ring = ccw;
    MakeRingClockwise(ring);
    EXPECT_TRUE(std::equal(ring.begin(), ring.end(), ccw.rbegin(), ccw.rend(), same));
    for (std::vector<ShapePoint> kept : {ring, std::vector<ShapePoint>{{0, 0}, {1, 1}, {2, 2}, {0, 0}}}) {
        std::vector<ShapePoint> turned = kept;  // already clockwise, or no area
        MakeRingClockwise(turned);
        EXPECT_TRUE(std::equal(turned.begin(), turned.end(), kept.begin(), kept.end(), same));
    }
}

TEST(DBFTable, TwoColumnHeaderIs97BytesWith32ByteRecords) {
    std::tm date{};
    date.tm_year = 124, date.tm_mon = 2, date.tm_mday = 9;
    CDBFLayout layout({{"NAME", 0, 20, 0}, {"COUNT", 1, 0, 0}});
    const std::string z14(14, '\0');
    EXPECT_EQ(layout.Header(date, 3),
              std::string("\x03\x7C\x03\x09\x03\0\0\0\x61\0\x20\0", 12) + std::string(20, '\0') +  //
                  std::string("NAME\0\0\0\0\0\0\0C\x01\0\0\0\x14\0", 18) + z14 +                   // offset 1, C(20)
                  std::string("COUNT\0\0\0\0\0\0N\x15\0\0\0\x0B\0", 18) + z14 + "\x0D");           // offset 21, N(11)
}

TEST(DBFTable, FieldTypesWithWidthsAndDecimalsClampedToWhatReadersTake) {
    struct Case {
        int type, width, precision;
        char letter;
        int length, decimals;
    };
    const Case cases[] = {
        {0, 5, 0, 'C', 5, 0},     {1, 0, 0, 'N', 11, 0},    {2, 0, 0, 'N', 6, 0},     {3, 12, 3, 'N', 12, 3},
        {4, -1, -1, 'F', 16, 8},  {5, 0, 0, 'F', 16, 8},    {0, 300, 0, 'C', 254, 0}, {0, 0, 0, 'C', 1, 0},
        {3, 256, 2, 'N', 254, 2}, {3, 10, 300, 'N', 10, 8}, {3, 10, -1, 'N', 10, 0},  {3, 2, 2, 'N', 2, 0},
        {3, 20, 30, 'N', 20, 15},  // decimals: at most 15 and the width less 2
    };
    for (const auto& c : cases) {
        DBFField f = DBFFieldForColumn(c.type, c.width, c.precision);
        EXPECT_EQ(std::tie(f.type, f.length, f.decimals),
                  std::make_tuple(c.letter, uint8_t(c.length), uint8_t(c.decimals)))
            << c.type << " " << c.width << " " << c.precision;
    }
}

TEST(DBFTable, NamesAreCutToTenBytesAndDuplicatesNumbered) {
    auto names = DBFFieldNames(
        {"LONGATTRIBUTENAME", Cp1251("Тип координат XY"), Cp1251("Тип координаты H"), "X", "x", "LONGATTRIB_2"});
    // Readers compare field names without regard to case.
    EXPECT_EQ(names, (std::vector<std::string>{"LONGATTRIB", Cp1251("Тип коорди"), Cp1251("Тип коор_1"), "X", "x_1",
                                               "LONGATTR_1"}));
    // A suffix another column holds as its own name is skipped.
    EXPECT_EQ(DBFFieldNames({"ABCDEFGHIJK", "ABCDEFGHIJL", "ABCDEFGH_1"}),
              (std::vector<std::string>{"ABCDEFGHIJ", "ABCDEFGH_2", "ABCDEFGH_1"}));
}

TEST(DBFTable, ValuesAreLeftAlignedCutAndPaddedWithZeroBytes) {
    auto put = [](const char* text, size_t length) {
        std::string field(length, '#');
        PutDBFValue(field.data(), length, text);
        return field;
    };
    EXPECT_EQ(put("ABC", 5), std::string("ABC\0\0", 5));
    EXPECT_EQ(put("ABCDEFG", 5), "ABCDE");
    EXPECT_EQ(put("", 3), std::string(3, '\0'));
}
