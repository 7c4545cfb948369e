// Written shapefile sets read back by third-party readers (pyshp, dbfread,
// GDAL, shapelib's shpdump) and compared with the model they came from.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/CodePage.h"
#include "shp/DBFTable.h"
#include "shp/SHPWriter.h"
#include "shp/TlxText.h"

using namespace tvk;
using namespace shptest;
namespace fs = std::filesystem;

namespace {

std::string Json(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        if (c == '"' || c == '\\') out += '\\', out += static_cast<char>(c);
        else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else out += static_cast<char>(c);
    }
    return out + "\"";
}

std::string Json(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

std::string JsonPoint(double x, double y) { return "[" + Json(x) + "," + Json(y) + "]"; }

using ExposedWriter = CSHPWriter;  // the model is public

// The circle through three points (x, y), from the textbook formula.
bool Circumcircle(const Coord3& a, const Coord3& b, const Coord3& c, double& cx, double& cy, double& r) {
    double bx = b.x - a.x, by = b.y - a.y, qx = c.x - a.x, qy = c.y - a.y;
    double d = 2 * (bx * qy - by * qx);
    if (std::fabs(d) < 1e-12) return false;
    double ux = (qy * (bx * bx + by * by) - by * (qx * qx + qy * qy)) / d;
    double uy = (bx * (qx * qx + qy * qy) - qx * (bx * bx + by * by)) / d;
    cx = a.x + ux;
    cy = a.y + uy;
    r = std::hypot(ux, uy);
    return true;
}

// The expectations of every set an export of `w` into `dir` must have written,
// derived from the model: one shape and one row per valid feature or part.
class Expectations {
public:
    Expectations(const ExposedWriter& w, const std::string& dir, bool cpg) : w_(w), dir_(dir), cpg_(cpg) {
        for (size_t i = 0; i < w.Features.size(); ++i)
            if (w.FeatureStates[i] != -10 && w.Features[i]) Add(*w.Features[i], i);
    }
    size_t SetCount() const { return sets_.size(); }
    size_t ShapeCount(int type) const {
        size_t n = 0;
        for (const auto& [key, s] : sets_)
            if (key.second == type) n += s.shapes.size();
        return n;
    }
    std::string ToJson() const {
        std::string out = "{\"sets\":[";
        bool first = true;
        for (const auto& [key, s] : sets_) {
            out += first ? "" : ",";
            first = false;
            out += "{\"base\":" + Json(s.base) + ",\"type\":" + std::to_string(key.second) +
                   ",\"cpg\":" + (cpg_ ? "true" : "false") + ",\"fields\":[" + Fields(key.first) + "],\"shapes\":[";
            for (size_t k = 0; k < s.shapes.size(); ++k) out += (k ? "," : "") + s.shapes[k];
            out += "],\"rows\":[";
            for (size_t k = 0; k < s.rows.size(); ++k) out += (k ? "," : "") + s.rows[k];
            out += "]}";
        }
        return out + "]}";
    }

private:
    struct Set {
        std::string base;
        std::vector<std::string> shapes, rows;
    };

    static DBFField FieldOf(const PropertyDef& d) {  // the table of the field types
        switch (d.Type) {
        case 1: return {"", 'N', 11, 0};
        case 2: return {"", 'N', 6, 0};
        case 3: return {"", 'N', static_cast<uint8_t>(std::clamp(d.Width, 1, 254)),
                        static_cast<uint8_t>(std::clamp(d.Precision, 0, 254))};
        case 4:
        case 5: return {"", 'F', 16, 8};
        default: return {"", 'C', static_cast<uint8_t>(std::clamp(d.Width, 1, 254)), 0};
        }
    }

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
        std::string out = "[";
        for (size_t c = 0; c < columns.size(); ++c) {
            int pos = c < map.size() ? map[c] : -10;
            const auto& values = w_.FeatureValues[index];
            out += c ? "," : "";
            if (pos < 0 || static_cast<size_t>(pos) >= values.size() || values[pos].IsNull()) {
                out += "null";
            } else {
                std::string text = values[pos].Str().substr(0, FieldOf(columns[c]).length);
                out += Json(Utf8From1251(text));
            }
        }
        return out + "]";
    }

    void Add(const CFeature& f, size_t index) {
        if (f.Kind == MULTIPLE) {
            for (const auto& p : static_cast<const CMultipleFeature&>(f).Parts) Add(*p, index);
            return;
        }
        const auto& list = static_cast<const CPointListFeature&>(f);
        auto pt = [&](size_t k) { return w_.PointCoords[list.Points[k]]; };
        std::string shape;
        int type = kShapePolyline;
        std::string points;
        for (size_t k = 0; k < list.Points.size(); ++k) points += (k ? "," : "") + JsonPoint(pt(k).x, pt(k).y);
        double cx, cy, r;
        switch (f.Kind) {
        case POINT:
            type = kShapePoint;
            shape = "{\"kind\":\"point\",\"points\":[" + points + "]}";
            break;
        case LINE:
        case POLYLINE:
            shape = "{\"kind\":\"line\",\"points\":[" + points + "]}";
            break;
        case POLYGON:
            type = kShapePolygon;
            shape = "{\"kind\":\"polygon\",\"points\":[" + points + "]}";
            break;
        case ARC:
            ASSERT_TRUE(Circumcircle(pt(0), pt(1), pt(2), cx, cy, r));
            shape = "{\"kind\":\"arc\",\"first\":" + JsonPoint(pt(0).x, pt(0).y) + ",\"last\":" +
                    JsonPoint(pt(2).x, pt(2).y) + ",\"centre\":" + JsonPoint(cx, cy) + ",\"radius\":" + Json(r) + "}";
            break;
        case CIRCLE:
            type = kShapePolygon;
            ASSERT_TRUE(Circumcircle(pt(0), pt(1), pt(2), cx, cy, r));
            shape = "{\"kind\":\"circle\",\"centre\":" + JsonPoint(cx, cy) + ",\"radius\":" + Json(r) + "}";
            break;
        default:
            FAIL() << "unexpected kind " << f.Kind;
        }
        const int code = w_.Features[index]->Code;
        const int layer = w_.FeatureCodes[code].Layer;
        Set& s = sets_[{layer, type}];
        if (s.base.empty()) {
            const char* suffix = type == kShapePoint ? "(Точки)" : type == kShapePolyline ? "(Ломаные)" : "(Полигоны)";
            s.base = dir_ + "/" + Utf8From1251(w_.LayerFileNames[layer]) + suffix;
        }
        s.shapes.push_back(shape);
        s.rows.push_back(Row(index, code, layer));
    }

    const ExposedWriter& w_;
    std::string dir_;
    bool cpg_;
    std::map<std::pair<int, int>, Set> sets_;
};

