// The attribute columns of the export: the description column of ordinary
// features and, per layer, the union of its codes' properties.
#include <string>
#include <unordered_map>

#include "export/Writer.h"
#include "platform/CodePage.h"

namespace tvk {
namespace {

constexpr const char* kDescriptionName = "Описание";  // UTF-8 here, 1251 in the model

}  // namespace

void CWriter::AddCodeDescription() {
    const CText description(Cp1251(kDescriptionName));
    // Features follow exactly the codes whose schemas got the column, so a
    // feature's values always line up with its schema.
    std::vector<char> described(FeatureCodes.size(), 0);
    for (size_t c = 0; c < FeatureCodes.size(); ++c) {
        if (CodeStates[c] == kNone || !CodeUsed[c]) continue;
        int layer = FeatureCodes[c].Layer;
        if (layer >= 0 && IsPointLayerState(LayerStates[layer])) continue;
        PropertySchema& schema = PropertySchemas[c];
        schema.PropertyDefs.insert(schema.PropertyDefs.begin(), PropertyDef{description, PROP_CHAR, 16, -1});
        schema.PropertyNumbers.insert(schema.PropertyNumbers.begin(), PROPNUM_DESCRIPTION);
        for (auto& entry : schema.Map) ++entry.value;
        schema.Map.SetAt(PROPNUM_DESCRIPTION, 0);
        described[c] = 1;
    }
    for (size_t f = 0; f < Features.size(); ++f) {
        ThrowIfMustDie();
        if (FeatureStates[f] == kNone || !Features[f]) continue;
        int code = Features[f]->Code;
        if (!ValidSlot(code, described) || !described[code]) continue;
        const CText& name = FeatureCodes[code].Name;
        std::vector<CText>& values = FeatureValues[f];
        values.insert(values.begin(), name.IsNull() ? CText("?") : name);
    }
}

void CWriter::CreateLayerInfo() {
    const size_t layerCount = Layers.size();
    const size_t codeCount = FeatureCodes.size();
    LayerInfo.Clear();
    LayerInfo.LayerColumns.resize(layerCount);
    LayerInfo.ColumnMaps.resize(layerCount);
    LayerInfo.ColumnNames.resize(layerCount);
    for (auto& row : LayerInfo.ColumnMaps) row.resize(codeCount);
    std::vector<std::unordered_map<std::string, int>> columnByName(layerCount);

    auto validLayer = [layerCount](int layer) { return ValidSlot(layer, layerCount); };

    for (size_t c = 0; c < codeCount; ++c) {
        const PropertySchema& schema = PropertySchemas[c];
        const int layer = FeatureCodes[c].Layer;
        if (!CodeUsed[c] || schema.PropertyDefs.empty() || !validLayer(layer)) continue;
        std::vector<PropertyDef>& columns = LayerInfo.LayerColumns[layer];
        std::vector<int>& map = LayerInfo.ColumnMaps[layer][c];
        for (size_t p = 0; p < schema.PropertyDefs.size(); ++p) {
            const PropertyDef& def = schema.PropertyDefs[p];
            auto [it, added] =
                columnByName[layer].try_emplace(Upper1251(def.Name.View()), static_cast<int>(columns.size()));
            if (added) {
                columns.push_back(def);
                LayerInfo.ColumnNames[layer].push_back(def.Name.Str());
            }
            const size_t column = static_cast<size_t>(it->second);
            if (map.size() <= column) map.resize(column + 1, kNone);
            map[column] = static_cast<int>(p);
        }
    }
    for (size_t c = 0; c < codeCount; ++c) {
        const int layer = FeatureCodes[c].Layer;
        if (!validLayer(layer)) continue;
        const size_t columnCount = LayerInfo.LayerColumns[layer].size();
        std::vector<int>& map = LayerInfo.ColumnMaps[layer][c];
        if (columnCount > map.size()) map.resize(columnCount, kNone);
    }
}

}  // namespace tvk
