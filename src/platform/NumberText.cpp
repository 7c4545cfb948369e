#include "platform/NumberText.h"
#include "platform/Text.h"

#include <bit>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace tvk {
namespace {

constexpr uint64_t kLow16 = 1000000000000000ULL;  // 10^15: the smallest 16-digit integer
constexpr uint64_t kHigh16 = 10 * kLow16;         // 10^16

constexpr uint64_t kPow5[23] = {1ULL,
                                5ULL,
                                25ULL,
                                125ULL,
                                625ULL,
                                3125ULL,
                                15625ULL,
                                78125ULL,
                                390625ULL,
                                1953125ULL,
                                9765625ULL,
                                48828125ULL,
                                244140625ULL,
                                1220703125ULL,
                                6103515625ULL,
                                30517578125ULL,
                                152587890625ULL,
                                762939453125ULL,
                                3814697265625ULL,
                                19073486328125ULL,
                                95367431640625ULL,
                                476837158203125ULL,
                                2384185791015625ULL};

// 1, 10 .. 10^16, all exact as doubles.
constexpr double kPow10[17] = {1e0, 1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7, 1e8,
                               1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16};

struct DigitPairs {
    char text[200];
    constexpr DigitPairs() : text() {
        for (int i = 0; i < 100; ++i) {
            text[2 * i] = char('0' + i / 10);
            text[2 * i + 1] = char('0' + i % 10);
        }
    }
};
constexpr DigitPairs kPairs;

// Eight digits of x < 10^8, with leading zeros.
inline void EightDigits(uint32_t x, char* out) {
    const uint32_t high = x / 10000, low = x % 10000;
    std::memcpy(out, kPairs.text + 2 * (high / 100), 2);
    std::memcpy(out + 2, kPairs.text + 2 * (high % 100), 2);
    std::memcpy(out + 4, kPairs.text + 2 * (low / 100), 2);
    std::memcpy(out + 6, kPairs.text + 2 * (low % 100), 2);
}

// How many of the eight characters at `text` end in '0's.
inline int TrailingZeros8(const char* text) {
    uint64_t word;
    std::memcpy(&word, text, sizeof word);
    word ^= 0x3030303030303030ULL;
    if (word == 0) return 8;
    // Little-endian: the last character is the most significant byte.
    return (std::endian::native == std::endian::little ? std::countl_zero(word) : std::countr_zero(word)) / 8;
}

// round(v * 10^j) for v = m * 2^q exactly, ties to even; j in 0..22 and a
// result below 2^64 expected.
inline uint64_t ScaledRound(uint64_t m, int q, int j) {
    const unsigned __int128 x = static_cast<unsigned __int128>(m) * kPow5[j];  // below 2^105
    const int shift = q + j;                                                   // v * 10^j = x * 2^shift
    if (shift >= 0) return static_cast<uint64_t>(x << shift);
    const int s = -shift;
    if (s >= 128) return 0;
    const unsigned __int128 one = 1;
    uint64_t n = static_cast<uint64_t>(x >> s);
    const unsigned __int128 rest = x & ((one << s) - 1);
    const unsigned __int128 half = one << (s - 1);
    if (rest > half || (rest == half && (n & 1))) ++n;
    return n;
}

// The 16 significant digits of `value` as a whole number n (10^15 <= n <
// 10^16) and its decimal exponent, when that exponent is in -7..15; false
// for every other value.
bool Round16(double value, uint64_t& digitsOut, int& exponentOut) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    // 2^-24 < 10^-7 and 2^54 > 10^16: outside these the value is left to the
    // general way (zero, subnormals, inf and nan among them).
    if (biased < 1023 - 24 || biased > 1023 + 53) return false;
    const uint64_t m = (bits & ((1ULL << 52) - 1)) | (1ULL << 52);
    const int q = biased - 1075;   // |value| = m * 2^q
    const int e2 = biased - 1022;  // 2^(e2-1) <= |value| < 2^e2

