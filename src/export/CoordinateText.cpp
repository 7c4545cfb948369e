#include "export/CoordinateText.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "platform/NumberText.h"

namespace tvk {
namespace {

constexpr int kDigits = 16;
constexpr uint64_t kLow = 1000000000000000ULL;  // 10^15: the smallest 16-digit integer
constexpr uint64_t kHigh = 10 * kLow;            // 10^16

constexpr struct Powers {
    unsigned __int128 v[23];
    double d[23];
    constexpr Powers() : v(), d() {
        v[0] = 1;
        d[0] = 1.0;
        for (int i = 1; i <= 22; ++i) {
            v[i] = v[i - 1] * 10;
            d[i] = d[i - 1] * 10.0;  // exact up to 10^22
        }
    }
} kPowers;

// A text of the form [+-]digits[.digits] (at least one digit), nothing else.
struct PlainDecimal {
    bool negative = false;
    char digits[20];    // significant digits, leading zeros dropped, at most 19
    int count = 0;      // significant digits kept
    int exponent = 0;   // decimal exponent of the first significant digit
    int fraction = 0;   // digits after the point (for the value)
    uint64_t mantissa = 0;
};

bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

bool ParsePlainDecimal(const char* p, PlainDecimal& d) {
    if (*p == '+' || *p == '-') d.negative = *p++ == '-';
    const char* intBegin = p;
    while (IsDigit(*p)) ++p;
    const char* intEnd = p;
    const char* fracBegin = p;
    if (*p == '.') fracBegin = ++p;
    while (IsDigit(*p)) ++p;
    const char* fracEnd = p;
    if (*p != 0 || (intBegin == intEnd && fracBegin == fracEnd)) return false;
    d.fraction = static_cast<int>(fracEnd - fracBegin);

    // Significant digits start at the first non-zero one.
    const char* q = intBegin;
    while (q < intEnd && *q == '0') ++q;
    int exponent = static_cast<int>(intEnd - q) - 1;
    if (q == intEnd) {
        q = fracBegin;
        while (q < fracEnd && *q == '0') ++q;
        exponent = -static_cast<int>(q - fracBegin) - 1;
    }
    d.exponent = exponent;
    for (; q < fracEnd; ++q) {
        if (q == intEnd) q = fracBegin;  // step over the point
        if (q == fracEnd) break;
        if (d.count == 19) return false;
        d.digits[d.count++] = *q;
        d.mantissa = d.mantissa * 10 + static_cast<uint64_t>(*q - '0');
    }
    return true;
}

// The value of a plain decimal when it is exact in one rounding step:
// mantissa below 10^15 and a power of ten that doubles hold exactly.
bool FastValue(const PlainDecimal& d, double& value) {
    if (d.count > 15 || d.fraction > 22) return false;
    value = static_cast<double>(d.mantissa) / kPowers.d[d.fraction];
    if (d.negative) value = -value;
    return true;
}

// The layout of _gcvt for significant digits `mant` (no trailing zeros) and
// decimal exponent `exp`: fixed for exponents -1..15 with the point always
// written, otherwise d.ddde+XXX.
int Layout(bool negative, const char* mant, int digits, int exp, char* out) {
    char* p = out;
    if (negative) *p++ = '-';
    if (exp >= -1 && exp < kDigits) {
        if (exp == -1) {
            *p++ = '0';
            *p++ = '.';
            std::memcpy(p, mant, static_cast<size_t>(digits));
            p += digits;
        } else {
            const int intDigits = exp + 1;
            for (int i = 0; i < intDigits; ++i) *p++ = i < digits ? mant[i] : '0';
            *p++ = '.';
            if (digits > intDigits) {
                std::memcpy(p, mant + intDigits, static_cast<size_t>(digits - intDigits));
                p += digits - intDigits;
            }
        }
    } else {
        *p++ = mant[0];
        *p++ = '.';
        std::memcpy(p, mant + 1, static_cast<size_t>(digits - 1));
        p += digits - 1;
        const int a = exp < 0 ? -exp : exp;
        *p++ = 'e';
        *p++ = exp < 0 ? '-' : '+';
        *p++ = static_cast<char>('0' + a / 100);
        *p++ = static_cast<char>('0' + a / 10 % 10);
        *p++ = static_cast<char>('0' + a % 10);
    }
    *p = 0;
    return static_cast<int>(p - out);
}

// round(m * 10^q / 2^s), ties to even, exactly; q <= 22 and 1 <= s <= 127.
uint64_t ScaledRound(uint64_t m, int q, int s) {
    const unsigned __int128 x = static_cast<unsigned __int128>(m) * kPowers.v[q];
    unsigned __int128 n = x >> s;
    const unsigned __int128 rest = x - (n << s);
    const unsigned __int128 half = static_cast<unsigned __int128>(1) << (s - 1);
    if (rest > half || (rest == half && (n & 1))) ++n;
    return n > ~0ULL ? ~0ULL : static_cast<uint64_t>(n);
}

}  // namespace

double CoordinateValue(const char* text) {
    PlainDecimal d;
    double value;
    if (text && ParsePlainDecimal(text, d) && FastValue(d, value)) return value;
    return AtoF(text);
}

int FormatGcvt16(double value, char* out) {
    // Most coordinates are m / 2^s with 1e-6 <= |value| < 2^52: their 16
    // significant digits come exactly from one 128-bit multiply and shift.
    const double a = std::fabs(value);
    if (!(a >= 1e-6 && a < 4503599627370496.0)) return FormatGcvt(value, kDigits, out);
    int e2;
    const double fraction = std::frexp(a, &e2);  // a = fraction * 2^e2, fraction in [0.5, 1)
    const uint64_t m = static_cast<uint64_t>(std::ldexp(fraction, 53));
    const int s = 53 - e2;  // a = m / 2^s, s >= 1

    // 2^(e2-1) <= a < 2^e2, so this is floor(log10(a)) or one below it.
    int exp = static_cast<int>(std::floor((e2 - 1) * 0.30102999566398120));
    uint64_t n = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int q = kDigits - 1 - exp;
        if (q < 0 || q > 22) return FormatGcvt(value, kDigits, out);
        n = ScaledRound(m, q, s);
        if (n >= kHigh)
            ++exp;
        else if (n < kLow)
            --exp;
        else
            break;
    }
    if (n < kLow || n >= kHigh) return FormatGcvt(value, kDigits, out);
    if (n == kLow) {
        // 10^15 may be a value just below the decade rounded up: then the
        // decade below holds it, unless it rounds up there too.
        const int q = kDigits - exp;
        if (q > 22) return FormatGcvt(value, kDigits, out);
        const uint64_t below = ScaledRound(m, q, s);
        if (below < kHigh) {
            n = below;
            --exp;
        }
    }

