#include <gtest/gtest.h>

#include <set>

#include "dxf/DXFPalette.h"

namespace tvk {
namespace {

unsigned long Rgb(int r, int g, int b) { return unsigned(r) | unsigned(g) << 8 | unsigned(b) << 16; }

TEST(DXFPalette, HoldsEveryIndexOnceSortedByColour) {
    std::set<int> indexes;
    for (int i = 0; i < 255; ++i) {
        const auto& e = DXFEXPORT_Palette[i];
        indexes.insert(e.index);
        if (i) {
            const auto& p = DXFEXPORT_Palette[i - 1];
            EXPECT_LE(std::make_tuple(p.red, p.green, p.blue), std::make_tuple(e.red, e.green, e.blue)) << i;
        }
    }
    EXPECT_EQ(indexes.size(), 255u);
    EXPECT_EQ(*indexes.begin(), 1);
    EXPECT_EQ(*indexes.rbegin(), 255);
}

TEST(DXFPalette, NearestIndexOfTheListedColours) {
    EXPECT_EQ(NearestColourIndex(Rgb(250, 5, 5)), 10);
    EXPECT_EQ(NearestColourIndex(Rgb(255, 0, 0)), 10);
    EXPECT_EQ(NearestColourIndex(Rgb(0, 0, 0)), 9);
    EXPECT_EQ(NearestColourIndex(Rgb(255, 255, 255)), 255);
    EXPECT_EQ(NearestColourIndex(Rgb(128, 128, 128)), 251);
    EXPECT_EQ(NearestColourIndex(Rgb(0, 0, 255)), 5);
    EXPECT_EQ(NearestColourIndex(Rgb(0, 255, 0)), 90);
    EXPECT_EQ(NearestColourIndex(Rgb(200, 0, 0)), 12);
}

TEST(DXFPalette, TiesGoToTheFirstIndexOfEachSharedColour) {
    EXPECT_EQ(NearestColourIndex(Rgb(0, 255, 255)), 130);
    EXPECT_EQ(NearestColourIndex(Rgb(255, 0, 255)), 210);
    EXPECT_EQ(NearestColourIndex(Rgb(255, 255, 0)), 2);
    // The high byte of a Windows colour is not part of the colour.
    EXPECT_EQ(NearestColourIndex(Rgb(255, 0, 0) | 0xFF000000UL), 10);
}

TEST(DXFPalette, EveryUnsharedColourFindsItsOwnIndex) {
    std::multiset<std::tuple<int, int, int>> colours;
    for (const auto& e : DXFEXPORT_Palette) colours.insert({e.red, e.green, e.blue});
    for (const auto& e : DXFEXPORT_Palette) {
        if (colours.count({e.red, e.green, e.blue}) > 1) continue;
        EXPECT_EQ(NearestColourIndex(Rgb(e.red, e.green, e.blue)), e.index);
    }
}

}  // namespace
}  // namespace tvk
