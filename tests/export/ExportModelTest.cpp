// The export model derived after reading: point layers, coordinates east-north-elevation, survey
// points, attribute columns and unique layer file names.
#include <gtest/gtest.h>

#include "export/ExportTestUtil.h"

using namespace tvk;
using namespace tvk::test;

namespace {

using Texts = std::vector<std::string>;

// The two generated point layers are the last two layer and code slots.
struct PointLayers {
    int tspLayer, cpLayer, tspCode, cpCode;
};

class PrepareDataTest : public ExportModelTest {
protected:
    PointLayers Generated() const {
        int layers = static_cast<int>(writer.Layers.size());
        int codes = static_cast<int>(writer.FeatureCodes.size());
        return {layers - 2, layers - 1, codes - 2, codes - 1};
    }
    Texts DefNames(int codeSlot) const {
        Texts out;
        for (const PropertyDef& d : writer.PropertySchemas[codeSlot].PropertyDefs) out.push_back(d.Name.Str());
        return out;
    }
};

const std::string kControlAndTacheometry =
    Section("POINTS", PointLine(1, "ST1", "5000.000", "3000.000", "120.500", -1, "/h /v") +
                          PointLine(2, "P2", "5010.000", "3005.000", "121.000", 1) +
                          PointLine(3, "P3", "5012.000", "2998.000", "", -1, "/v /s") +
                          PointLine(0, "P0", "6000000.5", "400000.25", "7.5") +
                          PointLine(4, "BAD", "5000.000", "", "1.0")) +
    Section("LAYERS", LayerLine(1, 0, "Roads")) + Section("FEATURE_CODES", CodeLine(10, 1, "RD", "Road"));

TEST_F(PrepareDataTest, PointsOnlyGiveTheTwoPointLayersAndDropUnusedOnes) {
    ReadText(kControlAndTacheometry);
    const PointLayers g = Generated();
    ASSERT_EQ(writer.Layers.size(), 3u);
    // The file's layer has no feature: left out, no file name.
    EXPECT_EQ(writer.LayerStates[LayerSlot(1)], -10);
    EXPECT_EQ(writer.LayerFileNames[LayerSlot(1)], "");

    EXPECT_EQ(writer.Layers[g.tspLayer].Name.Str(), Cp1251("Точки тахеометрии"));
    EXPECT_EQ(writer.Layers[g.cpLayer].Name.Str(), Cp1251("Точки обоснования"));
    EXPECT_EQ(writer.LayerStates[g.tspLayer], -2);
    EXPECT_EQ(writer.LayerStates[g.cpLayer], -1);
    EXPECT_EQ(writer.LayerFileNames[g.tspLayer], Cp1251("Точки_тахеометрии"));
    EXPECT_EQ(writer.LayerFileNames[g.cpLayer], Cp1251("Точки_обоснования"));

    EXPECT_EQ(CodeSlot(-2), g.tspCode);
    EXPECT_EQ(CodeSlot(-1), g.cpCode);
    EXPECT_EQ(writer.FeatureCodes[g.tspCode].Layer, g.tspLayer);
    EXPECT_EQ(writer.FeatureCodes[g.cpCode].Layer, g.cpLayer);
    EXPECT_EQ(writer.CodeUsed[CodeSlot(10)], 0);
    // The tables parallel to layers and codes stay parallel: a message may
    // name the line of any code or layer, the made-up ones as line 0.
    EXPECT_EQ(writer.LayerLines.size(), writer.Layers.size());
    EXPECT_EQ(writer.CodeLines.size(), writer.FeatureCodes.size());
    EXPECT_EQ(writer.CodeLines[g.cpCode], 0);

    // The schemas' names; types and widths reach the files and are read back by the writers' tests.
    EXPECT_EQ(DefNames(g.cpCode), (Texts{Cp1251("Точка"), "X", "Y", "H", Cp1251("Тип координат XY"),
                                         Cp1251("Тип координаты H"), Cp1251("Отношение к рельефу")}));
    EXPECT_EQ(writer.PropertySchemas[g.tspCode].PropertyNumbers, (std::vector<int>{-99, -98, -97, -96, -93}));
}

TEST_F(PrepareDataTest, OnlyPointLayersThatReceivePointsAreExported) {
    ReadText(Section("POINTS", PointLine(1, "A", "1", "2") + PointLine(2, "B", "3", "4")));
    const PointLayers g = Generated();
    EXPECT_EQ(writer.LayerStates[g.tspLayer], -10);
    EXPECT_EQ(writer.LayerFileNames[g.tspLayer], "");
    EXPECT_EQ(writer.LayerStates[g.cpLayer], -1);
}

TEST_F(PrepareDataTest, ControlPointsCarrySevenValuesAndTacheometryPointsFive) {
    ReadText(kControlAndTacheometry);
    const PointLayers g = Generated();
    std::vector<size_t> features = PointFeatures();
    ASSERT_EQ(features.size(), 4u);  // the invalid point 4 gets none
    std::vector<int> pointOrder, codes;
    for (size_t f : features) {
        const auto* feature = dynamic_cast<const CPointListFeature*>(writer.Features[f].get());
        ASSERT_NE(feature, nullptr);
        EXPECT_EQ(feature->Kind, POINT);
        ASSERT_EQ(feature->Points.size(), 1u);
        pointOrder.push_back(feature->Points[0]);
        codes.push_back(feature->Code);
    }
    // Point slots in ascending order.
    EXPECT_EQ(pointOrder, (std::vector<int>{PointSlot(1), PointSlot(2), PointSlot(3), PointSlot(0)}));
    EXPECT_EQ(codes, (std::vector<int>{g.cpCode, g.tspCode, g.cpCode, g.cpCode}));

    EXPECT_EQ(Values(features[0]), (Texts{"ST1", "5000.", "3000.", "120.5", "1", "1", "R"}));
    EXPECT_EQ(Values(features[1]), (Texts{"P2", "5010.", "3005.", "121.", "N"}));
    EXPECT_EQ(Values(features[2]), (Texts{"P3", "5012.", "2998.", "0.", "0", "1", "S"}));
    EXPECT_EQ(Values(features[3]), (Texts{"P0", "6000000.5", "400000.25", "7.5", "0", "0", "N"}));
    EXPECT_EQ(writer.LayerUsed[g.tspLayer], 1);
    EXPECT_EQ(writer.CodeUsed[g.cpCode], 1);
}

TEST_F(PrepareDataTest, CoordinatesAreEastNorthElevation) {
    ReadText(kControlAndTacheometry);
    const Coord3& c = writer.PointCoords[PointSlot(0)];
    EXPECT_EQ(c.x, 400000.25);
    EXPECT_EQ(c.y, 6000000.5);
    EXPECT_EQ(c.z, 7.5);
    EXPECT_EQ(writer.PointCoords[PointSlot(3)].z, 0.0);  // no H
    EXPECT_EQ(writer.PointCoords[PointSlot(4)].x, 0.0);  // left out: stays zero
}

TEST_F(PrepareDataTest, SurveyPointsExcludeGeneratedCirclePoints) {
    std::string circ0 = Row({Num(0, 501), {9, "CIRC0"}, Num(26, 10), Num(35, 1), {44, "10.0"}});
    ReadText(kControlAndTacheometry + Section("FEATURES", FeatureLine(500, "CIRC1", 10, {1, 2}) + circ0));
    // Three points per circle and a radius point beside the five of the file.
    ASSERT_EQ(writer.Points.size(), 12u);
    int generated = 0;
    for (size_t i = 0; i < writer.Points.size(); ++i) {
        int state = writer.PointStates[i];
        if (state < 0 && state != -10) {
            ++generated;
            EXPECT_FALSE(writer.IsSurveyPoint(static_cast<int>(i))) << state;
        }
    }
    EXPECT_EQ(generated, 7);  // 3 + 3 circle points, 1 radius point
    for (int number : {0, 1, 2, 3}) EXPECT_TRUE(writer.IsSurveyPoint(PointSlot(number))) << number;
    EXPECT_FALSE(writer.IsSurveyPoint(PointSlot(4)));  // left out
    EXPECT_FALSE(writer.IsSurveyPoint(-1));
    EXPECT_FALSE(writer.IsSurveyPoint(static_cast<int>(writer.Points.size())));
    // Generated points get coordinates for the circles but no point feature.
    EXPECT_EQ(PointFeatures().size(), 4u);
    int radius = -1;
    for (size_t i = 0; i < writer.Points.size(); ++i)
        if (writer.PointStates[i] <= -100000000 + 1000 && writer.PointStates[i] != -10) radius = static_cast<int>(i);
    ASSERT_GE(radius, 0);
    EXPECT_EQ(writer.PointCoords[radius].x, 10.0);
    EXPECT_EQ(writer.PointCoords[radius].y, 10.0);
}

const std::string kTwoCodesOneLayer =
    Section("POINTS", PointLine(1, "A", "1", "2") + PointLine(2, "B", "3", "4", "", 1)) +
    Section("LAYERS", LayerLine(1, 0, "Pipes") + LayerLine(2, 0, "Other")) +
    Section("FEATURE_CODES", CodeLine(10, 1, "A", "Code A") + CodeLine(20, 1, "B", "") +
                                 CodeLine(30, 1, "C", "Unused") + CodeLine(40, 2, "D", "Other code")) +
    Section("FEATURE_PROPERTIES", PropertyLine(10, 1, "Name", "Char(20)") + PropertyLine(10, 2, "Depth", "Float") +
                                      PropertyLine(20, 1, "NAME", "Char(5)") +
                                      PropertyLine(20, 3, "Width", "Decimal(10,2)") +
                                      PropertyLine(30, 1, "Kind", "Integer")) +
    Section("FEATURES", FeatureLine(100, "POINT", 10, {1}) + FeatureLine(200, "POINT", 20, {2}) +
                            FeatureLine(300, "LINE", 40, {1, 2})) +
    Section("FEATURE_DATA", DataLine(100, 1, "n1") + DataLine(100, 2, "3.5") + DataLine(200, 3, "7.25"));

TEST_F(PrepareDataTest, UsedOrdinaryCodesGetTheDescriptionColumnFirst) {
    ReadText(kTwoCodesOneLayer);
    const int a = CodeSlot(10), unused = CodeSlot(30);
    const std::string description = Cp1251("Описание");
    EXPECT_EQ(DefNames(a), (Texts{description, "Name", "Depth"}));
    const PropertySchema& sa = writer.PropertySchemas[a];
    EXPECT_EQ(sa.PropertyNumbers, (std::vector<int>{-100, 1, 2}));
    EXPECT_EQ(DefNames(unused), (Texts{"Kind"}));  // no feature, no column

    EXPECT_EQ(Values(FeatureSlot(100)), (Texts{"Code A", "n1", "3.5"}));
    EXPECT_EQ(Values(FeatureSlot(200)), (Texts{"?", "(null)", "7.25"}));  // the code has no name
    EXPECT_EQ(Values(FeatureSlot(300)), (Texts{"Other code"}));
    EXPECT_EQ(DefNames(CodeSlot(40)), (Texts{description}));
    for (size_t f : PointFeatures()) EXPECT_NE(writer.FeatureValues[f][0].Str(), "Code A");
}

TEST_F(PrepareDataTest, LayerColumnsAreTheUnionByNameWithoutRegardToCase) {
    ReadText(kTwoCodesOneLayer);
    const int layer = LayerSlot(1);
    const std::vector<PropertyDef>& columns = writer.LayerInfo.LayerColumns[layer];
    Texts names;
    for (const PropertyDef& d : columns) names.push_back(d.Name.Str());
    EXPECT_EQ(names, (Texts{Cp1251("Описание"), "Name", "Depth", "Width"}));
    // Name and NAME share one column, typed by the first definition.
    EXPECT_EQ(columns[1].Type, 0);
    EXPECT_EQ(columns[1].Width, 20);

    const auto& maps = writer.LayerInfo.ColumnMaps[layer];
    ASSERT_EQ(maps.size(), writer.FeatureCodes.size());
    EXPECT_EQ(maps[CodeSlot(10)], (std::vector<int>{0, 1, 2, -10}));
    EXPECT_EQ(maps[CodeSlot(20)], (std::vector<int>{0, 1, -10, 2}));
    EXPECT_EQ(maps[CodeSlot(30)], (std::vector<int>{-10, -10, -10, -10}));  // unused code, padded
    EXPECT_TRUE(maps[CodeSlot(40)].empty());                                // another layer's code

    const int other = LayerSlot(2);
    ASSERT_EQ(writer.LayerInfo.LayerColumns[other].size(), 1u);
    EXPECT_EQ(writer.LayerInfo.ColumnMaps[other][CodeSlot(40)], (std::vector<int>{0}));

    const int cpLayer = Generated().cpLayer, cpCode = Generated().cpCode;
    EXPECT_EQ(writer.LayerInfo.LayerColumns[cpLayer].size(), 7u);
    EXPECT_EQ(writer.LayerInfo.ColumnMaps[cpLayer][cpCode], (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(PrepareDataTest, LayerNamesBecomeUniqueFileNames) {
    std::string layers, codes, features;
    const char* names[] = {"A B", "A_B", "A?B", "Дороги"};
    for (int i = 1; i <= 4; ++i) {
        layers += LayerLine(i, 0, Cp1251(names[i - 1]));
        codes += CodeLine(10 * i, i, "C", "Code");
        features += FeatureLine(100 * i, "POINT", 10 * i, {1});
    }
    layers += LayerLine(5, 0, "A B");  // unused: left out, takes no name
    ReadText(Section("POINTS", PointLine(1, "A", "1", "2")) + Section("LAYERS", layers) +
             Section("FEATURE_CODES", codes) + Section("FEATURES", features));
    EXPECT_EQ(writer.GetLayerFileNames()[LayerSlot(1)], "A_B");
    EXPECT_EQ(writer.GetLayerFileNames()[LayerSlot(2)], "A_B1");
    EXPECT_EQ(writer.GetLayerFileNames()[LayerSlot(3)], "A_B2");
    EXPECT_EQ(writer.GetLayerFileNames()[LayerSlot(4)], Cp1251("Дороги"));
    EXPECT_EQ(writer.GetLayerFileNames()[LayerSlot(5)], "");
    EXPECT_EQ(writer.Layers[LayerSlot(1)].Name.Str(), "A B");  // the layer keeps its name
}

TEST_F(PrepareDataTest, AStopRequestEndsThePreparation) {
    ReadText(kTwoCodesOneLayer);
    writer.TryToStop();
    EXPECT_THROW(writer.PrepareData(), CThreadStopSignal);
}

}  // namespace
