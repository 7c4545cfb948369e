// The records of the survey model. Every number field that names another item
// holds the item's file number while the file is read and its slot after
// validation; -10 means none or left out.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "reader/IntMap.h"
#include "reader/ModelText.h"

namespace tvk {

// "None" / "left out" in every index field and state entry.
inline constexpr int kNone = -10;

// A line of the input file, counted from 1; 0 for no line.
using LineNo = int64_t;

// Whether `slot` names an entry of a table of `size` entries; kNone and every
// other negative value do not.
inline constexpr bool ValidSlot(int slot, size_t size) { return slot >= 0 && static_cast<size_t>(slot) < size; }
template <class Table>
constexpr bool ValidSlot(int slot, const Table& table) {
    return ValidSlot(slot, table.size());
}

// Property types of PropertyDef::Type.
enum tagPropertyType : int {
    PROP_CHAR = 0,
    PROP_INTEGER = 1,
    PROP_SMALLINT = 2,
    PROP_DECIMAL = 3,
    PROP_FLOAT = 4,
    PROP_ANGULAR = 5,
};

// One point (POINTS section). Coordinates stay texts; writers convert them.
struct PointRec {
    int RefPoint = kNone;   // reference point number / slot
    CText Name;             // columns 9-24
    CText X;                // northing, columns 35-50
    CText Y;                // easting, columns 52-67
    CText H;                // elevation, columns 69-84
    bool HControl = false;  // "/h"
    bool VControl = false;  // "/v"
    int Relief = 1;         // relief relation 0, 1 or 2
};

// Geodetic coordinates of the point in the same slot (GDS_COORDS section).
struct GeoCoordRec {
    CText Latitude;   // columns 9-24
    CText Longitude;  // columns 26-41
};

struct FeatureCodeRec {
    CText Code;         // columns 18-25
    CText Name;         // columns 27-42
    int Layer = kNone;  // layer number / slot
};

struct SymbolStyle {
    int Shape = 0;
    int Style = 0;
    int Size = 0;
    int Extra = 0;
    CText Font;
    int Color = 0;  // Windows RGB (red in the low byte)
};

struct PenStyle {
    int Pattern = 0;
    int Width = 0;
    int Color = 0;
};

struct BrushStyle {
    int Pattern = 0;
    int ForeColor = 0;
    int BackColor = 0;
};

// The drawing styles of the code in the same slot; each null when absent.
struct FeatureStyleRec {
    std::unique_ptr<SymbolStyle> Symbol;
    std::unique_ptr<PenStyle> Pen;
    std::unique_ptr<BrushStyle> Brush;
};

struct LayerRec {
    CText Name;          // columns 18-33
    int Parent = kNone;  // parent layer number / slot
};

struct PropertyDef {
    CText Name;
    int Type = PROP_CHAR;  // tagPropertyType
    int Width = 0;         // Char and Decimal only
    int Precision = 0;     // Decimal only
};

// The typed properties of the code in the same slot.
struct PropertySchema {
    CIntMap Map{17};                        // property number -> position
    std::vector<int> PropertyNumbers;       // by position; filled at validation
    std::vector<PropertyDef> PropertyDefs;  // by position, in order of first definition
};

// One FEATURE_DATA entry of a feature.
struct DataPair {
    int Property = kNone;  // property number / position in the schema
    CText Value;
    LineNo Line = 0;  // the FEATURE_DATA line
};

}  // namespace tvk
