// gen-tlx: the same seed gives the same bytes, bad arguments are refused, the
// survey reads without errors and holds every kind of item, and its CSV twin
// describes the same survey to GDAL.
#include <map>
#include <set>

#include "ToolsTestUtil.h"
#include "platform/CodePage.h"

namespace {

using namespace tlxtest;

std::string Generate(const TempDir& dir, const std::string& name, int points, int seed, bool csv) {
    std::string path = dir / name;
    std::string out;
    int status = RunCommand(Quote(TLX_GEN_TLX) + " --points " + std::to_string(points) + " --seed " + std::to_string(seed) +
                         (csv ? " --csv " : " ") + Quote(path),
                     &out);
    EXPECT_EQ(status, 0) << out;
    return path;
}

TEST(GenTlx, SameSeedGivesSameBytes) {
    TempDir dir;
    std::string a = Generate(dir, "a.tlx", 3000, 7, true);
    std::string b = Generate(dir, "b.tlx", 3000, 7, true);
    std::string c = Generate(dir, "c.tlx", 3000, 8, false);
    std::string bytes = ReadFile(a);
    EXPECT_GT(bytes.size(), 250000u);
    EXPECT_TRUE(bytes == ReadFile(b)) << "same seed, different .tlx";
    EXPECT_FALSE(bytes == ReadFile(c)) << "another seed, same .tlx";

    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir / "a.csv")) {
        if (!entry.is_regular_file()) continue;
        fs::path twin = fs::path(dir / "b.csv") / fs::relative(entry.path(), dir / "a.csv");
        EXPECT_TRUE(ReadFile(entry.path().string()) == ReadFile(twin.string())) << twin;
        ++files;
    }
    EXPECT_GT(files, 10);
}

TEST(GenTlx, RefusesBadArgumentsWithAReason) {
    TempDir dir;
    const std::string gen = Quote(TLX_GEN_TLX);
    std::string out;
    EXPECT_EQ(RunCommand(gen + " --points", &out), 2);
    EXPECT_NE(out.find("--points needs a number"), std::string::npos) << out;
    EXPECT_EQ(RunCommand(gen + " --points -5 " + Quote(dir / "x.tlx")), 2);
    out.clear();
    EXPECT_EQ(RunCommand(gen + " --layers 5 " + Quote(dir / "x.tlx"), &out), 2);
    EXPECT_NE(out.find("--layers needs a number from 12 to 30000"), std::string::npos) << out;

    out.clear();
    EXPECT_EQ(RunCommand(gen + " --points 100 --features 100 " + Quote(dir / "x.tlx"), &out), 1);
    EXPECT_NE(out.find("too few"), std::string::npos) << out;

    out.clear();
    std::string unwritable = dir / "no-such-folder/x.tlx";
    EXPECT_EQ(RunCommand(gen + " --points 100 " + Quote(unwritable), &out), 1);
    EXPECT_NE(out.find("cannot create " + unwritable), std::string::npos) << out;
}

#ifdef TLX_HAVE_READER

TEST(GenTlx, SurveyReadsWithoutErrorsAndHoldsEveryKindOfItem) {
    TempDir dir;
    std::string path = Generate(dir, "s.tlx", 4000, 3, false);
    std::string text = ReadFile(path);
    for (const char* word : {"CIRC0", "CIRC1", "CIRC2", "CIRC3", "MULTIPLE", " /smooth", " /spline", "/h", "/v", "/s"})
        EXPECT_NE(text.find(word), std::string::npos) << word;
    EXPECT_NE(text.find("\r\n"), std::string::npos);

    LoggingReader r;
    r.Init();
    r.Read(path.c_str(), nullptr);
    EXPECT_EQ(r.ErrorCount, 0) << r.log;
    EXPECT_EQ(r.Features.size(), 400u);

    int filePoints = 0;
    for (size_t i = 0; i < r.Points.size(); ++i) filePoints += r.PointStates[i] >= 1 && r.PointStates[i] <= 4000;
    EXPECT_EQ(filePoints, 4000);  // the rest are generated circle points
    std::set<int> kinds;
    for (size_t f = 0; f < r.Features.size(); ++f) {
        ASSERT_TRUE(r.Features[f]);
        EXPECT_NE(r.FeatureStates[f], tvk::kNone);
        kinds.insert(r.Features[f]->Kind);
        if (auto* multiple = dynamic_cast<tvk::CMultipleFeature*>(r.Features[f].get()))
            for (const auto& part : multiple->Parts) kinds.insert(part->Kind);
    }
    EXPECT_EQ(kinds, (std::set<int>{0, 1, 2, 3, 4, 5, 6}));

    std::set<int> types;
    for (const auto& schema : r.PropertySchemas)
        for (const auto& def : schema.PropertyDefs) types.insert(def.Type);
    EXPECT_EQ(types, (std::set<int>{0, 1, 2, 3, 4, 5}));

}

