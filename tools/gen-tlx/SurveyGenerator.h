// Invents a plausible survey of a given size from a seed: control points on a
// grid, features laid out cell by cell with their own points, loose spot heights.
#pragma once
#include <cstdint>

#include "GeneratedSurvey.h"
#include "Random.h"

namespace gentlx {

struct GeneratorOptions {
    int64_t points = 100000;
    int64_t features = -1;  // -1: a tenth of the points
    uint64_t seed = 1;
    int geoPercent = 5;  // share of the non-control points with GDS_COORDS
    int layers = 12;     // more add numbered layers, three feature codes each
};

class CSurveyGenerator {
public:
    explicit CSurveyGenerator(const GeneratorOptions& options);
    // The whole survey, identical for identical options. Throws std::runtime_error
    // when the points are too few for the features.
    GeneratedSurvey Generate();

private:
    struct Spot {
        int64_t x, y;
    };
    void MakeLayers();
    void MakeProperties();
    void MakeCodes();
    void MakePointWords();
    void MakeControlPoints();
    void MakeFeatures();
    void MakeLoosePoints();
    GenFeature MakeFeature(Kind kind, Spot centre, int code);
    void AddShape(GenFeature& f, Kind kind, Spot centre);
    int NewPoint(Spot at, int word, bool feature);
    int StationOf(Spot at) const;
    int64_t Terrain(Spot at);
    int CodeOf(Family family);
    Spot Offset(Spot from, int direction, int64_t distance) const;

    GeneratorOptions m_options;
    CRandom m_rnd;
    GeneratedSurvey m_survey;
    int64_t m_extent = 0;  // side of the surveyed square, mm
    int64_t m_controlColumns = 1;
    int64_t m_controlCount = 0;
    int m_codeCount = 0;
};

}  // namespace gentlx
