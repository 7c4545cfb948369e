// What each feature becomes in the BLOCKS and ENTITIES sections, group by
// group (arcs through their three points: dxf_readback.py).
#include <gtest/gtest.h>

#include "DXFTestSupport.h"
#include "platform/CodePage.h"
#include "platform/NumberText.h"

namespace tvk::testing {
namespace {

class DXFEntities : public DXFExportTest {
protected:
    std::vector<std::vector<Group>> Entities(const std::string& tlx, bool attributes = false) {
        ReadTlx(tlx);
        writer->SetExportSemantic(attributes);
        groups = ParseGroups(ExportDxf());
        return SectionEntities(groups, "ENTITIES");
    }
    // The entities on the layer Roads, where the tests put their features.
    std::vector<std::vector<Group>> OnRoads(const std::vector<std::vector<Group>>& entities) {
        std::vector<std::vector<Group>> out;
        for (const auto& e : entities)
            if (Value(e, 8) == "Roads") out.push_back(e);
        return out;
    }
    std::vector<Group> groups;
};

TEST_F(DXFEntities, SurveyPointGetsNameAndElevationLabels) {
    auto entities = Entities(Section("POINTS", PointLine(1, "ST1", "5000.0", "3000.0", "120.5", -1, "/h /v") +
                                                   PointLine(12, "12", "200", "100", "50.1234", 1) +
                                                   PointLine(13, "13", "210", "110", "", 1)));
    // ST1 (a control point) comes first, then point 12.
    ASSERT_EQ(entities.size(), 9u);
    const std::vector<Group> name = {{0, "TEXT"},     {8, "Names"},  {6, "BYLAYER"}, {10, "101.5"},  {20, "201.5"},
                                     {30, "50.1234"}, {40, "1.5"},   {1, "12"},      {72, "     0"}, {73, "     0"},
                                     {11, "107.5"},   {21, "201.5"}, {31, "50.1234"}};
    std::vector<Group> elevation = name;
    elevation[1].value = "Elevations";
    elevation[4].value = elevation[11].value = "198.5";
    elevation[7].value = "50.123";
    const std::vector<Group> point = {
        {0, "POINT"}, {8, Cp1251("Точки_тахеометрии")}, {6, "BYLAYER"}, {10, "100."}, {20, "200."}, {30, "50.1234"}};
    EXPECT_EQ(entities[3], name);
    EXPECT_EQ(entities[4], elevation);
    EXPECT_EQ(entities[5], point);
    EXPECT_EQ(Value(entities[1], 1), "120.500");
    EXPECT_EQ(Value(entities[2], 8), Cp1251("Точки_обоснования"));
    EXPECT_EQ(Value(entities[7], 1), "0.000");  // no height
}

// Points 4 (10,0), 7 (0,10), 9 (-10,0), 20 (0,-10) in drawing x, y; codes 20
// and 21 on the layer Roads with the given styles.
std::string RoadsSurvey(const std::string& styles, const std::string& features, const std::string& more = "") {
    return Section("POINTS", PointLine(4, "4", "0", "10", "1") + PointLine(7, "7", "10", "0", "2") +
                                 PointLine(9, "9", "0", "-10", "3") + PointLine(20, "20", "-10", "0", "4")) +
           Section("LAYERS", LayerLine(1, 0, "Roads")) +
           Section("FEATURE_CODES", CodeLine(20, 1, "R", "Road") + CodeLine(21, 1, "B", "Border")) +
           Section("FEATURE_ATTRIBUTES", styles) + Section("FEATURES", features) + more;
}

TEST_F(DXFEntities, PolylinesWithTheClosedFlagLinesWithoutThickness) {
    auto entities =
        OnRoads(Entities(RoadsSurvey(StyleLine(20, "/Pen(3,2,255)") + StyleLine(21, "/Pen(20,2,0)"),
                                     FeatureLine(100, "POLYGON", 20, {4}) + VertexLine(4) + VertexLine(7) +
                                         VertexLine(9) + VertexLine(4) + FeatureLine(101, "POLYLINE", 21, {2}) +
                                         VertexLine(4) + VertexLine(7) + FeatureLine(102, "LINE", 21, {7, 9}))));
    ASSERT_EQ(entities.size(), 11u);
    const std::vector<Group> closed = {{0, "POLYLINE"}, {8, "Roads"}, {6, "LTYPE03"}, {62, "    10"}, {48, "     1"},
                                       {70, "     1"},  {40, "0."},   {41, "0."},     {66, "     1"}};
    EXPECT_EQ(entities[0], closed);
    const std::vector<Group> vertex = {{0, "VERTEX"}, {8, "Roads"}, {10, "10."}, {20, "0."}, {30, "1."}};
    EXPECT_EQ(entities[1], vertex);
    EXPECT_EQ(entities[4], vertex);  // the closing repetition is written
    EXPECT_EQ(entities[5], (std::vector<Group>{{0, "SEQEND"}, {8, "Roads"}}));
    EXPECT_EQ(Value(entities[6], 70), "     0");
    // Pen pattern 20 has no line type of its own.
    const std::vector<Group> line = {{0, "LINE"},    {8, "Roads"}, {6, "CONTINUOUS"}, {62, "     9"},
                                     {48, "     1"}, {10, "0."},   {20, "10."},       {30, "2."},
                                     {11, "-10."},   {21, "0."},   {31, "3."}};
    EXPECT_EQ(entities[10], line);
    for (const Group& g : groups) EXPECT_NE(g.code, 39) << "a thickness makes lines 3D surfaces";
}

TEST_F(DXFEntities, SymbolsAreOneCharacterTextsAndControlShapesEmpty) {
    auto entities =
        OnRoads(Entities(RoadsSurvey(StyleLine(20, "/Symbol(35,\"MapInfo Symbols\",0,0,12,255)") +
                                         StyleLine(21, "/Symbol(13,\"MapInfo Symbols\",0,0,10,0)"),
                                     FeatureLine(100, "POINT", 20, {4}) + FeatureLine(101, "POINT", 21, {9}))));
    ASSERT_EQ(entities.size(), 4u);  // no labels: these are not survey-point features
    EXPECT_EQ(entities[0],
              (std::vector<Group>{{0, "POINT"}, {8, "Roads"}, {62, "    10"}, {10, "10."}, {20, "0."}, {30, "1."}}));
    // h = size * 0.35, anchored h/3 below and left of the point.
    const double h = 12 * 0.35;
    const std::vector<Group> symbol = {{0, "TEXT"},
                                       {8, "Roads"},
                                       {62, "    10"},
                                       {10, Gcvt(10 - h / 3, 16)},
                                       {20, Gcvt(-h / 3, 16)},
                                       {30, "1."},
                                       {40, Gcvt(h, 16)},
                                       {1, "#"},
                                       {7, "STYLE0"},
                                       {72, "     4"},
                                       {11, "10."},
                                       {21, "0."},
                                       {31, "1."}};
    EXPECT_EQ(entities[1], symbol);
    // Shape 13 would put a line break into the file.
    EXPECT_EQ(Value(entities[3], 1), "");
    EXPECT_EQ(Value(entities[3], 7), "STYLE1");
}

TEST_F(DXFEntities, AttributeBlocksAndInsertsWithQuestionMarksForMissingValues) {
    auto entities =
        OnRoads(Entities(RoadsSurvey("", FeatureLine(100, "LINE", 20, {7, 9}),
                                     Section("FEATURE_PROPERTIES", PropertyLine(20, 1, "Surface", "Char(16)") +
                                                                       PropertyLine(20, 2, "Width", "Decimal(6,2)")) +
                                         Section("FEATURE_DATA", DataLine(100, 1, "Asphalt"))),
                         true));
    // The line is feature slot 0: block BLCK0.
    auto blocks = SectionEntities(groups, "BLOCKS");
    ASSERT_GE(blocks.size(), 6u);
    EXPECT_EQ(blocks[0],
              (std::vector<Group>{
                  {0, "BLOCK"}, {8, "Roads"}, {2, "BLCK0"}, {70, "     2"}, {10, "0."}, {20, "0."}, {30, "0."}}));
    EXPECT_EQ(blocks[1][0].value, "LINE");
    const std::vector<std::string> names = {Cp1251("Описание"), "Surface", "Width"}, values = {"Road", "Asphalt", "?"};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(blocks[2 + i], (std::vector<Group>{{0, "ATTDEF"},
                                                     {8, "Roads"},
                                                     {10, "0."},
                                                     {20, "0."},
                                                     {30, "0."},
                                                     {40, "0.2"},
                                                     {1, ""},
                                                     {3, ""},
                                                     {2, names[i]},
                                                     {70, "     1"}}));
    EXPECT_EQ(blocks[5], (std::vector<Group>{{0, "ENDBLK"}, {8, "Roads"}}));

    ASSERT_EQ(entities.size(), 6u);  // the line, its insert, three values, the end
    EXPECT_EQ(entities[1],
              (std::vector<Group>{
                  {0, "INSERT"}, {2, "BLCK0"}, {8, "Roads"}, {66, "     1"}, {10, "0."}, {20, "0."}, {30, "0."}}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(entities[2 + i], (std::vector<Group>{{0, "ATTRIB"},
                                                       {8, "Roads"},
                                                       {10, "0."},
                                                       {20, "10."},
                                                       {30, "2."},
                                                       {40, "0.2"},
                                                       {1, values[i]},
                                                       {2, names[i]},
                                                       {70, "     1"}}));
    EXPECT_EQ(entities[5], (std::vector<Group>{{0, "SEQEND"}, {8, "Roads"}}));
}

TEST_F(DXFEntities, MultiplePartsInOrderAtAnyDepthWithTheAnchorOfTheFirstPart) {
    // Only the last part of a multiple may itself be a multiple.
    auto entities = OnRoads(
        Entities(RoadsSurvey("", FeatureLine(100, "MULTIPLE", 20, {1}) + FeatureLine(100, "MULTIPLE", 20, {3}) +
                                     FeatureLine(100, "LINE", 20, {9, 20}) + FeatureLine(100, "CIRC2", 20, {7, 20}) +
                                     FeatureLine(100, "MULTIPLE", 20, {2}) + FeatureLine(100, "POLYLINE", 20, {2}) +
                                     VertexLine(4) + VertexLine(7) + FeatureLine(100, "POINT", 20, {9})),
                 true));
    std::vector<std::string> kinds;
    for (const auto& e : entities) kinds.push_back(e[0].value);
    EXPECT_EQ(kinds, (std::vector<std::string>{"LINE", "CIRCLE", "POLYLINE", "VERTEX", "VERTEX", "SEQEND", "POINT",
                                               "INSERT", "ATTRIB", "SEQEND"}));
    ASSERT_EQ(entities.size(), 10u);
    EXPECT_EQ(std::vector<Group>(entities[8].begin() + 2, entities[8].begin() + 5),
              (std::vector<Group>{{10, "-10."}, {20, "0."}, {30, "3."}}));
}

}  // namespace
}  // namespace tvk::testing
