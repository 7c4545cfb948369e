#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>

#include "export/CoordinateText.h"
#include "platform/NumberText.h"

using namespace tvk;

namespace {

void ExpectSameText(double v) {
    char fast[64], exact[64];
    int nf = FormatGcvt16(v, fast);
    int ne = FormatGcvt(v, 16, exact);
    ASSERT_STREQ(fast, exact) << std::hexfloat << v;
    ASSERT_EQ(nf, ne);
}

// The value of a coordinate text, and the text of that value made from the
// file's digits, agree with AtoF and FormatGcvt.
void ExpectSameFromText(const std::string& text) {
    double value = CoordinateValue(text.c_str());
    double exactValue = AtoF(text.c_str());
    ASSERT_TRUE(value == exactValue || (std::isnan(value) && std::isnan(exactValue))) << text;
    ASSERT_EQ(std::signbit(value), std::signbit(exactValue)) << text;
    char fast[64], exact[64];
    int nf = FormatGcvt16(value, text.c_str(), fast);
    int ne = FormatGcvt(value, 16, exact);
    ASSERT_STREQ(fast, exact) << text;
    ASSERT_EQ(nf, ne);
    // A text that is not the value's own must not lend its digits.
    nf = FormatGcvt16(value * 3.0, text.c_str(), fast);
    FormatGcvt(value * 3.0, 16, exact);
    ASSERT_STREQ(fast, exact) << text << " * 3";
}

TEST(CoordinateText, KnownTexts) {
    char buf[64];
    const std::pair<double, const char*> cases[] = {
        {6000000.5, "6000000.5"}, {400000.25, "400000.25"}, {5000.0, "5000."}, {0.0, "0."},
        {-0.0, "0."}, {0.5, "0.5"}, {0.05, "5.e-002"}, {1e16, "1.e+016"}, {-473095.412, "-473095.412"},
        {123456789012345.6, "123456789012345.6"}, {1.7e308, "1.7e+308"}};
    for (const auto& [value, text] : cases) {
        FormatGcvt16(value, buf);
        EXPECT_STREQ(buf, text);
    }
}

TEST(CoordinateText, AgreesWithTheExactTextEverywhere) {
    std::mt19937_64 rng(20240514);
    // Any bit pattern: every magnitude, subnormals, inf and nan included.
    for (int i = 0; i < 100000; ++i) {
        uint64_t bits = rng();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        ExpectSameText(v);
    }
    // Decimal texts of 1 to 17 digits, as a survey file writes them.
    std::uniform_int_distribution<int> digitCount(1, 17), exponent(-12, 20);
    for (int i = 0; i < 100000; ++i) {
        char text[64];
        int n = digitCount(rng);
        std::string digits;
        for (int d = 0; d < n; ++d) digits += static_cast<char>('0' + rng() % 10);
        std::snprintf(text, sizeof text, "%s%se%d", rng() % 2 ? "-" : "", digits.c_str(), exponent(rng) - n);
        ExpectSameText(std::strtod(text, nullptr));
    }
    // Survey coordinates with millimetres and their neighbours.
    for (int i = 0; i < 50000; ++i) {
        double v = static_cast<double>(rng() % 10000000000ULL) / 1000.0;
        ExpectSameText(v);
        ExpectSameText(std::nextafter(v, 0.0));
        ExpectSameText(std::nextafter(v, 1e300));
    }
    // Exact ties at the 17th digit, which round to even.
    for (int i = 0; i < 20000; ++i) {
        ExpectSameText(static_cast<double>(1000000000000000ULL + rng() % 3500000000000000ULL) + 0.5);
        ExpectSameText(static_cast<double>(100000000000000ULL + rng() % 900000000000000ULL) + (i % 2 ? 0.25 : 0.75));
    }
    // Around the decades, where the spacing of the two grids changes.
    for (int e = -30; e <= 30; ++e) {
        double p = std::pow(10.0, e);
        double v = p;
        for (int k = 0; k < 50; ++k) v = std::nextafter(v, 0.0), ExpectSameText(v);
        v = p;
        for (int k = 0; k < 50; ++k) v = std::nextafter(v, 1e308), ExpectSameText(v);
        ExpectSameText(p);
        ExpectSameText(9.999999999999999 * p);
        ExpectSameText(9.9999999999999999 * p);
    }
}

TEST(CoordinateText, FileTextsGiveTheExactValueAndText) {
    for (const char* text : {"6000000.5", "400000.25", "5000.000", "-12.30", "000123.4", "0.05", "0.000", "-0", "1000",
                             "0.1", "0.001", "1e5", " 12", "12abc", "", ".", "-", "+7.", ".5", "1.2.3", "9999999.999",
                             "4503599627370495.5", "12345678901234567890", "0.0000000000000000000001234"})
        ExpectSameFromText(text);
    char out[64];
    FormatGcvt16(6000000.5, "6000000.500", out);
    EXPECT_STREQ(out, "6000000.5");

    std::mt19937_64 rng(7);
    const char alphabet[] = "0123456789.-+e ";
    for (int i = 0; i < 100000; ++i) {
        // Survey-like texts: up to 10 integer and 6 fraction digits.
        std::string text = i % 3 == 0 ? "-" : "";
        int intDigits = static_cast<int>(rng() % 11), fracDigits = static_cast<int>(rng() % 7);
        for (int d = 0; d < intDigits; ++d) text += static_cast<char>('0' + rng() % 10);
        if (fracDigits || rng() % 2) text += '.';
        for (int d = 0; d < fracDigits; ++d) text += static_cast<char>('0' + rng() % 10);
        ExpectSameFromText(text);
        // And arbitrary short strings of number characters.
        std::string junk;
        for (int k = static_cast<int>(rng() % 12); k > 0; --k) junk += alphabet[rng() % (sizeof alphabet - 1)];
        ExpectSameFromText(junk);
    }
}

}  // namespace
