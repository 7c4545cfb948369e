#include <gtest/gtest.h>

#include "shp/Bytes.h"
#include "shp/ShapeEncoding.h"

using namespace tvk;
using namespace shptest;

TEST(ShapeEncoding, HeaderHasFileCodeVersionTypeAndZeroesElsewhere) {
    for (int32_t type : {kShapePoint, kShapePolyline, kShapePolygon}) {
        std::string h = ShapeFileHeader(type);
        ASSERT_EQ(h.size(), 100u);
        EXPECT_EQ(h.substr(0, 4), std::string("\x00\x00\x27\x0A", 4));
        EXPECT_EQ(h.substr(4, 24), std::string(24, '\0'));  // unused integers and the length
        EXPECT_EQ(Little32(h, 28), 1000u);
        EXPECT_EQ(Little32(h, 32), static_cast<uint32_t>(type));
        EXPECT_EQ(h.substr(36), std::string(64, '\0'));
    }
}

TEST(ShapeEncoding, IntegersAndDoublesHaveTheirByteOrder) {
    std::string s;
    AppendBigInt32(s, 0x01020304u);
    AppendLittleInt32(s, 0x01020304u);
    AppendLittleDouble(s, 1.0);
    EXPECT_EQ(s, std::string("\x01\x02\x03\x04\x04\x03\x02\x01\0\0\0\0\0\0\xF0\x3F", 16));
}

TEST(ShapeEncoding, PointRecordIs28BytesWithContentLength10) {
    std::string s;
    AppendPointRecord(s, 1, {400000.25, 6000000.5});
    ASSERT_EQ(s.size(), 28u);
    EXPECT_EQ(Big32(s, 0), 1u);
    EXPECT_EQ(Big32(s, 4), 10u);
    EXPECT_EQ(Little32(s, 8), 1u);
    EXPECT_EQ(LittleDouble(s, 12), 400000.25);
    EXPECT_EQ(LittleDouble(s, 20), 6000000.5);
}

TEST(ShapeEncoding, TwoPointPolylineHas40WordsOfContentAndItsBox) {
    std::string s = "prefix";
    ShapePoint pts[] = {{10, 20}, {5, 30}};
    ShapeBox box = AppendPartRecord(s, 7, kShapePolyline, pts, 2);
    s.erase(0, 6);
    ASSERT_EQ(s.size(), 8u + 80u);
    EXPECT_EQ(Big32(s, 0), 7u);
    EXPECT_EQ(Big32(s, 4), 40u);
    EXPECT_EQ(PartContentWords(2), 40);
    EXPECT_EQ(Little32(s, 8), 3u);
    EXPECT_EQ(LittleDouble(s, 12), 5.0);   // min X
    EXPECT_EQ(LittleDouble(s, 20), 20.0);  // min Y
    EXPECT_EQ(LittleDouble(s, 28), 10.0);  // max X
    EXPECT_EQ(LittleDouble(s, 36), 30.0);  // max Y
    EXPECT_EQ(Little32(s, 44), 1u);        // parts
    EXPECT_EQ(Little32(s, 48), 2u);        // points
    EXPECT_EQ(Little32(s, 52), 0u);        // part start
    EXPECT_EQ(LittleDouble(s, 56), 10.0);
    EXPECT_EQ(LittleDouble(s, 64), 20.0);
    EXPECT_EQ(LittleDouble(s, 72), 5.0);
    EXPECT_EQ(LittleDouble(s, 80), 30.0);
    EXPECT_EQ(box.minX, 5.0);
    EXPECT_EQ(box.maxY, 30.0);
}

TEST(ShapeEncoding, IndexEntryIsOffsetAndLengthBigEndian) {
    std::string s;
    AppendIndexEntry(s, 50, 10);
    EXPECT_EQ(s, std::string("\0\0\0\x32\0\0\0\x0A", 8));
}

TEST(ShapeEncoding, RingsAreTurnedClockwiseWithoutAddingOrDroppingPoints) {
    // Counter-clockwise square (x east, y north), closed, at survey magnitudes.
    std::vector<ShapePoint> ccw = {{400000, 6000000}, {400001, 6000000}, {400001, 6000001},
                                   {400000, 6000001}, {400000, 6000000}};
    EXPECT_GT(RingDoubleArea(ccw.data(), ccw.size()), 0.0);
    std::vector<ShapePoint> ring = ccw;
    MakeRingClockwise(ring);
    ASSERT_EQ(ring.size(), ccw.size());
    for (size_t i = 0; i < ring.size(); ++i) {
        EXPECT_EQ(ring[i].x, ccw[ccw.size() - 1 - i].x);
        EXPECT_EQ(ring[i].y, ccw[ccw.size() - 1 - i].y);
    }
    EXPECT_LT(RingDoubleArea(ring.data(), ring.size()), 0.0);

    std::vector<ShapePoint> cw = ring;
    MakeRingClockwise(cw);  // already clockwise: unchanged
    EXPECT_EQ(cw[1].x, ring[1].x);
    EXPECT_EQ(cw[1].y, ring[1].y);

    std::vector<ShapePoint> flat = {{0, 0}, {1, 1}, {2, 2}, {0, 0}};
    MakeRingClockwise(flat);  // no area: unchanged
    EXPECT_EQ(flat[1].x, 1.0);
}

TEST(ShapeEncoding, EmptyBoxHoldsTheLargestMagnitudes) {
    ShapeBox b;
    EXPECT_EQ(b.minX, 1.7e308);
    EXPECT_EQ(b.maxY, -1.7e308);
    b.Extend(ShapePoint{3, -4});
    EXPECT_EQ(b.minX, 3.0);
    EXPECT_EQ(b.maxX, 3.0);
    EXPECT_EQ(b.minY, -4.0);
}
