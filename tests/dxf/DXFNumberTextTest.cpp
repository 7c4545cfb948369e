#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "dxf/DXFNumberText.h"
#include "platform/NumberText.h"

namespace tvk {
namespace {

// The shortcut either declines or gives exactly the general text.
void ExpectSameOrDeclined(double value, int* taken = nullptr) {
    char out[64];
    int n = FormatSurveyNumber(value, out);
    if (n == 0) return;
    if (taken) ++*taken;
    ASSERT_EQ(std::string(out, n), Gcvt(value, 16)) << "value " << value;
}

TEST(DXFNumberText, SurveyNumbersAndTheirOffsets) {
    std::mt19937_64 random(7);
    int taken = 0;
    for (int i = 0; i < 300000; ++i) {
        // Coordinates of up to three places from 0.1 to a billion, and the
        // label offsets added to them.
        const int places = int(random() % 4);
        const double scale[] = {1, 10, 100, 1000};
        const double magnitude = std::pow(10.0, double(random() % 13) - 1);
        const double value = std::round(double(random() % 1000000000) / 1e9 * magnitude * scale[places]) /
                             scale[places] * (random() % 5 == 0 ? -1 : 1);
        ExpectSameOrDeclined(value, &taken);
        ExpectSameOrDeclined(value + 1.5, &taken);
        ExpectSameOrDeclined(value - 1.5, &taken);
        ExpectSameOrDeclined(value + 7.5, &taken);
        ExpectSameOrDeclined(value * 0.35, &taken);
    }
    EXPECT_GT(taken, 750000);  // more than half of them take the shortcut
}

TEST(DXFNumberText, BordersAndArbitraryDoubles) {
    for (double v : {0.1, 0.099999, 0.5, 1.0, 10.0, 100.0, 1000.0, 0.125, 12.0, 1200.0, 999999999999.999,
                     1e12, 8388607.999, 8388608.001, 9999999.999, 4503599627370.5, 6000000.5, 400000.25, -0.1,
                     -2194501.618, 2.5, 0.0, -0.0, 1.7e308, std::nan(""), double(INFINITY)})
        ExpectSameOrDeclined(v);
    std::mt19937_64 random(11);
    for (int i = 0; i < 200000; ++i) {
        double v = std::ldexp(double(random() >> 11), int(random() % 100) - 80);
        ExpectSameOrDeclined(v);
    }
}

}  // namespace
}  // namespace tvk
