#include "gdal/OGRTLXDataSource.h"

#include <new>
#include <set>

#include "platform/CodePage.h"
#include "platform/Exceptions.h"

namespace tlxgdal {
namespace {

// Layer names, unique without regard to case (GeoPackage and PostGIS table
// names are): a repeated name gets 1, 2, ... appended, and a layer without a
// name is called by its number.
class CLayerNames {
public:
    std::string Take(const tvk::LayerRec& layer, int number) {
        std::string name = layer.Name.IsBlank() ? std::to_string(number) : layer.Name.Str();
        std::string candidate = name;
        for (int n = 1; !used_.insert(tvk::Upper1251(candidate)).second; ++n) candidate = name + std::to_string(n);
        return tvk::Utf8From1251(candidate);
    }

private:
    std::set<std::string> used_;
};

}  // namespace

GDALDataset* OGRTLXDataSource::Open(const char* path, bool strict, const std::string& logPath) {
    std::unique_ptr<OGRTLXDataSource> dataset(new OGRTLXDataSource);
    CSurveyReader& survey = *dataset->survey_;
    try {
        survey.ReadSurvey(path, logPath);
        dataset->CreateLayers();
    } catch (const tvk::CFileException& e) {
        CPLError(CE_Failure, CPLE_OpenFailed, "%s: %s", e.m_strFileName.c_str(), e.SystemReason().c_str());
        return nullptr;
    } catch (const std::bad_alloc&) {
        CPLError(CE_Failure, CPLE_OutOfMemory, "%s: out of memory reading the survey", path);
        return nullptr;
    } catch (const std::exception& e) {
        CPLError(CE_Failure, CPLE_AppDefined, "%s: %s", path, e.what());
        return nullptr;
    }
    if (strict && survey.ErrorCount > 0) {
        CPLError(CE_Failure, CPLE_OpenFailed, "%s: %d reading errors, and STRICT=YES refuses a file with any", path,
                 survey.ErrorCount);
        return nullptr;
    }
    const CSurveyReader::FileCounts& counts = survey.Counts();
    dataset->SetMetadataItem("POINTS", std::to_string(counts.points).c_str());
    dataset->SetMetadataItem("LAYERS", std::to_string(counts.layers).c_str());
    dataset->SetMetadataItem("FEATURE_CODES", std::to_string(counts.codes).c_str());
    dataset->SetMetadataItem("FEATURES", std::to_string(counts.features).c_str());
    dataset->SetMetadataItem("ERRORS", std::to_string(survey.ErrorCount).c_str());
    dataset->SetMetadataItem("WARNINGS", std::to_string(survey.WarningCount).c_str());
    dataset->SetDescription(path);
    return dataset.release();
}

OGRLayer* OGRTLXDataSource::GetLayer(int index) {
    return tvk::ValidSlot(index, layers_) ? layers_[static_cast<size_t>(index)].get() : nullptr;
}

void OGRTLXDataSource::CreateLayers() {
    const CSurveyReader& survey = *survey_;
    const CSurveyGeometry geometry(survey);
    std::vector<std::vector<int>> slots(survey.Layers.size());
    std::vector<OGRwkbGeometryType> types(survey.Layers.size(), wkbNone);
    for (size_t f = 0; f < survey.Features.size(); ++f) {
        const tvk::CFeature* feature = survey.Features[f].get();
        if (!feature || survey.FeatureStates[f] == tvk::kNone) continue;
        size_t code = static_cast<size_t>(feature->Code);
        if (code >= survey.FeatureCodes.size()) continue;
        size_t layer = static_cast<size_t>(survey.FeatureCodes[code].Layer);
        if (layer >= survey.Layers.size() || survey.LayerStates[layer] == tvk::kNone) continue;
        slots[layer].push_back(static_cast<int>(f));
        OGRwkbGeometryType type = geometry.TypeOf(*feature);
        OGRwkbGeometryType& common = types[layer];
        if (common == wkbNone || common == type) common = type;
        // Mixed kinds: unknown, with z when any has one, so that formats with
        // one z flag per layer (FlatGeobuf) keep the heights.
        else common = OGR_GT_HasZ(common) || OGR_GT_HasZ(type) ? OGR_GT_SetZ(wkbUnknown) : wkbUnknown;
    }
    CLayerNames names;
    for (size_t layer = 0; layer < slots.size(); ++layer) {
        const CSurveyReader::PointLayer* points = survey.PointLayerAt(static_cast<int>(layer));
        if (points ? points->points.empty() : slots[layer].empty()) continue;
        std::string name = names.Take(survey.Layers[layer], survey.LayerStates[layer]);
        OGRwkbGeometryType type = points ? geometry.TypeOf(tvk::CFeature(tvk::POINT)) : types[layer];
        layers_.push_back(
            std::make_unique<OGRTLXLayer>(survey, static_cast<int>(layer), name, std::move(slots[layer]), type));
    }
}

}  // namespace tlxgdal
