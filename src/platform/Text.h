// Small text helpers shared by the log writers.
#pragma once
#include <string>
#include <string_view>

namespace tvk {

// The C library's white-space class in the C locale: blank, \t, \n, \v, \f, \r.
inline bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The text without white space (IsCSpace) at both ends.
inline std::string_view TrimmedView(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && IsCSpace(text[b])) ++b;
    while (e > b && IsCSpace(text[e - 1])) --e;
    return text.substr(b, e - b);
}

// printf into a std::string (the C locale's number format is the caller's concern).
std::string StrFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The current local time formatted by strftime with the user's default time
// locale, switched on only around the call ("%X" time, "%x" date).
std::string FormatLocalTime(const char* strftimeFormat);

}  // namespace tvk