TEST(GenTlx, MoreLayersEachGetFeatureCodesAndFeatures) {
    TempDir dir;
    std::string path = dir / "layers.tlx", out;
    ASSERT_EQ(RunCommand(Quote(TLX_GEN_TLX) + " --points 20000 --layers 300 " + Quote(path), &out), 0) << out;
    LoggingReader r;
    r.Init();
    r.Read(path.c_str(), nullptr);
    EXPECT_EQ(r.ErrorCount, 0) << r.log;
    EXPECT_GE(r.Layers.size(), 300u);  // and "_UNDEF_" when the reader needs it
    EXPECT_LE(r.Layers.size(), 301u);
    EXPECT_EQ(r.FeatureCodes.size(), 48u + 3 * 288);
    std::set<int> used;
    for (const auto& feature : r.Features) used.insert(r.FeatureCodes[size_t(feature->Code)].Layer);
    EXPECT_GT(used.size(), 250u);
}

TEST(GenTlx, CsvTwinDescribesTheSameSurveyToGdal) {
    TempDir dir;
    std::string path = Generate(dir, "s.tlx", 3000, 5, true);
    LoggingReader r;
    r.Init();
    r.Read(path.c_str(), nullptr);
    ASSERT_EQ(r.ErrorCount, 0) << r.log;

    std::ofstream(dir / "count.py") << R"(
import csv, glob, os, sys
from osgeo import ogr
root = sys.argv[1]
entities = ogr.Open(os.path.join(root, "all.vrt"))  # the layer needs its data source alive
layer = entities.GetLayer(0)
total = empty = 0
for f in layer:
    total += 1
    g = f.GetGeometryRef()
    empty += g is None or g.IsEmpty()
print("entities", total, empty)
points = ogr.Open(os.path.join(root, "points.csv"))
print("points", points.GetLayer(0).GetFeatureCount())
for path in sorted(glob.glob(os.path.join(root, "layers", "layer*.csv"))):
    with open(path, newline="", encoding="utf-8") as fh:
        rows = csv.reader(fh)
        header = next(rows)
        for row in rows:
            print("row", row[2])
            for name, cell in zip(header[5:], row[5:]):
                if cell != "":
                    print("cell", row[2], name, cell, sep="\t")
)";
    std::string out;
    ASSERT_EQ(RunCommand("/usr/bin/python3 " + Quote(dir / "count.py") + " " + Quote(dir / "s.csv"), &out), 0) << out;

    size_t objects = 0;
    for (const auto& f : r.Features) {
        auto* multiple = dynamic_cast<tvk::CMultipleFeature*>(f.get());
        objects += multiple ? multiple->Parts.size() : 1;
    }
    // feature number -> property column -> value, all UTF-8
    std::map<int, std::map<std::string, std::string>> cells;
    size_t entities = 0, empty = 99, points = 0;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string word, feature, column, value;
        std::getline(fields, word, line.rfind("cell", 0) == 0 ? '\t' : ' ');
        if (word == "entities") fields >> entities >> empty;
        else if (word == "points") fields >> points;
        else if (word == "row") cells[std::stoi(line.substr(4))];
        else if (word == "cell" && std::getline(fields, feature, '\t') && std::getline(fields, column, '\t') &&
                 std::getline(fields, value))
            cells[std::stoi(feature)][column] = value;
    }
    EXPECT_EQ(points, 3000u);
    EXPECT_EQ(entities, 3000u + objects);
    EXPECT_EQ(empty, 0u);
    ASSERT_EQ(cells.size(), r.Features.size());
    int compared = 0;
    for (size_t f = 0; f < r.Features.size(); ++f) {
        const auto& schema = r.PropertySchemas[r.Features[f]->Code].PropertyDefs;
        const auto& row = cells[r.FeatureStates[f]];
        size_t present = 0;
        for (size_t p = 0; p < r.FeatureValues[f].size(); ++p) {
            if (!r.FeatureValues[f][p]) continue;
            ++present;
            auto cell = row.find(tvk::Utf8From1251(schema[p].Name.View()));
            ASSERT_NE(cell, row.end()) << "feature " << r.FeatureStates[f];
            EXPECT_EQ(cell->second, tvk::Utf8From1251(r.FeatureValues[f][p].View())) << "feature " << r.FeatureStates[f];
            ++compared;
        }
        EXPECT_EQ(row.size(), present) << "feature " << r.FeatureStates[f];
    }
    EXPECT_GT(compared, 500);
}

#endif  // TLX_HAVE_READER

}  // namespace
