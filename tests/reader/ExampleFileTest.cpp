// The small complete file of the format description gives exactly its model.
#include "ReaderTestUtil.h"

#include <fstream>
#include <sstream>
#include <tuple>

namespace tvk::test {
namespace {

std::string Fixture(const char* name) {
    std::ifstream in(std::string(TLX_TEST_DATA) + "/reader/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class ExampleFileTest : public ReaderTest {};

// The file read once per case, without a single report.
class ExampleModelTest : public ReaderTest {
protected:
    void SetUp() override {
        ReaderTest::SetUp();
        ReadText(Fixture("example.tlx"));
        ASSERT_EQ(reader.ErrorCount, 0);
        ASSERT_TRUE(Reports().empty());
    }
};

TEST_F(ExampleModelTest, PointsWithTheirReferenceControlAndRelief) {
    // Name, X, Y, H ("-" for none), reference slot, /h, /v, relief.
    using P = std::tuple<std::string_view, std::string_view, std::string_view, std::string_view, int, bool, bool, int>;
    std::vector<P> points;
    for (const PointRec& p : reader.Points)
        points.emplace_back(p.Name.View(), p.X.View(), p.Y.View(), p.H.IsNull() ? "-" : p.H.View(), p.RefPoint,
                            p.HControl, p.VControl, p.Relief);
    EXPECT_EQ(points, (std::vector<P>{{"ST1", "5000.000", "3000.000", "120.500", kNone, true, true, 0},
                                      {"P2", "5010.000", "3005.000", "121.000", 0, false, false, 1},
                                      {"P3", "5012.000", "2998.000", "-", 0, false, false, 1}}));
    ASSERT_EQ(reader.GeoCoords.size(), 3u);
    for (const GeoCoordRec& g : reader.GeoCoords) EXPECT_TRUE(g.Latitude.IsNull());
    EXPECT_EQ(reader.PointStates, (std::vector<int>{1, 2, 3}));
}

TEST_F(ExampleModelTest, LayerCodeStyleSchemaAndThePolygonWithItsValues) {
    ASSERT_EQ(reader.Layers.size(), 1u);
    EXPECT_EQ(std::tuple(reader.Layers[0].Name.View(), reader.Layers[0].Parent), std::tuple("Buildings", kNone));
    EXPECT_EQ(reader.LayerStates, (std::vector<int>{1}));
    EXPECT_EQ(reader.UndefLayer, kNone);
    ASSERT_EQ(reader.FeatureCodes.size(), 1u);
    const FeatureCodeRec& code = reader.FeatureCodes[0];
    EXPECT_EQ(std::tuple(code.Code.View(), code.Name.View(), code.Layer), std::tuple("BLD", "Building", 0));
    EXPECT_EQ(reader.CodeStates, (std::vector<int>{10}));

    const FeatureStyleRec& style = reader.FeatureStyles[0];
    EXPECT_FALSE(style.Symbol);
    ASSERT_TRUE(style.Pen && style.Brush);
    EXPECT_EQ(std::tuple(style.Pen->Pattern, style.Pen->Width, style.Pen->Color), std::tuple(1, 2, 0));
    EXPECT_EQ(std::tuple(style.Brush->Pattern, style.Brush->ForeColor, style.Brush->BackColor),
              std::tuple(2, 255, 16777215));

    const PropertySchema& schema = reader.PropertySchemas[0];
    std::vector<std::tuple<std::string_view, int, int, int>> defs;
    for (const PropertyDef& d : schema.PropertyDefs) defs.emplace_back(d.Name.View(), d.Type, d.Width, d.Precision);
    EXPECT_EQ(defs, (std::vector<std::tuple<std::string_view, int, int, int>>{{"Material", PROP_CHAR, 20, 0},
                                                                              {"Area", PROP_DECIMAL, 10, 2}}));
    EXPECT_EQ(schema.PropertyNumbers, (std::vector<int>{1, 2}));

    ASSERT_EQ(reader.Features.size(), 1u);
    EXPECT_EQ(reader.FeatureStates, (std::vector<int>{100}));
    auto* polygon = dynamic_cast<CPointListFeature*>(reader.Features[0].get());
    ASSERT_NE(polygon, nullptr);
    EXPECT_EQ(std::tuple(polygon->Kind, polygon->Code), std::tuple(POLYGON, 0));
    EXPECT_EQ(polygon->Points, (std::vector<int>{0, 1, 2, 0}));
    ASSERT_EQ(reader.FeatureValues[0].size(), 2u);
    EXPECT_EQ(std::tuple(reader.FeatureValues[0][0].View(), reader.FeatureValues[0][1].View()),
              std::tuple("Brick", "250.75"));
    EXPECT_TRUE(reader.FeatureData.empty());
}

TEST_F(ExampleFileTest, WritesTheReadingLogInOrder) {
    ReadText(Fixture("example.tlx"), "run.txt");
    EXPECT_EQ(reader.calls.front(), "ClearLog");
    EXPECT_EQ(reader.calls[1], "OpenLog run.txt");
    EXPECT_EQ(reader.calls.back(), "CloseLog");
    EXPECT_EQ(reader.LogFilePath, "/data/run.txt");
    std::vector<std::string> t = reader.texts;  // the clock's texts cut to their heads
    for (std::string& text : t)
        for (const char* head : {"TIME: ", "DATE: ", "\nTime elapsed: "})
            if (text.rfind(head, 0) == 0 && text.ends_with("\n")) text = head;
    EXPECT_EQ(t,
              (std::vector<std::string>{
                  "\n\nBEGIN OF TLX FILE READING\n\n", "TIME: ", "DATE: ", "Begin of reading file: /data/test.tlx\n",
                  "End of reading file: /data/test.tlx\n", "\nBegin of data validation\n", "End of data validation\n\n",
                  "Total errors: 0\n", "\nTime elapsed: ", "\nEND OF TLX FILE READING\n\n"}));
}

}  // namespace
}  // namespace tvk::test
