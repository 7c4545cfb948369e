// The fixed columns of the .tlx line records, counted in bytes from 0 with
// both ends included. The reader and the generator of test surveys share
// this one table, so the two cannot drift apart.
#pragma once

namespace tvk::tlxcol {

struct Columns {
    int from;
    int to;
};

// Every record: the number of its item (point, code, layer or feature).
inline constexpr Columns kNumber{0, 7};

// POINTS
inline constexpr Columns kPointName{9, 24};
inline constexpr Columns kPointRef{26, 33};
inline constexpr Columns kPointX{35, 50};
inline constexpr Columns kPointY{52, 67};
inline constexpr Columns kPointH{69, 84};
inline constexpr int kPointFlagsFrom = 85;

// GDS_COORDS
inline constexpr Columns kLatitude{9, 24};
inline constexpr Columns kLongitude{26, 41};

// FEATURE_CODES
inline constexpr Columns kCodeLayer{9, 16};
inline constexpr Columns kCodeText{18, 25};
inline constexpr Columns kCodeName{27, 42};

// LAYERS
inline constexpr Columns kLayerParent{9, 16};
inline constexpr Columns kLayerName{18, 33};

// FEATURE_ATTRIBUTES: the style clauses from this column on.
inline constexpr int kStylesFrom = 8;

// FEATURE_PROPERTIES
inline constexpr Columns kPropertyNumber{9, 12};
inline constexpr Columns kPropertyName{14, 29};
inline constexpr Columns kPropertyType{31, 46};

// FEATURES head lines: the object word, the code, then up to three columns
// whose meaning depends on the object (points, a count, or a CIRC0 radius
// that takes the second and third column's room).
inline constexpr Columns kObjectWord{9, 24};
inline constexpr Columns kFeatureCode{26, 33};
inline constexpr Columns kFeatureColumns[3] = {{35, 42}, {44, 51}, {53, 60}};
inline constexpr Columns kRadius{44, 59};
inline constexpr int kLineOptionsFrom = 43;

// FEATURE_DATA: the property, then the value up to the end of the line.
inline constexpr Columns kDataProperty{9, 12};
inline constexpr int kDataValueFrom = 14;

}  // namespace tvk::tlxcol
