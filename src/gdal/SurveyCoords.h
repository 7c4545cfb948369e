// The numbers of the survey's coordinate texts, as tvk::AtoF reads them, made
// faster for the plain decimals that nearly every survey point has.
#pragma once
#include <string_view>

namespace tlxgdal {

// tvk::AtoF of `text`, bit for bit: a plain decimal (an optional minus, at
// most 15 digits, an optional point followed by digits) is one division of
// two exact doubles, which rounds as the full conversion does; any other
// text goes to AtoF.
double CoordinateValue(std::string_view text);

}  // namespace tlxgdal
