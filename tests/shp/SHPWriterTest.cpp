// The shapefile writer against memory: file sets, byte layouts, rings,
// tables, the overwrite answers, stop, cancel and a full disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "export/OverwriteDecision.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"
#include "shp/Bytes.h"
#include "shp/SHPWriter.h"
#include "shp/ShapeFiles.h"
#include "shp/TlxText.h"

using namespace tvk;
using namespace shptest;

namespace {

// Two layers: Buildings gets points and polygons (a counter-clockwise polygon
// and a circle), Roads gets lines (line, polyline, arc, a nested MULTIPLE).
std::string SiteTlx() {
    TlxText t;
    t.Raw("BEGIN POINTS")
        .Point(1, "ST1", "", "5000.000", "3000.000", "120.5")
        .Point(2, "P2", "1", "5010.000", "3005.000", "121")
        .Point(3, "P3", "1", "5012.000", "2998.000")
        .Point(4, "P4", "1", "5001.500", "2990.250")
        .Raw("END POINTS")
        .Raw("BEGIN LAYERS").Layer(1, "Buildings").Layer(2, "Roads").Raw("END LAYERS")
        .Raw("BEGIN FEATURE_CODES")
        .Code(10, 1, "BLD", "Здание")
        .Code(20, 2, "RD", "Road")
        .Raw("END FEATURE_CODES")
        .Raw("BEGIN FEATURE_PROPERTIES")
        .Property(10, 1, "Material", "Char(20)")
        .Property(10, 2, "Area", "Decimal(10,2)")
        .Property(20, 1, "Surface", "Char(5)")
        .Property(20, 2, "Lanes", "Integer")
        .Raw("END FEATURE_PROPERTIES")
        .Raw("BEGIN FEATURES")
        .Head(100, "POLYGON", 10, "4").PointRef(1).PointRef(2).PointRef(3).PointRef(1)
        .Head(101, "POINT", 10, "4")
        .Head(102, "CIRC3", 10, "1", "2", "3")
        .Head(200, "LINE", 20, "2", "3")
        .Head(201, "POLYLINE", 20, "3").PointRef(1).PointRef(2).PointRef(3)
        .Head(202, "ARC", 20, "1", "2", "3")
        .Head(203, "MULTIPLE", 20, "2")
        .Head(1, "LINE", 20, "1", "4")
        .Head(2, "MULTIPLE", 20, "2")
        .Head(3, "LINE", 20, "2", "4")
        .Head(4, "LINE", 20, "3", "4")
        .Raw("END FEATURES")
        .Raw("BEGIN FEATURE_DATA")
        .Data(100, 1, "Кирпич")
        .Data(100, 2, "250.75")
        .Data(200, 1, "Asphalt")
        .Data(200, 2, "2")
        .Raw("END FEATURE_DATA");
    return t.Bytes();
}

const std::string kOut = "out/";
std::string Set(const std::string& layer, const char* suffix, const char* ext) {
    return kOut + layer + suffix + ext;
}
constexpr const char* kPoints = "(Точки)";
constexpr const char* kLines = "(Ломаные)";
constexpr const char* kPolygons = "(Полигоны)";

// Records every Remove, so a test can see what the writer deleted.
class RecordingFileSystem : public CMemoryFileSystem {
public:
    bool Remove(const std::string& path) override {
        removed.push_back(path);
        return CMemoryFileSystem::Remove(path);
    }
    std::vector<std::string> removed;
};

struct ShpWriterTest : ::testing::Test {
    RecordingFileSystem fs;
    CSHPWriter writer;

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
    // One complete export, as a caller runs it.
    void ExportAll() {
        writer.Export("out", nullptr);
        writer.FreeExportData();
    }
    std::string Bytes(const std::string& path) {
        const std::string* s = fs.Contents(path);
        EXPECT_NE(s, nullptr) << path;
        return s ? *s : std::string();
    }
    std::vector<std::string> OutputFiles() {
        std::vector<std::string> names;
        for (const auto& [path, bytes] : fs.Files())
            if (path.rfind(kOut, 0) == 0) names.push_back(path);
        return names;
    }
    // Answers the overwrite question from a script, recording the paths asked
    // about (the hook is copied before each call: the script lives here).
    std::vector<std::string> asked;
    std::vector<int> script;
    void Answer(std::vector<int> answers) {
        script = std::move(answers);
        SetOverwriteQuestion([this](const ExistingFileStatus&, const std::string& path) {
            asked.push_back(path);
            return asked.size() <= script.size() ? script[asked.size() - 1] : kAnswerNo;
        });
    }
};

TEST_F(ShpWriterTest, LayerWithPointsAndPolygonsGetsSixFilesEightWithCodePages) {
    ExportAll();
    std::vector<std::string> buildings;
    for (const auto& f : OutputFiles())
        if (f.rfind(kOut + "Buildings", 0) == 0) buildings.push_back(f);
    std::vector<std::string> expected;
    for (const char* suffix : {kPoints, kPolygons})
        for (const char* ext : {".CPG", ".DBF", ".SHP", ".SHX"}) expected.push_back(Set("Buildings", suffix, ext));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(buildings, expected);
    EXPECT_EQ(Bytes(Set("Buildings", kPoints, ".CPG")), "1251");
    // Roads has lines only; the point layers have points only.
    EXPECT_NE(fs.Contents(Set("Roads", kLines, ".SHP")), nullptr);
    EXPECT_EQ(fs.Contents(Set("Roads", kPoints, ".SHP")), nullptr);
    EXPECT_EQ(fs.Contents(Set("Roads", kPolygons, ".SHP")), nullptr);
}

TEST_F(ShpWriterTest, CodePageFilesCanBeTurnedOff) {
    EXPECT_TRUE(writer.WriteCodePageFiles(false));
    ExportAll();
    for (const auto& f : OutputFiles()) EXPECT_EQ(f.find(".CPG"), std::string::npos) << f;
    size_t buildings = 0;
    for (const auto& f : OutputFiles()) buildings += f.rfind(kOut + "Buildings", 0) == 0;
    EXPECT_EQ(buildings, 6u);
}

TEST_F(ShpWriterTest, PointSetHeadersRecordsAndIndexHaveTheirBytes) {
    ExportAll();
    // The tacheometry points layer got points 2, 3 and 4.
    const std::string base = "Точки_тахеометрии";  // the layer's file name
    std::string shp = Bytes(Set(base, kPoints, ".SHP"));
    std::string shx = Bytes(Set(base, kPoints, ".SHX"));
    const uint32_t k = 3;
    ASSERT_EQ(shp.size(), 2 * (50 + 14 * k));
    ASSERT_EQ(shx.size(), 2 * (50 + 4 * k));
    EXPECT_EQ(Big32(shp, 0), 9994u);
    EXPECT_EQ(Big32(shp, 24), 50 + 14 * k);
    EXPECT_EQ(Big32(shx, 24), 50 + 4 * k);
    EXPECT_EQ(Little32(shp, 32), 1u);
    // Box: x east 2990.25..3005, y north 5001.5..5012; the index carries the same.
    for (const std::string* f : {&shp, &shx}) {
        EXPECT_EQ(LittleDouble(*f, 36), 2990.25);
        EXPECT_EQ(LittleDouble(*f, 44), 5001.5);
        EXPECT_EQ(LittleDouble(*f, 52), 3005.0);
        EXPECT_EQ(LittleDouble(*f, 60), 5012.0);
        EXPECT_EQ(f->substr(68, 32), std::string(32, '\0'));
    }
    auto records = ParseRecords(shp);
    ASSERT_EQ(records.size(), k);
    EXPECT_EQ(records[0].number, 1u);
    EXPECT_EQ(records[0].offsetWords, 50u);
    EXPECT_EQ(records[0].contentWords, 10u);
    EXPECT_EQ(records[0].points[0].x, 3005.0);
    EXPECT_EQ(records[0].points[0].y, 5010.0);
    for (uint32_t i = 0; i < k; ++i) {
        EXPECT_EQ(records[i].number, i + 1);
        EXPECT_EQ(Big32(shx, 100 + 8 * i), records[i].offsetWords);
        EXPECT_EQ(Big32(shx, 104 + 8 * i), 10u);
    }
}

TEST_F(ShpWriterTest, LinesArcsAndNestedPartsAreOneRecordEach) {
    ExportAll();
    std::string shp = Bytes(Set("Roads", kLines, ".SHP"));
    auto records = ParseRecords(shp);
    // LINE, POLYLINE, ARC, then the three LINE parts of the nested MULTIPLE.
    ASSERT_EQ(records.size(), 6u);
    EXPECT_EQ(Little32(shp, 32), 3u);
    for (const auto& r : records) {
        EXPECT_EQ(r.type, kShapePolyline);
        EXPECT_EQ(r.parts, std::vector<int32_t>{0});
        EXPECT_EQ(r.contentWords, (r.points.size() + 3) * 8);
        ShapeBox box;
        for (auto p : r.points) box.Extend(p);
        EXPECT_EQ(r.box.minX, box.minX);
        EXPECT_EQ(r.box.maxY, box.maxY);
    }
    EXPECT_EQ(records[0].contentWords, 40u);  // two points
    EXPECT_EQ(records[0].points[0].x, 3005.0);
    EXPECT_EQ(records[0].points[1].y, 5012.0);
    // The arc runs from its first point to its third through the trace.
    const auto& arc = records[2].points;
    ASSERT_GE(arc.size(), 3u);
    EXPECT_EQ(arc.front().x, 3000.0);
    EXPECT_EQ(arc.front().y, 5000.0);
    EXPECT_EQ(arc.back().x, 2998.0);
    EXPECT_EQ(arc.back().y, 5012.0);
    EXPECT_EQ(records[5].points[0].x, 2998.0);  // the last part: points 3 and 4
    // Header length equals the file; the index has one entry per record.
    EXPECT_EQ(Big32(shp, 24) * 2, shp.size());
    EXPECT_EQ(Bytes(Set("Roads", kLines, ".SHX")).size(), 100u + 8 * records.size());
}

TEST_F(ShpWriterTest, PolygonsAndCirclesAreWrittenClockwise) {
    ExportAll();
    auto records = ParseRecords(Bytes(Set("Buildings", kPolygons, ".SHP")));
    ASSERT_EQ(records.size(), 2u);
    // The survey gives 1, 2, 3, 1 counter-clockwise: written as 1, 3, 2, 1.
    const auto& ring = records[0].points;
    ASSERT_EQ(ring.size(), 4u);
    EXPECT_EQ(ring[1].x, 2998.0);
    EXPECT_EQ(ring[1].y, 5012.0);
    EXPECT_EQ(ring[2].x, 3005.0);
    EXPECT_EQ(ring[3].x, ring[0].x);
    EXPECT_LT(RingDoubleArea(ring.data(), ring.size()), 0.0);
    // The circle: the trace (72 points) and its first point again.
    const auto& circle = records[1].points;
    EXPECT_EQ(circle.size(), 73u);
    EXPECT_EQ(records[1].contentWords, (72u + 4) * 8);
    EXPECT_EQ(circle.front().x, circle.back().x);
    EXPECT_EQ(circle.front().y, circle.back().y);
    EXPECT_LT(RingDoubleArea(circle.data(), circle.size()), 0.0);
}

TEST_F(ShpWriterTest, TablesHoldOneRowPerRecordWithTheLayersColumns) {
    ExportAll();
    std::string dbf = Bytes(Set("Buildings", kPolygons, ".DBF"));
    // Columns: Описание C16, Material C20, Area N10.2.
    EXPECT_EQ(Little16(dbf, 8), 32 + 3 * 32 + 1);
    EXPECT_EQ(Little16(dbf, 10), 1 + 16 + 20 + 10);
    EXPECT_EQ(Little32(dbf, 4), 2u);
    ASSERT_EQ(dbf.size(), 129u + 2 * 47 + 1);
    EXPECT_EQ(dbf.back(), '\x1A');
    EXPECT_EQ(dbf.substr(32, 10), Cp1251("Описание") + std::string(2, '\0'));
    EXPECT_EQ(dbf[64 + 11], 'C');
    EXPECT_EQ(dbf[96 + 11], 'N');
    EXPECT_EQ(Byte(dbf, 96 + 16), 10u);
    EXPECT_EQ(Byte(dbf, 96 + 17), 2u);
    std::string row = dbf.substr(129, 47);
    EXPECT_EQ(row, " " + Cp1251("Здание") + std::string(10, '\0') + Cp1251("Кирпич") + std::string(14, '\0') +
                       "250.75" + std::string(4, '\0'));
    // The circle has no values but its description.
    EXPECT_EQ(dbf.substr(129 + 47 + 17, 30), std::string(30, '\0'));

    std::string roads = Bytes(Set("Roads", kLines, ".DBF"));
    EXPECT_EQ(Little32(roads, 4), 6u);
    const size_t header = Little16(roads, 8), length = Little16(roads, 10);
    EXPECT_EQ(length, 1u + 16 + 5 + 11);
    EXPECT_EQ(roads.substr(header + 17, 16), std::string("Aspha") + "2" + std::string(10, '\0'));
    // The parts of the MULTIPLE carry the MULTIPLE's row (description only).
    EXPECT_EQ(roads.substr(header + 3 * length, 5), " Road");
    EXPECT_EQ(roads.size(), header + 6 * length + 1);
}

TEST_F(ShpWriterTest, DuplicateFieldNamesOfTheControlPointTableAreNumbered) {
    ExportAll();
    std::string dbf = Bytes(Set("Точки_обоснования", kPoints, ".DBF"));
    std::vector<std::string> names;
    for (size_t at = 32; dbf[at] != 0x0D; at += 32) names.push_back(std::string(dbf.c_str() + at));
    ASSERT_EQ(names.size(), 7u);
    EXPECT_EQ(names[4], Cp1251("Тип коорди"));
    EXPECT_EQ(names[5], Cp1251("Тип коор_1"));
    EXPECT_EQ(names[6], Cp1251("Отношение "));
}

TEST_F(ShpWriterTest, OverwriteAnswersDecideFileByFile) {
    const std::string shp = Set("Buildings", kPoints, ".SHP"), shx = Set("Buildings", kPoints, ".SHX");
    const std::string dbf = Set("Buildings", kPoints, ".DBF"), cpg = Set("Buildings", kPoints, ".CPG");
    fs.Put(shp, "old shp");
    fs.Put(shx, "old shx");
    fs.Put(dbf, "old dbf");
    fs.Put(cpg, "old cpg");
    Answer({kAnswerNo, kAnswerYes, kAnswerNo});  // keep the SHP, write the SHX, keep the DBF
    ExportAll();
    EXPECT_EQ(asked, (std::vector<std::string>{shp, shx, dbf}));  // no table written: no CPG either
    EXPECT_EQ(Bytes(shp), "old shp");
    EXPECT_EQ(Big32(Bytes(shx), 0), 9994u);
    EXPECT_EQ(Bytes(dbf), "old dbf");
    EXPECT_EQ(Bytes(cpg), "old cpg");

    // The next run asks again; yes to all covers every later file of the run.
    asked.clear();
    Answer({kAnswerYesToAll});  // the first existing file is a set of the first run
    ExportAll();
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(Big32(Bytes(shp), 0), 9994u);
    EXPECT_EQ(Bytes(cpg), "1251");
}

TEST_F(ShpWriterTest, NoToAllCreatesAndChangesNothingMoreYetRunsToTheEnd) {
    ExportAll();
    fs.Put(Set("Roads", kLines, ".SHP"), "changed");
    fs.Remove(Set("Roads", kLines, ".DBF"));
    fs.Remove(Set("Buildings", kPolygons, ".SHX"));
    fs.Put(Set("Buildings", kPolygons, ".SHP"), "old");
    auto before = fs.Files();
    // The first existing file is Buildings' polygon SHP; its SHX does not exist.
    Answer({kAnswerYes, kAnswerNoToAll});
    ExportAll();
    EXPECT_EQ(asked, (std::vector<std::string>{Set("Buildings", kPolygons, ".SHP"), Set("Buildings", kPolygons, ".DBF")}));
    auto after = fs.Files();
    EXPECT_EQ(Big32(after.at(Set("Buildings", kPolygons, ".SHP")), 0), 9994u);  // answered Yes
    after.erase(Set("Buildings", kPolygons, ".SHP"));
    after.erase(Set("Buildings", kPolygons, ".SHX"));  // new before the answer
    before.erase(Set("Buildings", kPolygons, ".SHP"));
    EXPECT_TRUE(after == before);  // nothing else created or changed
}

TEST_F(ShpWriterTest, ARunAfterACancelledOneKeepsItsFiles) {
    fs.Put(Set("Roads", kLines, ".SHP"), "old");
    Answer({kAnswerCancel});
    EXPECT_THROW(writer.Export("out", nullptr), CUserBreakSignal);
    Answer({kAnswerYesToAll});
    ExportAll();
    EXPECT_EQ(OutputFiles().size(), 5u * 4);  // five sets of four files
}

TEST_F(ShpWriterTest, CancelDeletesEveryFileOfTheRunButNeverTheNullDevice) {
    fs.Put(Set("Roads", kLines, ".SHX"), "keep me");
    // Buildings' sets come first; Roads' SHP is new, its SHX exists: skip it, then cancel at the DBF.
    fs.Put(Set("Roads", kLines, ".DBF"), "old");
    Answer({kAnswerNo, kAnswerCancel});
    EXPECT_THROW(writer.Export("out", nullptr), CUserBreakSignal);
    auto files = OutputFiles();
    EXPECT_EQ(files, (std::vector<std::string>{Set("Roads", kLines, ".DBF"), Set("Roads", kLines, ".SHX")}));
    EXPECT_EQ(Bytes(Set("Roads", kLines, ".SHX")), "keep me");
    EXPECT_EQ(std::count(fs.removed.begin(), fs.removed.end(), std::string(kNullDevice)), 0);
    EXPECT_NE(std::find(fs.removed.begin(), fs.removed.end(), Set("Buildings", kPoints, ".CPG")), fs.removed.end());
}

TEST_F(ShpWriterTest, StopDeletesEveryFileOfTheRun) {
    int steps = 0;
    writer.OnProgressStep = [&](int) {
        if (++steps == 5) writer.TryToStop();
    };
    EXPECT_THROW(writer.Export("out", nullptr), CThreadStopSignal);
    EXPECT_TRUE(OutputFiles().empty());
    EXPECT_FALSE(fs.removed.empty());
}

TEST_F(ShpWriterTest, FullDiskKeepsThePartialFilesAndReportsTheFile) {
    fs.SetDiskLimit(400);  // bytes written from here on
    try {
        writer.Export("out", nullptr);
        writer.FreeExportData();
        FAIL() << "a full disk must not pass as success";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::diskFull);
        EXPECT_EQ(e.m_strFileName.rfind(kOut, 0), 0u) << e.m_strFileName;
    }
    EXPECT_FALSE(OutputFiles().empty());
    EXPECT_TRUE(fs.removed.empty());
}

}  // namespace

