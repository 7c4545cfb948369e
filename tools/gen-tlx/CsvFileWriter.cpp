#include "CsvFileWriter.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "Geodesy.h"
#include "TextOut.h"

namespace gentlx {
namespace {

constexpr double kPi = 3.14159265358979323846;

void Quoted(CTextOut& out, std::string_view text) {
    out.Put('"');
    for (size_t start = 0;;) {
        size_t quote = text.find('"', start);
        out.Put(text.substr(start, quote == std::string_view::npos ? quote : quote - start));
        if (quote == std::string_view::npos) break;
        out.Put("\"\"");
        start = quote + 1;
    }
    out.Put('"');
}

// The column types GDAL reads from the .csvt file beside a CSV file.
void WriteTypes(const std::string& csvPath, const std::vector<std::string>& types) {
    std::ofstream f(csvPath + "t", std::ios::binary);
    for (size_t i = 0; i < types.size(); ++i) f << (i ? "," : "") << '"' << types[i] << '"';
    f << "\n";
    if (!f) throw std::runtime_error("cannot write " + csvPath + "t");
}

void Header(CTextOut& out, const std::vector<std::string>& names) {
    for (size_t i = 0; i < names.size(); ++i) {
        if (i) out.Put(',');
        Quoted(out, names[i]);
    }
    out.EndLine();
}

const char* ColumnType(int propertyType) {
    switch (propertyType) {
    case 1:
    case 2: return "Integer";
    case 3:
    case 4: return "Real";
    default: return "String";
    }
}

struct Plane {
    double e, n;
};

void Vertex(CTextOut& out, Plane p) {
    out.Millimetres(std::llround(p.e * 1000));
    out.Put(' ');
    out.Millimetres(std::llround(p.n * 1000));
}

enum GeometryClass { kPointClass, kLineClass, kPolygonClass };
const char* const kClassNames[] = {"point", "line", "polygon"};

GeometryClass ClassOf(const GenFeature& f) {
    return f.kind == Kind::Point ? kPointClass : f.kind == Kind::Polygon ? kPolygonClass : kLineClass;
}

}  // namespace

uint64_t CCsvFileWriter::Write(const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir + "/layers", ec);
    if (ec) throw std::runtime_error("cannot create " + dir + "/layers: " + ec.message());
    std::vector<std::string> tables;
    uint64_t bytes = WritePoints(dir);
    bytes += WritePointLayers(dir + "/layers", tables);
    bytes += WriteFeatureLayers(dir + "/layers", tables);
    WriteVrt(dir, tables);
    return bytes;
}

uint64_t CCsvFileWriter::WritePoints(const std::string& dir) {
    std::string path = dir + "/points.csv";
    CTextOut out(path, "\n");
    Header(out, {"WKT", "Number", "Name", "X", "Y", "H", "Lat", "Lon"});
    WriteTypes(path, {"WKT", "Integer", "String", "Real", "Real", "Real", "String", "String"});
    for (size_t i = 0; i < m_survey.points.size(); ++i) {
        const GenPoint& p = m_survey.points[i];
        out.Put("\"POINT (");
        Vertex(out, {p.y / 1000.0, p.x / 1000.0});
        out.Put(")\",");
        out.Integer(static_cast<int64_t>(i) + 1);
        out.Put(',');
        PointNameAndPlan(out, i, p);
        if (p.hasH) out.Millimetres(p.h);
        out.Put(',');
        if (p.geo) {
            out.Put(LatitudeText(p.x));
            out.Put(',');
            out.Put(LongitudeText(p.y));
        } else {
            out.Put(',');
        }
        out.EndLine();
    }
    uint64_t bytes = out.Bytes();
    out.Close();
    return bytes;
}

void CCsvFileWriter::PointNameAndPlan(CTextOut& out, size_t i, const GenPoint& p) const {
    if (p.word == 0) {  // a point named by its number
        out.Put('"');
        out.Integer(static_cast<int64_t>(i) + 1);
        out.Put('"');
    } else {
        Quoted(out, m_survey.pointWords[p.word].utf8);
    }
    out.Put(',');
    out.Millimetres(p.x);
    out.Put(',');
    out.Millimetres(p.y);
    out.Put(',');
}

