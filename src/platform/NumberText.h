// Number text in the exact form of the original C runtime's _gcvt.
#pragma once
#include <string>

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

}  // namespace tvk
