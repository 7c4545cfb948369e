// FEATURES head lines: a bad head line never replaces a feature read before,
// every bad line is reported once, and MULTIPLE features keep their good
// parts when a part of theirs has no parts.
#include "ReaderTestUtil.h"

namespace tvk::test {
namespace {

const std::string kModel = Section("POINTS", PointLine(1, "A", "10", "20") + PointLine(2, "B", "11", "21") +
                                                 PointLine(3, "C", "12", "22") + PointLine(4, "D", "13", "23")) +
                           Section("LAYERS", LayerLine(1, 0, "L")) + Section("FEATURE_CODES", CodeLine(10, 1, "C")) +
                           Section("FEATURE_PROPERTIES", PropertyLine(10, 1, "P", "Char(20)"));

class FeatureHeadTest : public ReaderTest {
protected:
    // Reads the model with these FEATURES lines and this FEATURE_DATA.
    void ReadFeatures(const std::string& features, const std::string& data = "") {
        ReadText(kModel + Section("FEATURES", features) + (data.empty() ? "" : Section("FEATURE_DATA", data)));
    }
    CFeature* Feature(int number) {
        int slot = Slot(reader.FeatureMap, number);
        return slot < 0 ? nullptr : reader.Features[static_cast<size_t>(slot)].get();
    }
    int State(int number) { return reader.FeatureStates[static_cast<size_t>(Slot(reader.FeatureMap, number))]; }
    // Report codes only ("E0005").
    std::vector<std::string> Codes() {
        std::vector<std::string> codes;
        for (const std::string& r : Reports()) codes.push_back(r.substr(0, 5));
        return codes;
    }
};

TEST_F(FeatureHeadTest, ABadRepeatedHeadLineLeavesTheEarlierFeature) {
    // A bad code column, a bad point column, a bad count, a bad object word.
    for (const std::string& bad :
         {FeatureLine(100, "POINT", 0, {2}).replace(26, 8, "     abc"), FeatureLine(100, "POINT", 10, {"     abc"}),
          FeatureLine(100, "POLYLINE", 10, {0}), FeatureLine(100, "POLYGON", 10, {-3}),
          FeatureLine(100, "POINT LINE", 10, {2}), FeatureLine(100, "CIRC0", 10, {1, "inf"})}) {
        SCOPED_TRACE(bad);
        ReadFeatures(FeatureLine(100, "LINE", 10, {1, 2}) + bad, DataLine(100, 1, "kept"));
        ASSERT_EQ(Reports().size(), 1u) << reader.Log();
        EXPECT_EQ(reader.ReportLines()[0], 18);  // the bad line, no report from validation
        ASSERT_NE(Feature(100), nullptr);
        EXPECT_EQ(Feature(100)->Kind, LINE);
        EXPECT_EQ(dynamic_cast<CPointListFeature*>(Feature(100))->Points, (std::vector<int>{0, 1}));
        EXPECT_EQ(State(100), 100);
        EXPECT_EQ(reader.FeatureValues[0][0].View(), "kept");
    }
}

TEST_F(FeatureHeadTest, ABadFirstHeadLineMakesNoFeatureAndOneReport) {
    ReadFeatures(
        FeatureLine(100, "LINE", 10, {1, "   x"}) + FeatureLine(101, "POINT", 10, {1}).replace(26, 8, "        "),
        DataLine(100, 1, "lost"));
    EXPECT_EQ(Codes(), (std::vector<std::string>{"E0005", "E0005"}));
    EXPECT_EQ(Feature(100), nullptr);  // named by its data only, left out silently
    EXPECT_EQ(State(100), kNone);
    EXPECT_EQ(Slot(reader.FeatureMap, 101), -999);
}

TEST_F(FeatureHeadTest, AGoodRepeatedHeadLineStillReplacesTheFeature) {
    ReadFeatures(FeatureLine(100, "LINE", 10, {1, 2}) + FeatureLine(100, "POLYLINE", 10, {2}) + VertexLine(3) +
                 VertexLine(4));
    EXPECT_TRUE(Reports().empty()) << reader.Log();
    ASSERT_EQ(Feature(100)->Kind, POLYLINE);
    EXPECT_EQ(dynamic_cast<CPointListFeature*>(Feature(100))->Points, (std::vector<int>{2, 3}));
}

TEST_F(FeatureHeadTest, EachBadLineOfARunIsReportedOnceAndLeavesItsFeatureOut) {
    ReadFeatures(FeatureLine(101, "POLYGON", 10, {4}) + VertexLine(1) + VertexLine(2) + VertexLine(3) + VertexLine(2) +
                 FeatureLine(102, "POLYGON", 10, {3}) + VertexLine(1) + VertexLine(2) + "   bad\n" +
                 FeatureLine(103, "POLYLINE", 10, {2}) + "   bad\n" + "  also bad\n");
    EXPECT_EQ(Codes(), (std::vector<std::string>{"E0003", "E0005", "E0005", "E0005"})) << reader.Log();
    EXPECT_EQ(reader.ReportLines(), (std::vector<LineNo>{21, 25, 27, 28}));
    EXPECT_EQ(State(101), kNone);
    EXPECT_EQ(State(102), kNone);
    EXPECT_EQ(State(103), kNone);
}

TEST_F(FeatureHeadTest, AMultipleWithoutPartsStaysAFeature) {
    ReadFeatures(FeatureLine(100, "MULTIPLE", 10, {0}), DataLine(100, 1, "kept"));
    EXPECT_EQ(Codes(), (std::vector<std::string>{"E0003"}));
    ASSERT_NE(Feature(100), nullptr);
    EXPECT_EQ(Feature(100)->Kind, MULTIPLE);
    EXPECT_TRUE(dynamic_cast<CMultipleFeature*>(Feature(100))->Parts.empty());
    EXPECT_EQ(State(100), 100);
    EXPECT_EQ(reader.FeatureValues[0][0].View(), "kept");
}

TEST_F(FeatureHeadTest, AMultiplePartWithoutPartsDrawsNothingAndKeepsItsFeature) {
    // Part 2 is a MULTIPLE before the last part: reported, and it gets no parts.
    ReadFeatures(FeatureLine(100, "MULTIPLE", 10, {3}) + FeatureLine(100, "LINE", 0, {1, 2}) +
                 FeatureLine(100, "MULTIPLE", 0, {2}) + FeatureLine(100, "POINT", 0, {3}) +
                 // and an inner MULTIPLE as the last part whose count is bad
                 FeatureLine(200, "MULTIPLE", 10, {2}) + FeatureLine(200, "POINT", 0, {4}) +
                 FeatureLine(200, "MULTIPLE", 0, {0}));
    EXPECT_EQ(Codes(), (std::vector<std::string>{"E0003", "E0003"})) << reader.Log();
    EXPECT_EQ(reader.ReportLines(), (std::vector<LineNo>{19, 23}));
    EXPECT_EQ(State(100), 100);
    EXPECT_EQ(State(200), 200);
    EXPECT_EQ(dynamic_cast<CMultipleFeature*>(Feature(100))->Parts.size(), 3u);
}

TEST_F(FeatureHeadTest, ABadPartStillLeavesItsFeatureOutWithOneReport) {
    ReadFeatures(FeatureLine(100, "MULTIPLE", 10, {3}) + FeatureLine(100, "LINE", 0, {1, "  x"}) +
                 FeatureLine(100, "POLYLINE", 0, {0}) + FeatureLine(100, "POINT", 0, {3}) +
                 FeatureLine(101, "POINT", 10, {4}));
    EXPECT_EQ(Codes(), (std::vector<std::string>{"E0005", "E0003"})) << reader.Log();
    EXPECT_EQ(State(100), kNone);
    EXPECT_EQ(State(101), 101);  // the part count kept its place
}

}  // namespace
}  // namespace tvk::test
