// libFuzzer target: any bytes read as a .tlx file must give a model whose
// references the writers can follow blindly (every index of an item that is
// not left out is a valid slot), and never crash, hang or leak.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>

#include "platform/Exceptions.h"
#include "platform/FileSystem.h"
#include "platform/NumberText.h"
#include "reader/TLXReader.h"

namespace {

using tvk::kNone;

void Require(bool condition) {
    if (!condition) std::abort();
}

bool ValidSlot(int slot, size_t size) { return slot >= 0 && static_cast<size_t>(slot) < size; }

void CheckFeature(const tvk::CTLXReader& r, const tvk::CFeature& f) {
    Require(ValidSlot(f.Code, r.FeatureCodes.size()));
    Require(f.Line >= 1);  // every feature names the line it was read from
    if (auto* list = dynamic_cast<const tvk::CPointListFeature*>(&f)) {
        Require(f.Kind >= tvk::POINT && f.Kind <= tvk::CIRCLE);
        Require(!list->Points.empty());
        if (f.Kind == tvk::CIRCLE) Require(list->Points.size() == 3);
        for (int p : list->Points) {
            Require(ValidSlot(p, r.Points.size()));
            Require(r.PointStates[static_cast<size_t>(p)] != kNone);
        }
    } else if (auto* multiple = dynamic_cast<const tvk::CMultipleFeature*>(&f)) {
        Require(f.Kind == tvk::MULTIPLE);  // one without parts draws nothing
        for (const auto& part : multiple->Parts) CheckFeature(r, *part);
    } else {
        std::abort();
    }
}

void CheckModel(const tvk::CTLXReader& r) {
    Require(r.GeoCoords.size() == r.Points.size() && r.PointStates.size() == r.Points.size());
    Require(r.FeatureStyles.size() == r.FeatureCodes.size() && r.PropertySchemas.size() == r.FeatureCodes.size());
    Require(r.LayerStates.size() == r.Layers.size() && r.CodeStates.size() == r.FeatureCodes.size());
    Require(r.FeatureValues.size() == r.Features.size() && r.FeatureStates.size() == r.Features.size());
    Require(r.FeatureData.empty());
    Require(r.PointLines.size() == r.Points.size() && r.CodeLines.size() == r.FeatureCodes.size());
    for (size_t i = 0; i < r.Points.size(); ++i) {
        if (r.PointStates[i] == kNone) continue;
        int ref = r.Points[i].RefPoint;
        Require(ref == kNone || ValidSlot(ref, r.Points.size()));
        Require(!r.Points[i].X.IsBlank() && !r.Points[i].Y.IsBlank());
        // No infinity or NaN reaches the writers.
        for (const tvk::CText* t : {&r.Points[i].X, &r.Points[i].Y, &r.Points[i].H})
            Require(t->IsNull() || std::isfinite(tvk::AtoF(t->Get())));
    }
    for (const tvk::LayerRec& layer : r.Layers) Require(layer.Parent == kNone || ValidSlot(layer.Parent, r.Layers.size()));
    for (const tvk::FeatureCodeRec& code : r.FeatureCodes) {
        Require(ValidSlot(code.Layer, r.Layers.size()));
        Require(r.LayerStates[static_cast<size_t>(code.Layer)] != kNone);
    }
    for (const tvk::PropertySchema& schema : r.PropertySchemas) {
        Require(schema.PropertyNumbers.size() == schema.PropertyDefs.size());
        Require(schema.Map.GetCount() == schema.PropertyDefs.size());
    }
    for (size_t i = 0; i < r.Features.size(); ++i) {
        if (r.FeatureStates[i] == kNone) continue;
        Require(r.Features[i] != nullptr);
        CheckFeature(r, *r.Features[i]);
        Require(r.FeatureValues[i].size() ==
                r.PropertySchemas[static_cast<size_t>(r.Features[i]->Code)].PropertyDefs.size());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static tvk::CMemoryFileSystem* files = [] {
        auto* fs = new tvk::CMemoryFileSystem;
        tvk::SetFileSystem(fs);
        return fs;
    }();
    files->Put("/fuzz/in.tlx", std::string(reinterpret_cast<const char*>(data), size));
    tvk::CTLXReader reader;
    reader.Init();
    try {
        reader.Read("/fuzz/in.tlx", nullptr);
    } catch (const tvk::CFileException&) {
        std::abort();  // the file is in memory: nothing may fail
    }
    CheckModel(reader);
    return 0;
}