uint64_t CCsvFileWriter::WritePointLayers(const std::string& dir, std::vector<std::string>& tables) {
    // the same two layers and columns the exporters make of the survey points
    const std::string control = "control_points", tacheometry = "tacheometry_points";
    CTextOut ctl(dir + "/" + control + ".csv", "\n"), tsp(dir + "/" + tacheometry + ".csv", "\n");
    Header(ctl,
           {"WKT", "Layer", "Точка", "X", "Y", "H", "Тип координат XY", "Тип координаты H", "Отношение к рельефу"});
    Header(tsp, {"WKT", "Layer", "Точка", "X", "Y", "H", "Отношение к рельефу"});
    WriteTypes(dir + "/" + control + ".csv",
               {"WKT", "String", "String", "Real", "Real", "Real", "String", "String", "String"});
    WriteTypes(dir + "/" + tacheometry + ".csv", {"WKT", "String", "String", "Real", "Real", "Real", "String"});
    for (size_t i = 0; i < m_survey.points.size(); ++i) {
        const GenPoint& p = m_survey.points[i];
        bool isControl = p.ref < 0;
        CTextOut& out = isControl ? ctl : tsp;
        out.Put("\"POINT Z (");
        Vertex(out, {p.y / 1000.0, p.x / 1000.0});
        out.Put(' ');
        out.Millimetres(p.hasH ? p.h : 0);
        out.Put(")\",");
        out.Put(isControl ? "\"Точки обоснования\"," : "\"Точки тахеометрии\",");
        PointNameAndPlan(out, i, p);
        out.Millimetres(p.hasH ? p.h : 0);
        if (isControl) out.Put((p.flags & kHorizontal) ? ",1" : ",0");
        if (isControl) out.Put((p.flags & kVertical) ? ",1" : ",0");
        out.Put((p.flags & kRelief) ? ",S" : p.hasH ? ",R" : ",N");
        out.EndLine();
    }
    uint64_t bytes = ctl.Bytes() + tsp.Bytes();
    ctl.Close();
    tsp.Close();
    tables.push_back(control);
    tables.push_back(tacheometry);
    return bytes;
}

uint64_t CCsvFileWriter::WriteFeatureLayers(const std::string& dir, std::vector<std::string>& tables) {
    std::vector<FeatureTable> tablesByKey = PlanFeatureTables();
    for (size_t key = 0; key < tablesByKey.size(); ++key)
        if (tablesByKey[key].used) OpenFeatureTable(tablesByKey[key], key, dir, tables);

    std::vector<const std::string*> cells;
    for (size_t i = 0; i < m_survey.features.size(); ++i) {
        const GenFeature& f = m_survey.features[i];
        const GenCode& code = m_survey.codes[f.code];
        std::vector<DataValue> values = FeatureValues(m_survey, static_cast<int>(i));
        auto writeRow = [&](const GenFeature& shape) {
            FeatureTable& t = tablesByKey[static_cast<size_t>(code.layer) * 3 + ClassOf(shape)];
            WriteFeatureRow(t, i, shape, values, cells);
        };
        if (f.parts.empty()) writeRow(f);
        for (const GenFeature& part : f.parts) writeRow(part);
    }
    uint64_t bytes = 0;
    for (FeatureTable& t : tablesByKey) {
        if (!t.out) continue;
        bytes += t.out->Bytes();
        t.out->Close();
    }
    return bytes;
}

std::vector<CCsvFileWriter::FeatureTable> CCsvFileWriter::PlanFeatureTables() const {
    const size_t layerCount = m_survey.layers.size();
    // which codes meet in each (layer, class) table, to give it their columns
    std::vector<std::vector<bool>> codesIn(layerCount * 3, std::vector<bool>(m_survey.codes.size()));
    for (const GenFeature& f : m_survey.features) {
        size_t layer = static_cast<size_t>(m_survey.codes[f.code].layer);
        if (f.parts.empty()) codesIn[layer * 3 + ClassOf(f)][f.code] = true;
        for (const GenFeature& part : f.parts) codesIn[layer * 3 + ClassOf(part)][f.code] = true;
    }
    std::vector<FeatureTable> tablesByKey(layerCount * 3);
    for (size_t key = 0; key < tablesByKey.size(); ++key) {
        FeatureTable& t = tablesByKey[key];
        t.columnOfPool.assign(m_survey.properties.size(), -1);
        for (size_t c = 0; c < m_survey.codes.size(); ++c) {
            if (!codesIn[key][c]) continue;
            t.used = true;
            for (int prop : m_survey.codes[c].properties) {
                if (t.columnOfPool[prop] >= 0) continue;
                t.columnOfPool[prop] = static_cast<int>(t.columns.size());
                t.columns.push_back(prop);
            }
        }
    }
    return tablesByKey;
}

void CCsvFileWriter::OpenFeatureTable(FeatureTable& t, size_t key, const std::string& dir,
                                      std::vector<std::string>& tables) const {
    const GenLayer& layer = m_survey.layers[key / 3];
    std::string name = "layer" + std::to_string(layer.number) + "_" + kClassNames[key % 3];
    std::string path = dir + "/" + name + ".csv";
    t.out = std::make_unique<CTextOut>(path, "\n");
    std::vector<std::string> names = {"WKT", "Layer", "Feature", "Code", "Описание"};
    std::vector<std::string> types = {"WKT", "String", "Integer", "String", "String"};
    for (int prop : t.columns) {
        names.push_back(m_survey.properties[prop].name.utf8);
        types.push_back(ColumnType(m_survey.properties[prop].type));
    }
    Header(*t.out, names);
    WriteTypes(path, types);
    tables.push_back(name);
}

