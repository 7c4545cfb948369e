// Index resolution and validation: slots, items left out, "_UNDEF_",
// circles, property values.
#include "ReaderTestUtil.h"

#include <algorithm>

#include "platform/NumberText.h"

namespace tvk::test {
namespace {

class ValidationTest : public ReaderTest {
protected:
    const PointRec& PointAt(int slot) { return reader.Points[static_cast<size_t>(slot)]; }
    int FeatureState(int number) { return reader.FeatureStates[static_cast<size_t>(Slot(reader.FeatureMap, number))]; }
};

std::string Feature(int number, const std::string& word, std::vector<int> points) {
    std::vector<std::pair<int, std::string>> fields = {Num(0, number), {9, word}, Num(26, 10)};
    int column = 35;
    for (int p : points) {
        fields.push_back(Num(column, p));
        column += 9;
    }
    return Row(fields);
}

TEST_F(ValidationTest, PointsWithoutXOrYAreLeftOutWithTheirFeatures) {
    ReadText(Section("POINTS", PointLine(1, "A", "1", "2") + PointLine(2, "B", "1", "") + PointLine(3, "C", "", "2") +
                                   PointLine(4, "D", "1", "2", "", 1) + PointLine(5, "E", "1", "2", "", 77)) +
             kLayerAndCode + Section("FEATURES", Feature(20, "LINE", {1, 2}) + Feature(21, "POINT", {4})));
    EXPECT_EQ(reader.PointStates, (std::vector<int>{1, kNone, kNone, 4, 5}));
    EXPECT_EQ(PointAt(3).RefPoint, 0);
    EXPECT_EQ(PointAt(4).RefPoint, kNone);  // reference not found
    EXPECT_EQ(FeatureState(20), kNone);
    EXPECT_EQ(FeatureState(21), 21);
    EXPECT_EQ(Reports(),
              (std::vector<std::string>{"E0012 Invalid point [Point index: 2]", "E0012 Invalid point [Point index: 3]",
                                        "E0012 Invalid point [Feature index: 20 Point index: 2]"}));
}

TEST_F(ValidationTest, LayerParentsAndNames) {
    ReadText(Section("LAYERS", Row({Num(0, 1), Num(9, 0)}) +  // top layer, blank name: silent
                                   Row({Num(0, 7), Num(9, 0), {18, "Seven"}}) +
                                   Row({Num(0, 8), Num(9, 7)}) +  // blank name under 7: E0013
                                   Row({Num(0, 9), Num(9, 7), {18, "Child"}}) + Row({Num(0, 4)}) +  // no parent column
                                   Row({Num(0, 5), Num(9, 66), {18, "Lost"}})));
    EXPECT_EQ(reader.LayerStates, (std::vector<int>{1, 7, kNone, 9, 4, 5}));
    EXPECT_EQ(reader.Layers[3].Parent, 1);
    EXPECT_EQ(reader.Layers[0].Parent, kNone);
    EXPECT_EQ(reader.Layers[5].Parent, kNone);
    EXPECT_EQ(Reports(),
              (std::vector<std::string>{"E0013 Invalid layer name [Layer index: 8 Layer name: ]",
                                        "E0009 Invalid layer index [Layer index: 4 Parent layer index: -10]",
                                        "E0009 Invalid layer index [Layer index: 5 Parent layer index: 66]"}));
}

TEST_F(ValidationTest, CodesOfUnknownOrLeftOutLayersShareOneUndefLayer) {
    ReadText(Section("LAYERS", Row({Num(0, 1), Num(9, 0), {18, "L"}}) + Row({Num(0, 2), Num(9, 1)})) +
             Section("FEATURE_CODES", Row({Num(0, 10), Num(9, 1)}) + Row({Num(0, 11), Num(9, 5)}) +
                                          Row({Num(0, 12), Num(9, 6)}) + Row({Num(0, 13), Num(9, 2)})));
    ASSERT_EQ(reader.Layers.size(), 3u);
    EXPECT_EQ(reader.UndefLayer, 2);
    EXPECT_EQ(reader.Layers[2].Name.View(), "_UNDEF_");
    EXPECT_EQ(reader.Layers[2].Parent, kNone);
    EXPECT_EQ(reader.LayerStates[2], kUndefLayerState);
    EXPECT_EQ(reader.LayerMap.Find(-3), nullptr);
    EXPECT_EQ(reader.LayerMap.GetCount(), 2u);
    EXPECT_EQ(reader.FeatureCodes[0].Layer, 0);
    for (size_t c : {1u, 2u, 3u}) EXPECT_EQ(reader.FeatureCodes[c].Layer, 2) << c;
    EXPECT_EQ(reader.CodeStates, (std::vector<int>{10, 11, 12, 13}));  // codes are never left out
    EXPECT_EQ(Reports(), (std::vector<std::string>{
                             "E0013 Invalid layer name [Layer index: 2 Layer name: ]",
                             "E0009 Invalid layer index [Feature code index: 11 Layer index: 5]",
                             "E0009 Invalid layer index [Feature code index: 12 Layer index: 6]",
                             "E0009 Invalid layer index [Feature code index: 13 Layer index: 2]",
                         }));
}

TEST_F(ValidationTest, FeatureWithUndefinedCodeStillReportsItsPoints) {
    ReadText(Section("POINTS", PointLine(1, "A", "1", "2")) + kLayerAndCode +
             Section("FEATURES", Row({Num(0, 30), {9, "LINE"}, Num(26, 99), Num(35, 1), Num(44, 8)}) +
                                     Row({Num(0, 31), {9, "POINT"}, {26, "  x"}, Num(35, 1)})));
    // A head line without a code is not taken: its one report is the parser's.
    EXPECT_EQ(Reports(), (std::vector<std::string>{
                             "E0005 Invalid index [      31 POINT              x             1]",
                             "E0008 Invalid feature code index [Feature index: 30 Feature code index: 99]",
                             "E0007 Invalid point index [Feature index: 30 Point index: 8]",
                         }));
    EXPECT_EQ(ListFeature(30)->Code, kNone);
    EXPECT_EQ(Slot(reader.FeatureMap, 31), -999);
    EXPECT_EQ(reader.FeatureStates, (std::vector<int>{kNone}));
}

TEST_F(ValidationTest, FeaturesWithoutPointsAreLeftOutWithOneReportPerBadLine) {
    ReadText(Section("POINTS", PointLine(1, "A", "1", "2")) + kLayerAndCode +
             Section("FEATURES", Row({Num(0, 40), {9, "POLYLINE"}, Num(26, 10), Num(35, 0)}) +  // bad count
                                     Row({Num(0, 41), {9, "POLYLINE"}, Num(26, 10), Num(35, 2)}) +
                                     "      -1\n       x\n" +  // every point dropped
                                     Row({Num(0, 42), {9, "MULTIPLE"}, Num(26, 10), {35, "   none"}}) +
                                     Feature(43, "POINT", {1})));
    auto reports = Reports();
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_TRUE(reports[0].starts_with("E0003 Syntax error [      40 POLYLINE"));
    EXPECT_TRUE(reports[3].starts_with("E0003 Syntax error [      42 MULTIPLE"));
    // 40 was never taken; 41 has no point left; 42 is a MULTIPLE without parts.
    EXPECT_EQ(Slot(reader.FeatureMap, 40), -999);
    EXPECT_EQ(reader.FeatureStates, (std::vector<int>{kNone, 42, 43}));
}

TEST_F(ValidationTest, BadPartAtAnyDepthLeavesTheWholeMultipleOut) {
    std::string points = Section("POINTS", PointLine(1, "A", "1", "2") + PointLine(2, "B", "3", "4"));
    std::string multiple = Row({Num(0, 50), {9, "MULTIPLE"}, Num(26, 10), Num(35, 2)}) + Feature(0, "POINT", {1}) +
                           Row({Num(0, 0), {9, "MULTIPLE"}, Num(35, 2)}) + Feature(0, "POINT", {2}) +
                           Feature(0, "LINE", {1, 99});
    ReadText(points + kLayerAndCode + Section("FEATURES", multiple + Feature(51, "POINT", {2})));
    EXPECT_EQ(Reports(), (std::vector<std::string>{"E0007 Invalid point index [Feature index: 50 Point index: 99]"}));
    EXPECT_EQ(reader.FeatureStates, (std::vector<int>{kNone, 51}));
    auto* outer = dynamic_cast<CMultipleFeature*>(reader.Features[0].get());
    auto* inner = dynamic_cast<CMultipleFeature*>(outer->Parts[1].get());
    // Inner parts are converted like direct ones: slots, not file numbers.
    EXPECT_EQ(dynamic_cast<CPointListFeature*>(inner->Parts[0].get())->Points, (std::vector<int>{1}));
    EXPECT_EQ(inner->Parts[0]->Code, 0);
}

TEST_F(ValidationTest, CircleFormsBecomeThreePointsOnTheCircle) {
    ReadText(Section("POINTS", PointLine(1, "C", "100", "200") + PointLine(2, "Q", "100", "210") +
                                   PointLine(3, "P", "0", "0") + PointLine(4, "R", "6", "8") +
                                   PointLine(5, "S", "1", "1")) +
             kLayerAndCode +
             Section("FEATURES", Feature(1, "CIRC1", {1, 2}) + Feature(2, "CIRC2", {3, 4}) +
                                     Row({Num(0, 3), {9, "CIRC0"}, Num(26, 10), Num(35, 1), {44, "2.5"}}) +
                                     Feature(4, "CIRC3", {3, 4, 5})));
    EXPECT_EQ(reader.ErrorCount, 0);
    auto coords = [&](int number) {
        std::vector<std::pair<std::string, std::string>> out;
        for (int slot : ListFeature(number)->Points) out.emplace_back(PointAt(slot).X.Str(), PointAt(slot).Y.Str());
        return out;
    };
    using P = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(coords(1), (P{{"110.", "200."}, {"90.", "200."}, {"100.", "210."}}));
    EXPECT_EQ(coords(2), (P{{"8.", "4."}, {"-2.", "4."}, {"3.", "9."}}));
    EXPECT_EQ(coords(3), (P{{"102.5", "200."}, {"97.5", "200."}, {"100.", "202.5"}}));
    EXPECT_EQ(coords(4), (P{{"0", "0"}, {"6", "8"}, {"1", "1"}}));
    // Generated points carry their generated numbers as states; the radius
    // point of the CIRC0 is a point too.
    std::vector<int> generated;
    for (size_t i = 5; i < reader.Points.size(); ++i) generated.push_back(reader.PointStates[i]);
    ASSERT_EQ(generated.size(), 10u);
    for (int n : generated) EXPECT_LT(n, -1000);
    const PointRec& radius = reader.Points[5];
    EXPECT_EQ(radius.X.View(), "2.5");
    EXPECT_EQ(radius.Y.View(), "2.5");
}

TEST_F(ValidationTest, GeneratedNumbersStayNegativeWhenTheCountersRunOut) {
    CTLXReader::RadiusPointCounter = CTLXReader::kCirclePointFirst - 1;
    CTLXReader::CirclePointCounter = -2;
    ReadText(Section("POINTS", PointLine(1, "C", "100", "200")) + kLayerAndCode +
             Section("FEATURES", Row({Num(0, 1), {9, "CIRC0"}, Num(26, 10), Num(35, 1), {44, "1"}}) +
                                     Row({Num(0, 2), {9, "CIRC0"}, Num(26, 10), Num(35, 1), {44, "2"}})));
    EXPECT_EQ(reader.ErrorCount, 0);
    std::vector<int> states(reader.PointStates.begin() + 1, reader.PointStates.end());
    std::sort(states.begin(), states.end());
    EXPECT_EQ(states, (std::vector<int>{CTLXReader::kRadiusPointFirst, CTLXReader::kCirclePointFirst - 1,
                                        CTLXReader::kCirclePointFirst, CTLXReader::kCirclePointFirst + 1,
                                        CTLXReader::kCirclePointFirst + 2, CTLXReader::kCirclePointFirst + 3, -2, -1}));
    EXPECT_EQ(PointAt(Slot(reader.PointMap, CTLXReader::kRadiusPointFirst)).X.View(), "2.");
}

TEST_F(ValidationTest, CircleTextsHaveThirtyTwoDigits) {
    ReadText(Section("POINTS", PointLine(1, "C", "0.1", "0.2") + PointLine(2, "Q", "0.4", "0.6")) + kLayerAndCode +
             Section("FEATURES", Feature(1, "CIRC1", {1, 2})));
    const PointRec& first = PointAt(ListFeature(1)->Points[0]);
    EXPECT_EQ(first.X.View(), Gcvt(0.1 + 0.5, 32));
    EXPECT_EQ(first.X.View(), "0.59999999999999997779553950749687");
    EXPECT_EQ(first.Y.View(), "0.20000000000000001110223024625157");
}

TEST_F(ValidationTest, CircleWithAnInvalidCentreIsLeftOut) {
    ReadText(Section("POINTS", PointLine(2, "Q", "100", "210") + PointLine(3, "Bad", "", "1")) + kLayerAndCode +
             Section("FEATURES",
                     Row({Num(0, 1), {9, "CIRC0"}, Num(26, 10), Num(35, 3), {44, "5"}}) + Feature(2, "CIRC1", {9, 2})));
    EXPECT_EQ(Reports(), (std::vector<std::string>{"E0012 Invalid point [Point index: 3]",
                                                   "E0007 Invalid point index [Feature index: 1 Point index: -10]",
                                                   "E0007 Invalid point index [Feature index: 2 Point index: -10]"}));
    EXPECT_EQ(reader.FeatureStates, (std::vector<int>{kNone, kNone}));
}

TEST_F(ValidationTest, ValuesArriveByPositionAndTheLastLineWins) {
    ReadText(Section("POINTS", PointLine(1, "A", "1", "2")) + kLayerAndCode +
             Section("FEATURE_PROPERTIES", Row({Num(0, 10), Num(9, 7, 4), {14, "Seven"}, {31, "Float"}}) +
                                               Row({Num(0, 10), Num(9, 3, 4), {14, "Three"}, {31, "Char(5)"}})) +
             Section("FEATURE_DATA", Row({Num(0, 60), Num(9, 3, 4), {14, "first"}}) +
                                         Row({Num(0, 60), Num(9, 9, 4), {14, "undefined"}}) +
                                         Row({Num(0, 60), Num(9, 3, 4), {14, "  second  "}}) +
                                         Row({Num(0, 61), Num(9, 3, 4), {14, "left out"}})) +
             Section("FEATURES", Feature(60, "POINT", {1}) + Feature(61, "POINT", {5})));
    EXPECT_EQ(Reports(),
              (std::vector<std::string>{"E0007 Invalid point index [Feature index: 61 Point index: 5]",
                                        "E0011 Invalid property index [Feature index: 60 Property index: 9]"}));
    ASSERT_EQ(reader.FeatureValues[0].size(), 2u);
    EXPECT_TRUE(reader.FeatureValues[0][0].IsNull());
    EXPECT_EQ(reader.FeatureValues[0][1].View(), "second");
    EXPECT_TRUE(reader.FeatureValues[1].empty());
    EXPECT_TRUE(reader.FeatureData.empty());
}

TEST_F(ValidationTest, AppendEmptyTablesGivesCodesWithoutPropertiesAData) {
    ReadText(kLayerAndCode + Section("FEATURE_CODES", Row({Num(0, 11), Num(9, 1)})) +
             Section("FEATURE_PROPERTIES", Row({Num(0, 11), Num(9, 4, 4), {14, "P"}, {31, "Integer"}})));
    reader.AppendEmptyTables();
    const PropertySchema& empty = reader.PropertySchemas[0];
    ASSERT_EQ(empty.PropertyDefs.size(), 1u);
    EXPECT_EQ(empty.PropertyDefs[0].Name.View(), "DATA");
    EXPECT_EQ(empty.PropertyDefs[0].Type, PROP_CHAR);
    EXPECT_EQ(empty.PropertyDefs[0].Width, 10);
    EXPECT_EQ(empty.PropertyNumbers, (std::vector<int>{0}));
    EXPECT_EQ(*empty.Map.Find(0), 0);
    EXPECT_EQ(reader.PropertySchemas[1].PropertyDefs.size(), 1u);
    EXPECT_EQ(reader.PropertySchemas[1].PropertyDefs[0].Name.View(), "P");
}

// GetFeatureLayerIndex works on file numbers, before validation.
class UnvalidatedReader : public CRecordingReader {
public:
    void ConvertIndex_All() override {}
    void AssignPropertyData() override {}
};

TEST(GetFeatureLayerIndex, LooksUpCodeAndLayerByNumber) {
    MemoryFiles files;
    CStringTable::SetLanguage(CStringTable::Language::English);
    files.fs.Put("/d/f.tlx", kLayerAndCode + Section("FEATURE_CODES", Row({Num(0, 11), Num(9, 5)})) +
                                 Section("FEATURES", Feature(70, "POINT", {1}) +
                                                         Row({Num(0, 71), {9, "POINT"}, Num(26, 12), Num(35, 1)}) +
                                                         Row({Num(0, 72), {9, "POINT"}, Num(26, 11), Num(35, 1)})));
    UnvalidatedReader reader;
    reader.Init();
    reader.Read("/d/f.tlx", nullptr);
    int code = -99, layer = -99;
    EXPECT_EQ(reader.GetFeatureLayerIndex(0, code, layer), 1);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(layer, 0);
    EXPECT_EQ(reader.GetFeatureLayerIndex(1, code, layer), 0);
    EXPECT_EQ(reader.GetFeatureLayerIndex(2, code, layer), 0);
    EXPECT_EQ(reader.Reports(),
              (std::vector<std::string>{"E0008 Invalid feature code index [Feature: 71 Feature code: 12]",
                                        "E0009 Invalid layer index [Feature code: 11 Layer: 5]"}));
}

}  // namespace
}  // namespace tvk::test
