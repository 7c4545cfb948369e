#include "gdal/SurveyGeometry.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "msr/msr.h"
#include "reader/FeatureWalk.h"

namespace tlxgdal {
namespace {

using tvk::CFeature;

// Points a leaf of each kind needs; 0 for kinds that draw nothing.
size_t PointsNeeded(int kind) {
    switch (kind) {
    case tvk::POINT:
    case tvk::POLYLINE:
    case tvk::POLYGON: return 1;
    case tvk::LINE: return 2;
    case tvk::ARC:
    case tvk::CIRCLE: return 3;
    default: return 0;
    }
}

OGRwkbGeometryType LeafType(int kind) {
    switch (kind) {
    case tvk::POINT: return wkbPoint25D;
    case tvk::LINE:
    case tvk::POLYLINE: return wkbLineString25D;
    case tvk::POLYGON: return wkbPolygon25D;
    case tvk::ARC: return wkbCircularString;
    case tvk::CIRCLE: return wkbCurvePolygon;
    default: return wkbUnknown;
    }
}

msr::CCircle CircleThrough(const tvk::Coord3& a, const tvk::Coord3& b, const tvk::Coord3& c) {
    return msr::CCircle(tvk::ToLibraryPoint(a), tvk::ToLibraryPoint(b), tvk::ToLibraryPoint(c));
}

}  // namespace

OGRwkbGeometryType CSurveyGeometry::TypeOf(const CFeature& feature) const {
    if (feature.Kind != tvk::MULTIPLE) return LeafType(feature.Kind);
    // A collection is 3D as soon as one part is: OGR then gives every part a z.
    bool threeD = false;
    tvk::ForEachLeaf(&feature,
                     [&threeD](const CFeature& leaf) { threeD = threeD || OGR_GT_HasZ(LeafType(leaf.Kind)); });
    return threeD ? wkbGeometryCollection25D : wkbGeometryCollection;
}

std::unique_ptr<OGRGeometry> CSurveyGeometry::Build(const CFeature& feature) const {
    if (feature.Kind != tvk::MULTIPLE) return BuildLeaf(feature);
    auto collection = std::make_unique<OGRGeometryCollection>();
    tvk::ForEachLeaf(&feature, [&](const CFeature& leaf) {
        if (auto part = BuildLeaf(leaf)) collection->addGeometryDirectly(part.release());
    });
    return collection;
}

void CSurveyGeometry::Widen(const CFeature& feature, OGREnvelope& envelope) const {
    tvk::ForEachLeaf(&feature, [&](const CFeature& leaf) {
        const std::vector<int>* points = PointsOf(leaf);
        if (!points) return;
        if (leaf.Kind == tvk::ARC || leaf.Kind == tvk::CIRCLE) {
            msr::CCircle circle = CircleThrough(At((*points)[0]), At((*points)[1]), At((*points)[2]));
            const tvk::Coord3 centre = tvk::FromLibraryPoint(circle.centre);
            double x = centre.x, y = centre.y, r = circle.radius;
            envelope.Merge(x - r, y - r);
            envelope.Merge(x + r, y + r);
        }
        // Generated circle points lie on their circle; only survey points count.
        for (int slot : *points)
            if (model_.IsSurveyPoint(slot)) WidenByPoint(slot, envelope);
    });
}

const std::vector<int>* CSurveyGeometry::PointsOf(const CFeature& leaf) const {
    size_t needed = PointsNeeded(leaf.Kind);
    auto* list = needed ? dynamic_cast<const tvk::CPointListFeature*>(&leaf) : nullptr;
    if (!list || list->Points.size() < needed) return nullptr;
    for (int slot : list->Points)
        if (!tvk::ValidSlot(slot, model_.PointCoords)) return nullptr;
    return &list->Points;
}

std::unique_ptr<OGRGeometry> CSurveyGeometry::BuildLeaf(const CFeature& leaf) const {
    const std::vector<int>* points = PointsOf(leaf);
    if (!points) return nullptr;
    const std::vector<int>& p = *points;
    auto fill = [this, &p](OGRSimpleCurve& curve, size_t count, size_t atLeast) {
        // A line of one point and a ring of fewer than four are padded with
        // their last point, as GIS formats refuse them shorter.
        curve.setNumPoints(static_cast<int>(std::max(count, atLeast)), FALSE);
        for (size_t i = 0; i < std::max(count, atLeast); ++i) {
            const tvk::Coord3& c = At(p[std::min(i, count - 1)]);
            curve.setPoint(static_cast<int>(i), c.x, c.y, c.z);
        }
    };
    switch (leaf.Kind) {
    case tvk::POINT: return BuildPoint(p[0]);
    case tvk::LINE:
    case tvk::POLYLINE: {
        auto line = std::make_unique<OGRLineString>();
        fill(*line, leaf.Kind == tvk::LINE ? 2 : p.size(), 2);
        return line;
    }
    case tvk::POLYGON: {
        auto ring = std::make_unique<OGRLinearRing>();
        fill(*ring, p.size(), 4);
        auto polygon = std::make_unique<OGRPolygon>();
        polygon->addRingDirectly(ring.release());
        return polygon;
    }
    case tvk::ARC: {
        auto arc = std::make_unique<OGRCircularString>();
        arc->setNumPoints(3, FALSE);
        for (int i = 0; i < 3; ++i) arc->setPoint(i, At(p[i]).x, At(p[i]).y);
        return arc;
    }
    case tvk::CIRCLE: return BuildCircle(p);
    default: return nullptr;
    }
}

// The closed circular string p0, p1, p2, m, p0: the arc through the three
// points, then back to p0 through m, the middle of the rest of the circle.
std::unique_ptr<OGRGeometry> CSurveyGeometry::BuildCircle(const std::vector<int>& p) const {
    const tvk::Coord3 &a = At(p[0]), &b = At(p[1]), &c = At(p[2]);
    msr::CCircle circle = CircleThrough(a, b, c);
    double mx = b.x, my = b.y;  // three points with no circle: there and back
    if (!circle.IsDegenerate()) {
        constexpr double kTurn = 2 * std::numbers::pi;
        const tvk::Coord3 centre = tvk::FromLibraryPoint(circle.centre);
        double cx = centre.x, cy = centre.y, r = circle.radius;
        bool counterClockwise = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) > 0;
        double fromC = std::atan2(c.y - cy, c.x - cx), toA = std::atan2(a.y - cy, a.x - cx);
        double sweep = std::fmod((counterClockwise ? toA - fromC : fromC - toA) + 2 * kTurn, kTurn);
        double middle = fromC + (counterClockwise ? sweep : -sweep) / 2;
        mx = cx + r * std::cos(middle);
        my = cy + r * std::sin(middle);
    }
    auto ring = std::make_unique<OGRCircularString>();
    ring->setNumPoints(5, FALSE);
    ring->setPoint(0, a.x, a.y);
    ring->setPoint(1, b.x, b.y);
    ring->setPoint(2, c.x, c.y);
    ring->setPoint(3, mx, my);
    ring->setPoint(4, a.x, a.y);
    auto polygon = std::make_unique<OGRCurvePolygon>();
    polygon->addRingDirectly(ring.release());
    return polygon;
}

}  // namespace tlxgdal