// Runs a command and returns its exit status with its output.
int RunCommand(const std::string& command, std::string& output) {
    output.clear();
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p) return -1;
    char buf[4096];
    while (size_t n = fread(buf, 1, sizeof buf, p)) output.append(buf, n);
    int status = pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const std::string kReadback = std::string("/usr/bin/python3 ") + TLX_SOURCE_DIR + "/tests/shp/readback.py ";

struct Readback : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tlx-shp-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        if (!HasFailure()) fs::remove_all(dir);
    }

    // Exports `input` into `out` and has every reader check every set.
    void ExportAndCheck(const std::string& input, const fs::path& out, bool cpg = true) {
        fs::create_directories(out);
        ExposedWriter w;
        w.Init();
        w.Read(input.c_str(), nullptr);
        w.WriteCodePageFiles(cpg);
        w.Export(out.c_str(), nullptr);
        w.FreeExportData();
        Expectations e(w, out.string(), cpg);
        ASSERT_GT(e.SetCount(), 0u) << input;
        std::ofstream(dir / "expect.json") << e.ToJson();
        std::string output;
        EXPECT_EQ(RunCommand(kReadback + (dir / "expect.json").string(), output), 0) << input << "\n" << output;
    }
};

// Every kind of feature: points, lines, polylines, polygons both ways round,
// arcs both ways round, all four circle forms, a nested MULTIPLE; Cyrillic
// layer, field names and values; every attribute type; widths to clamp.
std::string EveryKindTlx() {
    TlxText t;
    t.Raw("BEGIN POINTS");
    const char* xy[][2] = {{"6000000.000", "400000.000"}, {"6000010.000", "400000.000"}, {"6000010.000", "400010.000"},
                           {"6000000.000", "400010.000"}, {"6000005.000", "400005.000"}, {"6000020.125", "400003.5"},
                           {"6000030.000", "400020.000"}, {"6000025.000", "400030.000"}};
    for (int i = 0; i < 8; ++i) t.Point(i + 1, "т" + std::to_string(i + 1), i ? "1" : "", xy[i][0], xy[i][1], "100.5");
    t.Raw("END POINTS")
        .Raw("BEGIN LAYERS").Layer(1, "Здания и сооружения").Layer(2, "Дороги").Raw("END LAYERS")
        .Raw("BEGIN FEATURE_CODES")
        .Code(10, 1, "ЗД", "Жилое здание")
        .Code(11, 1, "КЛ", "Колодец")
        .Code(20, 2, "ДР", "Дорога")
        .Raw("END FEATURE_CODES")
        .Raw("BEGIN FEATURE_PROPERTIES")
        .Property(10, 1, "Материал стен", "Char(20)")
        .Property(10, 2, "Площадь", "Decimal(10,2)")
        .Property(10, 3, "Этажность", "Smallint")
        .Property(10, 4, "Материал крыши", "Char(300)")
        .Property(11, 1, "Глубина", "Float")
        .Property(11, 2, "Азимут", "Angular")
        .Property(11, 3, "Код", "Char(0)")
        .Property(20, 1, "Покрытие", "Char(8)")
        .Property(20, 2, "Полос", "Integer")
        .Raw("END FEATURE_PROPERTIES")
        .Raw("BEGIN FEATURES")
        .Head(100, "POLYGON", 10, "5").PointRef(1).PointRef(2).PointRef(3).PointRef(4).PointRef(1)  // one way
        .Head(101, "POLYGON", 10, "5").PointRef(1).PointRef(4).PointRef(3).PointRef(2).PointRef(1)  // the other
        .Head(102, "POINT", 11, "5")
        .Head(103, "CIRC0", 11, "5", "2.5")
        .Head(104, "CIRC1", 11, "5", "6")
        .Head(105, "CIRC2", 11, "6", "7")
        .Head(106, "CIRC3", 11, "6", "7", "8")
        .Head(107, "CIRC3", 11, "8", "7", "6")
        .Head(200, "LINE", 20, "1", "2")
        .Head(201, "POLYLINE", 20, "4").PointRef(1).PointRef(5).PointRef(6).PointRef(7)
        .Head(202, "ARC", 20, "6", "7", "8")
        .Head(203, "ARC", 20, "8", "7", "6")
        .Head(204, "MULTIPLE", 20, "3")
        .Head(1, "LINE", 20, "2", "3")
        .Head(2, "MULTIPLE", 20, "2")
        .Head(3, "ARC", 20, "1", "5", "2")
        .Head(4, "POLYLINE", 20, "2").PointRef(4).PointRef(8)
        .Head(5, "POLYGON", 20, "4").PointRef(5).PointRef(6).PointRef(7).PointRef(5)
        .Raw("END FEATURES")
        .Raw("BEGIN FEATURE_DATA")
        .Data(100, 1, "Кирпич силикатный, облицовка")  // longer than 20 bytes: cut
        .Data(100, 2, "1250.75")
        .Data(100, 3, "9")
        .Data(100, 4, std::string(300, 'x'))
        .Data(101, 1, "Панель")
        .Data(102, 1, "3.25")
        .Data(102, 2, "45.5")
        .Data(102, 3, "Лк")
        .Data(200, 1, "Асфальт")
        .Data(200, 2, "4")
        .Data(204, 1, "Щебень \"М\"")
        .Raw("END FEATURE_DATA");
    return t.Bytes();
}

