// The survey that gen-tlx invents before writing it, as a .tlx file and as CSV.
// Coordinates are whole millimetres so both outputs are exact and reproducible.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace gentlx {

// A fixed text in both encodings: 1251 for the .tlx file, UTF-8 for CSV.
struct Text {
    std::string utf8;
    std::string cp1251;
};
Text MakeText(std::string utf8);  // throws when 1251 cannot hold the text

enum PointFlag : uint8_t { kHorizontal = 1, kVertical = 2, kRelief = 4 };

struct GenPoint {
    int64_t x = 0;  // northing, mm
    int64_t y = 0;  // easting, mm
    int64_t h = 0;  // elevation, mm
    int ref = -1;   // slot of the station (control point), -1 for a control point
    uint8_t flags = 0;
    bool hasH = true;
    bool geo = false;  // has a GDS_COORDS line
    uint8_t word = 0;  // name: 0 = the number itself, else an entry of the point words
};

enum class Kind { Point, Line, Polyline, Polygon, Arc, Circle, Multiple };
enum class Family { Point, Line, Area };

struct GenFeature {
    Kind kind = Kind::Point;
    int form = 0;             // circle form 0..3
    int code = 0;             // code slot
    std::vector<int> points;  // point slots (a polygon repeats its first one at the end)
    int64_t radius = 0;       // CIRC0 radius, mm
    bool smooth = false;
    int spline = 0;  // /splineN when > 0
    std::vector<GenFeature> parts;
};

struct GenProperty {
    Text name;
    int type;  // 0 Char, 1 Integer, 2 Smallint, 3 Decimal, 4 Float, 5 Angular
    int width;
    int precision;
    int vocabulary = 0;    // Char: which word list its values come from
    std::string typeText;  // as FEATURE_PROPERTIES writes it: Char(20), Decimal(10,2), Float
};

struct GenLayer {
    int number;
    int parent;
    Text name;
};

struct GenCode {
    int number;
    int layer;  // layer slot
    Family family;
    Text text;
    Text name;
    std::string styles;           // the FEATURE_ATTRIBUTES clauses, ASCII
    std::vector<int> properties;  // indexes into GeneratedSurvey::properties, numbered 1..n
};

struct GeneratedSurvey {
    uint64_t seed = 0;
    std::vector<GenPoint> points;  // point number = slot + 1
    std::vector<GenLayer> layers;
    std::vector<GenProperty> properties;
    std::vector<GenCode> codes;
    std::vector<GenFeature> features;  // feature number = slot + 1
    std::vector<Text> pointWords;
};

// One FEATURE_DATA entry; a property may appear twice, the last one counts.
struct DataValue {
    int property;  // 1-based property number of the feature's code
    std::string utf8;
    std::string cp1251;
};
// The values of feature `slot`, the same for every caller.
std::vector<DataValue> FeatureValues(const GeneratedSurvey& survey, int slot);

}  // namespace gentlx
