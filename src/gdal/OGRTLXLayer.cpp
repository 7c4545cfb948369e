#include "gdal/OGRTLXLayer.h"

#include <algorithm>
#include <climits>

#include "platform/CodePage.h"

namespace tlxgdal {
namespace {

using tvk::PropertyDef;

// The MapInfo writer's column types: Char, Integer, Smallint, Decimal, Float;
// Angular is written as Float.
void AddField(OGRFeatureDefn& defn, const PropertyDef& column) {
    std::string name = tvk::Utf8From1251(column.Name.View());
    bool integer = column.Type == tvk::PROP_INTEGER || column.Type == tvk::PROP_SMALLINT;
    OGRFieldDefn field(name.c_str(), column.Type == tvk::PROP_CHAR ? OFTString : integer ? OFTInteger : OFTReal);
    if (column.Type == tvk::PROP_CHAR || column.Type == tvk::PROP_DECIMAL) field.SetWidth(std::max(column.Width, 0));
    if (column.Type == tvk::PROP_DECIMAL) field.SetPrecision(std::max(column.Precision, 0));
    defn.AddFieldDefn(&field);
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

OGRTLXLayer::OGRTLXLayer(const CSurveyReader& survey, int layerSlot, const std::string& name,
                         std::vector<int> featureSlots, OGRwkbGeometryType type)
    : survey_(survey),
      geometry_(survey),
      layerSlot_(layerSlot),
      pointLayer_(survey.PointLayerAt(layerSlot)),
      featureSlots_(std::move(featureSlots)),
      slots_(pointLayer_ ? pointLayer_->points : featureSlots_),
      defn_(new OGRFeatureDefn(name.c_str())) {
    defn_->Reference();
    defn_->SetGeomType(type);
    SetDescription(defn_->GetName());
    const auto& columns = survey.LayerInfo.LayerColumns;
    if (static_cast<size_t>(layerSlot) < columns.size())
        for (const PropertyDef& column : columns[static_cast<size_t>(layerSlot)]) AddField(*defn_, column);
}

OGRTLXLayer::~OGRTLXLayer() { defn_->Release(); }

OGRFeature* OGRTLXLayer::GetNextRawFeature() {
    if (next_ >= slots_.size()) return nullptr;
    return Translate(slots_[next_++]);
}

OGRFeature* OGRTLXLayer::GetFeature(GIntBig fid) {
    if (fid < INT_MIN || fid > INT_MAX) return nullptr;
    const tvk::CIntMap& numbers = pointLayer_ ? survey_.PointMap : survey_.FeatureMap;
    const int* slot = numbers.Find(static_cast<int>(fid));
    if (!slot) return nullptr;
    // The slots are ascending; the search also proves the feature belongs to
    // this layer.
    auto it = std::lower_bound(slots_.begin(), slots_.end(), *slot);
    if (it == slots_.end() || *it != *slot) return nullptr;
    return Translate(*it);
}

OGRErr OGRTLXLayer::SetNextByIndex(GIntBig index) {
    if (Filtered()) return OGRLayer::SetNextByIndex(index);
    if (!tvk::ValidSlot(index, slots_)) return OGRERR_FAILURE;
    next_ = static_cast<size_t>(index);
    return OGRERR_NONE;
}

GIntBig OGRTLXLayer::GetFeatureCount(int force) {
    if (Filtered()) return OGRLayer::GetFeatureCount(force);
    return static_cast<GIntBig>(slots_.size());
}

OGRErr OGRTLXLayer::GetExtent(OGREnvelope* extent, int) {
    if (!extentDone_) {
        if (pointLayer_)
            for (int slot : slots_) geometry_.WidenByPoint(slot, extent_);
        else
            for (int slot : slots_) geometry_.Widen(*survey_.Features[static_cast<size_t>(slot)], extent_);
        extentDone_ = true;
    }
    if (!extent_.IsInit()) return OGRERR_FAILURE;
    *extent = extent_;
    return OGRERR_NONE;
}

int OGRTLXLayer::TestCapability(const char* capability) {
    if (EQUAL(capability, OLCRandomRead) || EQUAL(capability, OLCFastGetExtent) ||
        EQUAL(capability, OLCStringsAsUTF8) || EQUAL(capability, OLCCurveGeometries) ||
        EQUAL(capability, OLCZGeometries))
        return TRUE;
    if (EQUAL(capability, OLCFastFeatureCount) || EQUAL(capability, OLCFastSetNextByIndex)) return !Filtered();
    return FALSE;
}

OGRFeature* OGRTLXLayer::Translate(int slot) {
    if (pointLayer_) return TranslatePoint(slot);
    const size_t f = static_cast<size_t>(slot);
    const tvk::CFeature& source = *survey_.Features[f];
    auto feature = std::make_unique<OGRFeature>(defn_);
    feature->SetFID(survey_.FeatureStates[f]);
    SetValues(*feature, source.Code, survey_.FeatureValues[f]);
    if (auto geometry = geometry_.Build(source)) feature->SetGeometryDirectly(geometry.release());
    return feature.release();
}

OGRFeature* OGRTLXLayer::TranslatePoint(int pointSlot) {
    const size_t p = static_cast<size_t>(pointSlot);
    auto feature = std::make_unique<OGRFeature>(defn_);
    feature->SetFID(survey_.PointStates[p]);
    SetValues(*feature, pointLayer_->code, survey_.PointFeatureValues(p));
    feature->SetGeometryDirectly(geometry_.BuildPoint(pointSlot).release());
    return feature.release();
}

void OGRTLXLayer::SetValues(OGRFeature& feature, int code, const std::vector<tvk::CText>& values) {
    const auto& maps = survey_.LayerInfo.ColumnMaps[static_cast<size_t>(layerSlot_)];
    const std::vector<int> none;
    const std::vector<int>& map = tvk::ValidSlot(code, maps) ? maps[static_cast<size_t>(code)] : none;
    for (int field = 0; field < defn_->GetFieldCount(); ++field) {
        size_t k = static_cast<size_t>(field);
        size_t position = k < map.size() && map[k] >= 0 ? static_cast<size_t>(map[k]) : values.size();
        if (position < values.size()) SetValue(feature, field, values[position]);
        else feature.SetFieldNull(field);
    }
}

// A value the file does not give, "?" for one (the description of a code
// without a name) and a blank number are null. Numbers are parsed by OGR,
// which warns about a text that is not one.
void OGRTLXLayer::SetValue(OGRFeature& feature, int field, const tvk::CText& value) {
    std::string_view text = value.View();
    bool blank = value.IsBlank();
    if (value.IsNull() || text == "?" || (blank && defn_->GetFieldDefn(field)->GetType() != OFTString)) {
        feature.SetFieldNull(field);
        return;
    }
    if (IsAscii(text)) {
        feature.SetField(field, value.Get());
        return;
    }
    scratch_ = tvk::Utf8From1251(text);
    feature.SetField(field, scratch_.c_str());
}

}  // namespace tlxgdal
