// The section state machine and the nine line parsers.
#include "ReaderTestUtil.h"

#include <tuple>

namespace tvk::test {
namespace {

class SyntaxTest : public ReaderTest {};

// The line with `tail` from column `column` on.
std::string WithTail(std::string line, size_t column, const std::string& tail) {
    line.pop_back();
    line.resize(column, ' ');
    return line + tail + "\n";
}

const std::string kPoints = Section("POINTS", PointLine(1, "A", "10", "20", "1") + PointLine(2, "B", "11", "21") +
                                                  PointLine(3, "C", "12", "22") + PointLine(4, "D", "13", "23"));

TEST_F(SyntaxTest, LinesOutsideSectionsCommentsAndBlankLines) {
    ReadText("* a comment\n\n   \t\n  * indented comment\nstray line\n   12\n");
    EXPECT_EQ(Reports(), (std::vector<std::string>{"E0004 Unexpected body of section [stray line]",
                                                   "E0004 Unexpected body of section [   12]"}));
}

TEST_F(SyntaxTest, SectionsMayRepeatAndComeInAnyOrder) {
    ReadText(Section("FEATURE_DATA", Row({Num(0, 7), Num(9, 1, 4), {14, "v"}})) +
             Section("FEATURES", Row({Num(0, 7), {9, "POINT"}, Num(26, 10), Num(35, 2)})) + kLayerAndCode +
             Section("FEATURE_PROPERTIES", Row({Num(0, 10), Num(9, 1, 4), {14, "P"}, {31, "Integer"}})) +
             Section("POINTS", PointLine(2, "B", "1", "2")) + Section("POINTS", PointLine(1, "A", "1", "2")));
    EXPECT_EQ(reader.ErrorCount, 0);
    EXPECT_EQ(reader.PointStates, (std::vector<int>{2, 1}));  // slots in order of first mention
    EXPECT_EQ(ListFeature(7)->Points, (std::vector<int>{0}));
    EXPECT_EQ(reader.FeatureValues[0][0].View(), "v");
}

TEST_F(SyntaxTest, PointFlagsAndReliefRelation) {
    std::string exactly70 = PointLine(5, "E", "1", "2", "3");
    ASSERT_EQ(exactly70.size(), 71u);
    ReadText(Section("POINTS", exactly70 + WithTail(PointLine(6, "F", "1", "2", ""), 86, "/h") +
                                   WithTail(PointLine(7, "G", "1", "2", "9"), 85, "/v/s") +
                                   WithTail(PointLine(8, "H", "1", "2", "9"), 85, " /s /v")));
    auto p = [&](int n) { return reader.Points[static_cast<size_t>(Slot(reader.PointMap, n))]; };
    EXPECT_EQ(p(5).Relief, 1);
    EXPECT_EQ(p(5).H.View(), "3");
    EXPECT_EQ(p(6).Relief, 1);  // blank H, long line
    EXPECT_TRUE(p(6).HControl);
    EXPECT_FALSE(p(6).VControl);
    EXPECT_EQ(p(7).Relief, 0);  // "/s" is swallowed after "/v"
    EXPECT_TRUE(p(7).VControl);
    EXPECT_EQ(p(8).Relief, 2);
    EXPECT_TRUE(p(8).VControl);
}

TEST_F(SyntaxTest, RepeatedPointNumberOverwritesWhatTheLineSets) {
    ReadText(
        Section("POINTS", WithTail(PointLine(1, "OLD", "1", "2", "3"), 85, "/h /s") + PointLine(1, "NEW", "4", "5")));
    ASSERT_EQ(reader.Points.size(), 1u);
    const PointRec& p = reader.Points[0];
    EXPECT_EQ(p.Name.View(), "NEW");
    EXPECT_EQ(p.X.View(), "4");
    EXPECT_TRUE(p.H.IsBlank());
    EXPECT_TRUE(p.HControl);  // a short line keeps the flags
    EXPECT_EQ(p.Relief, 2);
}

TEST_F(SyntaxTest, GeodeticCoordinatesAndPointsTheyCreate) {
    ReadText(Section("POINTS", PointLine(1, "A", "1", "2")) +
             Section("GDS_COORDS", Row({Num(0, 1), {9, "55.4512"}, {26, "37.3012"}}) + Row({Num(0, 9), {9, "1"}})));
    EXPECT_EQ(reader.GeoCoords[0].Latitude.View(), "55.4512");
    EXPECT_EQ(reader.GeoCoords[0].Longitude.View(), "37.3012");
    ASSERT_EQ(reader.Points.size(), 2u);
    EXPECT_TRUE(reader.Points[1].X.IsNull());
    EXPECT_TRUE(reader.GeoCoords[1].Longitude.IsNull());
    EXPECT_EQ(Reports(), (std::vector<std::string>{"E0012 Invalid point [Point index: 9]"}));
    EXPECT_EQ(reader.PointStates, (std::vector<int>{1, kNone}));
}

TEST_F(SyntaxTest, CodeWithBadLayerColumnIsStillTaken) {
    ReadText(Section("FEATURE_CODES", Row({Num(0, 10), {9, "   x"}, {18, "CODE"}, {27, "A name"}})));
    ASSERT_EQ(reader.FeatureCodes.size(), 1u);
    EXPECT_EQ(reader.FeatureCodes[0].Code.View(), "CODE");
    EXPECT_EQ(reader.FeatureCodes[0].Name.View(), "A name");
    EXPECT_EQ(Reports().size(), 2u);  // E0005 for the line, E0009 in validation
    EXPECT_EQ(Reports()[1], "E0009 Invalid layer index [Feature code index: 10 Layer index: -10]");
    EXPECT_EQ(reader.FeatureCodes[0].Layer, reader.UndefLayer);
}

TEST_F(SyntaxTest, StylesAreSetRemovedOrKept) {
    ReadText(kLayerAndCode +
             Section("FEATURE_ATTRIBUTES",
                     Row({Num(0, 10), {9, "/Brush(1,2,3)"}}) +
                         Row({Num(0, 10), {9, "/Symbol(35,\"MapInfo Symbols\",1,2,12,255) /Pen(1,2,0)"}}) +
                         Row({Num(0, 10), {9, "/Symbol(1,2) /Pen(4,5,6)"}}) +  // bad symbol is kept
                         "     10\n"));                                        // too short: nothing happens
    const FeatureStyleRec& s = reader.FeatureStyles[0];
    ASSERT_TRUE(s.Symbol && s.Pen);
    EXPECT_EQ(std::tuple(s.Symbol->Shape, s.Symbol->Font.View(), s.Symbol->Extra, s.Symbol->Style, s.Symbol->Size,
                         s.Symbol->Color),
              std::tuple(35, "MapInfo Symbols", 1, 2, 12, 255));
    EXPECT_EQ(std::tuple(s.Pen->Pattern, s.Pen->Color), std::tuple(4, 6));
    EXPECT_FALSE(s.Brush);  // removed by the second line
    EXPECT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0].substr(0, 24), "E0006 Invalid descriptor");
}

