// Geometries and extents: every feature kind as its OGR type, curves through
// the surveyed points, MULTIPLE flattened at any depth, layer types and the
// extents from survey points and circles.
#include <cmath>

#include "GdalTestSupport.h"
#include "gdal/SurveyGeometry.h"

namespace tlxgdal::test {
namespace {

// Points 1..6 on one layer per kind; 7 is the centre of a CIRC0.
std::string Survey() {
    std::string points;
    const char* coords[][2] = {{"100.0", "200.0"}, {"110.0", "200.0"}, {"110.0", "210.0"},  {"100.0", "210.0"},
                               {"105.0", "215.0"}, {"95.0", "205.0"},  {"1000.0", "2000.0"}};
    for (int i = 0; i < 7; ++i)
        points += PointLine(i + 1, "P" + std::to_string(i + 1), coords[i][0], coords[i][1], "7.5");
    std::string layers, codes;
    const char* names[] = {"points", "lines", "polygons", "arcs", "circles", "multiple", "mixed"};
    for (int i = 0; i < 7; ++i) {
        layers += LayerLine(i + 1, 0, names[i]);
        codes += CodeLine(10 + i, i + 1, "C" + std::to_string(i));
    }
    std::string features =
        FeatureLine(1, "POINT", 10, {1}) + FeatureLine(2, "LINE", 11, {1, 2}) + FeatureLine(3, "POLYLINE", 11, {1}) +
        VertexLine(3) + FeatureLine(4, "POLYGON", 12, {4}) + VertexLine(1) + VertexLine(2) + VertexLine(3) +
        VertexLine(1) + FeatureLine(5, "ARC", 13, {1, 5, 3}) + FeatureLine(6, "CIRC3", 14, {1, 5, 3}) +
        FeatureLine(7, "CIRC0", 14, {7, "2.5"}) +
        // a MULTIPLE whose second part is a MULTIPLE of a point and an arc
        FeatureLine(8, "MULTIPLE", 15, {2}) + FeatureLine(8, "LINE", 15, {1, 2}) + FeatureLine(8, "MULTIPLE", 15, {2}) +
        FeatureLine(8, "POINT", 15, {6}) + FeatureLine(8, "ARC", 15, {1, 5, 3}) + FeatureLine(9, "POINT", 16, {1}) +
        FeatureLine(10, "LINE", 16, {1, 2});
    return Section("POINTS", points) + Section("LAYERS", layers) + Section("FEATURE_CODES", codes) +
           Section("FEATURES", features);
}

std::string Wkt(const OGRGeometry* geometry) {
    OGRWktOptions iso;
    iso.variant = wkbVariantIso;
    return geometry ? geometry->exportToWkt(iso) : std::string("(none)");
}

std::vector<std::string> LayerWkts(OGRLayer& layer) {
    std::vector<std::string> out;
    for (auto& feature : layer) out.push_back(Wkt(feature->GetGeometryRef()));
    return out;
}

// The shortest distance from (x, y) to the line string.
double DistanceTo(const OGRLineString& line, double x, double y) {
    double best = HUGE_VAL;
    for (int i = 0; i + 1 < line.getNumPoints(); ++i) {
        double ax = line.getX(i), ay = line.getY(i), dx = line.getX(i + 1) - ax, dy = line.getY(i + 1) - ay;
        double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        best = std::min(best, std::hypot(ax + t * dx - x, ay + t * dy - y));
    }
    return best;
}

}  // namespace

TEST_F(DriverTest, EveryKindHasItsGeometryWithXEastAndYNorth) {
    ASSERT_NE(OpenText(Survey()), nullptr);
    EXPECT_EQ(LayerWkts(*Layer("points")), (std::vector<std::string>{"POINT Z (200 100 7.5)"}));
    EXPECT_EQ(LayerWkts(*Layer("lines")), (std::vector<std::string>{"LINESTRING Z (200 100 7.5,200 110 7.5)",
                                                                    // a polyline of one point: the point twice
                                                                    "LINESTRING Z (210 110 7.5,210 110 7.5)"}));
    EXPECT_EQ(LayerWkts(*Layer("polygons")),
              (std::vector<std::string>{"POLYGON Z ((200 100 7.5,200 110 7.5,210 110 7.5,200 100 7.5))"}));
    EXPECT_EQ(LayerWkts(*Layer("arcs")), (std::vector<std::string>{"CIRCULARSTRING (200 100,215 105,210 110)"}));
    EXPECT_EQ(LayerWkts(*Layer("multiple")),
              (std::vector<std::string>{"GEOMETRYCOLLECTION Z (LINESTRING Z (200 100 7.5,200 110 7.5),"
                                        "POINT Z (205 95 7.5),CIRCULARSTRING Z (200 100 0,215 105 0,210 110 0))"}));

    std::map<std::string, OGRwkbGeometryType> types;
    for (auto* layer : dataset->GetLayers()) types[layer->GetName()] = layer->GetGeomType();
    EXPECT_EQ(types["points"], wkbPoint25D);
    EXPECT_EQ(types["lines"], wkbLineString25D);
    EXPECT_EQ(types["polygons"], wkbPolygon25D);
    EXPECT_EQ(types["arcs"], wkbCircularString);
    EXPECT_EQ(types["circles"], wkbCurvePolygon);
    EXPECT_EQ(types["multiple"], wkbGeometryCollection25D);
    EXPECT_EQ(types["mixed"], OGR_GT_SetZ(wkbUnknown));  // 3D points and lines
}

TEST_F(DriverTest, CirclesAndArcsPassThroughTheirPointsWhenLinearised) {
    ASSERT_NE(OpenText(Survey()), nullptr);
    OGRFeatureUniquePtr circle(Layer("circles")->GetFeature(6));
    ASSERT_NE(circle, nullptr);
    // the three surveyed points, then back to the first through the middle
    // of the rest of the circle: centre (207.5, 102.5), radius sqrt(62.5), at 135 degrees
    const auto* ring = circle->GetGeometryRef()->toCurvePolygon()->getExteriorRingCurve()->toCircularString();
    ASSERT_EQ(ring->getNumPoints(), 5);
    std::vector<std::pair<double, double>> vertices;
    for (int i = 0; i < 5; ++i) vertices.emplace_back(ring->getX(i), ring->getY(i));
    EXPECT_EQ(vertices[0], std::make_pair(200.0, 100.0));
    EXPECT_EQ(vertices[1], std::make_pair(215.0, 105.0));
    EXPECT_EQ(vertices[2], std::make_pair(210.0, 110.0));
    EXPECT_NEAR(vertices[3].first, 207.5 - std::sqrt(31.25), 1e-9);
    EXPECT_NEAR(vertices[3].second, 102.5 + std::sqrt(31.25), 1e-9);
    EXPECT_EQ(vertices[4], vertices[0]);
    OGRFeatureUniquePtr arc(Layer("arcs")->GetNextFeature());
    for (OGRFeature* feature : {circle.get(), arc.get()}) {
        std::unique_ptr<OGRGeometry> linear(feature->GetGeometryRef()->getLinearGeometry());
        const OGRLineString* line =
            linear->getGeometryType() == wkbPolygon ? linear->toPolygon()->getExteriorRing() : linear->toLineString();
        for (auto [x, y] : {std::pair{200.0, 100.0}, {215.0, 105.0}, {210.0, 110.0}})
            EXPECT_LT(DistanceTo(*line, x, y), 1e-2) << Wkt(line) << " " << x << " " << y;
    }
    // the CIRC0 of radius 2.5 around (2000, 1000)
    OGRFeatureUniquePtr radius(Layer("circles")->GetFeature(7));
    OGREnvelope box;
    radius->GetGeometryRef()->getEnvelope(&box);
    EXPECT_NEAR(box.MinX, 1997.5, 1e-9);
    EXPECT_NEAR(box.MaxY, 1002.5, 1e-9);
}

TEST_F(DriverTest, ExtentsComeFromSurveyPointsAndWholeCircles) {
    ASSERT_NE(OpenText(Survey()), nullptr);
    OGREnvelope extent;
    ASSERT_EQ(Layer("polygons")->GetExtent(&extent), OGRERR_NONE);
    EXPECT_DOUBLE_EQ(extent.MinX, 200);
    EXPECT_DOUBLE_EQ(extent.MaxX, 210);
    EXPECT_DOUBLE_EQ(extent.MinY, 100);
    EXPECT_DOUBLE_EQ(extent.MaxY, 110);
    ASSERT_EQ(Layer("circles")->GetExtent(&extent), OGRERR_NONE);
    // the CIRC0's generated radius point sits at (2.5, 2.5): it must not stretch the extent
    EXPECT_GT(extent.MinX, 100);
    EXPECT_NEAR(extent.MaxX, 2002.5, 1e-9);
    EXPECT_NEAR(extent.MaxY, 1002.5, 1e-9);
    for (auto* layer : dataset->GetLayers()) EXPECT_TRUE(layer->TestCapability(OLCFastGetExtent));
}

// Hostile files nest MULTIPLEs a million deep: the geometry is built and the
// model freed without recursion. The model is made here, without the reader.
TEST(SurveyGeometry, AMillionNestedMultiplesGiveOneFlatCollection) {
    tvk::CWriter model;
    model.PointCoords = {{1.0, 2.0, 3.0}, {4.0, 5.0, 6.0}};
    model.PointStates = {1, 2};
    auto point = [](int slot) {
        auto leaf = std::make_unique<tvk::CPointListFeature>(tvk::POINT);
        leaf->Points = {slot};
        return leaf;
    };
    // MULTIPLE(point 0, MULTIPLE(MULTIPLE(... MULTIPLE(point 1))))
    auto top = std::make_unique<tvk::CMultipleFeature>(tvk::MULTIPLE);
    top->Parts.push_back(point(0));
    std::vector<tvk::CMultipleFeature*> chain{top.get()};
    for (int depth = 0; depth < 1000000; ++depth) {
        chain.back()->Parts.push_back(std::make_unique<tvk::CMultipleFeature>(tvk::MULTIPLE));
        chain.push_back(static_cast<tvk::CMultipleFeature*>(chain.back()->Parts.back().get()));
    }
    chain.back()->Parts.push_back(point(1));

    CSurveyGeometry geometry(model);
    EXPECT_EQ(geometry.TypeOf(*top), wkbGeometryCollection25D);
    EXPECT_EQ(Wkt(geometry.Build(*top).get()), "GEOMETRYCOLLECTION Z (POINT Z (1 2 3),POINT Z (4 5 6))");
    OGREnvelope extent;
    geometry.Widen(*top, extent);
    EXPECT_EQ(std::vector<double>({extent.MinX, extent.MinY, extent.MaxX, extent.MaxY}),
              std::vector<double>({1, 2, 4, 5}));
    top.reset();  // the parts are freed in a loop, not in a million nested calls
}

}  // namespace tlxgdal::test
