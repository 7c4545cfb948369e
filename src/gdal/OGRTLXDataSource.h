// One opened .tlx survey: the model, read once, and one OGR layer per export
// layer that has features, in slot order (the two generated point layers
// last). The dataset's metadata carries the file's counts.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "gdal/OGRTLXLayer.h"
#include "gdal/SurveyReader.h"
#include "gdal_priv.h"

namespace tlxgdal {

class OGRTLXDataSource final : public GDALDataset {
public:
    // Reads `path`; nullptr after a CPLError failure. `strict` refuses a file
    // with reading errors; `logPath` "" writes no log.
    static GDALDataset* Open(const char* path, bool strict, const std::string& logPath);

    int GetLayerCount() override { return static_cast<int>(layers_.size()); }
    OGRLayer* GetLayer(int index) override;
    int TestCapability(const char*) override { return FALSE; }

private:
    OGRTLXDataSource() = default;
    void CreateLayers();

    std::unique_ptr<CSurveyReader> survey_ = std::make_unique<CSurveyReader>();
    std::vector<std::unique_ptr<OGRTLXLayer>> layers_;  // destroyed before the survey
};

}  // namespace tlxgdal
