// Number text exactly as the original runtime wrote it (_gcvt forms, rounding, exact read-back) and
// atof's prefix semantics.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>

#include "platform/NumberText.h"

using tvk::Gcvt;

// Fixed form keeps the trailing point; the exponential form has three
// exponent digits; rounding gives the asked digits exactly.
TEST(Gcvt, FixedAndExponentialFormsAndRounding) {
    const struct {
        double value;
        int digits;
        const char* text;
    } cases[] = {
        {12, 16, "12."},
        {0, 16, "0."},
        {-0.0, 16, "0."},
        {0.5, 16, "0.5"},
        {6000000.125, 16, "6000000.125"},
        {-2.5, 16, "-2.5"},
        {0.1, 16, "0.1"},
        {100, 16, "100."},
        {1e15, 16, "1000000000000000."},
        {0.05, 16, "5.e-002"},
        {1.7e308, 16, "1.7e+308"},
        {-1.7e308, 16, "-1.7e+308"},
        {1e16, 16, "1.e+016"},
        {0.0123, 16, "1.23e-002"},
        {0.1 + 0.2, 16, "0.3"},
        {2.0 / 3.0, 16, "0.6666666666666666"},  // exact digits, not 17-digit rounding
        {110, 32, "110."},
        {1e31, 32, "9999999999999999635896294965248."},
        {1e32, 32, "1.0000000000000000536616220439347e+032"},
        {9.9999999999999999e15, 16, "1.e+016"},  // rounding carries into the exponent
    };
    for (const auto& c : cases) EXPECT_EQ(Gcvt(c.value, c.digits), c.text) << c.text;
}

TEST(Gcvt, ThirtyTwoDigitsReadBackExactly) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> dist(-1e7, 1e7);
    for (int i = 0; i < 10000; ++i) {
        double v = dist(rng);
        EXPECT_EQ(std::strtod(Gcvt(v, 32).c_str(), nullptr), v);
    }
}

