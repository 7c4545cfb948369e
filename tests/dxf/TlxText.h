// Builds .tlx exchange-file text in its fixed columns, for the DXF tests.
#pragma once
#include <string>

namespace tvk::testing {

class CTlxText {
public:
    CTlxText& Begin(const char* section) { text_ += std::string("BEGIN ") + section + "\n"; return *this; }
    CTlxText& End(const char* section) { text_ += std::string("END ") + section + "\n"; return *this; }

    // POINTS: number, name, reference point (0 = none), X north, Y east, H, flags.
    CTlxText& Point(int n, const std::string& name, int ref, const std::string& x, const std::string& y,
                    const std::string& h, const std::string& flags = "") {
        std::string line;
        Put(line, 0, Num(n));
        Put(line, 9, name);
        if (ref) Put(line, 26, Num(ref));
        Put(line, 35, x);
        Put(line, 52, y);
        Put(line, 69, h);
        if (!flags.empty()) Put(line, 85, flags);
        return Add(line);
    }
    CTlxText& Layer(int n, const std::string& name, int parent = 0) {
        std::string line;
        Put(line, 0, Num(n));
        Put(line, 9, Num(parent));
        Put(line, 18, name);
        return Add(line);
    }
    CTlxText& Code(int n, int layer, const std::string& code, const std::string& name) {
        std::string line;
        Put(line, 0, Num(n));
        Put(line, 9, Num(layer));
        Put(line, 18, code);
        Put(line, 27, name);
        return Add(line);
    }
    // FEATURE_ATTRIBUTES: "/Pen(0,1,255) /Symbol(...)".
    CTlxText& Style(int code, const std::string& styles) {
        std::string line;
        Put(line, 0, Num(code));
        Put(line, 9, styles);
        return Add(line);
    }
    CTlxText& Property(int code, int n, const std::string& name, const std::string& type) {
        std::string line;
        Put(line, 0, Num(code));
        Put(line, 9, Num(n, 4));
        Put(line, 14, name);
        Put(line, 31, type);
        return Add(line);
    }
    // FEATURES head line: number, object word, code, up to three number columns.
    CTlxText& Feature(int n, const std::string& object, int code, const std::string& a = "",
                      const std::string& b = "", const std::string& c = "") {
        std::string line;
        Put(line, 0, Num(n));
        Put(line, 9, object);
        Put(line, 26, Num(code));
        if (!a.empty()) Put(line, 35, a);
        if (!b.empty()) Put(line, 44, b);
        if (!c.empty()) Put(line, 53, c);
        return Add(line);
    }
    CTlxText& Vertex(int point) { return Add(Num(point)); }
    CTlxText& Data(int feature, int property, const std::string& value) {
        std::string line;
        Put(line, 0, Num(feature));
        Put(line, 9, Num(property, 4));
        Put(line, 14, value);
        return Add(line);
    }
    CTlxText& Raw(const std::string& line) { return Add(line); }

    const std::string& Text() const { return text_; }

    static std::string Num(int n, int width = 8) {
        std::string s = std::to_string(n);
        return s.size() < size_t(width) ? std::string(width - s.size(), ' ') + s : s;
    }

private:
    static void Put(std::string& line, size_t column, const std::string& text) {
        if (line.size() < column) line.resize(column, ' ');
        line.replace(column, std::min(text.size(), line.size() - column), text);
    }
    CTlxText& Add(const std::string& line) {
        text_ += line + "\n";
        return *this;
    }
    std::string text_;
};

}  // namespace tvk::testing
