// The colour palette: every index once, and the nearest index of a colour with its ties.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "dxf/DXFPalette.h"

namespace tvk {
namespace {

unsigned long Rgb(int r, int g, int b) { return unsigned(r) | unsigned(g) << 8 | unsigned(b) << 16; }

// The tie rule needs every index once, in (red, green, blue) order.
TEST(DXFPalette, HoldsEveryIndexOnceSortedByColour) {
    std::set<int> indexes;
    for (int i = 0; i < 255; ++i) {
        const auto& e = DXFEXPORT_Palette[i];
        indexes.insert(e.index);
        if (i) {
            const auto& p = DXFEXPORT_Palette[i - 1];
            EXPECT_LE(std::tie(p.red, p.green, p.blue), std::tie(e.red, e.green, e.blue)) << i;
        }
    }
    EXPECT_EQ(indexes.size(), 255u);
    EXPECT_EQ(*indexes.begin(), 1);
}

TEST(DXFPalette, NearestIndexOfTheListedColoursAndTies) {
    const std::pair<unsigned long, int> cases[] = {
        {Rgb(250, 5, 5), 10},
        {Rgb(255, 0, 0), 10},
        {Rgb(0, 0, 0), 9},
        {Rgb(255, 255, 255), 255},
        {Rgb(128, 128, 128), 251},
        {Rgb(0, 0, 255), 5},
        {Rgb(0, 255, 0), 90},
        {Rgb(200, 0, 0), 12},
        {Rgb(0, 255, 255), 130},
        {Rgb(255, 0, 255), 210},
        {Rgb(255, 255, 0), 2},
        {Rgb(255, 0, 0) | 0xFF000000UL, 10},  // the high byte of a Windows colour is no colour
    };
    for (const auto& [rgb, index] : cases) EXPECT_EQ(NearestColourIndex(rgb), index) << std::hex << rgb;
}

}  // namespace
}  // namespace tvk
