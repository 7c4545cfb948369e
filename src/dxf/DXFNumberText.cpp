#include "dxf/DXFNumberText.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace tvk {

namespace {
constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16};
}  // namespace

int FormatSurveyNumber(double value, char* out) {
    const double a = std::fabs(value);
    if (!(a >= 0.1 && a < 1e12)) return 0;
    const double scaled = std::nearbyint(a * 1000.0);
    uint64_t n = static_cast<uint64_t>(scaled);
    // One correctly rounded division: the double nearest to D = n / 1000.
    if (static_cast<double>(n) / 1000.0 != a) return 0;

    int places = 3;
    while (places > 0 && n % 10 == 0) {
        n /= 10;
        --places;
    }
    char digits[24];
    int count = 0;
    for (uint64_t m = n; m; m /= 10) digits[count++] = char('0' + m % 10);  // reversed
    // A power of ten may stand for a value just below it, in the decade
    // below, where 16-digit decimals lie closer together.
    bool powerOfTen = digits[count - 1] == '1';
    for (int i = 0; i < count - 1 && powerOfTen; ++i) powerOfTen = digits[i] == '0';
    if (powerOfTen) return 0;

    // D = n * 10^-places has decimal exponent count - 1 - places, in [-1, 11].
    const int exponent = count - 1 - places;
    const double spacing = 1.0 / kPowersOfTen[15 - exponent];  // 10^(exponent - 15), exponent <= 11
    const double ulp = std::ldexp(1.0, std::ilogb(a) - 52);
    if (!(ulp < 0.99 * spacing)) return 0;

    char* p = out;
    if (value < 0) *p++ = '-';
    const int whole = count - places;  // digits before the point
    if (whole <= 0) {
        *p++ = '0';  // |value| >= 0.1: no zeros after the point
    } else {
        for (int i = 0; i < whole; ++i) *p++ = digits[count - 1 - i];
    }
    *p++ = '.';
    for (int i = places - 1; i >= 0; --i) *p++ = digits[i];
    *p = 0;
    return int(p - out);
}

}  // namespace tvk
