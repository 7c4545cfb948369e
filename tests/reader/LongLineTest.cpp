// Physical lines longer than the 1023 characters one read returns: a line
// that fits reads as it stands, a longer one is reported once with its file
// line and nothing of it (above all not its cut-off rest) reaches the model.
#include <functional>

#include "ReaderTestUtil.h"

namespace tvk::test {
namespace {

constexpr size_t kFits = 1023;

// The survey every case adds its section to: points 1-4, layer 1, code 10
// with property 1, and the point feature 100.
const std::string kBase = Section("POINTS", PointLine(1, "A", "10", "20") + PointLine(2, "B", "11", "21") +
                                                PointLine(3, "C", "12", "22") + PointLine(4, "D", "13", "23")) +
                          Section("LAYERS", LayerLine(1, 0, "L")) + Section("FEATURE_CODES", CodeLine(10, 1, "C")) +
                          Section("FEATURE_PROPERTIES", PropertyLine(10, 1, "P", "Char(20)")) +
                          Section("FEATURES", FeatureLine(100, "POINT", 10, {1}));

// `record` (without its line feed) made `length` characters long with text
// to its end: after column 1023 another record of the same section, which a
// reader that cuts lines would take as a line of its own.
std::string LongLine(std::string record, const std::string& phantom, size_t length) {
    record.pop_back();
    std::string line = record;
    line.resize(std::max(length, record.size()), 'x');
    std::string tail = phantom.substr(0, phantom.size() - 1);
    if (length > kFits + tail.size()) line.replace(kFits, tail.size(), tail);
    line.resize(length);
    return line + "\n";
}

struct SectionCase {
    const char* section;
    std::string record;   // the line that is made long, number 5 (or property 5, feature 101)
    std::string phantom;  // a record of item 9 placed after column 1023
    // The record was taken / nothing of the line is in the model.
    std::function<bool(const CTLXReader&)> taken, untouched;
};

int SlotOf(const CIntMap& map, int number) {
    const int* s = map.Find(number);
    return s ? *s : -1;
}

std::vector<SectionCase> Cases() {
    auto code10 = [](const CTLXReader& r) { return static_cast<size_t>(SlotOf(r.CodeMap, 10)); };
    return {
        {"POINTS", PointLine(5, "E", "14", "24", "1", -1, "/h"), PointLine(9, "PH", "1", "2"),
         [](const CTLXReader& r) { return SlotOf(r.PointMap, 5) >= 0 && r.Points[SlotOf(r.PointMap, 5)].HControl; },
         [](const CTLXReader& r) { return SlotOf(r.PointMap, 5) < 0 && SlotOf(r.PointMap, 9) < 0; }},
        {"GDS_COORDS", GeoLine(1, "55.1", "37.2"), GeoLine(9, "55.9", "37.9"),
         [](const CTLXReader& r) { return r.GeoCoords[0].Latitude.View() == "55.1"; },
         [](const CTLXReader& r) { return r.GeoCoords[0].Latitude.IsNull() && SlotOf(r.PointMap, 9) < 0; }},
        {"FEATURE_CODES", CodeLine(5, 1, "C5", "Fence"), CodeLine(9, 1, "C9", "Phantom"),
         [](const CTLXReader& r) { return SlotOf(r.CodeMap, 5) >= 0; },
         [](const CTLXReader& r) { return SlotOf(r.CodeMap, 5) < 0 && SlotOf(r.CodeMap, 9) < 0; }},
        {"FEATURE_ATTRIBUTES", StyleLine(10, "/Pen(0,1,255)"), StyleLine(9, "/Pen(0,2,0)"),
         [=](const CTLXReader& r) { return r.FeatureStyles[code10(r)].Pen != nullptr; },
         [=](const CTLXReader& r) { return !r.FeatureStyles[code10(r)].Pen && SlotOf(r.CodeMap, 9) < 0; }},
        {"LAYERS", LayerLine(5, 0, "L5"), LayerLine(9, 0, "L9"),
         [](const CTLXReader& r) { return SlotOf(r.LayerMap, 5) >= 0; },
         [](const CTLXReader& r) { return SlotOf(r.LayerMap, 5) < 0 && SlotOf(r.LayerMap, 9) < 0; }},
        {"FEATURE_PROPERTIES", PropertyLine(10, 5, "Q", "Float"), PropertyLine(9, 1, "R", "Float"),
         [=](const CTLXReader& r) { return r.PropertySchemas[code10(r)].Map.Find(5) != nullptr; },
         [=](const CTLXReader& r) { return !r.PropertySchemas[code10(r)].Map.Find(5) && SlotOf(r.CodeMap, 9) < 0; }},
        {"FEATURES", FeatureLine(101, "POINT", 10, {2}), FeatureLine(9, "POINT", 10, {3}),
         [](const CTLXReader& r) { return SlotOf(r.FeatureMap, 101) >= 0; },
         [](const CTLXReader& r) { return SlotOf(r.FeatureMap, 101) < 0 && SlotOf(r.FeatureMap, 9) < 0; }},
        // The value runs to the end of the line; the cut-off rest used to
        // replace it with the phantom's value.
        {"FEATURE_DATA", DataLine(100, 1, "V"), DataLine(100, 1, "PHANTOM"),
         [](const CTLXReader& r) { return r.FeatureValues[0][0].View().starts_with("Vxx"); },
         [](const CTLXReader& r) { return r.FeatureValues[0][0].IsNull(); }},
    };
}

class LongLineTest : public ReaderTest {};

TEST_F(LongLineTest, EverySectionReadsLinesThatFitAndRefusesLongerOnesOnce) {
    for (const SectionCase& c : Cases()) {
        for (size_t length : {size_t{1022}, size_t{1023}, size_t{1024}, size_t{5000}, size_t{10'000'000}}) {
            SCOPED_TRACE(std::string(c.section) + " " + std::to_string(length));
            std::string line = LongLine(c.record, c.phantom, length);
            ASSERT_EQ(line.size(), length + 1);
            std::string text = kBase + "BEGIN " + c.section + "\n" + line + "END " + c.section + "\n";
            ReadText(text);
            if (length <= kFits) {
                EXPECT_TRUE(Reports().empty()) << reader.Log().substr(0, 2000);
                EXPECT_TRUE(c.taken(reader));
                continue;
            }
            ASSERT_EQ(Reports().size(), 1u) << reader.Log().substr(0, 2000);
            EXPECT_EQ(Reports()[0], "E0003 Syntax error [" + line.substr(0, kFits) + "]");
            LineNo expected = static_cast<LineNo>(std::count(kBase.begin(), kBase.end(), '\n')) + 2;
            EXPECT_EQ(reader.ReportLines(), std::vector<LineNo>{expected});
            EXPECT_TRUE(c.untouched(reader));
        }
    }
}

TEST_F(LongLineTest, ALongPointLineCountsAsOneDroppedPointOfItsRun) {
    std::string longPoint = VertexLine(2);
    longPoint.pop_back();
    longPoint += std::string(3000, 'x') + "\n";
    ReadText(kBase + Section("FEATURES", FeatureLine(101, "POLYLINE", 10, {3}) + VertexLine(1) + longPoint +
                                             VertexLine(3) + FeatureLine(102, "POINT", 10, {4})));
    ASSERT_EQ(Reports().size(), 1u) << reader.Log();
    EXPECT_TRUE(Reports()[0].starts_with("E0003 Syntax error [       2xxx"));
    auto* polyline =
        dynamic_cast<CPointListFeature*>(reader.Features[static_cast<size_t>(SlotOf(reader.FeatureMap, 101))].get());
    ASSERT_NE(polyline, nullptr);
    EXPECT_EQ(polyline->Points.size(), 2u);
    EXPECT_NE(reader.FeatureStates[static_cast<size_t>(SlotOf(reader.FeatureMap, 101))], kNone);
    EXPECT_GE(SlotOf(reader.FeatureMap, 102), 0);  // the run ended where it should
}

TEST_F(LongLineTest, BlankRestsCommentsAndBlankLinesOfAnyLengthAreNoLoss) {
    std::string blankRest = PointLine(5, "E", "14", "24");
    blankRest.pop_back();
    blankRest += std::string(4000, ' ') + "\t\n";
    std::string comment = "* " + std::string(5000, 'c') + "\n";
    std::string blank(3000, ' ');
    ReadText(comment + blank + "\n" + kBase + Section("POINTS", blankRest + comment + PointLine(6, "F", "1", "2")));
    EXPECT_TRUE(Reports().empty()) << reader.Log().substr(0, 2000);
    EXPECT_GE(SlotOf(reader.PointMap, 5), 0);
    EXPECT_GE(SlotOf(reader.PointMap, 6), 0);
}

}  // namespace
}  // namespace tvk::test
