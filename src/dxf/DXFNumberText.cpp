#include "dxf/DXFNumberText.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace tvk {

namespace {

// 0.99 * 10^(e - 15) for the decimal exponents e = -1 .. 11 of the numbers
// taken: the spacing of 16-digit decimals, with a margin.
constexpr double kSpacing[] = {0.99e-16, 0.99e-15, 0.99e-14, 0.99e-13, 0.99e-12, 0.99e-11, 0.99e-10,
                               0.99e-9,  0.99e-8,  0.99e-7,  0.99e-6,  0.99e-5,  0.99e-4};

struct DigitPairs {
    char text[100][2];
    DigitPairs() {
        for (int i = 0; i < 100; ++i) {
            text[i][0] = char('0' + i / 10);
            text[i][1] = char('0' + i % 10);
        }
    }
};
const DigitPairs kPairs;

// Eight digits of x < 10^8, with leading zeros.
void EightDigits(uint32_t x, char* out) {
    for (int i = 3; i >= 0; --i) {
        std::memcpy(out + 2 * i, kPairs.text[x % 100], 2);
        x /= 100;
    }
}

// The distance from `a` (normal, positive) to the next double.
double Ulp(double a) {
    uint64_t bits;
    std::memcpy(&bits, &a, sizeof bits);
    const uint64_t exponent = (bits >> 52) & 0x7FF;  // above 52 for every number taken
    const uint64_t ulpBits = (exponent - 52) << 52;
    double ulp;
    std::memcpy(&ulp, &ulpBits, sizeof ulp);
    return ulp;
}

}  // namespace

int FormatSurveyNumber(double value, char* out) {
    const double a = std::fabs(value);
    if (!(a >= 0.1 && a < 1e12)) return 0;
    const uint64_t n = static_cast<uint64_t>(std::nearbyint(a * 1000.0));
    // One correctly rounded division: the double nearest to D = n / 1000.
    if (static_cast<double>(n) / 1000.0 != a) return 0;

    char digits[16];  // n < 10^15 with leading zeros
    EightDigits(static_cast<uint32_t>(n / 100000000), digits);
    EightDigits(static_cast<uint32_t>(n % 100000000), digits + 8);
    const char* first = digits;
    while (*first == '0') ++first;  // n >= 100
    const char* end = digits + 16;
    int places = 3;
    while (places > 0 && end[-1] == '0') {
        --end;
        --places;
    }
    const int count = int(end - first);
    // A power of ten may stand for a value just below it, in the decade
    // below, where 16-digit decimals lie closer together.
    bool powerOfTen = *first == '1';
    for (const char* p = first + 1; p < end && powerOfTen; ++p) powerOfTen = *p == '0';
    if (powerOfTen) return 0;

    // D has the decimal exponent count - 1 - places, in [-1, 11]; it is the
    // 16-digit rounding of `value` when doubles lie closer than those decimals.
    const int exponent = count - 1 - places;
    if (!(Ulp(a) < kSpacing[exponent + 1])) return 0;

    char* p = out;
    if (value < 0) *p++ = '-';
    const int whole = count - places;
    if (whole <= 0) {
        *p++ = '0';  // |value| >= 0.1: the digits follow the point at once
    } else {
        std::memcpy(p, first, size_t(whole));
        p += whole;
    }
    *p++ = '.';
    std::memcpy(p, end - places, size_t(places));
    p += places;
    *p = 0;
    return int(p - out);
}

}  // namespace tvk
