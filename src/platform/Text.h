// Small text helpers shared by the log writers.
#pragma once
#include <bit>
#include <string>
#include <string_view>

#include "platform/ByteScan.h"

namespace tvk {

// The C library's white-space class in the C locale: blank, \t, \n, \v, \f, \r.
inline bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The text without white space (IsCSpace) at both ends.
inline std::string_view TrimmedView(std::string_view text) {
    const char* b = text.data();
    const char* e = b + text.size();
    // Column files pad fields with long runs of blanks: skip them a word at a time.
    while (e - b >= 8) {
        const uint64_t nonBlanks = ~bytescan::BytesEqual(bytescan::LoadWord(e - 8), ' ') & bytescan::kHigh;
        e -= nonBlanks ? std::countl_zero(nonBlanks) / 8 : 8;
        if (nonBlanks) break;
    }
    while (e > b && IsCSpace(e[-1])) --e;
    while (e - b >= 8) {
        const uint64_t nonBlanks = ~bytescan::BytesEqual(bytescan::LoadWord(b), ' ') & bytescan::kHigh;
        b += nonBlanks ? std::countr_zero(nonBlanks) / 8 : 8;
        if (nonBlanks) break;
    }
    while (b < e && IsCSpace(*b)) ++b;
    // A blank text gives the empty view at its end, as trimming the front first does.
    if (b == e) return text.substr(text.size());
    return std::string_view(b, static_cast<size_t>(e - b));
}

// printf into a std::string (the C locale's number format is the caller's concern).
std::string StrFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The current local time formatted by strftime with the user's default time
// locale, switched on only around the call ("%X" time, "%x" date).
std::string FormatLocalTime(const char* strftimeFormat);

}  // namespace tvk
