// The two generated point layers: every valid survey point becomes a point
// feature on the control-point layer (no reference point) or on the
// tacheometry layer (with one), carrying its name, coordinates and flags.
#include "export/Writer.h"
#include "platform/CodePage.h"
#include "platform/NumberText.h"

namespace tvk {
namespace {

struct GeneratedProperty {
    int number;
    const char* name;  // UTF-8 here, 1251 in the model
    int type;
    int width;
    int precision;
};

const GeneratedProperty kTSPProperties[] = {
    {PROPNUM_POINT, "Точка", PROP_CHAR, 16, -1},
    {PROPNUM_X, "X", PROP_FLOAT, -1, -1},
    {PROPNUM_Y, "Y", PROP_FLOAT, -1, -1},
    {PROPNUM_H, "H", PROP_FLOAT, -1, -1},
    {PROPNUM_RELIEF, "Отношение к рельефу", PROP_CHAR, 2, -1},
};

const GeneratedProperty kCPProperties[] = {
    {PROPNUM_POINT, "Точка", PROP_CHAR, 16, -1},
    {PROPNUM_X, "X", PROP_FLOAT, -1, -1},
    {PROPNUM_Y, "Y", PROP_FLOAT, -1, -1},
    {PROPNUM_H, "H", PROP_FLOAT, -1, -1},
    {PROPNUM_XY_TYPE, "Тип координат XY", PROP_CHAR, 1, -1},
    {PROPNUM_H_TYPE, "Тип координаты H", PROP_CHAR, 1, -1},
    {PROPNUM_RELIEF, "Отношение к рельефу", PROP_CHAR, 2, -1},
};

CText CoordinateText(double value) {
    char buf[64];
    int n = FormatGcvt(value, 16, buf);
    return CText(std::string_view(buf, static_cast<size_t>(n)));
}

const char* ReliefText(int relief) {
    switch (relief) {
    case 0: return "R";
    case 1: return "N";
    case 2: return "S";
    default: return "";
    }
}

}  // namespace

void CWriter::AppendPointLayer(const char* layerName, int number, bool controlPoints) {
    const int layerSlot = static_cast<int>(Layers.size());
    LayerRec layer;
    layer.Name = CText(Cp1251(layerName));
    Layers.push_back(std::move(layer));
    LayerLines.push_back(0);  // made by the export, not read from a line
    LayerStates.push_back(number);

    const int codeSlot = static_cast<int>(FeatureCodes.size());
    FeatureCodeRec code;
    code.Layer = layerSlot;
    FeatureCodes.push_back(std::move(code));
    CodeLines.push_back(0);
    CodeStates.push_back(number);
    CodeMap.SetAt(number, codeSlot);
    FeatureStyles.emplace_back();

    PropertySchema schema;
    schema.Map.InitHashTable(17);
    auto add = [&schema](const GeneratedProperty& p) {
        schema.Map.SetAt(p.number, static_cast<int>(schema.PropertyDefs.size()));
        schema.PropertyNumbers.push_back(p.number);
        schema.PropertyDefs.push_back({CText(Cp1251(p.name)), p.type, p.width, p.precision});
    };
    if (controlPoints)
        for (const auto& p : kCPProperties) add(p);
    else
        for (const auto& p : kTSPProperties) add(p);
    PropertySchemas.push_back(std::move(schema));
}

void CWriter::CreateTSPLayer() { AppendPointLayer("Точки тахеометрии", kTSPLayerState, false); }

void CWriter::CreateCPLayer() { AppendPointLayer("Точки обоснования", kCPLayerState, true); }

void CWriter::CreatePointLayers() {
    CreateTSPLayer();
    CreateCPLayer();
    int cpCode = kNone, tspCode = kNone;
    CodeMap.Lookup(kCPLayerState, cpCode);
    CodeMap.Lookup(kTSPLayerState, tspCode);

    // One feature per point: reserve once rather than let the tables double.
    size_t added = 0;
    for (int state : PointStates)
        if (state >= 0) ++added;
    Features.reserve(Features.size() + added);
    FeatureStates.reserve(FeatureStates.size() + added);
    FeatureValues.reserve(FeatureValues.size() + added);

    for (size_t i = 0; i < Points.size(); ++i) {
        ThrowIfMustDie();
        if (PointStates[i] < 0) continue;
        const bool control = Points[i].RefPoint == kNone;

        auto feature = std::make_unique<CPointListFeature>(POINT);
        feature->Code = control ? cpCode : tspCode;
        feature->Points.assign(1, static_cast<int>(i));
        feature->Line = PointLines[i];  // a writer's message about it names the point's line

        Features.push_back(std::move(feature));
        FeatureStates.push_back(-1);
        FeatureValues.push_back(PointFeatureValues(i));
    }
}

std::vector<CText> CWriter::PointFeatureValues(size_t pointSlot) const {
    const PointRec& point = Points[pointSlot];
    const Coord3& c = PointCoords[pointSlot];
    const bool control = point.RefPoint == kNone;
    std::vector<CText> values;
    values.reserve(control ? 7 : 5);
    values.push_back(point.Name);
    values.push_back(CoordinateText(c.y));
    values.push_back(CoordinateText(c.x));
    values.push_back(CoordinateText(c.z));
    if (control) {
        values.emplace_back(point.HControl ? "1" : "0");
        values.emplace_back(point.VControl ? "1" : "0");
    }
    values.emplace_back(ReliefText(point.Relief));
    return values;
}

}  // namespace tvk
