// Coordinates of the export model: the value of a coordinate text and the
// 16-digit _gcvt text of a value. Every survey point needs three of each, so
// both take a fast exact path for plain decimal texts and fall back to the
// general functions (AtoF, FormatGcvt) otherwise, with identical results.
#pragma once
#include <cstddef>

namespace tvk {

// Contract: the same value as AtoF(text); `text` is NUL-terminated.
double CoordinateValue(const char* text);

// Contract: writes the same text as FormatGcvt(value, 16, out) and returns its
// length; `out` holds at least 40 bytes.
int FormatGcvt16(double value, char* out);

// Contract: the same as FormatGcvt16(value, out); `text`, when not null, is a
// text whose AtoF may be `value`, and its digits are used when they provably
// are the 16-digit rounding of `value`.
int FormatGcvt16(double value, const char* text, char* out);

}  // namespace tvk
