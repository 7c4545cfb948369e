// Infinities and NaNs ("1e309", "inf", "-inf", "nan") never reach the model:
// each is reported with the code of a bad number in its column and the line.
// A coordinate that atof reads only in part is kept and warned of.
#include <cmath>

#include "ReaderTestUtil.h"
#include "platform/NumberText.h"

namespace tvk::test {
namespace {

const char* const kNonFinite[] = {"1e309", "inf", "-inf", "nan", "-1E400", "INFINITY"};

const std::string kBase = Section("LAYERS", LayerLine(1, 0, "L")) + Section("FEATURE_CODES", CodeLine(10, 1, "C"));

class NonFiniteTest : public ReaderTest {
protected:
    // The coordinates of every point the model keeps, generated ones too.
    void ExpectOnlyFiniteCoordinates() {
        for (size_t i = 0; i < reader.Points.size(); ++i) {
            if (reader.PointStates[i] == kNone) continue;
            for (const CText* t : {&reader.Points[i].X, &reader.Points[i].Y, &reader.Points[i].H}) {
                if (!t->IsNull()) {
                    EXPECT_TRUE(std::isfinite(AtoF(t->Get()))) << t->View();
                }
            }
        }
    }
};

TEST_F(NonFiniteTest, PointCoordinatesLeaveThePointOutWithItsLine) {
    for (const char* bad : kNonFinite) {
        SCOPED_TRACE(bad);
        ReadText(Section("POINTS", PointLine(1, "A", bad, "2") + PointLine(2, "B", "1", bad) +
                                       PointLine(3, "C", "1", "2", bad) + PointLine(4, "D", "1", "2", "3") +
                                       PointLine(5, "E", "1", "2")) +
                 Section("GDS_COORDS", GeoLine(4, bad, "37.5") + GeoLine(5, "55.1", bad)));
        EXPECT_EQ(reader.located,
                  (std::vector<std::pair<LineNo, std::string>>{{2, "E0012 Invalid point [Point index: 1]"},
                                                               {3, "E0012 Invalid point [Point index: 2]"},
                                                               {4, "E0012 Invalid point [Point index: 3]"},
                                                               {5, "E0012 Invalid point [Point index: 4]"},
                                                               {6, "E0012 Invalid point [Point index: 5]"}}));
        EXPECT_EQ(reader.PointStates, (std::vector<int>(5, kNone)));
    }
}

TEST_F(NonFiniteTest, CoordinatesReadOnlyInPartAreKeptWithAWarningNamingThePoint) {
    ReadText(Section("POINTS", PointLine(1, "A", "473095,412", "2") + PointLine(2, "B", "1", "2194x92.1", "-") +
                                   PointLine(3, "C", "1.5e3", "-.25", "1e-400") + PointLine(4, "D", "1", "2") +
                                   PointLine(5, "E", "1.2.3", "+-3")) +
             Section("GDS_COORDS", GeoLine(4, "55,75", "37.5")));
    const std::string kText =
        "Warning: a coordinate of the point goes on past its number, and only the number is read [Point index: ";
    EXPECT_EQ(reader.ErrorCount, 0) << reader.Log();
    EXPECT_EQ(reader.located, (std::vector<std::pair<LineNo, std::string>>{
                                  {2, kText + "1]"}, {3, kText + "2]"}, {5, kText + "4]"}, {6, kText + "5]"}}));
    EXPECT_EQ(reader.PointStates, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(reader.Points[0].X.View(), "473095,412");  // the text stays; writers read it as atof does
    EXPECT_EQ(AtoF(reader.Points[0].X.Get()), 473095.0);
}

TEST_F(NonFiniteTest, FeatureColumnsAreBadNumbersOfTheirColumn) {
    for (const char* bad : kNonFinite) {
        SCOPED_TRACE(bad);
        ReadText(kBase + Section("POINTS", PointLine(1, "A", "1", "2") + PointLine(2, "B", "3", "4")) +
                 Section("FEATURES", FeatureLine(100, "CIRC0", 10, {1, bad}) + FeatureLine(101, "LINE", 10, {1, bad})));
        std::vector<std::string> codes;
        for (const auto& r : reader.located) codes.push_back(std::to_string(r.first) + " " + r.second.substr(0, 5));
        // "1e309" in an integer column reads as 1, the way atoi reads it.
        if (std::string(bad).starts_with("1e")) EXPECT_EQ(codes, (std::vector<std::string>{"12 E0003"}));
        else EXPECT_EQ(codes, (std::vector<std::string>{"12 E0003", "13 E0005"}));
        EXPECT_EQ(Slot(reader.FeatureMap, 100), -999);
        ExpectOnlyFiniteCoordinates();
    }
}

TEST_F(NonFiniteTest, CirclesBeyondTheRangeOfDoublesAreLeftOut) {
    ReadText(kBase +
             Section("POINTS", PointLine(1, "A", "1.7e308", "0") + PointLine(2, "B", "-1.7e308", "0") +
                                   PointLine(3, "C", "0", "1e308")) +
             Section("FEATURES", FeatureLine(100, "CIRC2", 10, {1, 2}) + FeatureLine(101, "CIRC1", 10, {2, 1}) +
                                     FeatureLine(102, "CIRC0", 10, {3, "1.7e308"})));
    EXPECT_EQ(reader.located,
              (std::vector<std::pair<LineNo, std::string>>{{13, "E0003 Syntax error [Feature index: 100]"},
                                                           {14, "E0003 Syntax error [Feature index: 101]"},
                                                           {15, "E0003 Syntax error [Feature index: 102]"}}));
    ExpectOnlyFiniteCoordinates();
}

TEST_F(NonFiniteTest, PropertyAndDataColumnsAreBadNumbersOfTheirColumn) {
    ReadText(kBase +
             Section("FEATURE_PROPERTIES", PropertyLine(10, 1, "A", "Char(inf)") +
                                               PropertyLine(10, 2, "B", "Decimal(10,nan)") +
                                               Row({Num(0, 10), {9, " inf"}, {14, "C"}, {31, "Float"}})) +
             Section("FEATURE_DATA", Row({Num(0, 100), {9, " nan"}, {14, "x"}})));
    std::vector<std::string> codes;
    for (const auto& r : reader.located) codes.push_back(std::to_string(r.first) + " " + r.second.substr(0, 5));
    EXPECT_EQ(codes, (std::vector<std::string>{"8 E0003", "9 E0003", "10 E0005", "13 E0005"}));
}

}  // namespace
}  // namespace tvk::test
