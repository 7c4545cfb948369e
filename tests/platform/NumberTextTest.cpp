#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>

#include "platform/NumberText.h"

using tvk::Gcvt;

TEST(Gcvt, FixedFormKeepsTheTrailingPoint) {
    EXPECT_EQ(Gcvt(12, 16), "12.");
    EXPECT_EQ(Gcvt(0, 16), "0.");
    EXPECT_EQ(Gcvt(-0.0, 16), "0.");
    EXPECT_EQ(Gcvt(0.5, 16), "0.5");
    EXPECT_EQ(Gcvt(6000000.125, 16), "6000000.125");
    EXPECT_EQ(Gcvt(-2.5, 16), "-2.5");
    EXPECT_EQ(Gcvt(0.1, 16), "0.1");
    EXPECT_EQ(Gcvt(100, 16), "100.");
    EXPECT_EQ(Gcvt(1e15, 16), "1000000000000000.");
}

TEST(Gcvt, ExponentialFormHasThreeExponentDigits) {
    EXPECT_EQ(Gcvt(0.05, 16), "5.e-002");
    EXPECT_EQ(Gcvt(1.7e308, 16), "1.7e+308");
    EXPECT_EQ(Gcvt(-1.7e308, 16), "-1.7e+308");
    EXPECT_EQ(Gcvt(1e16, 16), "1.e+016");
    EXPECT_EQ(Gcvt(0.0123, 16), "1.23e-002");
}

TEST(Gcvt, RoundsToTheAskedDigits) {
    EXPECT_EQ(Gcvt(0.1 + 0.2, 16), "0.3");
    EXPECT_EQ(Gcvt(2.0 / 3.0, 16), "0.6666666666666666");  // exact digits, not 17-digit rounding
    EXPECT_EQ(Gcvt(110, 32), "110.");
    EXPECT_EQ(Gcvt(1e31, 32), "9999999999999999635896294965248.");
    EXPECT_EQ(Gcvt(1e32, 32), "1.0000000000000000536616220439347e+032");
    EXPECT_EQ(Gcvt(9.9999999999999999e15, 16), "1.e+016");  // rounding carries into the exponent
}

TEST(Gcvt, ThirtyTwoDigitsReadBackExactly) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> dist(-1e7, 1e7);
    for (int i = 0; i < 10000; ++i) {
        double v = dist(rng);
        EXPECT_EQ(std::strtod(Gcvt(v, 32).c_str(), nullptr), v);
    }
}

TEST(AtoF, KeepsThePrefixSemanticsOfTheCRuntime) {
    EXPECT_EQ(tvk::AtoF("  12.5abc"), 12.5);
    EXPECT_EQ(tvk::AtoF("abc"), 0);
    EXPECT_EQ(tvk::AtoF("-3e2"), -300);
    EXPECT_EQ(tvk::AtoF("+.5"), 0.5);
    EXPECT_EQ(tvk::AtoF(""), 0);
    EXPECT_EQ(tvk::AtoF(nullptr), 0);
    EXPECT_TRUE(std::isinf(tvk::AtoF("1e999")));
    EXPECT_EQ(tvk::AtoI(" 12abc"), 12);
    EXPECT_EQ(tvk::AtoI("-5"), -5);
    EXPECT_EQ(tvk::AtoI("x"), 0);
    EXPECT_EQ(tvk::AtoI("99999999999999"), std::numeric_limits<int>::max());
}
