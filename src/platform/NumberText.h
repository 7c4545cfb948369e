// Number text in the exact form of the original C runtime's _gcvt.
#pragma once
#include <string>
#include <string_view>

namespace tvk {

// Contract: writes `value` with `digits` significant digits (1..40) into `out`
// (at least digits + 16 bytes) and returns the length. Fixed notation when the
// decimal exponent is in [-1, digits), with trailing zeros dropped and the point
// always kept ("12.", "0.5", "0."); otherwise "d.ddde+XXX" with three exponent
// digits ("5.e-002", "1.7e+308"). Digits are exactly rounded.
int FormatGcvt(double value, int digits, char* out);

// The same as a string.
std::string Gcvt(double value, int digits);

// atof / atoi with the C runtime's prefix semantics ("12abc" is 12, "abc" is 0),
// independent of the process locale.
double AtoF(const char* text);
int AtoI(const char* text);

// AtoF of `text` as the C string it holds, bit for bit: a plain decimal (an
// optional minus, at most 15 digits, an optional point followed by digits,
// nearly every coordinate of a survey) is one division of two exact doubles,
// which rounds as the full conversion does; any other text goes to AtoF.
double AtoF(std::string_view text);

}  // namespace tvk
