// The OGR geometry of a feature of the export model: points as Point Z,
// lines and polylines as LineString Z, polygons as Polygon Z, arcs as
// CircularString, circles as CurvePolygon of a closed CircularString through
// their three points, MULTIPLE as a GeometryCollection of its parts (nested
// ones flattened). x is east, y north, z the elevation.
#pragma once
#include <memory>

#include "export/Writer.h"
#include "ogr_geometry.h"

namespace tlxgdal {

class CSurveyGeometry {
public:
    explicit CSurveyGeometry(const tvk::CWriter& model) : model_(model) {}

    // The type of the geometry Build gives, without building it.
    OGRwkbGeometryType TypeOf(const tvk::CFeature& feature) const;
    // nullptr when no part of the feature can be drawn.
    std::unique_ptr<OGRGeometry> Build(const tvk::CFeature& feature) const;
    // Widens `envelope` by the feature's survey points and by the square
    // around the whole circle of an arc or circle.
    void Widen(const tvk::CFeature& feature, OGREnvelope& envelope) const;

    // The Point Z of a valid point slot, as Build gives a POINT feature of it.
    std::unique_ptr<OGRGeometry> BuildPoint(int slot) const {
        return std::make_unique<OGRPoint>(At(slot).x, At(slot).y, At(slot).z);
    }
    void WidenByPoint(int slot, OGREnvelope& envelope) const { envelope.Merge(At(slot).x, At(slot).y); }

private:
    // The point slots of a drawable leaf, or nullptr.
    const std::vector<int>* PointsOf(const tvk::CFeature& leaf) const;
    std::unique_ptr<OGRGeometry> BuildLeaf(const tvk::CFeature& leaf) const;
    std::unique_ptr<OGRGeometry> BuildCircle(const std::vector<int>& points) const;
    const tvk::Coord3& At(int slot) const { return model_.PointCoords[static_cast<size_t>(slot)]; }

    const tvk::CWriter& model_;
};

}  // namespace tlxgdal
