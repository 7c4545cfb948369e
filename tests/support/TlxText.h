// Builders of .tlx text in its fixed columns, shared by every test program.
// Texts are placed as given (1251 bytes); wrap UTF-8 literals in tvk::Cp1251.
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace tvk::test {

using Field = std::pair<int, std::string>;

// `value` right-aligned in `width` columns.
inline std::string Right(int value, int width = 8) {
    std::string text = std::to_string(value);
    return std::string(text.size() < size_t(width) ? size_t(width) - text.size() : 0, ' ') + text;
}

// `value` right-aligned in the `width` columns starting at `column`.
inline Field Num(int column, int value, int width = 8) { return {column, Right(value, width)}; }

// One line with each text starting at its column (blanks in between), ended by "\n".
inline std::string Row(const std::vector<Field>& fields) {
    std::string line;
    for (const auto& [column, text] : fields) {
        if (line.size() < size_t(column)) line.resize(size_t(column), ' ');
        line.replace(size_t(column), text.size(), text);
    }
    return line + "\n";
}

inline std::string Section(const std::string& name, const std::string& body) {
    return "BEGIN " + name + "\n" + body + "END " + name + "\n";
}

// A number column (right-aligned in 8) or a text column of a line.
struct Cell {
    Cell(int value) : text(Right(value)) {}
    Cell(const char* value) : text(value) {}
    Cell(std::string value) : text(std::move(value)) {}
    std::string text;
};

// POINTS: number, name, X (north), Y (east), H, reference point (< 0: none), flags from column 85.
inline std::string PointLine(int number, const std::string& name, const std::string& x, const std::string& y,
                             const std::string& h = "", int ref = -1, const std::string& flags = "") {
    std::vector<Field> fields = {Num(0, number), {9, name}, {35, x}, {52, y}, {69, h}};
    if (ref >= 0) fields.push_back(Num(26, ref));
    if (!flags.empty()) fields.push_back({85, flags});
    return Row(fields);
}
// GDS_COORDS: point number, latitude, longitude.
inline std::string GeoLine(int number, const std::string& latitude, const std::string& longitude) {
    return Row({Num(0, number), {9, latitude}, {26, longitude}});
}
inline std::string LayerLine(int number, int parent, const std::string& name) {
    return Row({Num(0, number), Num(9, parent), {18, name}});
}
// An empty `name` ends the line before the name's columns, so the code has none.
inline std::string CodeLine(int number, int layer, const std::string& code, const std::string& name = "") {
    if (name.empty()) return Row({Num(0, number), Num(9, layer), {18, code}});
    return Row({Num(0, number), Num(9, layer), {18, code}, {27, name}});
}
// FEATURE_ATTRIBUTES: "/Pen(0,1,255) /Symbol(...)".
inline std::string StyleLine(int code, const std::string& styles) { return Row({Num(0, code), {9, styles}}); }
inline std::string PropertyLine(int code, int property, const std::string& name, const std::string& type) {
    return Row({Num(0, code), Num(9, property, 4), {14, name}, {31, type}});
}
// FEATURES head line: number, object word (with its options), code, then up to
// three columns from 35 (point numbers or texts such as a radius).
inline std::string FeatureLine(int number, const std::string& object, int code, const std::vector<Cell>& columns = {}) {
    std::vector<Field> fields = {Num(0, number), {9, object}, Num(26, code)};
    for (size_t i = 0; i < columns.size() && i < 3; ++i) fields.push_back({35 + 9 * int(i), columns[i].text});
    return Row(fields);
}
// A point of a POLYLINE/POLYGON body.
inline std::string VertexLine(int point) { return Right(point) + "\n"; }
inline std::string DataLine(int feature, int property, const std::string& value) {
    return Row({Num(0, feature), Num(9, property, 4), {14, value}});
}

// "\n" as CR LF, the way the writers' text files reach the disk.
inline std::string CrLf(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

}  // namespace tvk::test
