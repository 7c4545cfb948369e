#include "mif/Gcvt16.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "platform/NumberText.h"

namespace tvk {
namespace {

constexpr uint64_t kPow10[18] = {1ULL, 10ULL, 100ULL, 1000ULL, 10000ULL, 100000ULL, 1000000ULL, 10000000ULL,
                                 100000000ULL, 1000000000ULL, 10000000000ULL, 100000000000ULL, 1000000000000ULL,
                                 10000000000000ULL, 100000000000000ULL, 1000000000000000ULL,
                                 10000000000000000ULL, 100000000000000000ULL};

constexpr double kPow10d[15] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14};

// The 16 significant digits of `v` (> 0) for decimal exponent `e` (v in
// [10^e, 10^(e+1)) is expected): round(v * 10^(15 - e)), exactly. False on an
// exact tie, which the slow path settles.
bool Digits16(double v, int e, uint64_t& digits) {
    int j = 15 - e;  // 0..16
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    // A normal double: v = m * 2^q exactly with the hidden bit restored.
    uint64_t m = (bits & ((1ULL << 52) - 1)) | (1ULL << 52);
    int q = static_cast<int>((bits >> 52) & 0x7FF) - 1075;
    unsigned __int128 a = static_cast<unsigned __int128>(m) * (kPow10[j] >> j);  // m * 5^j
    int shift = q + j;      // v * 10^j = a * 2^shift
    if (shift >= 0) {
        if (shift > 10) return false;  // far outside the range this is called for
        digits = static_cast<uint64_t>(a << shift);
        return true;
    }
    int s = -shift;
    if (s >= 120) return false;
    unsigned __int128 one = 1;
    unsigned __int128 rest = a & ((one << s) - 1);
    unsigned __int128 half = one << (s - 1);
    if (rest == half) return false;
    digits = static_cast<uint64_t>((a >> s) + (rest > half ? 1 : 0));
    return true;
}

}  // namespace

int FormatMIFNumber(double value, char* out) {
    double v = std::fabs(value);
    // Fixed notation covers [0.1, 1e16); leave its edges to the slow path.
    if (!(v >= 0.1 && v < 1e15)) return FormatGcvt(value, 16, out);
    // The decimal exponent by comparison with the exact powers 1, 10, ... 1e14.
    int e = -1;
    while (e < 14 && v >= kPow10d[e + 1]) ++e;
    uint64_t digits;
    if (!Digits16(v, e, digits)) return FormatGcvt(value, 16, out);
    // Rounding may carry into a 17th digit (9999999999999999.6 -> 10^16).
    if (digits >= kPow10[16]) {
        if (e == 15 || digits != kPow10[16]) {
            if (!Digits16(v, ++e, digits)) return FormatGcvt(value, 16, out);
        } else {
            digits = kPow10[15];
            ++e;
        }
    } else if (digits < kPow10[15]) {
        if (e == -1 || !Digits16(v, --e, digits)) return FormatGcvt(value, 16, out);
    }
    if (digits < kPow10[15] || digits >= kPow10[16] || e < -1 || e > 15) return FormatGcvt(value, 16, out);

    // Two digits at a time: the 16 digits are 8 pairs.
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    // The two 8-digit halves are independent, so their divisions overlap.
    char text[16];
    uint32_t hi = static_cast<uint32_t>(digits / 100000000), lo = static_cast<uint32_t>(digits % 100000000);
    for (int i = 6; i >= 0; i -= 2) {
        std::memcpy(text + i, kPairs + 2 * (hi % 100), 2);
        std::memcpy(text + 8 + i, kPairs + 2 * (lo % 100), 2);
        hi /= 100;
        lo /= 100;
    }
    int n = 16;
    while (n > 1 && text[n - 1] == '0') --n;
    char* p = out;
    if (value < 0) *p++ = '-';
    if (e == -1) {
        *p++ = '0';
        *p++ = '.';
        std::memcpy(p, text, static_cast<size_t>(n));
        p += n;
    } else {
        int whole = e + 1;
        for (int i = 0; i < whole; ++i) *p++ = i < n ? text[i] : '0';
        *p++ = '.';
        if (n > whole) {
            std::memcpy(p, text + whole, static_cast<size_t>(n - whole));
            p += n - whole;
        }
    }
    *p = '\0';
    return static_cast<int>(p - out);
}

}  // namespace tvk
