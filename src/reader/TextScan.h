// Small text functions of the .tlx syntax: blank tests and keyword scanning.
// White space is the C space class (blank, \t, \n, \v, \f, \r).
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/Text.h"

namespace tvk {

// True when the text is null, empty or only white space.
bool IsBlank(const char* text);
bool IsBlank(std::string_view text);
// True when the text is empty or only "0" and white-space characters.
bool IsZeroText(const char* text);

// The columns from..to of the line as they stand (cut at the line's end).
std::string_view FieldView(std::string_view line, int from, int to);

// Sets `hits` to one entry per keyword of `table`: the position in `text` of
// its last occurrence found by the walk, or nullptr. At each non-blank
// character the keywords are tried in order; a match records the position and
// skips the keyword and one more character.
void ScanKeywords(std::string_view text, const std::vector<std::string>& table, std::vector<const char*>& hits);

// Skips leading white space and returns the position of the first keyword of
// `table` that the text starts with there, with its index in `index`; nullptr
// when only white space is left or nothing matches.
const char* MatchLeadingKeyword(std::string_view text, const std::vector<std::string>& table, int& index);

}  // namespace tvk