TEST_F(SyntaxTest, PropertyTypesAndRedefinition) {
    auto prop = [](int number, const std::string& name, const std::string& type) {
        return Row({Num(0, 10), Num(9, number, 4), {14, name}, {31, type}});
    };
    ReadText(kLayerAndCode +
             Section("FEATURE_PROPERTIES", prop(5, "Name", "Char(20)") + prop(6, "Sum", "Decimal(10,2)") +
                                               prop(7, "When", "Angular") + prop(5, "Renamed", "Smallint") +
                                               prop(8, "NoWidth", "Char") + prop(9, "Half", "Decimal(10)") +
                                               prop(10, "Odd", "Text(5)") + prop(11, "Neg", "Char(-2)") +
                                               Row({Num(0, 10), {9, "   x"}, {14, "Bad"}, {31, "Float"}})));
    const PropertySchema& schema = reader.PropertySchemas[0];
    ASSERT_EQ(schema.PropertyDefs.size(), 3u);
    EXPECT_EQ(std::tuple(schema.PropertyDefs[0].Name.View(), schema.PropertyDefs[0].Type, schema.PropertyDefs[0].Width),
              std::tuple("Renamed", PROP_SMALLINT, 0));
    EXPECT_EQ(std::tuple(schema.PropertyDefs[1].Type, schema.PropertyDefs[2].Type),
              std::tuple(PROP_DECIMAL, PROP_ANGULAR));
    EXPECT_EQ(schema.PropertyNumbers, (std::vector<int>{5, 6, 7}));
    auto reports = Reports();
    ASSERT_EQ(reports.size(), 5u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(reports[static_cast<size_t>(i)].substr(0, 18), "E0003 Syntax error");
    EXPECT_EQ(reports[4].substr(0, 19), "E0005 Invalid index");
}

TEST_F(SyntaxTest, ObjectWordsAndPolylineOptions) {
    ReadText(kPoints + kLayerAndCode +
             Section("FEATURES",
                     Row({Num(0, 1), {9, "POLYLINE /smooth"}, Num(26, 10), Num(35, 2)}) + "       1\n       2\n" +
                         Row({Num(0, 2), {9, "POLYLINE"}, Num(26, 10), Num(35, 2), {44, "/spline3"}}) + "1\n2\n" +
                         Row({Num(0, 3), {9, "POLYLINE"}, Num(26, 10), Num(35, 2), {44, "/spline"}}) + "1\n2\n" +
                         Row({Num(0, 4), {9, "POLYLINE"}, Num(26, 10), Num(35, 2), {44, "/smooth"}}) + "1\n2\n" +
                         Row({Num(0, 5), {9, "POINTS"}, Num(26, 10), Num(35, 0)}) +
                         Row({Num(0, 6), {9, "POINT LINE"}, Num(26, 10), Num(35, 1)}) +
                         Row({Num(0, 8), {9, "CURVE"}, Num(26, 10), Num(35, 1)})));
    // Smooth and spline of features 1 to 4 (a spline is smooth).
    std::vector<std::pair<int, int>> options;
    for (int n = 1; n <= 4; ++n) {
        auto* poly = dynamic_cast<CPolylineFeature*>(ListFeature(n));
        options.emplace_back(poly->Smooth, poly->Spline);
    }
    EXPECT_EQ(options, (std::vector<std::pair<int, int>>{{0, 0}, {1, 3}, {1, -1}, {1, 0}}));
    EXPECT_EQ(ListFeature(5)->Kind, POINT);
    EXPECT_EQ(reader.FeatureMap.Find(6), nullptr);
    EXPECT_EQ(reader.FeatureMap.Find(8), nullptr);
    auto reports = Reports();
    // Point 0 is a valid number but no point; features 6 and 8 have no single word.
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].substr(0, 18), "E0003 Syntax error");
    EXPECT_EQ(reports[1].substr(0, 18), "E0003 Syntax error");
    EXPECT_EQ(reports[2], "E0007 Invalid point index [Feature index: 5 Point index: 0]");
}

