// The MapInfo writer over real surveys: exact file texts, every object kind
// and style, MID rows, GDAL read-back and extents (what a stop or a failure
// leaves: tests/export/AllOrNothingTest).
#include <gtest/gtest.h>

#include "export/OverwriteDecision.h"
#include "mif/MIFTestUtil.h"

namespace tvk::test {
namespace {

// Two control points and one road from one to the other.
std::string SmallSurvey() {
    return Section("POINTS", PointLine(1, "A", "0", "0") + PointLine(2, "B", "1000", "800")) +
           Section("LAYERS", LayerLine(1, 0, "Roads")) + Section("FEATURE_CODES", CodeLine(20, 1, "RD", "Road")) +
           Section("FEATURE_ATTRIBUTES", Row({Num(0, 20), {9, "/Pen(1,3,255)"}})) +
           Section("FEATURE_PROPERTIES", PropertyLine(20, 1, "Name", "Char(20)")) +
           Section("FEATURES", FeatureLine(100, "LINE", 20, {1, 2})) +
           Section("FEATURE_DATA", DataLine(100, 1, "Main st"));
}

// Every feature kind and style. Survey points lie in north 5000..5100 and
// east 3000..3100; the CIRC0 radius point sits at (7, 7).
std::string EveryKindSurvey() {
    std::string points =
        PointLine(1, "ST1", "5000", "3000", "120.5", -1, "/h /v") + PointLine(2, "ST2", "5100", "3100", "121");
    const char* coords[][2] = {{"5010", "3010"}, {"5020", "3010"}, {"5020", "3020"}, {"5010", "3020"},
                               {"5030", "3030"}, {"5040", "3040"}, {"5030", "3050"}, {"5050", "3050"},
                               {"5055", "3050"}, {"5060", "3060"}};
    for (int i = 0; i < 10; ++i)
        points += PointLine(3 + i, "P" + std::to_string(3 + i), coords[i][0], coords[i][1], "", 1);
    auto pointRow = [](int p) { return VertexLine(p); };
    std::string features = FeatureLine(100, "POLYGON", 10, {5}) + pointRow(3) + pointRow(4) + pointRow(5) +
                           pointRow(6) + pointRow(3) + FeatureLine(101, "POLYGON", 11, {4}) + pointRow(3) +
                           pointRow(4) + pointRow(5) + pointRow(3) + FeatureLine(200, "LINE", 20, {7, 8}) +
                           Row({Num(0, 201), {9, "POLYLINE"}, Num(26, 21), Num(35, 3), {43, "/smooth"}}) + pointRow(7) +
                           pointRow(8) + pointRow(9) + FeatureLine(202, "ARC", 20, {7, 8, 9}) +
                           FeatureLine(300, "POINT", 30, {12}) + FeatureLine(301, "POINT", 31, {9}) +
                           FeatureLine(303, "CIRC1", 10, {10, 11}) + FeatureLine(304, "CIRC0", 31, {12, 7}) +
                           // A MULTIPLE whose last part is a MULTIPLE of a point and a circle.
                           FeatureLine(400, "MULTIPLE", 32, {2}) + FeatureLine(1, "LINE", 32, {7, 8}) +
                           FeatureLine(2, "MULTIPLE", 32, {2}) + FeatureLine(3, "POINT", 32, {12}) +
                           FeatureLine(4, "CIRC3", 32, {3, 4, 5}) +
                           // Left out: point 999 does not exist, so the layer Ghost gets no feature.
                           FeatureLine(500, "LINE", 40, {1, 999});
    return Section("POINTS", points) +
           Section("LAYERS", LayerLine(1, 0, "Buildings") + LayerLine(2, 0, "Roads") + LayerLine(3, 0, "Misc") +
                                 LayerLine(4, 0, "Ghost")) +
           Section("FEATURE_CODES", CodeLine(10, 1, "BLD", "Building") + CodeLine(11, 1, "BLDH", "Hatched") +
                                        CodeLine(20, 2, "RD", "Road") + CodeLine(21, 2, "RDS", "Smooth road") +
                                        CodeLine(30, 3, "TREE", "Tree") + CodeLine(31, 3, "WELL", "Well") +
                                        CodeLine(32, 3, "MLT", "Complex") + CodeLine(40, 4, "GH", "Ghost")) +
           Section("FEATURE_ATTRIBUTES", Row({Num(0, 10), {9, "/Pen(1,2,255) /Brush(0,255,65280)"}}) +
                                             Row({Num(0, 11), {9, "/Brush(2,255,65280)"}}) +
                                             Row({Num(0, 20), {9, "/Pen(0,1,16711680)"}}) +
                                             Row({Num(0, 21), {9, "/Pen(16,1,0)"}}) +
                                             Row({Num(0, 30), {9, "/Symbol(40,\"Arial\",0,1,12,255)"}})) +
           Section("FEATURE_PROPERTIES",
                   PropertyLine(10, 1, "Material", "Char(20)") + PropertyLine(10, 2, "Area", "Decimal(10,2)") +
                       PropertyLine(11, 1, "material", "Char(30)") + PropertyLine(20, 1, "Name", "Char(300)") +
                       PropertyLine(30, 1, "1st kind", "Char(8)")) +
           Section("FEATURES", features) +
           Section("FEATURE_DATA", DataLine(100, 1, "Brick") + DataLine(100, 2, "250.75") +
                                       DataLine(101, 1, "Wood \"A\"") + DataLine(200, 1, "Main\tStreet") +
                                       DataLine(300, 1, "Oak"));
}

class MIFWriterTest : public ::testing::Test {
protected:
    void SetUp() override { CStringTable::SetLanguage(CStringTable::Language::English); }
    void TearDown() override { SetOverwriteQuestion(nullptr); }

