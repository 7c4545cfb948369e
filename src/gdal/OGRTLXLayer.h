// One layer of the export model as an OGR layer: its features in slot order,
// its columns as fields, and as FID the feature's number in the file. The two
// generated point layers serve their survey points, in point slot order, with
// the point's number as FID.
#pragma once
#include <string>
#include <vector>

#include "gdal/SurveyGeometry.h"
#include "gdal/SurveyReader.h"
#include "ogrsf_frmts.h"

namespace tlxgdal {

class OGRTLXLayer final : public OGRLayer, public OGRGetNextFeatureThroughRaw<OGRTLXLayer> {
    DEFINE_GET_NEXT_FEATURE_THROUGH_RAW(OGRTLXLayer)

public:
    // `featureSlots`: the layer's valid features, ascending (unused on a point
    // layer); `type`: their common geometry type, or wkbUnknown.
    OGRTLXLayer(const CSurveyReader& survey, int layerSlot, const std::string& name, std::vector<int> featureSlots,
                OGRwkbGeometryType type);
    ~OGRTLXLayer() override;

    void ResetReading() override { next_ = 0; }
    OGRFeature* GetNextRawFeature();
    OGRFeature* GetFeature(GIntBig fid) override;
    OGRErr SetNextByIndex(GIntBig index) override;
    GIntBig GetFeatureCount(int force) override;
    using OGRLayer::GetExtent;
    OGRErr GetExtent(OGREnvelope* extent, int force) override;
    OGRFeatureDefn* GetLayerDefn() override { return defn_; }
    int TestCapability(const char* capability) override;

private:
    bool Filtered() const { return m_poFilterGeom != nullptr || m_poAttrQuery != nullptr; }
    // A feature slot, or a point slot on a point layer.
    OGRFeature* Translate(int slot);
    OGRFeature* TranslatePoint(int pointSlot);
    // Column k of the layer is value map[k] of `code`'s values, or none.
    void SetValues(OGRFeature& feature, int code, const std::vector<tvk::CText>& values);
    void SetValue(OGRFeature& feature, int field, const tvk::CText& value);

    const CSurveyReader& survey_;
    const CSurveyGeometry geometry_;
    const int layerSlot_;
    const CSurveyReader::PointLayer* const pointLayer_;
    const std::vector<int> featureSlots_;
    const std::vector<int>& slots_;  // featureSlots_ or the point layer's points
    OGRFeatureDefn* defn_;
    size_t next_ = 0;
    OGREnvelope extent_;
    bool extentDone_ = false;
    std::string scratch_;
};

}  // namespace tlxgdal
