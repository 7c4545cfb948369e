#include "platform/NumberText.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace tvk {

int FormatGcvt(double value, int digits, char* out) {
    if (digits < 1) digits = 1;
    if (digits > 40) digits = 40;
    char* p = out;
    if (std::isnan(value)) { std::memcpy(out, "nan", 4); return 3; }
    if (std::signbit(value) && value != 0) { *p++ = '-'; value = -value; }
    if (std::isinf(value)) { std::memcpy(p, "inf", 4); return int(p - out) + 3; }
    if (value == 0) { std::memcpy(p, "0.", 3); return int(p - out) + 2; }

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
    *p = 0;
    return int(p - out);
}

std::string Gcvt(double value, int digits) {
    char buf[64];
    int n = FormatGcvt(value, digits, buf);
    return std::string(buf, n);
}

namespace {
bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
}

double AtoF(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (IsCSpace(*p)) ++p;
    bool neg = false;
    if (*p == '+' || *p == '-') { neg = *p == '-'; ++p; }
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

int AtoI(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (IsCSpace(*p)) ++p;
    bool neg = false;
    if (*p == '+' || *p == '-') { neg = *p == '-'; ++p; }
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
