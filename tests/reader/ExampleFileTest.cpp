// The small complete file of the format description gives exactly its model.
#include "ReaderTestUtil.h"

#include <fstream>
#include <sstream>

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
    ASSERT_EQ(reader.Points.size(), 3u);
    ASSERT_EQ(reader.GeoCoords.size(), 3u);
    const PointRec& p1 = reader.Points[0];
    EXPECT_EQ(p1.Name.View(), "ST1");
    EXPECT_EQ(p1.X.View(), "5000.000");
    EXPECT_EQ(p1.Y.View(), "3000.000");
    EXPECT_EQ(p1.H.View(), "120.500");
    EXPECT_EQ(p1.RefPoint, kNone);
    EXPECT_TRUE(p1.HControl);
    EXPECT_TRUE(p1.VControl);
    EXPECT_EQ(p1.Relief, 0);
    for (size_t i : {1u, 2u}) {
        EXPECT_EQ(reader.Points[i].RefPoint, 0) << i;  // slot of point 1
        EXPECT_EQ(reader.Points[i].Relief, 1) << i;
        EXPECT_FALSE(reader.Points[i].HControl);
        EXPECT_FALSE(reader.Points[i].VControl);
        EXPECT_TRUE(reader.GeoCoords[i].Latitude.IsNull());
    }
    EXPECT_EQ(reader.Points[1].H.View(), "121.000");
    EXPECT_TRUE(reader.Points[2].H.IsNull());
    EXPECT_EQ(reader.PointStates, (std::vector<int>{1, 2, 3}));
}

TEST_F(ExampleModelTest, LayerAndFeatureCodeWithItsStyle) {
    ASSERT_EQ(reader.Layers.size(), 1u);
    EXPECT_EQ(reader.Layers[0].Name.View(), "Buildings");
    EXPECT_EQ(reader.Layers[0].Parent, kNone);
    EXPECT_EQ(reader.LayerStates, (std::vector<int>{1}));
    EXPECT_EQ(reader.UndefLayer, kNone);

    ASSERT_EQ(reader.FeatureCodes.size(), 1u);
    EXPECT_EQ(reader.FeatureCodes[0].Code.View(), "BLD");
    EXPECT_EQ(reader.FeatureCodes[0].Name.View(), "Building");
    EXPECT_EQ(reader.FeatureCodes[0].Layer, 0);
    EXPECT_EQ(reader.CodeStates, (std::vector<int>{10}));
    const FeatureStyleRec& style = reader.FeatureStyles[0];
    EXPECT_FALSE(style.Symbol);
    ASSERT_TRUE(style.Pen);
    EXPECT_EQ(style.Pen->Pattern, 1);
    EXPECT_EQ(style.Pen->Width, 2);
    EXPECT_EQ(style.Pen->Color, 0);
    ASSERT_TRUE(style.Brush);
    EXPECT_EQ(style.Brush->Pattern, 2);
    EXPECT_EQ(style.Brush->ForeColor, 255);
    EXPECT_EQ(style.Brush->BackColor, 16777215);
}

TEST_F(ExampleModelTest, PropertySchemaOfTheCode) {
    const PropertySchema& schema = reader.PropertySchemas[0];
    ASSERT_EQ(schema.PropertyDefs.size(), 2u);
    EXPECT_EQ(schema.PropertyDefs[0].Name.View(), "Material");
    EXPECT_EQ(schema.PropertyDefs[0].Type, PROP_CHAR);
    EXPECT_EQ(schema.PropertyDefs[0].Width, 20);
    EXPECT_EQ(schema.PropertyDefs[0].Precision, 0);
    EXPECT_EQ(schema.PropertyDefs[1].Name.View(), "Area");
    EXPECT_EQ(schema.PropertyDefs[1].Type, PROP_DECIMAL);
    EXPECT_EQ(schema.PropertyDefs[1].Width, 10);
    EXPECT_EQ(schema.PropertyDefs[1].Precision, 2);
    EXPECT_EQ(schema.PropertyNumbers, (std::vector<int>{1, 2}));
}

TEST_F(ExampleModelTest, ThePolygonWithItsValues) {
    ASSERT_EQ(reader.Features.size(), 1u);
    EXPECT_EQ(reader.FeatureStates, (std::vector<int>{100}));
    auto* polygon = dynamic_cast<CPointListFeature*>(reader.Features[0].get());
    ASSERT_NE(polygon, nullptr);
    EXPECT_EQ(polygon->Kind, POLYGON);
    EXPECT_EQ(polygon->Code, 0);
    EXPECT_EQ(polygon->Points, (std::vector<int>{0, 1, 2, 0}));
    ASSERT_EQ(reader.FeatureValues[0].size(), 2u);
    EXPECT_EQ(reader.FeatureValues[0][0].View(), "Brick");
    EXPECT_EQ(reader.FeatureValues[0][1].View(), "250.75");
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