    // Reads `tlx` (UTF-8 source text, stored as 1251) into `writer`.
    void Read(const std::string& tlx) {
        WriteFile(temp / "in.tlx", Cp1251(tlx));
        writer.Init();
        writer.Read((temp / "in.tlx").c_str(), nullptr);
    }
    std::string Out() const { return temp / "out"; }
    void Export() {
        std::filesystem::create_directories(Out());
        writer.Export(Out().c_str(), nullptr);
        writer.FreeExportData();
    }
    std::string File(const std::string& utf8Name) const { return ReadFile(Out() + "/" + utf8Name); }

    TempDir temp;
    CLoggingMIFWriter writer;
};

TEST_F(MIFWriterTest, SmallSurveyExactFiles) {
    Read(SmallSurvey());
    Export();
    // x east, y north; extents 0..800 x 0..1000 with the margins give the square -115..1115.
    EXPECT_EQ(File("Roads.MIF"), CrLf("Version 300\nCharset \"WindowsCyrillic\"\nCoordSys Nonearth Units \"m\"\n"
                                      "Bounds (-115., -115.) (1115., 1115.)\n"
                                      "Columns 2\n\t" +
                                      Cp1251("Описание") +
                                      " Char(16)\n\tName Char(20)\nData\n"
                                      "Line 0. 0. 800. 1000.\n\tPen (3,3,16711680)\n"));
    EXPECT_EQ(File("Roads.MID"), "Road\tMain st\t\r\n");
    // The control points: both flags off, relief relation 1 ("N"), no height.
    std::string cp = File("Точки_обоснования.MIF");
    EXPECT_NE(
        cp.find(CrLf("Bounds (-115., -115.) (1115., 1115.)\nColumns 7\n\t" + Cp1251("Точка") +
                     " Char(16)\n\tX Float\n\tY Float\n\tH Float\n\t" + Cp1251("Тип_координат_XY") + " Char(1)\n\t" +
                     Cp1251("Тип_координаты_H") + " Char(1)\n\t" + Cp1251("Отношение_к_рельефу") + " Char(2)\nData\n")),
        std::string::npos)
        << cp;
    EXPECT_NE(cp.find(CrLf("Point 800. 1000.\n\tSymbol (35,11010048,2,\"MapInfo Symbols\",0,0.0)\n")),
              std::string::npos);
    EXPECT_EQ(File("Точки_обоснования.MID"), CrLf("A\t0.\t0.\t0.\t0\t0\tN\t\nB\t1000.\t800.\t0.\t0\t0\tN\t\n"));
    EXPECT_EQ(MapInfoFiles(Out()).size(), 4u);  // no tacheometry points, no files for them
}

TEST_F(MIFWriterTest, EveryKindObjectsAndStyles) {
    Read(EveryKindSurvey());
    Export();
    std::string bld = File("Buildings.MIF");
    // Solid brush: the back colour first. Hatched brush: the fore colour first.
    EXPECT_NE(bld.find(CrLf("Region 1\n5\n3010. 5010.\n3010. 5020.\n3020. 5020.\n3020. 5010.\n3010. 5010.\n"
                            "\tPen (2,3,16711680)\n\tBrush (2,65280,16711680)\n")),
              std::string::npos)
        << bld;
    EXPECT_NE(bld.find(CrLf("Region 1\n4\n3010. 5010.\n3010. 5020.\n3020. 5020.\n3010. 5010.\n"
                            "\tBrush (5,16711680,65280)\n")),
              std::string::npos)
        << bld;
    EXPECT_NE(bld.find(CrLf("Ellipse 3045. 5045. 3055. 5055.\n\tPen (2,3,16711680)\n\tBrush (2,65280,16711680)\n")),
              std::string::npos)
        << bld;
    // Two codes share the column Material, typed by the first.
    EXPECT_NE(bld.find(CrLf("Columns 3\n\t" + Cp1251("Описание") +
                            " Char(16)\n\tMaterial Char(20)\n"
                            "\tArea Decimal(10,2)\nData\n")),
              std::string::npos);
    EXPECT_EQ(File("Buildings.MID"),
              CrLf("Building\tBrick\t250.75\t\nHatched\t\"Wood \"\"A\"\"\"\t?\t\nBuilding\t?\t?\t\n"));

    std::string roads = File("Roads.MIF");
    EXPECT_NE(roads.find(CrLf("\tName Char(254)\nData\nLine 3030. 5030. 3040. 5040.\n\tPen (1,2,255)\n"
                              "Pline 3\n3030. 5030.\n3040. 5040.\n3050. 5030.\n\tPen (1,1,0)\n\tSmooth\n"
                              "Arc 3030. 5020. 3050. 5040.\n0. 180.\n")),
              std::string::npos)
        << roads;
    EXPECT_EQ(File("Roads.MID"), CrLf("Road\t\"Main\tStreet\"\t\nSmooth road\t?\t\nRoad\t?\t\n"));

    std::string misc = File("Misc.MIF");
    EXPECT_NE(misc.find(CrLf("\t_st_kind Char(8)\nData\nPoint 3060. 5060.\n\tSymbol (40,16711680,12,\"Arial\",1,0.0)\n"
                             "Point 3050. 5030.\n\tSymbol (35,11010048,2,\"MapInfo Symbols\",0,0.0)\n")),
              std::string::npos)
        << misc;
    // The parts of the nested MULTIPLE, each an object of its own kind with its own row.
    EXPECT_NE(misc.find(CrLf("Line 3030. 5030. 3040. 5040.\nPoint 3060. 5060.\n"
                             "\tSymbol (35,11010048,2,\"MapInfo Symbols\",0,0.0)\nEllipse ")),
              std::string::npos)
        << misc;
    EXPECT_EQ(File("Misc.MID"), CrLf("Tree\tOak\t\nWell\t?\t\nWell\t?\t\nComplex\t?\t\nComplex\t?\t\nComplex\t?\t\n"));
    EXPECT_EQ(misc.find("Collection"), std::string::npos);

    // No files for the layer whose only feature was left out.
    EXPECT_FALSE(std::filesystem::exists(Out() + "/Ghost.MIF"));
    EXPECT_FALSE(std::filesystem::exists(Out() + "/Ghost.MID"));
}

TEST_F(MIFWriterTest, BoundsFromSurveyPointsOnlyAndObjectsEqualRows) {
    Read(EveryKindSurvey());
    Export();
    // The CIRC0 radius point at (7, 7) stays out: extents 3000..3100 x 5000..5100, margins, square.
    for (const std::string& name : MapInfoFiles(Out())) {
        if (!name.ends_with(".MIF")) continue;
        EXPECT_NE(File(name).find("Bounds (2989.375, 2989.375) (5111.5, 5111.5)\r\n"), std::string::npos) << name;
    }
    // A second export of the same writer writes the same files.
    std::string misc = File("Misc.MIF");
    std::filesystem::remove_all(Out());
    Export();
    EXPECT_EQ(File("Misc.MIF"), misc);
    int status = 0;
    std::string report = ReadBack(Out(), &status);
    EXPECT_EQ(status, 0) << report;
    EXPECT_NE(report.find("Buildings features=3 columns=3"), std::string::npos) << report;
    EXPECT_NE(report.find("Roads features=3 columns=2"), std::string::npos) << report;
    EXPECT_NE(report.find("Misc features=6 columns=2"), std::string::npos) << report;
    EXPECT_NE(report.find("Точки_обоснования features=2 columns=7"), std::string::npos) << report;
    EXPECT_NE(report.find("Точки_тахеометрии features=10 columns=5"), std::string::npos) << report;
}

TEST_F(MIFWriterTest, SinglePointPolylineAndPolygonStayReadable) {
    // Both are valid features of one point; MIF needs two vertices.
    Read(Section("POINTS", PointLine(1, "A", "10", "20") + PointLine(2, "B", "30", "40")) +
         Section("LAYERS", LayerLine(1, 0, "Lines")) + Section("FEATURE_CODES", CodeLine(20, 1, "L", "Line")) +
         Section("FEATURES", FeatureLine(100, "POLYLINE", 20, {1}) + VertexLine(1) +
                                 FeatureLine(101, "POLYGON", 20, {1}) + VertexLine(2) +
                                 FeatureLine(102, "LINE", 20, {1, 2})));
    Export();
    EXPECT_NE(File("Lines.MIF")
                  .find(CrLf("Data\nPline 2\n20. 10.\n20. 10.\nRegion 1\n2\n40. 30.\n40. 30.\n"
                             "Line 20. 10. 40. 30.\n")),
              std::string::npos)
        << File("Lines.MIF");
    int status = 0;
    std::string report = ReadBack(Out(), &status);
    EXPECT_EQ(status, 0) << report;
    EXPECT_NE(report.find("Lines features=3"), std::string::npos) << report;
}

}  // namespace
}  // namespace tvk::test