namespace {

// _gcvt's text built the plain way, on the C library's exactly rounded
// "%.*e": the digits, trailing zeros dropped, laid out fixed for exponents
// -1 .. digits-1 and as d.ddde+XXX otherwise.
std::string ReferenceGcvt(double value, int digits) {
    if (std::isnan(value)) return "nan";
    if (value == 0) return "0.";
    std::string sign = value < 0 ? "-" : "";
    if (std::isinf(value)) return sign + "inf";
    char sci[512];
    std::snprintf(sci, sizeof sci, "%.*e", digits - 1, std::fabs(value));
    const char* e = std::strchr(sci, 'e');
    std::string mant;
    for (const char* c = sci; c < e; ++c)
        if (*c != '.') mant += *c;
    const int exp = std::atoi(e + 1);
    while (mant.size() > 1 && mant.back() == '0') mant.pop_back();
    if (exp >= -1 && exp < digits) {
        if (exp == -1) return sign + "0." + mant;
        std::string whole = mant.substr(0, std::min(mant.size(), size_t(exp + 1)));
        whole.resize(size_t(exp + 1), '0');
        return sign + whole + "." + (mant.size() > size_t(exp + 1) ? mant.substr(size_t(exp + 1)) : "");
    }
    char tail[16];
    std::snprintf(tail, sizeof tail, "e%c%03d", exp < 0 ? '-' : '+', exp < 0 ? -exp : exp);
    return sign + mant.substr(0, 1) + "." + mant.substr(1) + tail;
}

// FormatGcvt into a heap buffer of exactly the promised size, so that the
// address sanitizer sees any write past it.
class GcvtCheck {
public:
    void Expect(double value, int digits = 16) {
        const size_t size = size_t(digits) + 16;
        if (size != size_) buffer_ = std::make_unique<char[]>(size_ = size);
        const int n = tvk::FormatGcvt(value, digits, buffer_.get());
        const std::string expected = ReferenceGcvt(value, digits);
        ASSERT_EQ(std::string(buffer_.get()), expected) << std::hexfloat << value << " with " << digits;
        ASSERT_EQ(size_t(n), expected.size()) << std::hexfloat << value;
    }

private:
    std::unique_ptr<char[]> buffer_;
    size_t size_ = 0;
};

double FromBits(uint64_t bits) {
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

}  // namespace

// One test holds the exact text of every kind of double against the
// reference: the fast 16-digit way and the general way must never differ.
TEST(Gcvt, AgreesWithTheExactlyRoundedReference) {
    GcvtCheck check;
    std::mt19937_64 rng(20240611);
    // Any bit pattern: every magnitude, subnormals, inf and nan included.
    for (int i = 0; i < 400000; ++i) ASSERT_NO_FATAL_FAILURE(check.Expect(FromBits(rng())));
    // Millimetre and finer survey numbers with both neighbours.
    for (int i = 0; i < 300000; ++i) {
        const double scale[] = {1.0, 10.0, 100.0, 1000.0, 1e4, 1e6};
        const double v = double(int64_t(rng() % 20000000000ULL) - 10000000000LL) / scale[rng() % 6];
        ASSERT_NO_FATAL_FAILURE(check.Expect(v));
        ASSERT_NO_FATAL_FAILURE(check.Expect(std::nextafter(v, -1e300)));
        ASSERT_NO_FATAL_FAILURE(check.Expect(std::nextafter(v, 1e300)));
    }
    // Uniform in every decade from 1e-9 to 1e18, 1e15 .. 1e17 above all.
    std::uniform_real_distribution<double> unit(1.0, 10.0);
    for (int i = 0; i < 300000; ++i) {
        const int decade = i % 2 ? int(rng() % 28) - 9 : 15 + int(rng() % 2);
        ASSERT_NO_FATAL_FAILURE(check.Expect(unit(rng) * std::pow(10.0, decade)));
    }
    // Exact ties at the 17th digit, which round to even.
    for (int i = 0; i < 100000; ++i) {
        ASSERT_NO_FATAL_FAILURE(check.Expect(double(1000000000000000ULL + rng() % 9000000000000000ULL) + 0.5));
        ASSERT_NO_FATAL_FAILURE(
            check.Expect(double(100000000000000ULL + rng() % 900000000000000ULL) + (i % 2 ? 0.25 : 0.75)));
        ASSERT_NO_FATAL_FAILURE(check.Expect(std::ldexp(double(rng() >> 11), -int(rng() % 60))));
    }
    // The 50 doubles either side of every power of ten, and 9.99..95 of each.
    for (int e = -310; e <= 308; ++e) {
        const double p = std::pow(10.0, e);
        double down = p, up = p;
        for (int k = 0; k < 50; ++k) {
            ASSERT_NO_FATAL_FAILURE(check.Expect(down = std::nextafter(down, 0.0)));
            ASSERT_NO_FATAL_FAILURE(check.Expect(up = std::nextafter(up, 1e308)));
        }
        for (double v :
             {p, -p, 9.999999999999999 * p, 9.9999999999999995 * p, 9.99999999999999949 * p, 0.99999999999999995 * p})
            ASSERT_NO_FATAL_FAILURE(check.Expect(v));
    }
    // Zeros, the ends of the range, subnormals, inf and nan.
    for (double v : {0.0,
                     -0.0,
                     0.1,
                     -0.1,
                     0.09999999999999999,
                     1e-7,
                     9.999999999999999e-8,
                     1e16,
                     9999999999999998.0,
                     9999999999999999.0,
                     1e15,
                     999999999999999.9,
                     std::numeric_limits<double>::max(),
                     -std::numeric_limits<double>::max(),
                     std::numeric_limits<double>::min(),
                     std::numeric_limits<double>::denorm_min(),
                     -std::numeric_limits<double>::denorm_min(),
                     std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN(),
                     -std::numeric_limits<double>::quiet_NaN()})
        ASSERT_NO_FATAL_FAILURE(check.Expect(v));
    // Other digit counts take the general way: 32 for generated points.
    for (int i = 0; i < 100000; ++i) {
        const double v = i % 2 ? FromBits(rng()) : double(int64_t(rng() % 2000000000ULL) - 1000000000LL) / 1000.0;
        ASSERT_NO_FATAL_FAILURE(check.Expect(v, 32));
        ASSERT_NO_FATAL_FAILURE(check.Expect(v, 1 + int(rng() % 40)));
    }
}

TEST(AtoF, KeepsThePrefixSemanticsOfTheCRuntime) {
    for (const auto& [text, value] : std::vector<std::pair<const char*, double>>{
             {"  12.5abc", 12.5}, {"abc", 0}, {"-3e2", -300}, {"+.5", 0.5}, {"", 0}, {nullptr, 0}})
        EXPECT_EQ(tvk::AtoF(text), value) << (text ? text : "null");
    EXPECT_TRUE(std::isinf(tvk::AtoF("1e999")));
    for (const auto& [text, value] : std::vector<std::pair<const char*, int>>{
             {" 12abc", 12}, {"-5", -5}, {"x", 0}, {"99999999999999", std::numeric_limits<int>::max()}})
        EXPECT_EQ(tvk::AtoI(text), value) << text;
}

namespace {

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void ExpectAtoF(const std::string& text) {
    EXPECT_TRUE(SameBits(tvk::AtoF(std::string_view(text)), tvk::AtoF(text.c_str())))
        << "'" << text << "': " << tvk::AtoF(std::string_view(text)) << " vs " << tvk::AtoF(text.c_str());
}

}  // namespace

// The fast reading of plain decimals gives atof's number bit for bit.
TEST(AtoF, ATextViewReadsAsItsCStringDoes) {
    // signs, points and digits out of place, more digits than a double holds,
    // exponents, words, out-of-range numbers
    const std::string texts =
        "0|-0|-0.0|0.000|5.|.5|-.5|+3.25| 4.5|4.5 |1e5|12.5abc||-|.|--1|1.2.3|123456789012345|1234567890123456|"
        "12345678.9012345|1234567.89012345678|0.1|0.3|9007199254740993|-6130064.516|0000000000000000000001.5|"
        "1.000000000000001|99999999999999.9|999999999999999|0.000000000000001|inf|nan|1e400|-1e-400";
    for (size_t from = 0, to = 0; to != std::string::npos; from = to + 1) {
        to = texts.find('|', from);
        ExpectAtoF(texts.substr(from, to == std::string::npos ? to : to - from));
    }
    std::mt19937_64 random(7);
    for (int i = 0; i < 200000; ++i) {
        std::string text = random() % 4 == 0 ? "-" : "";
        const int digits = 1 + static_cast<int>(random() % 17);
        for (int d = 0; d < digits; ++d) text += static_cast<char>('0' + random() % 10);
        const int point = static_cast<int>(random() % static_cast<uint64_t>(digits + 1));
        if (point > 0 && point < digits) text.insert(text.size() - static_cast<size_t>(point), ".");
        ExpectAtoF(text);
    }
}