TEST_F(SyntaxTest, OpenPointRunsSpanEndAndEndOfFile) {
    ReadText(kPoints + kLayerAndCode + "BEGIN FEATURES\n" + Row({Num(0, 1), {9, "POLYGON"}, Num(26, 10), Num(35, 4)}) +
             "END FEATURES\n");
    EXPECT_EQ(Reports(),
              (std::vector<std::string>{"E0001 Unexpected end of section [END FEATURES]",
                                        "E0002 Unexpected end of file", "E0003 Syntax error [Feature index: 1]"}));
}

TEST_F(SyntaxTest, PolygonMustCloseAndBadPointLinesAreDropped) {
    ReadText(kPoints + kLayerAndCode +
             Section("FEATURES", Row({Num(0, 1), {9, "POLYGON"}, Num(26, 10), Num(35, 4)}) +
                                     "       1\n       2\n      -3\n       4\n" +
                                     Row({Num(0, 2), {9, "POLYGON"}, Num(26, 10), Num(35, 3)}) +
                                     "       1\n       2\n       1\n"));
    // Validation leaves polygon 1 out without a report of its own.
    EXPECT_EQ(Reports(), (std::vector<std::string>{"E0005 Invalid index [      -3]", "E0003 Syntax error [       4]"}));
    EXPECT_EQ(ListFeature(2)->Points, (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(reader.FeatureStates, (std::vector<int>{kNone, 2}));
}

TEST_F(SyntaxTest, MultiplePartsTakeTheCodeAndMayNest) {
    ReadText(kPoints + kLayerAndCode +
             Section("FEATURES", Row({Num(0, 1), {9, "MULTIPLE"}, Num(26, 10), Num(35, 3)}) +
                                     Row({Num(0, 0), {9, "POINT"}, Num(26, 99), Num(35, 1)}) +
                                     Row({Num(0, 0), {9, "POLYLINE"}, Num(35, 2)}) + "       1\n       2\n" +
                                     Row({Num(0, 0), {9, "MULTIPLE"}, Num(35, 2)}) +
                                     Row({Num(0, 0), {9, "LINE"}, Num(35, 3), Num(44, 4)}) +
                                     Row({Num(0, 0), {9, "ARC"}, Num(35, 1), Num(44, 2), Num(53, 3)})));
    EXPECT_EQ(reader.ErrorCount, 0);
    auto* m = dynamic_cast<CMultipleFeature*>(reader.Features[0].get());
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->Parts.size(), 3u);
    EXPECT_EQ(m->Parts[0]->Kind, POINT);
    EXPECT_EQ(m->Parts[0]->Code, 0);  // the MULTIPLE's code, converted to its slot
    EXPECT_EQ(m->Parts[1]->Kind, POLYLINE);
    auto* inner = dynamic_cast<CMultipleFeature*>(m->Parts[2].get());
    ASSERT_NE(inner, nullptr);
    ASSERT_EQ(inner->Parts.size(), 2u);
    EXPECT_EQ(dynamic_cast<CPointListFeature*>(inner->Parts[1].get())->Points, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(inner->Parts[1]->Code, 0);
    EXPECT_EQ(reader.FeatureStates, (std::vector<int>{1}));
}

TEST_F(SyntaxTest, FeatureDataValuesAndPointsNamedOnlyByFeatures) {
    ReadText(kLayerAndCode + Section("FEATURES", Row({Num(0, 1), {9, "POINT"}, Num(26, 10), Num(35, 42)})) +
             Section("FEATURE_DATA", Row({Num(0, 1), Num(9, 1, 4)}) + Row({Num(0, 1), {9, "  -1"}, {14, "v"}}) +
                                         Row({Num(0, 3), Num(9, 1, 4), {14, "orphan"}})));
    EXPECT_TRUE(reader.Points.empty());  // feature columns create no point
    ASSERT_EQ(reader.Features.size(), 2u);
    EXPECT_EQ(reader.Features[1], nullptr);
    EXPECT_EQ(reader.FeatureStates, (std::vector<int>{kNone, kNone}));
    auto reports = Reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0], "E0005 Invalid index [       1   -1 v]");
    EXPECT_EQ(reports[1], "E0007 Invalid point index [Feature index: 1 Point index: 42]");
}

TEST_F(SyntaxTest, EmptyDataValueIsAbsent) {
    ReadText(kPoints + kLayerAndCode +
             Section("FEATURE_PROPERTIES", Row({Num(0, 10), Num(9, 1, 4), {14, "P"}, {31, "Float"}})) +
             Section("FEATURES", Row({Num(0, 1), {9, "POINT"}, Num(26, 10), Num(35, 1)})) +
             Section("FEATURE_DATA", Row({Num(0, 1), Num(9, 1, 4)})));
    EXPECT_EQ(reader.ErrorCount, 0);
    ASSERT_EQ(reader.FeatureValues[0].size(), 1u);
    EXPECT_TRUE(reader.FeatureValues[0][0].IsNull());
}

}  // namespace
}  // namespace tvk::test