TEST_F(Readback, EveryFeatureKindReadsBackInEveryReader) {
    std::ofstream(dir / "every.tlx", std::ios::binary) << EveryKindTlx();
    ExportAndCheck((dir / "every.tlx").string(), dir / "out");
}

TEST_F(Readback, WithoutCodePageFilesGdalCannotTellTheCyrillicNames) {
    std::ofstream(dir / "every.tlx", std::ios::binary) << EveryKindTlx();
    ExportAndCheck((dir / "every.tlx").string(), dir / "out", false);
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

TEST_F(Readback, DbfreadsStockNumberParserRefusesTheZeroPadding) {
    // Why the read-back gives dbfread a parser of its own: numeric values are
    // left-aligned and padded with zero bytes, as the table format of this
    // writer has always been.
    std::ofstream(dir / "every.tlx", std::ios::binary) << EveryKindTlx();
    fs::create_directories(dir / "out");
    ExposedWriter w;
    w.Init();
    w.Read((dir / "every.tlx").c_str(), nullptr);
    w.Export((dir / "out").c_str(), nullptr);
    w.FreeExportData();
    std::string output;
    const std::string table = (dir / "out" / "Здания_и_сооруже(Полигоны).DBF").string();
    ASSERT_TRUE(fs::exists(table));
    EXPECT_EQ(RunCommand(kReadback + "--stock-refuses '" + table + "'", output), 0) << output;
}

}  // namespace
