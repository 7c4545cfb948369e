// CWriter::PrepareData: the export model derived from the survey model, and
// the small steps of it (coordinates, usage, layer file names).
#include "export/LayerFileNames.h"
#include "export/Writer.h"
#include "platform/NumberText.h"

namespace tvk {

void CWriter::PrepareData() {
    CreateCoords();
    CreatePointLayers();
    BuildUsageMap();
    RemoveUnusedLayers();
    AddCodeDescription();
    CreateLayerInfo();
    CreateLayerFileNames();
    ConvertLayerFileNames();
    CTLXReader::PrepareData();
}

void CWriter::CreateCoords() {
    PointCoords.assign(Points.size(), Coord3{});
    for (size_t i = 0; i < Points.size(); ++i) {
        if (PointStates[i] == kNone) continue;
        const PointRec& point = Points[i];
        // The file's X is the northing and Y the easting.
        PointCoords[i] = {AtoF(point.Y.View()), AtoF(point.X.View()), AtoF(point.H.View())};
    }
}

void CWriter::BuildUsageMap() {
    LayerUsed.assign(Layers.size(), 0);
    CodeUsed.assign(FeatureCodes.size(), 0);
    for (size_t f = 0; f < Features.size(); ++f) {
        if (FeatureStates[f] == kNone || !Features[f]) continue;
        int code = Features[f]->Code;
        if (!ValidSlot(code, FeatureCodes)) continue;
        CodeUsed[code] = 1;
        int layer = FeatureCodes[code].Layer;
        if (ValidSlot(layer, Layers)) LayerUsed[layer] = 1;
    }
}

void CWriter::RemoveUnusedLayers() {
    for (size_t l = 0; l < Layers.size(); ++l)
        if (!LayerUsed[l]) LayerStates[l] = kNone;
}

void CWriter::CreateLayerFileNames() {
    std::vector<std::string>(Layers.size()).swap(LayerFileNames);
    for (size_t l = 0; l < Layers.size(); ++l)
        if (LayerStates[l] != kNone) LayerFileNames[l] = Layers[l].Name.Str();
}

void CWriter::ConvertLayerFileNames() {
    LayerNameChanges = MakeLayerFileNamesSafe(LayerFileNames, LayerStates);
    PreparedLayerNames = LayerFileNames;
}

}  // namespace tvk
