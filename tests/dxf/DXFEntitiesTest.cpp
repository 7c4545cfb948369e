// What each feature becomes in the BLOCKS and ENTITIES sections.
#include <gtest/gtest.h>

#include "DXFTestSupport.h"
#include "platform/CodePage.h"
#include "platform/NumberText.h"

namespace tvk::testing {
namespace {

class DXFEntities : public DXFExportTest {
protected:
    // Points 1..9 with a reference point, so they are tacheometry points;
    // point 1 is the control point they refer to.
    static CTlxText Survey() {
        CTlxText t;
        t.Begin("POINTS")
            .Point(1, "ST1", 0, "5000.0", "3000.0", "120.5", "/h /v")
            .Point(12, "12", 1, "200", "100", "50.1234")
            .Point(13, "13", 1, "210", "110", "")
            .Point(4, "4", 1, "0", "10", "1")
            .Point(7, "7", 1, "10", "0", "2")
            .Point(9, "9", 1, "0", "-10", "3")
            .Point(20, "20", 1, "-10", "0", "4")
            .End("POINTS");
        return t;
    }
    std::vector<std::vector<Group>> Entities(const std::string& tlx, bool attributes = false) {
        ReadTlx(tlx);
        writer->SetExportSemantic(attributes);
        groups = ParseGroups(ExportDxf());
        return SectionEntities(groups, "ENTITIES");
    }
    std::vector<Group> groups;
};

TEST_F(DXFEntities, SurveyPointGetsNameAndElevationLabels) {
    auto entities = Entities(Survey().Text());
    // Features follow the points: ST1 (slot 0) then point 12 (slot 1).
    ASSERT_GE(entities.size(), 6u);
    const std::vector<Group> name = {{0, "TEXT"},  {8, "Names"},     {6, "BYLAYER"}, {10, "101.5"},
                                     {20, "201.5"}, {30, "50.1234"}, {40, "1.5"},    {1, "12"},
                                     {72, "     0"}, {73, "     0"},  {11, "107.5"},  {21, "201.5"},
                                     {31, "50.1234"}};
    const std::vector<Group> elevation = {{0, "TEXT"},  {8, "Elevations"}, {6, "BYLAYER"}, {10, "101.5"},
                                          {20, "198.5"}, {30, "50.1234"},  {40, "1.5"},    {1, "50.123"},
                                          {72, "     0"}, {73, "     0"},   {11, "107.5"},  {21, "198.5"},
                                          {31, "50.1234"}};
    const std::vector<Group> point = {{0, "POINT"}, {8, Cp1251("Точки_тахеометрии")}, {6, "BYLAYER"},
                                      {10, "100."}, {20, "200."}, {30, "50.1234"}};
    EXPECT_EQ(entities[3], name);
    EXPECT_EQ(entities[4], elevation);
    EXPECT_EQ(entities[5], point);
    // The control point lands on its own layer, labelled the same way.
    EXPECT_EQ(Value(entities[0], 1), "ST1");
    EXPECT_EQ(Value(entities[1], 1), "120.500");
    EXPECT_EQ(Value(entities[2], 8), Cp1251("Точки_обоснования"));
    // A point without a height is labelled 0.000.
    EXPECT_EQ(Value(entities[7], 1), "0.000");
}

CTlxText LinesSurvey(const std::string& pens) {
    CTlxText t = [] {
        CTlxText s;
        s.Begin("POINTS")
            .Point(1, "ST1", 0, "5000.0", "3000.0", "120.5")
            .Point(4, "4", 0, "0", "10", "1")
            .Point(7, "7", 0, "10", "0", "2")
            .Point(9, "9", 0, "0", "-10", "3")
            .End("POINTS");
        return s;
    }();
    t.Begin("LAYERS").Layer(1, "Roads").End("LAYERS")
        .Begin("FEATURE_CODES").Code(20, 1, "R", "Road").Code(21, 1, "B", "Border").End("FEATURE_CODES")
        .Begin("FEATURE_ATTRIBUTES").Raw(pens).End("FEATURE_ATTRIBUTES");
    return t;
}

TEST_F(DXFEntities, PolygonsCloseAndPolylinesStayOpen) {
    CTlxText t = LinesSurvey("      20 /Pen(3,2,255)");
    t.Begin("FEATURES")
        .Feature(100, "POLYGON", 20, "4").Vertex(4).Vertex(7).Vertex(9).Vertex(4)
        .Feature(101, "POLYLINE", 21, "3").Vertex(4).Vertex(7).Vertex(9)
        .End("FEATURES");
    auto entities = Entities(t.Text());
    auto polylines = OfType(entities, "POLYLINE");
    ASSERT_EQ(polylines.size(), 2u);
    const std::vector<Group> closed = {{0, "POLYLINE"}, {8, "Roads"}, {6, "LTYPE03"}, {62, "    10"},
                                       {48, "     1"},   {70, "     1"}, {40, "0."}, {41, "0."}, {66, "     1"}};
    EXPECT_EQ(polylines[0], closed);
    const std::vector<Group> open = {{0, "POLYLINE"}, {8, "Roads"}, {6, "BYLAYER"}, {70, "     0"},
                                     {40, "0."},       {41, "0."},   {66, "     1"}};
    EXPECT_EQ(polylines[1], open);
    auto vertices = OfType(entities, "VERTEX");
    ASSERT_EQ(vertices.size(), 7u);
    const std::vector<Group> first = {{0, "VERTEX"}, {8, "Roads"}, {10, "10."}, {20, "0."}, {30, "1."}};
    EXPECT_EQ(vertices[0], first);
    EXPECT_EQ(vertices[3], first);  // the closing repetition is written
    EXPECT_EQ(OfType(entities, "SEQEND").size(), 2u);
    EXPECT_EQ(Value(OfType(entities, "SEQEND")[0], 8), "Roads");
}

TEST_F(DXFEntities, LinesTakeTheLineTypeOfThePenAndNoThickness) {
    CTlxText t = LinesSurvey("      20 /Pen(20,2,0)\n      21 /Pen(3,5,16711680)");
    t.Begin("FEATURES").Feature(100, "LINE", 20, "4", "7").Feature(101, "LINE", 21, "7", "9").End("FEATURES");
    auto entities = Entities(t.Text());
    auto lines = OfType(entities, "LINE");
    ASSERT_EQ(lines.size(), 2u);
    const std::vector<Group> continuous = {{0, "LINE"}, {8, "Roads"}, {6, "CONTINUOUS"}, {62, "     9"},
                                           {48, "     1"}, {10, "10."}, {20, "0."}, {30, "1."},
                                           {11, "0."},  {21, "10."}, {31, "2."}};
    EXPECT_EQ(lines[0], continuous);
    EXPECT_EQ(Value(lines[1], 6), "LTYPE03");
    EXPECT_EQ(Value(lines[1], 62), "     5");  // blue
    for (const Group& g : groups) EXPECT_NE(g.code, 39) << "a thickness makes lines 3D surfaces";
}

TEST_F(DXFEntities, ArcsRunCounterClockwiseWithAnglesInOneTurn) {
    CTlxText t = LinesSurvey("");
    // Drawing points: 4 (10,0), 7 (0,10), 9 (-10,0), 20 (0,-10).
    t.Begin("POINTS").Point(20, "20", 0, "-10", "0", "4").End("POINTS");
    t.Begin("FEATURES")
        // (10,0) over (0,10) to (-10,0): counter-clockwise, 0 to 180 degrees.
        .Feature(100, "ARC", 20, "4", "7", "9")
        // (10,0) under (0,-10) to (-10,0): clockwise, so 180 to 360 = 0.
        .Feature(101, "ARC", 20, "4", "20", "9")
        .Feature(102, "CIRC3", 20, "4", "7", "9")
        .End("FEATURES");
    auto entities = Entities(t.Text());
    auto arcs = OfType(entities, "ARC");
    ASSERT_EQ(arcs.size(), 2u);
    const std::vector<Group> upper = {{0, "ARC"}, {8, "Roads"}, {6, "BYLAYER"}, {10, "0."}, {20, "0."},
                                      {30, "0."}, {40, "10."}, {50, "0.00"}, {51, "180.00"}};
    EXPECT_EQ(arcs[0], upper);
    EXPECT_EQ(Value(arcs[1], 50), "180.00");
    EXPECT_EQ(Value(arcs[1], 51), "0.00");
    auto circles = OfType(entities, "CIRCLE");
    ASSERT_EQ(circles.size(), 1u);
    const std::vector<Group> circle = {{0, "CIRCLE"}, {8, "Roads"}, {6, "BYLAYER"}, {10, "0."},
                                       {20, "0."},     {30, "0."},   {40, "10."}};
    EXPECT_EQ(circles[0], circle);
}

TEST_F(DXFEntities, SymbolsAreOneCharacterTexts) {
    CTlxText t = LinesSurvey(
        "      20 /Symbol(35,\"MapInfo Symbols\",0,0,12,255)\n"
        "      21 /Symbol(13,\"MapInfo Symbols\",0,0,10,0)");
    t.Begin("FEATURES").Feature(100, "POINT", 20, "4").Feature(101, "POINT", 21, "9").End("FEATURES");
    auto entities = Entities(t.Text());
    std::vector<std::vector<Group>> coded;
    for (const auto& e : entities)
        if (Value(e, 8) == "Roads") coded.push_back(e);
    ASSERT_EQ(coded.size(), 4u);  // no labels: these are not survey-point features
    const std::vector<Group> point = {{0, "POINT"}, {8, "Roads"}, {62, "    10"},
                                      {10, "10."}, {20, "0."}, {30, "1."}};
    EXPECT_EQ(coded[0], point);
    // h = size * 0.35, anchored h/3 below and left of the point.
    const double h = 12 * 0.35;
    const std::vector<Group> symbol = {{0, "TEXT"},       {8, "Roads"},           {62, "    10"},
                                       {10, Gcvt(10 - h / 3, 16)}, {20, Gcvt(-h / 3, 16)}, {30, "1."},
                                       {40, Gcvt(h, 16)}, {1, "#"},               {7, "STYLE0"},
                                       {72, "     4"},    {11, "10."},            {21, "0."},
                                       {31, "1."}};
    EXPECT_EQ(coded[1], symbol);
    // Shape 13 would put a line break into the file.
    EXPECT_EQ(Value(coded[3], 1), "");
    EXPECT_EQ(Value(coded[3], 7), "STYLE1");
}

TEST_F(DXFEntities, AttributeBlocksAndInserts) {
    CTlxText t = LinesSurvey("");
    t.Begin("FEATURE_PROPERTIES")
        .Property(20, 1, "Surface", "Char(16)")
        .Property(20, 2, "Width", "Decimal(6,2)")
        .End("FEATURE_PROPERTIES")
        .Begin("FEATURES").Feature(100, "LINE", 20, "4", "7").End("FEATURES")
        .Begin("FEATURE_DATA").Data(100, 1, "Asphalt").End("FEATURE_DATA");
    auto entities = Entities(t.Text(), true);
    // The file's features come first: the line is slot 0, the point features follow.
    auto blocks = SectionEntities(groups, "BLOCKS");
    std::vector<std::vector<Group>> lineBlock;
    bool inside = false;
    for (const auto& e : blocks) {
        if (e[0].value == "BLOCK") inside = Value(e, 2) == "BLCK0";
        if (inside) lineBlock.push_back(e);
    }
    ASSERT_EQ(lineBlock.size(), 6u);
    const std::vector<Group> head = {{0, "BLOCK"}, {8, "Roads"}, {2, "BLCK0"}, {70, "     2"},
                                     {10, "0."},   {20, "0."},   {30, "0."}};
    EXPECT_EQ(lineBlock[0], head);
    EXPECT_EQ(lineBlock[1][0].value, "LINE");
    const std::vector<std::string> names = {Cp1251("Описание"), "Surface", "Width"};
    for (int i = 0; i < 3; ++i) {
        const std::vector<Group> attdef = {{0, "ATTDEF"}, {8, "Roads"}, {10, "0."}, {20, "0."}, {30, "0."},
                                           {40, "0.2"},   {1, ""},      {3, ""},    {2, names[i]}, {70, "     1"}};
        EXPECT_EQ(lineBlock[2 + i], attdef);
    }
    const std::vector<Group> end = {{0, "ENDBLK"}, {8, "Roads"}};
    EXPECT_EQ(lineBlock[5], end);

    // Entities: the line itself, then its insert with the values.
    size_t at = 0;
    while (at < entities.size() && !(entities[at][0].value == "LINE")) ++at;
    ASSERT_LT(at + 5, entities.size());
    const std::vector<Group> insert = {{0, "INSERT"}, {2, "BLCK0"}, {8, "Roads"}, {66, "     1"},
                                       {10, "0."},     {20, "0."},   {30, "0."}};
    EXPECT_EQ(entities[at + 1], insert);
    const std::vector<std::string> values = {"Road", "Asphalt", "?"};
    for (int i = 0; i < 3; ++i) {
        const std::vector<Group> attrib = {{0, "ATTRIB"}, {8, "Roads"}, {10, "10."}, {20, "0."}, {30, "1."},
                                           {40, "0.2"},   {1, values[i]}, {2, names[i]}, {70, "     1"}};
        EXPECT_EQ(entities[at + 2 + i], attrib);
    }
    const std::vector<Group> seqend = {{0, "SEQEND"}, {8, "Roads"}};
    EXPECT_EQ(entities[at + 5], seqend);
}

TEST_F(DXFEntities, MultiplePartsInOrderAtAnyDepth) {
    CTlxText t = LinesSurvey("");
    t.Begin("POINTS").Point(20, "20", 0, "-10", "0", "4").End("POINTS");
    t.Begin("FEATURES")
        // Only the last part of a multiple may itself be a multiple.
        .Feature(100, "MULTIPLE", 20, "1")
        .Feature(100, "MULTIPLE", 20, "3")
        .Feature(100, "LINE", 20, "9", "20")
        .Feature(100, "CIRC2", 20, "7", "20")
        .Feature(100, "MULTIPLE", 20, "2")
        .Feature(100, "POLYLINE", 20, "2").Vertex(4).Vertex(7)
        .Feature(100, "POINT", 20, "1")
        .End("FEATURES");
    auto entities = Entities(t.Text(), true);
    std::vector<std::string> kinds;
    for (const auto& e : entities)
        if (Value(e, 8) == "Roads") kinds.push_back(e[0].value);
    const std::vector<std::string> expected = {"LINE",   "CIRCLE", "POLYLINE", "VERTEX", "VERTEX", "SEQEND",
                                               "POINT",  "INSERT", "ATTRIB",   "SEQEND"};
    EXPECT_EQ(kinds, expected);
    // The attribute anchor is the first point of the innermost first part.
    auto attribs = OfType(entities, "ATTRIB");
    std::vector<Group> anchor;
    for (const auto& a : attribs)
        if (Value(a, 8) == "Roads") anchor = {a[2], a[3], a[4]};
    const std::vector<Group> expectedAnchor = {{10, "-10."}, {20, "0."}, {30, "3."}};
    EXPECT_EQ(anchor, expectedAnchor);
}

}  // namespace
}  // namespace tvk::testing