namespace {

// A writer whose table rows fail with an exception the driver does not know.
class FailingWriter : public CSHPWriter {
public:
    int rowsBeforeFailure = 3;
    using CSHPWriter::GetBigOrderInt;
    using CSHPWriter::WriteBigOrderInt;
    using CSHPWriter::WriteToFile;

protected:
    void WriteData(CFile* file, int index, int a, int b) override {
        if (rowsBeforeFailure-- == 0) throw std::runtime_error("no more rows");
        CSHPWriter::WriteData(file, index, a, b);
    }
};

TEST_F(ShpWriterTest, AnUnknownFailureDeletesEveryFileOfTheRun) {
    FailingWriter failing;
    failing.Init();
    failing.Read("in.tlx", nullptr);
    EXPECT_THROW(failing.Export("out", nullptr), std::runtime_error);
    EXPECT_TRUE(OutputFiles().empty());
}

TEST_F(ShpWriterTest, PositionedWritesAndBigEndianIntegers) {
    FailingWriter w;
    uint32_t bytes = 0;
    w.GetBigOrderInt(0x0000270Au, &bytes);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes), 4), std::string("\0\0\x27\x0A", 4));
    CFile file("out/x.bin", CFile::modeWrite | CFile::modeCreate);
    file.Write("abcdefgh", 8);
    w.WriteToFile(&file, 2, "XY", 2);
    EXPECT_EQ(file.GetPosition(), 8);  // back where it was
    w.WriteBigOrderInt(&file, 1);
    file.Close();
    EXPECT_EQ(Bytes("out/x.bin"), std::string("abXYefgh\0\0\0\x01", 12));
}

TEST_F(ShpWriterTest, ATableTooWideForItsHeaderIsAFileErrorNotACorruptFile) {
    TlxText t;
    t.Raw("BEGIN POINTS").Point(1, "A", "", "1", "2").Point(2, "B", "1", "3", "4").Raw("END POINTS");
    t.Raw("BEGIN LAYERS").Layer(1, "Wide").Raw("END LAYERS");
    t.Raw("BEGIN FEATURE_CODES").Code(10, 1, "W", "Wide").Raw("END FEATURE_CODES");
    t.Raw("BEGIN FEATURE_PROPERTIES");
    for (int p = 1; p <= 300; ++p) t.Property(10, p, "F" + std::to_string(p), "Char(254)");
    t.Raw("END FEATURE_PROPERTIES");
    t.Raw("BEGIN FEATURES").Head(100, "LINE", 10, "1", "2").Raw("END FEATURES");
    fs.Put("wide.tlx", t.Bytes());
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
