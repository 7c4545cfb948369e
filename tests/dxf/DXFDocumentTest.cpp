// The DXF document as a whole: header, extents and limits, and tables (what
// a stop or a failure leaves: tests/export/AllOrNothingTest). Names, layers
// and far circles are also read back by ezdxf and GDAL (dxf_readback.py).
#include <gtest/gtest.h>

#include <map>

#include "DXFTestSupport.h"
#include "platform/CodePage.h"

namespace tvk::testing {
namespace {

class DXFDocument : public DXFExportTest {};

TEST_F(DXFDocument, EmptyDrawingBytesWithAndWithoutTheCodePage) {
    const std::string codePage = "  9\n$DWGCODEPAGE\n  3\nANSI_1251\n";
    const std::string head =
        "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n" + codePage +
        "  9\n$EXTMIN\n 10\n1.7e+308\n 20\n1.7e+308\n 30\n1.7e+308\n"
        "  9\n$EXTMAX\n 10\n-1.7e+308\n 20\n-1.7e+308\n 30\n-1.7e+308\n"
        "  9\n$LIMMIN\n 10\n1.7e+308\n 20\n1.7e+308\n"
        "  9\n$LIMMAX\n 10\n-1.7e+308\n 20\n-1.7e+308\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nTABLES\n"
        "  0\nTABLE\n  2\nLTYPE\n 70\n     3\n"
        "  0\nLTYPE\n  2\nCONTINUOUS\n 70\n     0\n  3\nSolid Line\n 72\n    65\n 73\n     0\n 40\n0.0\n"
        "  0\nLTYPE\n  2\nLTYPE01\n 70\n     0\n  3\ndot,short_space\n 72\n    65\n 73\n     2\n 40\n1.0\n"
        " 49\n0.0\n 49\n-1.0\n";
    // The longest pattern, then the other tables and sections of a drawing without layers.
    const std::string tail =
        "  0\nLTYPE\n  2\nLTYPE15\n 70\n     0\n  3\nmedium_dash,medium_space,dot\n 72\n    65\n 73\n     4\n"
        " 40\n2.5\n 49\n0.5\n 49\n-1.0\n 49\n0.0\n 49\n-1.0\n  0\nENDTAB\n"
        "  0\nTABLE\n  2\nLAYER\n 70\n     2\n"
        "  0\nLAYER\n  2\nNames\n  6\nCONTINUOUS\n 70\n     0\n 62\n   255\n"
        "  0\nLAYER\n  2\nElevations\n  6\nCONTINUOUS\n 70\n     0\n 62\n   255\n  0\nENDTAB\n"
        "  0\nTABLE\n  2\nSTYLE\n 70\n     0\n  0\nENDTAB\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nBLOCKS\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n";
    for (bool declare : {true, false}) {
        ReadTlx("");
        EXPECT_EQ(writer->SetDeclareCodePage(declare), true);  // returns the earlier setting
        std::string dxf = ExportDxf();
        std::string expectedHead =
            declare ? head : head.substr(0, head.find(codePage)) + head.substr(head.find(codePage) + codePage.size());
        EXPECT_EQ(dxf.substr(0, CrLf(expectedHead).size()), CrLf(expectedHead)) << declare;
        ASSERT_GE(dxf.size(), CrLf(tail).size());
        EXPECT_EQ(dxf.substr(dxf.size() - CrLf(tail).size()), CrLf(tail));
        EXPECT_EQ(std::count(dxf.begin(), dxf.end(), '\n'), std::count(dxf.begin(), dxf.end(), '\r'));
    }
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
    auto groups = ParseGroups(Run(Section("POINTS", PointLine(1, "A", "200.0", "100.0", "10.0") +
                                                        PointLine(2, "B", "1200.0", "600.0", "-5.5") +
                                                        PointLine(3, "C", "700.0", "300.0"))));  // no height: 0
    const std::vector<Group> expected = {
        {9, "$EXTMIN"},
        {10, "100."},
        {20, "200."},
        {30, "-5.5"},
        {9, "$EXTMAX"},
        {10, "600."},
        {20, "1200."},
        {30, "10."},
        // 0.1 % of the ranges 500 and 1000 beyond each side.
        {9, "$LIMMIN"},
        {10, "99.5"},
        {20, "199."},
        {9, "$LIMMAX"},
        {10, "600.5"},
        {20, "1201."},
        {0, "ENDSEC"},
    };
    EXPECT_NE(std::search(groups.begin(), groups.end(), expected.begin(), expected.end()), groups.end());
}

TEST_F(DXFDocument, ArcsAndCirclesWidenTheExtentsAtAnyDepth) {
    const std::string tlx =
        Section("POINTS", PointLine(1, "A", "200.0", "100.0", "10.0") + PointLine(2, "B", "1200.0", "600.0", "-5.5") +
                              PointLine(3, "C", "700.0", "600.0", "1.0") + PointLine(4, "D", "700.0", "-600.0", "1.0") +
                              PointLine(5, "E", "1300.0", "0.0", "1.0")) +
        Section("LAYERS", LayerLine(1, 0, "Wells")) + Section("FEATURE_CODES", CodeLine(40, 1, "W", "Well")) +
        // A circle of radius 150 round B; an arc in a multiple in a multiple
        // through C, D, E, on the circle of centre (0, 700) and radius 600.
        Section("FEATURES", FeatureLine(10, "CIRC0", 40, {2, "150.0"}) + FeatureLine(11, "MULTIPLE", 40, {1}) +
                                FeatureLine(11, "MULTIPLE", 40, {1}) + FeatureLine(11, "ARC", 40, {3, 4, 5}));
    auto vars = HeaderPoints(ParseGroups(Run(tlx)));
    const std::map<std::string, std::vector<double>> expected = {{"$EXTMIN", {-600.0, 100.0, -5.5}},
                                                                 {"$EXTMAX", {750.0, 1350.0, 10.0}},
                                                                 {"$LIMMIN", {-601.35, 98.75}},
                                                                 {"$LIMMAX", {751.35, 1351.25}}};
    for (const auto& [name, values] : expected) {
        ASSERT_EQ(vars[name].size(), values.size()) << name;
        for (size_t i = 0; i < values.size(); ++i) EXPECT_NEAR(vars[name][i], values[i], 1e-9) << name << i;
    }
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
    const std::string longName = "Abcdefghijklmnopqrstuvwxyz0123456789-Z";  // 38 bytes
    auto names = NameWriter().Convert({longName, longName, "a b", "A_B"}, {1, 2, 3, 4});
    EXPECT_EQ(names,
              (std::vector<std::string>{longName.substr(0, 29) + "Z", longName.substr(0, 29) + "Z1", "a_b", "A_B1"}));
}

TEST_F(DXFDocument, StyleTableAndSymbolColourIndex) {
    const std::string tlx =
        Section("POINTS", PointLine(1, "A", "1.0", "2.0", "3.0")) + Section("LAYERS", LayerLine(1, 0, "Trees")) +
        Section("FEATURE_CODES",
                CodeLine(30, 1, "T", "Tree") + CodeLine(31, 1, "P", "Pole") + CodeLine(32, 1, "F", "Fence")) +
        Section("FEATURE_ATTRIBUTES", StyleLine(30, "/Symbol(35,\"MapInfo Symbols\",0,0,12,32768)") +
                                          StyleLine(31, "/Pen(1,1,255)") +
                                          StyleLine(32, "/Symbol(10,\"\",0,0,10,13107400) /Pen(3,2,16711680)")) +
        Section("FEATURES", FeatureLine(1, "POINT", 30, {1}));
    auto groups = ParseGroups(Run(tlx));
    const std::vector<Group> expected = {
        {0, "TABLE"}, {2, "STYLE"},   {70, "     2"}, {0, "STYLE"},   {2, "STYLE0"}, {70, "     0"},
        {40, "0."},   {41, "1."},     {50, "0."},     {71, "     0"}, {42, "2.5"},   {3, "MapInfo Symbols"},
        {4, ""},      {0, "STYLE"},   {2, "STYLE1"},  {70, "     0"}, {40, "0."},    {41, "1."},
        {50, "0."},   {71, "     0"}, {42, "2.5"},    {3, ""},        {4, ""},       {0, "ENDTAB"}};
    EXPECT_NE(std::search(groups.begin(), groups.end(), expected.begin(), expected.end()), groups.end());
    // Green 32768 is (0, 128, 0): nearest to index 94 (0, 127, 0).
    auto points = OfType(SectionEntities(groups, "ENTITIES"), "POINT");
    ASSERT_FALSE(points.empty());  // the file's features come first
    EXPECT_EQ(Value(points.front(), 62), "    94");
}

}  // namespace
}  // namespace tvk::testing
