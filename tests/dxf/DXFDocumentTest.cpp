// The DXF document as a whole: header, extents and limits, tables, sections.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "DXFTestSupport.h"
#include "platform/CodePage.h"

namespace tvk::testing {
namespace {

std::string CrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

class DXFDocument : public DXFExportTest {};

TEST_F(DXFDocument, EmptyDrawingBytes) {
    std::string dxf = Run("");
    const std::string head = CrLf(
        "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  9\n$DWGCODEPAGE\n  3\nANSI_1251\n"
        "  9\n$EXTMIN\n 10\n1.7e+308\n 20\n1.7e+308\n 30\n1.7e+308\n"
        "  9\n$EXTMAX\n 10\n-1.7e+308\n 20\n-1.7e+308\n 30\n-1.7e+308\n"
        "  9\n$LIMMIN\n 10\n1.7e+308\n 20\n1.7e+308\n"
        "  9\n$LIMMAX\n 10\n-1.7e+308\n 20\n-1.7e+308\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nTABLES\n"
        "  0\nTABLE\n  2\nLTYPE\n 70\n     3\n"
        "  0\nLTYPE\n  2\nCONTINUOUS\n 70\n     0\n  3\nSolid Line\n 72\n    65\n 73\n     0\n 40\n0.0\n"
        "  0\nLTYPE\n  2\nLTYPE01\n 70\n     0\n  3\ndot,short_space\n 72\n    65\n 73\n     2\n 40\n1.0\n"
        " 49\n0.0\n 49\n-1.0\n");
    ASSERT_GE(dxf.size(), head.size());
    EXPECT_EQ(dxf.substr(0, head.size()), head);
    const std::string tail = CrLf(
        "  0\nENDTAB\n"
        "  0\nTABLE\n  2\nLAYER\n 70\n     2\n"
        "  0\nLAYER\n  2\nNames\n  6\nCONTINUOUS\n 70\n     0\n 62\n   255\n"
        "  0\nLAYER\n  2\nElevations\n  6\nCONTINUOUS\n 70\n     0\n 62\n   255\n  0\nENDTAB\n"
        "  0\nTABLE\n  2\nSTYLE\n 70\n     0\n  0\nENDTAB\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nBLOCKS\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n");
    ASSERT_GE(dxf.size(), tail.size());
    EXPECT_EQ(dxf.substr(dxf.size() - tail.size()), tail);
}

TEST_F(DXFDocument, LineTypeTableHoldsSixteenTypesAsWritten) {
    auto groups = ParseGroups(Run(""));
    // The 16 rows: name, description, dash count, length, dashes.
    struct Row {
        const char* name;
        const char* description;
        const char* count;
        const char* length;
        std::vector<std::string> dashes;
    };
    const std::vector<Row> rows = {
        {"CONTINUOUS", "Solid Line", "     0", "0.0", {}},
        {"LTYPE01", "dot,short_space", "     2", "1.0", {"0.0", "-1.0"}},
        {"LTYPE02", "short_dash,short_space", "     2", "0.75", {"0.25", "-0.5"}},
        {"LTYPE03", "medium_dash,short_space", "     2", "1.0", {"0.5", "-0.5"}},
        {"LTYPE04", "large_dash,short_space", "     2", "1.25", {"0.75", "-0.5"}},
        {"LTYPE05", "huge_dash,short_space", "     2", "1.5", {"1.0", "-0.5"}},
        {"LTYPE06", "huge_dash,medium_space", "     2", "2.0", {"1.0", "-1.0"}},
        {"LTYPE07", "medium_dash,medium_space", "     2", "1.5", {"0.5", "-1.0"}},
        {"LTYPE08", "dot,medium_space", "     2", "1.5", {"0.0", "-1.5"}},
        {"LTYPE09", "medium_dash,huge_space", "     2", "2.0", {"0.5", "-1.5"}},
        {"LTYPE10", "large_dash,huge_space", "     2", "2.25", {"0.75", "-1.5"}},
        {"LTYPE11", "huge_dash,huge_space", "     2", "2.5", {"1.0", "-1.5"}},
        {"LTYPE12", "medium_dash,short_space,dot", "     4", "1.5", {"0.5", "-0.5", "0.0", "-0.5"}},
        {"LTYPE13", "medium_dash,short_space,double_dot", "     6", "2.0",
         {"0.5", "-0.5", "0.0", "-0.5", "0.0", "-0.5"}},
        {"LTYPE14", "medium_dash,short_space,triple_dot", "     8", "2.5",
         {"0.5", "-0.5", "0.0", "-0.5", "0.0", "-0.5", "0.0", "-0.5"}},
        {"LTYPE15", "medium_dash,medium_space,dot", "     4", "2.5", {"0.5", "-1.0", "0.0", "-1.0"}},
    };
    std::vector<Group> expected = {{0, "TABLE"}, {2, "LTYPE"}, {70, "     3"}};
    for (const Row& r : rows) {
        expected.insert(expected.end(), {{0, "LTYPE"}, {2, r.name}, {70, "     0"}, {3, r.description},
                                         {72, "    65"}, {73, r.count}, {40, r.length}});
        for (const auto& d : r.dashes) expected.push_back({49, d});
    }
    expected.push_back({0, "ENDTAB"});
    auto at = std::search(groups.begin(), groups.end(), expected.begin(), expected.end());
    EXPECT_NE(at, groups.end()) << "the LTYPE table differs";
}

TEST_F(DXFDocument, CodePageDeclarationCanBeLeftOut) {
    ReadTlx("");
    EXPECT_TRUE(writer->SetDeclareCodePage(false));
    std::string dxf = ExportDxf();
    const std::string head = CrLf("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  9\n$EXTMIN\n");
    EXPECT_EQ(dxf.substr(0, head.size()), head);
    EXPECT_EQ(dxf.find("DWGCODEPAGE"), std::string::npos);
    EXPECT_FALSE(writer->SetDeclareCodePage(true));
}

// The numbers of the header variables, by name: $EXTMIN -> {x, y, z}.
std::map<std::string, std::vector<double>> HeaderPoints(const std::vector<Group>& groups) {
    std::map<std::string, std::vector<double>> vars;
    std::string name;
    for (const Group& g : groups) {
        if (g.code == 0 && g.value == "ENDSEC") break;
        if (g.code == 9) name = g.value;
        else if (g.code == 10 || g.code == 20 || g.code == 30) vars[name].push_back(std::stod(g.value));
    }
    return vars;
}

TEST_F(DXFDocument, ExtentsOfPointsWithLimitsMargin) {
    CTlxText t;
    t.Begin("POINTS")
        .Point(1, "A", 0, "200.0", "100.0", "10.0")
        .Point(2, "B", 0, "1200.0", "600.0", "-5.5")
        .Point(3, "C", 0, "700.0", "300.0", "")  // no height: 0
        .End("POINTS");
    auto groups = ParseGroups(Run(t.Text()));
    std::vector<Group> expected = {
        {9, "$EXTMIN"}, {10, "100."},  {20, "200."},  {30, "-5.5"},
        {9, "$EXTMAX"}, {10, "600."},  {20, "1200."}, {30, "10."},
        // 0.1 % of the ranges 500 and 1000 beyond each side.
        {9, "$LIMMIN"}, {10, "99.5"}, {20, "199."},
        {9, "$LIMMAX"}, {10, "600.5"}, {20, "1201."}, {0, "ENDSEC"},
    };
    auto at = std::search(groups.begin(), groups.end(), expected.begin(), expected.end());
    EXPECT_NE(at, groups.end());
}

TEST_F(DXFDocument, ArcsAndCirclesWidenTheExtentsAtAnyDepth) {
    CTlxText t;
    t.Begin("POINTS")
        .Point(1, "A", 0, "200.0", "100.0", "10.0")
        .Point(2, "B", 0, "1200.0", "600.0", "-5.5")
        .Point(3, "C", 0, "700.0", "600.0", "1.0")
        .Point(4, "D", 0, "700.0", "-600.0", "1.0")
        .Point(5, "E", 0, "1300.0", "0.0", "1.0")
        .End("POINTS")
        .Begin("LAYERS").Layer(1, "Wells").End("LAYERS")
        .Begin("FEATURE_CODES").Code(40, 1, "W", "Well").End("FEATURE_CODES")
        .Begin("FEATURES")
        // A circle of radius 150 round point 2 reaches beyond every point.
        .Feature(10, "CIRC0", 40, "2", "150.0")
        // An arc inside a multiple inside a multiple: the circle through
        // C, D, E has its centre at (0, 700) and radius 600.
        .Feature(11, "MULTIPLE", 40, "1")
        .Feature(11, "MULTIPLE", 40, "1")
        .Feature(11, "ARC", 40, "3", "4", "5")
        .End("FEATURES");
    auto vars = HeaderPoints(ParseGroups(Run(t.Text())));
    const std::vector<double> min = {-600.0, 100.0, -5.5}, max = {750.0, 1350.0, 10.0};
    ASSERT_EQ(vars["$EXTMIN"].size(), 3u);
    ASSERT_EQ(vars["$EXTMAX"].size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(vars["$EXTMIN"][i], min[i], 1e-9) << i;
        EXPECT_NEAR(vars["$EXTMAX"][i], max[i], 1e-9) << i;
    }
    EXPECT_NEAR(vars["$LIMMIN"][0], -600.0 - 1.35, 1e-9);
    EXPECT_NEAR(vars["$LIMMAX"][1], 1350.0 + 1.25, 1e-9);
}

TEST_F(DXFDocument, RadiusPointOfACircleFarFromTheOriginStaysOutOfTheExtents) {
    CTlxText t;
    t.Begin("POINTS")
        .Point(1, "A", 0, "473100.0", "2194500.0", "150.0")
        .Point(2, "B", 0, "473200.0", "2194600.0", "151.0")
        .End("POINTS")
        .Begin("LAYERS").Layer(1, "Wells").End("LAYERS")
        .Begin("FEATURE_CODES").Code(40, 1, "W", "Well").End("FEATURE_CODES")
        .Begin("FEATURES").Feature(10, "CIRC0", 40, "1", "0.75").End("FEATURES");
    auto vars = HeaderPoints(ParseGroups(Run(t.Text())));
    const std::vector<double> min = {2194499.25, 473099.25, 0.0}, max = {2194600.0, 473200.0, 151.0};
    ASSERT_EQ(vars["$EXTMIN"].size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(vars["$EXTMIN"][i], min[i], 1e-6) << i;
        EXPECT_NEAR(vars["$EXTMAX"][i], max[i], 1e-6) << i;
    }
}

TEST_F(DXFDocument, LayerTableWithConvertedNamesAndTextLayers) {
    CTlxText t;
    t.Begin("POINTS").Point(1, "A", 0, "1.0", "2.0", "3.0").End("POINTS")
        .Begin("LAYERS")
        .Layer(1, "Road/1 (old)")
        .Layer(2, "Names")
        .Layer(3, "Names0")
        .Layer(4, Cp1251("Дороги"))
        .Layer(5, "ROADS")
        .Layer(6, "roads")
        .Layer(7, "Unused")
        .End("LAYERS")
        .Begin("FEATURE_CODES");
    for (int l = 1; l <= 7; ++l) t.Code(10 + l, l, "C" + std::to_string(l), "Code");
    t.End("FEATURE_CODES").Begin("FEATURES");
    for (int l = 1; l <= 6; ++l) t.Feature(100 + l, "POINT", 10 + l, "1");
    t.End("FEATURES");
    auto groups = ParseGroups(Run(t.Text()));
    std::vector<std::string> layers;
    std::string count;
    for (size_t i = 0; i + 1 < groups.size(); ++i) {
        if (groups[i].code == 2 && groups[i].value == "LAYER" && groups[i + 1].code == 70) count = groups[i + 1].value;
        if (groups[i].code == 0 && groups[i].value == "LAYER") layers.push_back(groups[i + 1].value);
    }
    // Six used layers, the control-point layer and the two text layers.
    EXPECT_EQ(count, "     9");
    const std::vector<std::string> expected = {"Road_1__old_", "Names", "Names0", Cp1251("Дороги"), "ROADS",
                                               "roads1", Cp1251("Точки_обоснования"), "Names1", "Elevations"};
    EXPECT_EQ(layers, expected);
    EXPECT_EQ(writer->GetNamesLayer(), "Names1");
}

// Reaches the two name passes that Read runs.
class NameWriter : public CDXFWriter {
public:
    std::vector<std::string> Convert(std::vector<std::string> names, std::vector<int> states) {
        LayerFileNames = std::move(names);
        LayerStates = std::move(states);
        ConvertLayerFileNames();
        ConvertLayerNames();
        return LayerFileNames;
    }
};

TEST(DXFLayerNames, LongNamesKeepTheirEndThenBecomeDistinctSymbolNames) {
    NameWriter w;
    const std::string longName = "Abcdefghijklmnopqrstuvwxyz0123456789-Z";  // 38 bytes
    auto names = w.Convert({longName, longName, "a b", "A_B", "x", std::string(40, 'q')}, {1, 2, 3, 4, -10, 6});
    EXPECT_EQ(names[0], longName.substr(0, 29) + "Z");
    EXPECT_EQ(names[1], longName.substr(0, 29) + "Z1");
    EXPECT_EQ(names[2], "a_b");
    EXPECT_EQ(names[3], "A_B1");  // the same layer as a_b for every DXF reader
    EXPECT_EQ(names[5], std::string(30, 'q'));
}

TEST_F(DXFDocument, StyleTableAndColourIndexes) {
    CTlxText t;
    t.Begin("POINTS").Point(1, "A", 0, "1.0", "2.0", "3.0").End("POINTS")
        .Begin("LAYERS").Layer(1, "Trees").End("LAYERS")
        .Begin("FEATURE_CODES").Code(30, 1, "T", "Tree").Code(31, 1, "P", "Pole").Code(32, 1, "F", "Fence")
        .End("FEATURE_CODES")
        .Begin("FEATURE_ATTRIBUTES")
        .Style(30, "/Symbol(35,\"MapInfo Symbols\",0,0,12,32768)")
        .Style(31, "/Pen(1,1,255)")
        .Style(32, "/Symbol(10,\"\",0,0,10,13107400) /Pen(3,2,16711680)")
        .End("FEATURE_ATTRIBUTES")
        .Begin("FEATURES").Feature(1, "POINT", 30, "1").Feature(2, "POINT", 32, "1").End("FEATURES");
    auto groups = ParseGroups(Run(t.Text()));
    std::vector<Group> expected = {
        {0, "TABLE"}, {2, "STYLE"}, {70, "     2"},
        {0, "STYLE"}, {2, "STYLE0"}, {70, "     0"}, {40, "0."}, {41, "1."}, {50, "0."}, {71, "     0"},
        {42, "2.5"},  {3, "MapInfo Symbols"}, {4, ""},
        {0, "STYLE"}, {2, "STYLE1"}, {70, "     0"}, {40, "0."}, {41, "1."}, {50, "0."}, {71, "     0"},
        {42, "2.5"},  {3, ""}, {4, ""}, {0, "ENDTAB"}};
    auto at = std::search(groups.begin(), groups.end(), expected.begin(), expected.end());
    EXPECT_NE(at, groups.end());

    auto entities = SectionEntities(groups, "ENTITIES");
    auto points = OfType(entities, "POINT");
    auto texts = OfType(entities, "TEXT");
    // Green 32768 is (0, 128, 0): nearest to index 94 (0, 127, 0).
    std::vector<std::string> symbolColours;
    for (const auto& p : points)
        if (Value(p, 8) == "Trees") symbolColours.push_back(Value(p, 62));
    ASSERT_EQ(symbolColours.size(), 2u);
    EXPECT_EQ(symbolColours[0], "    94");
    // The symbol of shape 10 (a line feed) is written as an empty text.
    bool emptySymbol = false;
    for (const auto& e : texts)
        if (Value(e, 7) == "STYLE1") emptySymbol = Value(e, 1).empty();
    EXPECT_TRUE(emptySymbol);
}

TEST_F(DXFDocument, NoBlocksSectionWithoutAttributesAndProgressRange) {
    CTlxText t;
    t.Begin("POINTS").Point(1, "A", 0, "1.0", "2.0", "3.0").Point(2, "B", 0, "4.0", "5.0", "6.0").End("POINTS");
    ReadTlx(t.Text());
    std::vector<std::pair<int, int>> ranges;
    int steps = 0;
    writer->OnProgressBegin = [&](int low, int high) { ranges.push_back({low, high}); };
    writer->OnProgressStep = [&](int delta) { steps += delta; };
    EXPECT_TRUE(writer->SetExportSemantic(false));
    std::string dxf = ExportDxf();
    EXPECT_EQ(dxf.find("BLOCKS"), std::string::npos);
    EXPECT_EQ(dxf.find("INSERT"), std::string::npos);
    ASSERT_FALSE(ranges.empty());
    EXPECT_EQ(ranges[0], std::make_pair(0, 2));
    EXPECT_EQ(steps, 2);

    ranges.clear();
    steps = 0;
    EXPECT_FALSE(writer->SetExportSemantic(true));
    dxf = ExportDxf();
    EXPECT_NE(dxf.find("BLOCKS"), std::string::npos);
    EXPECT_EQ(ranges[0], std::make_pair(0, 4));
    EXPECT_EQ(steps, 4);
}

TEST_F(DXFDocument, StopBetweenFeaturesDeletesThePartialFile) {
    CTlxText t;
    t.Begin("POINTS");
    for (int i = 1; i <= 50; ++i) t.Point(i, "P" + std::to_string(i), 0, std::to_string(i) + ".0", "1.0", "2.0");
    t.End("POINTS");
    ReadTlx(t.Text());
    int steps = 0;
    writer->OnProgressStep = [&](int) {
        if (++steps == 30) writer->TryToStop();
    };
    EXPECT_THROW(writer->Export("out.dxf", nullptr), CThreadStopSignal);
    EXPECT_EQ(fs.Contents("out.dxf"), nullptr);
    EXPECT_GE(steps, 30);
    EXPECT_LT(steps, 100);
}

// Fails once in the middle of the entities.
class FailingOnceWriter : public CDXFWriter {
public:
    void ExportFeature(CFeature* feature, int index) override {
        if (failNext) {
            failNext = false;
            throw std::runtime_error("broken feature");
        }
        CDXFWriter::ExportFeature(feature, index);
    }
    bool failNext = true;
};

TEST_F(DXFDocument, UnknownFailureDeletesItsFileButNotTheNextRunsFile) {
    CTlxText t;
    t.Begin("POINTS").Point(1, "A", 0, "1.0", "2.0", "3.0").End("POINTS");
    fs.Put("in.tlx", t.Text());
    FailingOnceWriter w;
    w.Init();
    w.Read("in.tlx", nullptr);
    EXPECT_THROW(w.Export("out.dxf", nullptr), std::runtime_error);
    EXPECT_EQ(fs.Contents("out.dxf"), nullptr);
    w.Export("out.dxf", nullptr);
    w.FreeExportData();
    ASSERT_NE(fs.Contents("out.dxf"), nullptr);
    const std::string& dxf = *fs.Contents("out.dxf");
    EXPECT_EQ(dxf.substr(dxf.size() - 10), "  0\r\nEOF\r\n");
}

TEST_F(DXFDocument, UnwritablePathFailsWithAFileExceptionAndLeavesNoFile) {
    ReadTlx("");
    SetFileSystem(nullptr);  // the real disk: a folder that does not exist
    const std::string path = "/nonexistent-folder-of-the-dxf-test/out.dxf";
    try {
        writer->Export(path.c_str(), nullptr);
        ADD_FAILURE() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_strFileName, path);
    }
    FileStatus status;
    EXPECT_FALSE(FileSystem().Status(path, status));
    writer->FreeExportData();
}

TEST_F(DXFDocument, FullDiskKeepsThePartialFileAndReportsTheFailure) {
    CTlxText t;
    t.Begin("POINTS");
    for (int i = 1; i <= 2000; ++i) t.Point(i, "P" + std::to_string(i), 0, std::to_string(i) + ".0", "1.0", "2.0");
    t.End("POINTS");
    ReadTlx(t.Text());
    fs.SetDiskLimit(50000);
    EXPECT_THROW(writer->Export("out.dxf", nullptr), CFileException);
    ASSERT_NE(fs.Contents("out.dxf"), nullptr);
    EXPECT_EQ(fs.Contents("out.dxf")->find("EOF"), std::string::npos);
}

}  // namespace
}  // namespace tvk::testing
