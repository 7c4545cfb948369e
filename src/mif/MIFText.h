// The plain-text pieces of a MapInfo interchange file pair: numbers, names,
// the header with its column declarations, MID values. Everything appends to a
// std::string that the writer hands to a text-mode file in one call, so "\n"
// reaches the disk as CR LF.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tvk {

// Property types as the model numbers them.
enum MIFPropertyType : int {
    kTypeChar = 0,
    kTypeInteger = 1,
    kTypeSmallint = 2,
    kTypeDecimal = 3,
    kTypeFloat = 4,
    kTypeAngular = 5,
};

// One column of a layer's table, as the header declares it.
struct MIFColumn {
    const char* name;  // already converted with TLXToMIFName and made unique
    int type;          // MIFPropertyType
    int width;
    int precision;
};

// The drawing extents of one export: minimum and maximum of x and y.
struct MIFExtents {
    double minX = 1.7e308, minY = 1.7e308, maxX = -1.7e308, maxY = -1.7e308;

    // Widens the box so that it holds (x, y).
    void Add(double x, double y) {
        if (x < minX) minX = x;
        if (x > maxX) maxX = x;
        if (y < minY) minY = y;
        if (y > maxY) maxY = y;
    }
    bool IsEmpty() const { return minX > maxX || minY > maxY; }
};

// Contract: appends `value` in the interchange number format, _gcvt with 16
// significant digits ("100.", "0.5", "5.e-002").
void AppendMIFNumber(std::string& out, double value);

// Contract: appends `value` in decimal ("%d").
void AppendMIFInt(std::string& out, long long value);

// Contract: appends x, a blank and y in the number format.
void AppendMIFXY(std::string& out, double x, double y);

// The longest MapInfo name ConvertToMIFName leaves.
inline constexpr size_t kMIFNameLength = 32;

// Contract: converts a name in place into a MapInfo name and returns it: at
// most 32 characters, each one that is neither a 1251 letter or digit nor "_"
// becomes "_", and a leading digit becomes "_".
char* ConvertToMIFName(char* name);

// Contract: the column as it is declared, in what MapInfo accepts: a Char or
// Decimal width clamped into 1..254, a Decimal precision into 0..width - 1.
// The other types have neither.
MIFColumn DeclaredMIFColumn(const MIFColumn& column);

// Contract: appends one column declaration: tab, name, blank, type, line
// end, with the width and precision of DeclaredMIFColumn.
void AppendMIFColumn(std::string& out, const MIFColumn& column);

// Contract: appends the whole MIF header up to and including "Data": version,
// charset, coordinate system, the square Bounds around `extents` with 10 %
// margins, and the column declarations.
void AppendMIFHeader(std::string& out, const MIFExtents& extents, const std::vector<MIFColumn>& columns);

// Contract: appends one MID value followed by a tab. A null value is "?". A
// value holding a tab or a double quote is written in double quotes with its
// inner quotes doubled, so that it cannot shift the later columns; every other
// value is written as it is.
void AppendMIDValue(std::string& out, const char* value);
// Contract: the same for a value that is present.
void AppendMIDValue(std::string& out, std::string_view value);

}  // namespace tvk
