// Number texts of the units library, independent of the process locale
// (a host may switch LC_NUMERIC to a comma decimal separator).
#pragma once
#include <string>

namespace msr::detail {

// Contract: `value` with `precision` decimals (clamped to 0..40) in fixed
// notation with a decimal point; "-0.00" is written "0.00".
std::string FixedText(double value, int precision);

// Contract: FixedText written straight into `buffer` (kTextSize bytes,
// cut to fit); returns the buffer.
char* WriteFixed(double value, int precision, char* buffer);

// Contract: `value` formatted by `format`, a printf format with exactly one
// conversion of the form %[-+ 0#][width][.*|.digits](f|F|e|E|g|G) whose
// "*" takes `precision`; literal text and "%%" around it are kept. A null
// or any other format gives FixedText(value, precision).
std::string FormattedText(double value, int precision, const char* format);

// Contract: copies `text` into `buffer` (kTextSize bytes), cutting it to
// fit, and returns the buffer.
char* CopyText(const std::string& text, char* buffer);

// Contract: parses one number at `text`: an optional sign, digits with an
// optional point or comma, an optional exponent. Returns the characters
// used (0 when there is no number or it is not finite) and stores the
// value in `value`.
size_t ParseNumber(const char* text, double& value);

// Contract: the first character of `text` that is neither blank nor tab.
inline const char* SkipBlanks(const char* text) {
    while (*text == ' ' || *text == '\t') ++text;
    return text;
}

}  // namespace msr::detail
