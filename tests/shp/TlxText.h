// Builds .tlx survey files for the shapefile tests: each line is made of
// fields placed at their columns. Texts are given in UTF-8 and stored in 1251.
#pragma once
#include <initializer_list>
#include <string>
#include <utility>

#include "platform/CodePage.h"

namespace shptest {

class TlxText {
public:
    // One line with each text starting at its column.
    TlxText& Line(std::initializer_list<std::pair<int, std::string>> fields) {
        std::string line;
        for (const auto& [column, utf8] : fields) {
            std::string text = tvk::Cp1251(utf8);  // columns count 1251 bytes
            if (line.size() < static_cast<size_t>(column)) line.resize(column, ' ');
            line.replace(column, text.size(), text);
        }
        text_ += line + "\r\n";
        return *this;
    }
    TlxText& Raw(const std::string& utf8) {
        text_ += tvk::Cp1251(utf8) + "\r\n";
        return *this;
    }

    // POINTS line: number, name, reference point ("" for none), X (north), Y (east), H.
    TlxText& Point(int number, const std::string& name, const std::string& ref, const std::string& x,
                   const std::string& y, const std::string& h = "") {
        return Line({{0, std::to_string(number)}, {9, name}, {26, ref}, {35, x}, {52, y}, {69, h}});
    }
    // FEATURES head line: number, object word, code, up to three more columns.
    TlxText& Head(int number, const std::string& object, int code, const std::string& a = "",
                  const std::string& b = "", const std::string& c = "") {
        return Line({{0, std::to_string(number)}, {9, object}, {26, std::to_string(code)}, {35, a}, {44, b}, {53, c}});
    }
    TlxText& PointRef(int number) { return Line({{0, std::to_string(number)}}); }
    TlxText& Layer(int number, const std::string& name) { return Line({{0, std::to_string(number)}, {18, name}}); }
    TlxText& Code(int number, int layer, const std::string& code, const std::string& name) {
        return Line({{0, std::to_string(number)}, {9, std::to_string(layer)}, {18, code}, {27, name}});
    }
    TlxText& Property(int code, int number, const std::string& name, const std::string& type) {
        return Line({{0, std::to_string(code)}, {9, std::to_string(number)}, {14, name}, {31, type}});
    }
    TlxText& Data(int feature, int property, const std::string& value) {
        return Line({{0, std::to_string(feature)}, {9, std::to_string(property)}, {14, value}});
    }

    const std::string& Bytes() const { return text_; }

private:
    std::string text_;
};

}  // namespace shptest
