// Plane and space points of the units library.
#pragma once
#include "msr/Values.h"

namespace msr {

// A plane point: north first, then east. The writers cross their drawing
// axes over to it in one place, ToLibraryPoint in export/ExportModel.h.
class CPoint2d {
public:
    CPoint2d() = default;
    CPoint2d(double northValue, double eastValue) : north(northValue), east(eastValue) {}

    CNorth north;
    CEast east;
};

// A point with a height: north, east and elevation, in that order.
class CPoint3d {
public:
    CPoint3d() = default;
    CPoint3d(double northValue, double eastValue, double elevationValue)
        : north(northValue), east(eastValue), elevation(elevationValue) {}

    CNorth north;
    CEast east;
    CElevation elevation;
};

}  // namespace msr
