#include "export/FieldText.h"

#include <charconv>
#include <cmath>

#include "platform/ByteScan.h"
#include "platform/Text.h"

namespace tvk {
namespace {

constexpr unsigned char kUndefined1251 = 0x98;

bool Unwritable(unsigned char c, bool tabAllowed) {
    return (c < 32 && !(tabAllowed && c == '\t')) || c == kUndefined1251;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Splits a plain decimal number into sign, whole digits and decimals.
bool SplitDecimal(std::string_view text, std::string_view& sign, std::string_view& whole, std::string_view& decimals) {
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    sign = text.substr(0, i);
    size_t start = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    whole = text.substr(start, i - start);
    decimals = {};
    if (i < text.size() && text[i] == '.') {
        start = ++i;
        while (i < text.size() && IsDigit(text[i])) ++i;
        decimals = text.substr(start, i - start);
    }
    return i == text.size() && (!whole.empty() || !decimals.empty());
}

// The number rounded to `keep` decimals, half away from zero.
std::string RoundDecimal(std::string_view sign, std::string_view whole, std::string_view decimals, size_t keep) {
    std::string digits = std::string(whole) + std::string(decimals.substr(0, keep));
    if (keep < decimals.size() && decimals[keep] >= '5') {
        size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
        if (i == 0) digits.insert(digits.begin(), '1');
        else ++digits[i - 1];
    }
    size_t wholeLength = digits.size() - keep;
    std::string out(sign);
    out += wholeLength ? digits.substr(0, wholeLength) : "0";
    if (keep) out += "." + digits.substr(wholeLength);
    return out;
}

}  // namespace

std::string_view ReplaceUnwritable(std::string_view text, bool tabAllowed, std::string& scratch,
                                   UnwritableCount& count) {
    size_t i = 0;
    while (i < text.size() && !Unwritable(static_cast<unsigned char>(text[i]), tabAllowed)) ++i;
    if (i == text.size()) return text;
    scratch.assign(text);
    for (; i < scratch.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(scratch[i]);
        if (!Unwritable(c, tabAllowed)) continue;
        ++(c == kUndefined1251 ? count.undefined : count.control);
        scratch[i] = ' ';
    }
    return scratch;
}

bool IsNonFiniteNumber(std::string_view text) {
    // Only an exponent, the letters of inf and nan or more than 308 digits
    // make one: a shorter value without letters (nearly every value) is not
    // converted.
    if (text.size() <= 308 && !MayHoldLetter(text)) return false;
    text = TrimmedView(text);
    if (!text.empty() && text[0] == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Out of range both ways: only a positive exponent overflows to infinity.
        const std::string_view read(text.data(), static_cast<size_t>(end - text.data()));
        const size_t e = read.find_first_of("eE");
        return e == std::string_view::npos || e + 1 >= read.size() || read[e + 1] != '-';
    }
    return error == std::errc() && !std::isfinite(value);
}

NumberFit FitNumber(std::string_view& text, size_t width, std::string& scratch) {
    if (IsNonFiniteNumber(text)) {
        text = {};
        return NumberFit::Empty;
    }
    if (text.size() <= width) return NumberFit::Fits;
    std::string_view trimmed = TrimmedView(text), sign, whole, decimals;
    if (trimmed.size() <= width) {
        text = trimmed;
        return NumberFit::Shortened;
    }
    if (!SplitDecimal(trimmed, sign, whole, decimals) || decimals.empty()) {
        text = {};
        return NumberFit::Empty;
    }
    // The most decimals the width leaves room for, then fewer when rounding
    // up lengthens the whole part (9.99 to 10.0).
    const size_t fixed = sign.size() + (whole.empty() ? 1 : whole.size());
    for (size_t keep = width > fixed + 1 ? width - fixed - 1 : 0;; --keep) {
        if (keep < decimals.size()) {
            scratch = RoundDecimal(sign, whole, decimals, keep);
            if (scratch.size() <= width) {
                const bool zeros = decimals.substr(keep).find_first_not_of('0') == std::string_view::npos;
                text = scratch;
                return zeros ? NumberFit::Shortened : NumberFit::Rounded;
            }
        }
        if (keep == 0) break;
    }
    text = {};
    return NumberFit::Empty;
}

bool IsWholeNumberOutside(std::string_view text, long long low, long long high) {
    text = TrimmedView(text);
    size_t i = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (i == text.size()) return false;
    for (size_t k = i; k < text.size(); ++k)
        if (!IsDigit(text[k])) return false;
    long long value = 0;
    const char* begin = text.data() + (text[0] == '+' ? 1 : 0);
    if (std::from_chars(begin, text.data() + text.size(), value).ec == std::errc::result_out_of_range)
        return true;  // beyond any 64-bit field
    return value < low || value > high;
}

}  // namespace tvk