void CCsvFileWriter::WriteFeatureRow(FeatureTable& t, size_t index, const GenFeature& shape,
                                     const std::vector<DataValue>& values,
                                     std::vector<const std::string*>& cells) const {
    const GenCode& code = m_survey.codes[m_survey.features[index].code];
    cells.assign(t.columns.size(), nullptr);
    for (const DataValue& v : values)  // in file order, so the last value wins
        cells[t.columnOfPool[code.properties[v.property - 1]]] = &v.utf8;
    CTextOut& out = *t.out;
    WriteGeometry(out, shape);
    out.Put(',');
    Quoted(out, m_survey.layers[code.layer].name.utf8);
    out.Put(',');
    out.Integer(static_cast<int64_t>(index) + 1);
    out.Put(',');
    Quoted(out, code.text.utf8);
    out.Put(',');
    Quoted(out, code.name.utf8);
    for (size_t c = 0; c < cells.size(); ++c) {
        out.Put(',');
        if (!cells[c]) continue;
        if (std::string(ColumnType(m_survey.properties[t.columns[c]].type)) == "String") Quoted(out, *cells[c]);
        else out.Put(*cells[c]);
    }
    out.EndLine();
}

void CCsvFileWriter::WriteGeometry(CTextOut& out, const GenFeature& f) const {
    auto at = [&](int slot) {
        const GenPoint& p = m_survey.points[slot];
        return Plane{p.y / 1000.0, p.x / 1000.0};
    };
    auto list = [&](const std::vector<Plane>& vertices) {
        for (size_t k = 0; k < vertices.size(); ++k) {
            if (k) out.Put(',');
            Vertex(out, vertices[k]);
        }
    };
    std::vector<Plane> v;
    switch (f.kind) {
    case Kind::Point:
        out.Put("\"POINT (");
        Vertex(out, at(f.points[0]));
        out.Put(")\"");
        return;
    case Kind::Polygon:
        for (int p : f.points) v.push_back(at(p));
        out.Put("\"POLYGON ((");
        list(v);
        out.Put("))\"");
        return;
    case Kind::Line:
    case Kind::Polyline:
        for (int p : f.points) v.push_back(at(p));
        break;
    case Kind::Arc:
    case Kind::Circle: {
        Plane centre{};
        double r = 0;
        if (f.kind == Kind::Circle && f.form == 0) {
            centre = at(f.points[0]);
            r = f.radius / 1000.0;
        } else if (f.kind == Kind::Circle && f.form == 1) {
            centre = at(f.points[0]);
            r = std::hypot(at(f.points[1]).e - centre.e, at(f.points[1]).n - centre.n);
        } else if (f.kind == Kind::Circle && f.form == 2) {
            Plane a = at(f.points[0]), b = at(f.points[1]);
            centre = {(a.e + b.e) / 2, (a.n + b.n) / 2};
            r = std::hypot(b.e - a.e, b.n - a.n) / 2;
        } else {  // through three points
            Plane a = at(f.points[0]), b = at(f.points[1]), c = at(f.points[2]);
            double d = 2 * (a.e * (b.n - c.n) + b.e * (c.n - a.n) + c.e * (a.n - b.n));
            double a2 = a.e * a.e + a.n * a.n, b2 = b.e * b.e + b.n * b.n, c2 = c.e * c.e + c.n * c.n;
            centre = {(a2 * (b.n - c.n) + b2 * (c.n - a.n) + c2 * (a.n - b.n)) / d,
                      (a2 * (c.e - b.e) + b2 * (a.e - c.e) + c2 * (b.e - a.e)) / d};
            r = std::hypot(a.e - centre.e, a.n - centre.n);
        }
        double from = 0, sweep = 2 * kPi;
        int segments = 36;
        if (f.kind == Kind::Arc) {
            auto angle = [&](Plane p) { return std::atan2(p.n - centre.n, p.e - centre.e); };
            auto ccw = [](double a, double b) { return std::fmod(b - a + 4 * kPi, 2 * kPi); };
            double a1 = angle(at(f.points[0])), a2 = angle(at(f.points[1])), a3 = angle(at(f.points[2]));
            from = a1;
            sweep = ccw(a1, a2) <= ccw(a1, a3) ? ccw(a1, a3) : -ccw(a3, a1);
            segments = 16;
        }
        for (int k = 0; k <= segments; ++k) {
            double t = from + sweep * k / segments;
            v.push_back({centre.e + r * std::cos(t), centre.n + r * std::sin(t)});
        }
        break;
    }
    case Kind::Multiple: return;
    }
    out.Put("\"LINESTRING (");
    list(v);
    out.Put(")\"");
}

void CCsvFileWriter::WriteVrt(const std::string& dir, const std::vector<std::string>& tables) const {
    std::ofstream f(dir + "/all.vrt", std::ios::binary);
    f << "<OGRVRTDataSource>\n  <OGRVRTUnionLayer name=\"entities\">\n";
    for (const std::string& t : tables)
        f << "    <OGRVRTLayer name=\"" << t << "\">\n      <SrcDataSource relativeToVRT=\"1\">layers/" << t
          << ".csv</SrcDataSource>\n    </OGRVRTLayer>\n";
    f << "    <FieldStrategy>Intersection</FieldStrategy>\n  </OGRVRTUnionLayer>\n</OGRVRTDataSource>\n";
    if (!f) throw std::runtime_error("cannot write " + dir + "/all.vrt");
}

}  // namespace gentlx
