// The shapefile writer against memory: the bytes of a point set, the
// overwrite answers, one per set, and a table too wide for its header (what
// a stop, a cancel or a failure leaves: tests/export/AllOrNothingTest). The
// sets a run makes, with and without code page files, their shapes, field
// names and tables are checked by the read-back tests.
#include <gtest/gtest.h>

#include "export/OverwriteDecision.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"
#include "shp/SHPWriter.h"
#include "shp/ShapeFiles.h"
#include "support/TlxText.h"

using namespace tvk;
using namespace tvk::test;
using namespace shptest;

namespace {

// Buildings gets points and polygons, Roads a line; P2..P4 are tacheometry points.
std::string SiteTlx() {
    return Section("POINTS", PointLine(1, "ST1", "5000.000", "3000.000", "120.5") +
                                 PointLine(2, "P2", "5010.000", "3005.000", "121", 1) +
                                 PointLine(3, "P3", "5012.000", "2998.000", "", 1) +
                                 PointLine(4, "P4", "5001.500", "2990.250", "", 1)) +
           Section("LAYERS", LayerLine(1, 0, "Buildings") + LayerLine(2, 0, "Roads")) +
           Section("FEATURE_CODES", CodeLine(10, 1, "BLD", "Building") + CodeLine(20, 2, "RD", "Road")) +
           Section("FEATURE_PROPERTIES", PropertyLine(10, 1, "Material", "Char(20)")) +
           Section("FEATURES", FeatureLine(100, "POLYGON", 10, {4}) + VertexLine(1) + VertexLine(2) + VertexLine(3) +
                                   VertexLine(1) + FeatureLine(101, "POINT", 10, {4}) +
                                   FeatureLine(200, "LINE", 20, {2, 3}));
}

std::string Set(const std::string& layer, const char* suffix, const char* ext) { return "out/" + layer + suffix + ext; }
constexpr const char* kPoints = "(Точки)";
constexpr const char* kLines = "(Ломаные)";

struct ShpWriterTest : ::testing::Test {
    CMemoryFileSystem fs;
    CSHPWriter writer;
    std::vector<std::string> asked;
    std::vector<int> script;

    void SetUp() override {
        SetFileSystem(&fs);
        SetOverwriteQuestion({});
        fs.Put("in.tlx", SiteTlx());
        writer.Init();
        writer.Read("in.tlx", nullptr);
    }
    void TearDown() override {
        SetFileSystem(nullptr);
        SetOverwriteQuestion({});
    }
    void ExportAll() {
        writer.Export("out", nullptr);
        writer.FreeExportData();
    }
    std::string Bytes(const std::string& path) {
        const std::string* s = fs.Contents(path);
        EXPECT_NE(s, nullptr) << path;
        return s ? *s : std::string();
    }
    std::vector<std::string> OutputFiles(const std::string& prefix = "out/") {
        std::vector<std::string> names;
        for (const auto& [path, bytes] : fs.Files())
            if (path.starts_with(prefix)) names.push_back(path);
        return names;
    }
    // Answers the overwrite questions from `answers` (then No), recording the paths asked about.
    void Answer(std::vector<int> answers) {
        script = std::move(answers);
        asked.clear();
        SetOverwriteQuestion([this](const ExistingFileStatus&, const std::string& path) {
            asked.push_back(path);
            return asked.size() <= script.size() ? script[asked.size() - 1] : kAnswerNo;
        });
    }
};

TEST_F(ShpWriterTest, PointSetHeaderBoxRecordsAndIndex) {
    ExportAll();
    const std::string base = "Точки_тахеометрии";
    std::string shp = Bytes(Set(base, kPoints, ".SHP")), shx = Bytes(Set(base, kPoints, ".SHX"));
    const uint32_t k = 3;  // 28-byte records of 14 words, index entries of 4 words
    EXPECT_EQ(Big32(shp, 24), 50 + 14 * k);
    EXPECT_EQ(Big32(shx, 24), 50 + 4 * k);
    // Both carry the box: x east 2990.25..3005, y north 5001.5..5012.
    for (const std::string* f : {&shp, &shx}) {
        EXPECT_EQ(
            std::make_tuple(LittleDouble(*f, 36), LittleDouble(*f, 44), LittleDouble(*f, 52), LittleDouble(*f, 60)),
            std::make_tuple(2990.25, 5001.5, 3005.0, 5012.0));
        EXPECT_EQ(f->substr(68, 32), std::string(32, '\0'));
    }
    auto records = ParseRecords(shp);
    ASSERT_EQ(records.size(), k);
    EXPECT_EQ(std::tie(records[0].number, records[0].offsetWords), std::make_tuple(1u, 50u));
    EXPECT_EQ(std::tie(records[0].points[0].x, records[0].points[0].y), std::make_tuple(3005.0, 5010.0));
    EXPECT_EQ(shx.substr(100, 16), std::string("\0\0\0\x32\0\0\0\x0A\0\0\0\x40\0\0\0\x0A", 16));
}

TEST_F(ShpWriterTest, OneQuestionPerSetAboutItsFirstExistingFileAndTheAnswerHoldsForTheWholeSet) {
    const std::string dbf = Set("Buildings", kPoints, ".DBF");
    fs.Put(dbf, "old");  // only the table of the set is there
    Answer({kAnswerNo});
    ExportAll();
    EXPECT_EQ(asked, std::vector<std::string>{dbf});
    EXPECT_EQ(Bytes(dbf), "old");
    for (const char* ext : {".SHP", ".SHX", ".CPG"}) EXPECT_EQ(fs.Contents(Set("Buildings", kPoints, ext)), nullptr);
    EXPECT_EQ(OutputFiles("out/Buildings").size(), 5u);  // the polygon set and the kept table

    Answer({kAnswerYesToAll});
    ExportAll();
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(Big32(Bytes(Set("Buildings", kPoints, ".SHP")), 0), 9994u);
    EXPECT_EQ(Bytes(Set("Buildings", kPoints, ".CPG")), "1251");
    EXPECT_NE(Bytes(dbf), "old");
}

TEST_F(ShpWriterTest, ATableTooWideForItsHeaderIsAFileErrorNotACorruptFile) {
    std::string properties;
    for (int p = 1; p <= 300; ++p) properties += PropertyLine(10, p, "F" + std::to_string(p), "Char(254)");
    fs.Put("wide.tlx",
           Section("POINTS", PointLine(1, "A", "1", "2") + PointLine(2, "B", "3", "4", "", 1)) +
               Section("LAYERS", LayerLine(1, 0, "Wide")) + Section("FEATURE_CODES", CodeLine(10, 1, "W", "Wide")) +
               Section("FEATURE_PROPERTIES", properties) + Section("FEATURES", FeatureLine(100, "LINE", 10, {1, 2})));
    CSHPWriter wide;
    wide.Init();
    wide.Read("wide.tlx", nullptr);
    try {
        wide.Export("out", nullptr);
        FAIL() << "a record of 76217 bytes does not fit the table header";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_strFileName, Set("Wide", kLines, ".DBF"));
    }
}

}  // namespace
