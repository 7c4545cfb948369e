#include "msr/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "msr/Values.h"

namespace msr::detail {
namespace {

constexpr int kMaxPrecision = 40;
constexpr int kMaxWidth = 128;

// Drops the sign of a text whose digits are all zero ("-0.00").
void DropNegativeZero(std::string& text) {
    if (text.size() > 1 && text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos) text.erase(0, 1);
}

std::string CharsText(double value, std::chars_format style, int precision) {
    // 309 integer digits, the point, the decimals and an exponent fit.
    char digits[400];
    auto result = std::to_chars(digits, digits + sizeof digits, value, style, precision);
    if (result.ec != std::errc()) return "0";
    return std::string(digits, result.ptr);
}

// One parsed conversion of a printf format.
struct Conversion {
    std::string before, after;
    bool left = false, plus = false, space = false, zero = false;
    int width = 0;
    int precision = -1;  // -1: from the argument; otherwise fixed
    char kind = 'f';
};

bool ParseFormat(const char* format, Conversion& conversion) {
    std::string* literal = &conversion.before;
    bool seen = false;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            literal->push_back(*p);
            continue;
        }
        if (p[1] == '%') {
            literal->push_back('%');
            ++p;
            continue;
        }
        if (seen) return false;
        seen = true;
        ++p;
        for (;; ++p) {
            if (*p == '-') conversion.left = true;
            else if (*p == '+') conversion.plus = true;
            else if (*p == ' ') conversion.space = true;
            else if (*p == '0') conversion.zero = true;
            else if (*p != '#') break;
        }
        while (*p >= '0' && *p <= '9') conversion.width = std::min(kMaxWidth, conversion.width * 10 + (*p++ - '0'));
        if (*p == '.') {
            ++p;
            if (*p == '*') {
                ++p;
            } else {
                conversion.precision = 0;
                while (*p >= '0' && *p <= '9')
                    conversion.precision = std::min(kMaxPrecision, conversion.precision * 10 + (*p++ - '0'));
            }
        } else {
            conversion.precision = 6;
        }
        if (!*p || !std::strchr("fFeEgG", *p)) return false;
        conversion.kind = *p;
        literal = &conversion.after;
    }
    return seen;
}

}  // namespace

char* WriteFixed(double value, int precision, char* buffer) {
    auto result = std::to_chars(buffer, buffer + kTextSize - 1, value, std::chars_format::fixed,
                                std::clamp(precision, 0, kMaxPrecision));
    if (result.ec != std::errc()) return CopyText(FixedText(value, precision), buffer);
    *result.ptr = '\0';
    if (buffer[0] == '-' && std::strspn(buffer + 1, "0.") == size_t(result.ptr - buffer - 1))
        std::memmove(buffer, buffer + 1, size_t(result.ptr - buffer));
    return buffer;
}

std::string FixedText(double value, int precision) {
    std::string text = CharsText(value, std::chars_format::fixed, std::clamp(precision, 0, kMaxPrecision));
    DropNegativeZero(text);
    return text;
}

std::string FormattedText(double value, int precision, const char* format) {
    Conversion conversion;
    if (!format || !ParseFormat(format, conversion)) return FixedText(value, precision);
    int digits = std::clamp(conversion.precision < 0 ? precision : conversion.precision, 0, kMaxPrecision);
    char kind = conversion.kind;
    std::chars_format style = (kind == 'e' || kind == 'E')   ? std::chars_format::scientific
                              : (kind == 'g' || kind == 'G') ? std::chars_format::general
                                                             : std::chars_format::fixed;
    std::string number = CharsText(value, style, digits);
    if (kind == 'E' || kind == 'G' || kind == 'F')
        std::transform(number.begin(), number.end(), number.begin(),
                       [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; });
    std::string sign;
    if (!number.empty() && number[0] == '-') {
        sign = "-";
        number.erase(0, 1);
    } else if (conversion.plus) {
        sign = "+";
    } else if (conversion.space) {
        sign = " ";
    }
    size_t length = sign.size() + number.size();
    size_t width = size_t(conversion.width);
    if (length < width) {
        bool finite = std::isfinite(value);
        if (conversion.left) number.append(width - length, ' ');
        else if (conversion.zero && finite) number.insert(0, width - length, '0');
        else sign.insert(0, width - length, ' ');
    }
    return conversion.before + sign + number + conversion.after;
}

char* CopyText(const std::string& text, char* buffer) {
    size_t length = std::min(text.size(), size_t(kTextSize - 1));
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return buffer;
}

size_t ParseNumber(const char* text, double& value) {
    // Copy the candidate characters so that a comma can become a point and a
    // leading '+' can be dropped for from_chars.
    char local[kTextSize];
    size_t used = 0, length = 0;
    bool tooLong = false;
    auto take = [&](char c) {
        if (length < sizeof local) local[length++] = c;
        else tooLong = true;
        ++used;
    };
    if (text[used] == '+') ++used;
    else if (text[used] == '-') take('-');
    size_t digits = 0;
    while (text[used] >= '0' && text[used] <= '9') take(text[used]), ++digits;
    if (text[used] == '.' || text[used] == ',') {
        take('.');
        while (text[used] >= '0' && text[used] <= '9') take(text[used]), ++digits;
    }
    if (digits == 0) return 0;
    if (text[used] == 'e' || text[used] == 'E') {
        size_t mark = used, markLength = length;
        take('e');
        if (text[used] == '+') ++used;
        else if (text[used] == '-') take('-');
        if (text[used] >= '0' && text[used] <= '9') {
            while (text[used] >= '0' && text[used] <= '9') take(text[used]);
        } else {
            used = mark;  // "12e" is the number 12 followed by "e"
            length = markLength;
        }
    }
    if (tooLong) return 0;
    double parsed = 0.0;
    auto result = std::from_chars(local, local + length, parsed);
    if (result.ec != std::errc() || !std::isfinite(parsed)) return 0;
    value = parsed;
    return used;
}

}  // namespace msr::detail
