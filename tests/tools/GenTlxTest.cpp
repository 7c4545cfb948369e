// gen-tlx, the benchmarks' input: the same seed gives the same bytes, bad
// arguments are refused, the survey reads without errors and holds every kind
// of item, and GDAL finds the same points and objects in its CSV twin.
#include <set>

#include "ToolsTestUtil.h"

namespace {

using namespace tlxtest;

std::string Generate(const TempDir& dir, const std::string& name, int points, int seed, bool csv) {
    std::string path = dir / name;
    std::string out;
    int status = RunCommand(Quote(TLX_GEN_TLX) + " --points " + std::to_string(points) + " --seed " +
                                std::to_string(seed) + (csv ? " --csv " : " ") + Quote(path),
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

    EXPECT_EQ(RunCommand("diff -r " + Quote(dir / "a.csv") + " " + Quote(dir / "b.csv")), 0)
        << "same seed, different CSV";
}

TEST(GenTlx, RefusesBadArgumentsWithAReason) {
    TempDir dir;
    const std::string x = Quote(dir / "x.tlx");
    const struct {
        std::string args;
        int status;
        std::string says;
    } cases[] = {
        {"--points", 2, "--points needs a number"},
        {"--points -5 " + x, 2, ""},
        {"--layers 5 " + x, 2, "--layers needs a number from 12 to 30000"},
        {"--points 100 --features 100 " + x, 1, "too few"},
        {"--points 100 " + Quote(dir / "no-such-folder/x.tlx"), 1, "cannot create " + (dir / "no-such-folder/x.tlx")},
    };
    for (const auto& c : cases) {
        std::string out;
        EXPECT_EQ(RunCommand(Quote(TLX_GEN_TLX) + " " + c.args, &out), c.status) << c.args;
        EXPECT_NE(out.find(c.says), std::string::npos) << out;
    }
}

#ifdef TLX_HAVE_READER

TEST(GenTlx, SurveyReadsWithoutErrorsAndHoldsEveryKindOfItem) {
    TempDir dir;
    std::string path = Generate(dir, "s.tlx", 4000, 3, true);
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

    // The CSV twin that ogr2ogr exports in the benchmarks: every survey point
    // once, and one entity per point and per object (each part of a MULTIPLE).
    size_t objects = 0;
    for (const auto& f : r.Features) {
        auto* multiple = dynamic_cast<tvk::CMultipleFeature*>(f.get());
        objects += multiple ? multiple->Parts.size() : 1;
    }
    auto featureCount = [](const std::string& file) {
        std::string out;
        EXPECT_EQ(RunCommand("ogrinfo -ro -so -al " + Quote(file), &out), 0) << out;
        size_t at = out.find("Feature Count: ");
        return at == std::string::npos ? -1L : std::stol(out.substr(at + 15));
    };
    EXPECT_EQ(featureCount(dir / "s.csv/points.csv"), 4000);
    EXPECT_EQ(featureCount(dir / "s.csv/all.vrt"), long(4000 + objects));
}

#endif  // TLX_HAVE_READER

}  // namespace
