// Written shapefile sets read back by third-party readers (pyshp, dbfread,
// GDAL, shapelib's shpdump) and compared with the model they came from.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "platform/CodePage.h"
#include "shp/DBFTable.h"
#include "shp/SHPWriter.h"
#include "support/Cli.h"
#include "support/TlxText.h"

using namespace tvk;
using namespace tvk::test;
namespace fs = std::filesystem;

namespace {

std::string Json(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        char buf[8];
        std::snprintf(buf, sizeof buf, c < 0x20 ? "\\u%04x" : c == '"' || c == '\\' ? "\\%c" : "%c", c);
        out += buf;
    }
    return out + "\"";
}

std::string Json(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

// What an export of `w` into `dir` must have written, derived from the model:
// per layer and shape type a set with its fields, and one shape (its kind and
// model points) and one row per valid feature or part.
class Expectations {
public:
    Expectations(const CSHPWriter& w, const std::string& dir, bool cpg) : w_(w), dir_(dir), cpg_(cpg) {
        for (size_t i = 0; i < w.Features.size(); ++i)
            if (w.FeatureStates[i] != -10 && w.Features[i]) Add(*w.Features[i], i);
    }
    size_t SetCount() const { return sets_.size(); }
    std::string ToJson() const {
        std::string out;
        for (const auto& [key, s] : sets_)
            out += std::string(out.empty() ? "" : ",") + "{\"base\":" + Json(s.base) +
                   ",\"type\":" + std::to_string(key.second) + ",\"cpg\":" + (cpg_ ? "true" : "false") +
                   ",\"fields\":[" + Fields(key.first) + "],\"shapes\":[" + s.shapes + "],\"rows\":[" + s.rows + "]}";
        return "{\"sets\":[" + out + "]}";
    }

private:
    struct Set {
        std::string base, shapes, rows;  // shapes and rows: JSON lists without brackets
    };

    static DBFField FieldOf(const PropertyDef& d) { return DBFFieldForColumn(d.Type, d.Width, d.Precision); }

    std::string Fields(int layer) const {
        const auto& columns = w_.LayerInfo.LayerColumns[layer];
        std::vector<std::string> names;
        for (const auto& d : columns) names.push_back(d.Name.c_str());
        names = DBFFieldNames(names);
        std::string out;
        for (size_t c = 0; c < columns.size(); ++c) {
            DBFField f = FieldOf(columns[c]);
            out += std::string(c ? "," : "") + "{\"name\":" + Json(Utf8From1251(names[c])) + ",\"type\":\"" + f.type +
                   "\",\"length\":" + std::to_string(f.length) + ",\"decimals\":" + std::to_string(f.decimals) + "}";
        }
        return out;
    }

    std::string Row(size_t index, int code, int layer) const {
        const auto& columns = w_.LayerInfo.LayerColumns[layer];
        const auto& map = w_.LayerInfo.ColumnMaps[layer][code];
        const auto& values = w_.FeatureValues[index];
        std::string out;
        for (size_t c = 0; c < columns.size(); ++c) {
            int pos = c < map.size() ? map[c] : -10;
            out += c ? "," : "";
            if (pos < 0 || static_cast<size_t>(pos) >= values.size() || values[pos].IsNull()) out += "null";
            else out += Json(Utf8From1251(values[pos].Str().substr(0, FieldOf(columns[c]).length)));
        }
        return "[" + out + "]";
    }

    void Add(const CFeature& f, size_t index) {
        if (f.Kind == MULTIPLE) {
            for (const auto& p : static_cast<const CMultipleFeature&>(f).Parts) Add(*p, index);
            return;
        }
        // Arcs and circles carry the three points their trace must pass by.
        static const std::map<int, std::pair<const char*, int>> kinds = {
            {POINT, {"point", kShapePoint}},      {LINE, {"line", kShapePolyline}},
            {POLYLINE, {"line", kShapePolyline}}, {POLYGON, {"polygon", kShapePolygon}},
            {ARC, {"arc", kShapePolyline}},       {CIRCLE, {"circle", kShapePolygon}}};
        ASSERT_TRUE(kinds.count(f.Kind)) << "unexpected kind " << f.Kind;
        const auto [kind, type] = kinds.at(f.Kind);
        std::string points;
        for (int slot : static_cast<const CPointListFeature&>(f).Points) {
            const Coord3& p = w_.PointCoords[slot];
            points += std::string(points.empty() ? "" : ",") + "[" + Json(p.x) + "," + Json(p.y) + "]";
        }
        const int code = w_.Features[index]->Code;
        const int layer = w_.FeatureCodes[code].Layer;
        Set& s = sets_[{layer, type}];
        if (s.base.empty()) {
            const char* suffix = type == kShapePoint ? "(Точки)" : type == kShapePolyline ? "(Ломаные)" : "(Полигоны)";
            s.base = dir_ + "/" + Utf8From1251(w_.LayerFileNames[layer]) + suffix;
        }
        s.shapes +=
            std::string(s.shapes.empty() ? "" : ",") + "{\"kind\":\"" + kind + "\",\"points\":[" + points + "]}";
        s.rows += (s.rows.empty() ? "" : ",") + Row(index, code, layer);
    }

    const CSHPWriter& w_;
    std::string dir_;
    bool cpg_;
    std::map<std::pair<int, int>, Set> sets_;
};

const std::string kReadback = "/usr/bin/python3 '" + std::string(TLX_SOURCE_DIR) + "/tests/shp/readback.py' ";

struct Readback : ::testing::Test {
    TempDir temp;
    fs::path dir = temp.Path();

    // Exports `input` into `out` and has every reader check every set.
    void ExportAndCheck(const std::string& input, const fs::path& out, bool cpg = true) {
        fs::create_directories(out);
        CSHPWriter w;
        w.Init();
        w.Read(input.c_str(), nullptr);
        w.WriteCodePageFiles(cpg);
        w.Export(out.c_str(), nullptr);
        w.FreeExportData();
        Expectations e(w, out.string(), cpg);
        ASSERT_GT(e.SetCount(), 0u) << input;
        WriteFile(dir / "expect.json", e.ToJson());
        CliRun run = RunShell(kReadback + "expect.json", dir);
        EXPECT_EQ(run.status, 0) << input << "\n" << run.out << run.err;
    }
};

// Every kind of feature: points, lines, polylines, polygons both ways round,
// arcs both ways round, all four circle forms, a nested MULTIPLE; Cyrillic
// layer, field names and values; every attribute type; widths to clamp.
std::string EveryKindTlx() {
    std::string points;
    const char* xy[][2] = {{"6000000.000", "400000.000"}, {"6000010.000", "400000.000"}, {"6000010.000", "400010.000"},
                           {"6000000.000", "400010.000"}, {"6000005.000", "400005.000"}, {"6000020.125", "400003.5"},
                           {"6000030.000", "400020.000"}, {"6000025.000", "400030.000"}};
    for (int i = 0; i < 8; ++i)
        points += PointLine(i + 1, Cp1251("т") + std::to_string(i + 1), xy[i][0], xy[i][1], "100.5", i ? 1 : -1);
    auto ring = [](std::initializer_list<int> pts) {
        std::string lines;
        for (int p : pts) lines += VertexLine(p);
        return lines;
    };
    auto u = [](const char* utf8) { return Cp1251(utf8); };
    return Section("POINTS", points) +
           Section("LAYERS", LayerLine(1, 0, u("Здания и сооружения")) + LayerLine(2, 0, u("Дороги"))) +
           Section("FEATURE_CODES", CodeLine(10, 1, u("ЗД"), u("Жилое здание")) +
                                        CodeLine(11, 1, u("КЛ"), u("Колодец")) +
                                        CodeLine(20, 2, u("ДР"), u("Дорога"))) +
           Section("FEATURE_PROPERTIES",
                   PropertyLine(10, 1, u("Материал стен"), "Char(20)") +
                       PropertyLine(10, 2, u("Площадь"), "Decimal(10,2)") +
                       PropertyLine(10, 3, u("Этажность"), "Smallint") +
                       PropertyLine(10, 4, u("Материал крыши"), "Char(300)") +
                       PropertyLine(11, 1, u("Глубина"), "Float") + PropertyLine(11, 2, u("Азимут"), "Angular") +
                       PropertyLine(11, 3, u("Код"), "Char(0)") + PropertyLine(20, 1, u("Покрытие"), "Char(8)") +
                       PropertyLine(20, 2, u("Полос"), "Integer")) +
           Section("FEATURES", FeatureLine(100, "POLYGON", 10, {5}) + ring({1, 2, 3, 4, 1}) +      // one way round
                                   FeatureLine(101, "POLYGON", 10, {5}) + ring({1, 4, 3, 2, 1}) +  // the other
                                   FeatureLine(102, "POINT", 11, {5}) + FeatureLine(103, "CIRC0", 11, {5, "2.5"}) +
                                   FeatureLine(104, "CIRC1", 11, {5, 6}) + FeatureLine(105, "CIRC2", 11, {6, 7}) +
                                   FeatureLine(106, "CIRC3", 11, {6, 7, 8}) + FeatureLine(107, "CIRC3", 11, {8, 7, 6}) +
                                   FeatureLine(200, "LINE", 20, {1, 2}) + FeatureLine(201, "POLYLINE", 20, {4}) +
                                   ring({1, 5, 6, 7}) + FeatureLine(202, "ARC", 20, {6, 7, 8}) +
                                   FeatureLine(203, "ARC", 20, {8, 7, 6}) + FeatureLine(204, "MULTIPLE", 20, {3}) +
                                   FeatureLine(1, "LINE", 20, {2, 3}) + FeatureLine(2, "MULTIPLE", 20, {2}) +
                                   FeatureLine(3, "ARC", 20, {1, 5, 2}) + FeatureLine(4, "POLYLINE", 20, {2}) +
                                   ring({4, 8}) + FeatureLine(5, "POLYGON", 20, {4}) + ring({5, 6, 7, 5})) +
           Section("FEATURE_DATA", DataLine(100, 1, u("Кирпич силикатный, облицовка")) +  // longer than 20 bytes: cut
                                       DataLine(100, 2, "1250.75") + DataLine(100, 3, "9") +
                                       DataLine(100, 4, std::string(300, 'x')) + DataLine(101, 1, u("Панель")) +
                                       DataLine(102, 1, "3.25") + DataLine(102, 2, "45.5") + DataLine(102, 3, u("Лк")) +
                                       DataLine(200, 1, u("Асфальт")) + DataLine(200, 2, "4") +
                                       DataLine(204, 1, u("Щебень \"М\"")));
}

// Without the .CPG files the read-back also proves GDAL garbles the Cyrillic names.
TEST_F(Readback, EveryFeatureKindReadsBackInEveryReaderWithAndWithoutCodePages) {
    std::ofstream(dir / "every.tlx", std::ios::binary) << EveryKindTlx();
    ExportAndCheck((dir / "every.tlx").string(), dir / "out");
    ExportAndCheck((dir / "every.tlx").string(), dir / "plain", false);
}

TEST_F(Readback, EverySampleReadsBackInEveryReader) {
    int samples = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(TLX_SOURCE_DIR) / "samples")) {
        if (entry.path().extension() != ".tlx") continue;
        ++samples;
        SCOPED_TRACE(entry.path().string());
        ExportAndCheck(entry.path().string(), dir / entry.path().stem());
    }
    EXPECT_GT(samples, 0);
}

}  // namespace