    // floor(log10 |value|) is this estimate or one more.
    int exp = ((e2 - 1) * 78913) >> 18;
    const double a = std::fabs(value);
    bool known = false;
    if (exp + 1 >= 0) {  // exact powers of ten settle it
        if (exp + 1 <= 16 && a >= kPow10[exp + 1]) ++exp;
        known = true;
    }
    if (exp < -7 || exp > 15) return false;
    uint64_t n = ScaledRound(m, q, 15 - exp);
    if (!known && n >= kHigh16) {
        // Either the decade above holds the value or the value rounds up to
        // it; the decade above gives the right digits in both cases.
        if (++exp > 15) return false;
        n = ScaledRound(m, q, 15 - exp);
    }
    if (n >= kHigh16) {  // rounded up to the next power of ten
        n = kLow16;
        ++exp;
    }
    if (exp < -7 || exp > 15 || n < kLow16) return false;
    digitsOut = n;
    exponentOut = exp;
    return true;
}

// The 16-digit text of finite values with a decimal exponent in -7..15 (all
// survey numbers); 0 for every other value, which the general way takes.
// `out` holds at least 32 bytes.
int FormatGcvt16(double value, char* out) {
    uint64_t n;
    int exp;
    if (!Round16(value, n, exp)) return 0;

    // The 16 digits, then room for the copies below to read past them.
    char digits[48];
    EightDigits(static_cast<uint32_t>(n / 100000000), digits);
    EightDigits(static_cast<uint32_t>(n % 100000000), digits + 8);
    std::memset(digits + 16, '0', 32);
    int zeros = TrailingZeros8(digits + 8);
    if (zeros == 8) zeros += TrailingZeros8(digits);
    const int count = 16 - zeros;  // significant digits, at least 1

    // The text is made in a local buffer with fixed-size copies, then copied
    // out whole: every text here is shorter than 32 bytes.
    char text[64];
    char* p = text;
    *p = '-';
    p += value < 0;
    int length;
    if (exp >= 0) {
        const int whole = exp + 1;
        std::memcpy(p, digits, 16);
        p[whole] = '.';
        std::memcpy(p + whole + 1, digits + whole, 16);
        length = int(p - text) + whole + 1 + (count > whole ? count - whole : 0);
    } else if (exp == -1) {
        p[0] = '0';
        p[1] = '.';
        std::memcpy(p + 2, digits, 16);
        length = int(p - text) + 2 + count;
    } else {
        p[0] = digits[0];
        p[1] = '.';
        std::memcpy(p + 2, digits + 1, 16);
        std::memcpy(p + 1 + count, "e-00", 4);
        p[5 + count] = char('0' - exp);
        length = int(p - text) + 6 + count;
    }
    text[length] = '\0';
    std::memcpy(out, text, 32);
    return length;
}

// Writes the n significant digits `mant` with decimal exponent `exp` as gcvt
// lays them out: plainly for -1 <= exp < digits ("0.5", "120.", "1.25"),
// else as d.ddde±XXX. Returns the end of what it wrote.
char* LayOutMantissa(const char* mant, int n, int exp, int digits, char* p) {
    if (exp >= -1 && exp < digits) {
        if (exp == -1) {
            *p++ = '0';
            *p++ = '.';
            std::memcpy(p, mant, n);
            p += n;
        } else {
            int intDigits = exp + 1;
            for (int i = 0; i < intDigits; ++i) *p++ = i < n ? mant[i] : '0';
            *p++ = '.';
            if (n > intDigits) {
                std::memcpy(p, mant + intDigits, n - intDigits);
                p += n - intDigits;
            }
        }
    } else {
        *p++ = mant[0];
        *p++ = '.';
        std::memcpy(p, mant + 1, n - 1);
        p += n - 1;
        *p++ = 'e';
        *p++ = exp < 0 ? '-' : '+';
        int a = exp < 0 ? -exp : exp;
        *p++ = char('0' + a / 100);
        *p++ = char('0' + a / 10 % 10);
        *p++ = char('0' + a % 10);
    }
    return p;
}

}  // namespace

