// The fast 16-digit number text agrees with the exact _gcvt text everywhere.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "mif/Gcvt16.h"
#include "platform/NumberText.h"

namespace tvk {
namespace {

void ExpectSame(double v) {
    char fast[64], exact[64];
    int n = FormatMIFNumber(v, fast);
    int m = FormatGcvt(v, 16, exact);
    ASSERT_EQ(std::string(fast, n), std::string(exact, m)) << "value " << std::hexfloat << v;
    ASSERT_EQ(fast[n], '\0');
}

TEST(Gcvt16, KnownTexts) {
    char buf[64];
    FormatMIFNumber(100, buf);
    EXPECT_STREQ(buf, "100.");
    FormatMIFNumber(0.05, buf);
    EXPECT_STREQ(buf, "5.e-002");
    FormatMIFNumber(-473095.412, buf);
    EXPECT_STREQ(buf, "-473095.412");
    FormatMIFNumber(0.1 + 0.2, buf);
    EXPECT_STREQ(buf, "0.3");
}

TEST(Gcvt16, EdgesOfTheFixedRange) {
    for (int e = -3; e <= 17; ++e) {
        double p = std::pow(10.0, e);
        for (double v : {p, std::nextafter(p, 0.0), std::nextafter(p, 1e300), p * 0.9999999999999999,
                         p * 9.999999999999999, p * 0.99999999999999995, p * 5, p * 0.5})
            for (double s : {1.0, -1.0}) ExpectSame(s * v);
    }
    for (double v : {0.0, -0.0, 1e-300, 1.7e308, 0.1, 0.09999999999999999, 9999999999999998.0, 999999999999999.9,
                     999999999999999.94, 0.5, 2.5, 1234567890123456.5, 0.30000000000000004,
                     123456789012345.25, 123456789012345.75, 987654321098765.25, 12345678901234.125})
        ExpectSame(v);
}

TEST(Gcvt16, SurveyCoordinatesAndRandomDoubles) {
    std::mt19937_64 rng(12345);
    std::uniform_int_distribution<long long> mm(-100000000000LL, 100000000000LL);
    for (int i = 0; i < 200000; ++i) ExpectSame(static_cast<double>(mm(rng)) / 1000.0);  // millimetres
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_int_distribution<int> decade(-3, 17);
    for (int i = 0; i < 300000; ++i) ExpectSame(unit(rng) * std::pow(10.0, decade(rng)));
    std::uniform_int_distribution<uint64_t> bits;
    for (int i = 0; i < 100000; ++i) {
        uint64_t b = bits(rng);
        double v;
        std::memcpy(&v, &b, sizeof v);
        if (std::isfinite(v)) ExpectSame(v);
    }
}

}  // namespace
}  // namespace tvk
