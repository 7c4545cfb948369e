// A shortcut to the 16-digit _gcvt text for the numbers a survey drawing is
// made of: coordinates and offsets with at most three decimal places.
#pragma once

namespace tvk {

// Contract: when |value| is in [0.1, 1e12) and the decimal D of at most three
// places nearest to it converts back to exactly `value`, and doubles near
// `value` lie closer together than 16-digit decimals of D's decade (so D is
// the 16-digit rounding of `value`), writes the text of FormatGcvt(value, 16)
// into `out` (at least 32 bytes) and returns its length; otherwise returns 0
// and the caller takes the general way.
int FormatSurveyNumber(double value, char* out);

}  // namespace tvk
