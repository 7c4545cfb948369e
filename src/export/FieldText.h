// Texts fitted to what an output format holds: bytes no reader takes inside a
// value, and numbers in a field of fixed width. Each function tells what it
// changed, so that the writers can count it.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace tvk {

// The bytes of a text that ReplaceUnwritable replaced.
struct UnwritableCount {
    size_t control = 0;    // bytes below 32
    size_t undefined = 0;  // 0x98, the one byte code page 1251 has no character for
    bool Any() const { return control || undefined; }
};

// Contract: `text` with every byte below 32 (but a tab when `tabAllowed`) and
// every 0x98 replaced by a blank, counted in `count`. Returns `text` itself
// when there is none, else a view of `scratch`, which holds the copy.
std::string_view ReplaceUnwritable(std::string_view text, bool tabAllowed, std::string& scratch,
                                   UnwritableCount& count);

// What FitNumber did.
enum class NumberFit {
    Fits,       // unchanged
    Shortened,  // trailing zero decimals dropped: the same number
    Rounded,    // decimals rounded away
    Empty,      // no form of it fits: written empty
};

// Contract: true when `text` reads as an infinity or NaN ("inf", "-nan",
// "1e309": what strtod-like readers such as GDAL turn into a non-finite number).
bool IsNonFiniteNumber(std::string_view text);

// Contract: fits a number's text into `width` characters. A text that reads as
// a non-finite number becomes the empty text. Another text that fits
// stays. A plain decimal number (optional sign, digits, optional point and
// digits) whose whole part fits keeps as many decimals as fit, rounded half
// away from zero, the point dropped with the last of them. Anything else
// becomes the empty text. `text` is set to the result, which may live in
// `scratch`.
NumberFit FitNumber(std::string_view& text, size_t width, std::string& scratch);

// Contract: true when `text` is a plain whole number (optional sign, digits,
// surrounding blanks) below `low` or above `high`.
bool IsWholeNumberOutside(std::string_view text, long long low, long long high);

}  // namespace tvk