int FormatGcvt(double value, int digits, char* out) {
    // Every writer's coordinates take this way: exact in integer arithmetic.
    if (digits == 16) {
        const int n = FormatGcvt16(value, out);
        if (n) return n;
    }
    if (digits < 1) digits = 1;
    if (digits > 40) digits = 40;
    char* p = out;
    if (std::isnan(value)) {
        std::memcpy(out, "nan", 4);
        return 3;
    }
    if (std::signbit(value) && value != 0) {
        *p++ = '-';
        value = -value;
    }
    if (std::isinf(value)) {
        std::memcpy(p, "inf", 4);
        return int(p - out) + 3;
    }
    if (value == 0) {
        std::memcpy(p, "0.", 3);
        return int(p - out) + 2;
    }

    // Exactly rounded mantissa digits and decimal exponent.
    char sci[64];
    auto res = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, digits - 1);
    char mant[48];
    int n = 0;
    const char* s = sci;
    for (; s < res.ptr && *s != 'e'; ++s)
        if (*s != '.') mant[n++] = *s;
    *res.ptr = 0;  // to_chars writes no terminator; atoi must stop at the exponent
    int exp = std::atoi(s + 1);
    while (n > 1 && mant[n - 1] == '0') --n;

    p = LayOutMantissa(mant, n, exp, digits, p);
    *p = 0;
    return int(p - out);
}

std::string Gcvt(double value, int digits) {
    char buf[64];
    int n = FormatGcvt(value, digits, buf);
    return std::string(buf, n);
}

namespace {

// The number's start past leading C blanks and a sign, as atof and atoi take them.
const char* SkipBlanksAndSign(const char* p, bool& negative) {
    while (IsCSpace(*p)) ++p;
    negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    return p;
}

// Every power of ten up to 10^22 is a double exactly.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// With at most 15 digits the mantissa stays below 2^53, so it is exact too.
constexpr size_t kMaxDigits = 15;

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double AtoF(const char* text) {
    if (!text) return 0;
    bool neg = false;
    const char* p = SkipBlanksAndSign(text, neg);
    double v = 0;
    // from_chars takes neither a sign nor "0x"; hex floats are no survey numbers
    // and inf/nan texts are read as from_chars reads them.
    auto res = std::from_chars(p, p + std::strlen(p), v, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        v = std::strtod(p, nullptr);  // keeps atof's HUGE_VAL / 0 on overflow
    } else if (res.ec != std::errc()) {
        return 0;
    }
    return neg ? -v : v;
}

double AtoF(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    if (negative) ++p;
    const char* const first = p;
    uint64_t mantissa = 0;
    if (static_cast<size_t>(end - first) <= kMaxDigits + 1) {
        while (p != end && IsAsciiDigit(*p)) mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
        const char* const point = p;
        if (point != first && point != end && *point == '.')
            for (++p; p != end && IsAsciiDigit(*p);) mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
        const size_t decimals = point == end ? 0 : static_cast<size_t>(end - point - 1);
        const size_t digits = static_cast<size_t>(end - first) - (point == end ? 0 : 1);
        // "5." and "5.x" go the long way, as do 16 digits without a point.
        const bool plain = point != first && p == end && (point == end || decimals > 0);
        if (plain && digits <= kMaxDigits) {
            const double value = static_cast<double>(mantissa) / kPowersOfTen[decimals];
            return negative ? -value : value;
        }
    }
    return AtoF(std::string(text).c_str());
}

int AtoI(const char* text) {
    if (!text) return 0;
    bool neg = false;
    const char* p = SkipBlanksAndSign(text, neg);
    long long v = 0;
    while (*p >= '0' && *p <= '9') {
        if (v < (1LL << 40)) v = v * 10 + (*p - '0');
        ++p;
    }
    if (neg) v = -v;
    // atoi of an out-of-range text is undefined; clamp like strtol does.
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return int(v);
}

}  // namespace tvk
