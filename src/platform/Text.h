// Small text helpers shared by the log writers.
#pragma once
#include <string>

namespace tvk {

// printf into a std::string (the C locale's number format is the caller's concern).
std::string StrFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The current local time formatted by strftime with the user's default time
// locale, switched on only around the call ("%X" time, "%x" date).
std::string FormatLocalTime(const char* strftimeFormat);

}  // namespace tvk