    char mant[kDigits];
    uint32_t halves[2] = {static_cast<uint32_t>(n / 100000000), static_cast<uint32_t>(n % 100000000)};
    for (int h = 0; h < 2; ++h)
        for (int i = 7; i >= 0; --i) {
            mant[h * 8 + i] = static_cast<char>('0' + halves[h] % 10);
            halves[h] /= 10;
        }
    int digits = kDigits;
    while (digits > 1 && mant[digits - 1] == '0') --digits;
    return Layout(value < 0, mant, digits, exp, out);
}

int FormatGcvt16(double value, const char* text, char* out) {
    // A decimal D of at most 15 digits whose nearest double is `value` is
    // also the 16-digit rounding of `value` when doubles near `value` are
    // spaced closer than 16-digit decimals of D's decade: |value - D| is at
    // most half that spacing, so no other 16-digit decimal is nearer. Powers
    // of ten are left out, since `value` may lie in the decade below.
    PlainDecimal d;
    double parsed;
    if (!text || !ParsePlainDecimal(text, d) || !FastValue(d, parsed) || parsed != value || value == 0.0)
        return FormatGcvt16(value, out);
    int count = d.count;
    while (count > 1 && d.digits[count - 1] == '0') --count;
    if (count == 1 && d.digits[0] == '1') return FormatGcvt16(value, out);
    const int spacingExp = d.exponent - (kDigits - 1);
    const double spacing = spacingExp >= 0 ? kPowers.d[spacingExp]
                                           : (spacingExp >= -22 ? 1.0 / kPowers.d[-spacingExp] : 0.0);
    const double ulp = std::ldexp(1.0, std::ilogb(value) - 52);
    if (!(ulp < 0.99 * spacing)) return FormatGcvt16(value, out);
    return Layout(d.negative, d.digits, count, d.exponent, out);
}

}  // namespace tvk
