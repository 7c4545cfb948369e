// What each feature becomes in the BLOCKS and ENTITIES sections.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <typeinfo>

#include "dxf/DXFWriter.h"
#include "msr/msr.h"
#include "reader/FeatureWalk.h"

namespace tvk {

namespace {
const std::string kNoLayer;

// The point list of a feature; the exact-type test spares a million points
// the cost of dynamic_cast.
const CPointListFeature* AsPointList(const CFeature* feature) {
    if (typeid(*feature) == typeid(CPointListFeature)) return static_cast<const CPointListFeature*>(feature);
    return dynamic_cast<const CPointListFeature*>(feature);
}
}  // namespace

int CDXFWriter::LayerSlotOfCode(int codeSlot) const {
    if (!ValidSlot(codeSlot, FeatureCodes)) return kNone;
    int layer = FeatureCodes[codeSlot].Layer;
    return ValidSlot(layer, LayerFileNames) ? layer : kNone;
}

const std::string& CDXFWriter::LayerOfCode(int codeSlot) const {
    int layer = LayerSlotOfCode(codeSlot);
    return layer >= 0 ? LayerFileNames[layer] : kNoLayer;
}

void CDXFWriter::WriteTextGroup(int code, const char* text, int layerSlot, int place) {
    UnwritableCount replaced;
    // A line end would split the group, and let a crafted value add groups
    // of its own; a tab is harmless inside a value.
    ReplaceUnwritable(text ? text : "", true, textScratch_, replaced);
    if (!replaced.Any()) {
        WriteGroup(code, text);
        return;
    }
    if (!writingBlocks_) NoteUnwritable(replaced, layerSlot, place);
    WriteGroup(code, textScratch_.c_str());  // the copy with the blanks
}

bool CDXFWriter::IsPointLayerCode(int codeSlot) const {
    if (!ValidSlot(codeSlot, FeatureCodes)) return false;
    int layer = FeatureCodes[codeSlot].Layer;
    if (!ValidSlot(layer, LayerStates)) return false;
    return IsPointLayerState(LayerStates[layer]);
}

const Coord3* CDXFWriter::PointAt(const std::vector<int>& points, size_t i) const {
    if (i >= points.size()) return nullptr;
    int slot = points[i];
    if (!ValidSlot(slot, PointCoords)) return nullptr;
    return &PointCoords[slot];
}

Coord3 CDXFWriter::AttributeAnchor(const CFeature* feature) const {
    while (const auto* multiple = dynamic_cast<const CMultipleFeature*>(feature))
        feature = multiple->Parts.empty() ? nullptr : multiple->Parts.front().get();
    if (const auto* list = dynamic_cast<const CPointListFeature*>(feature)) {
        if (const Coord3* p = PointAt(list->Points, 0)) return *p;
    }
    return Coord3{0.0, 0.0, 0.0};
}

void CDXFWriter::WritePenGroups(int codeSlot) {
    const PenStyle* pen = ValidSlot(codeSlot, FeatureStyles) ? FeatureStyles[codeSlot].Pen.get() : nullptr;
    if (!pen) {
        WriteGroup(6, "BYLAYER");
        return;
    }
    WriteGroup(6, GetLine(pen->Pattern));
    WriteGroup(62, pen->Color);
    // No group 39: it is an entity's thickness, which turns lines into 3D
    // surfaces; release 12 has no line weight for the pen's width.
    WriteGroup(48, 1);
}

void CDXFWriter::WritePointLabels(const Coord3& p, int pointSlot, int layerSlot) {
    const char* name = ValidSlot(pointSlot, Points) ? Points[pointSlot].Name.c_str() : "";
    WriteEntityHead("TEXT", NamesLayer.c_str());
    WriteGroup(6, "BYLAYER");
    WriteGroup(10, p.x + 1.5);
    WriteGroup(20, p.y + 1.5);
    WriteGroup(30, p.z);
    WriteGroup(40, 1.5);
    WriteTextGroup(1, name, layerSlot, kPlaceLabels);
    WriteGroup(72, 0);
    WriteGroup(73, 0);
    WriteGroup(11, p.x + 7.5);
    WriteGroup(21, p.y + 1.5);
    WriteGroup(31, p.z);

    // "%.3f" of the C locale, whatever locale the host switched on; at most 100 bytes.
    char elevation[400];
    auto res = std::to_chars(elevation, elevation + sizeof elevation - 1, p.z, std::chars_format::fixed, 3);
    size_t length = res.ec == std::errc() ? size_t(res.ptr - elevation) : 0;
    elevation[std::min<size_t>(length, 100)] = 0;
    WriteEntityHead("TEXT", ElevationsLayer.c_str());
    WriteGroup(6, "BYLAYER");
    WriteGroup(10, p.x + 1.5);
    WriteGroup(20, p.y - 1.5);
    WriteGroup(30, p.z);
    WriteGroup(40, 1.5);
    WriteGroup(1, elevation);
    WriteGroup(72, 0);
    WriteGroup(73, 0);
    WriteGroup(11, p.x + 7.5);
    WriteGroup(21, p.y - 1.5);
    WriteGroup(31, p.z);
}

void CDXFWriter::WriteEntityHead(const char* entity, const char* layer) {
    WriteGroup(0, entity);
    WriteGroup(8, layer);
}

void CDXFWriter::ExportFeature(CFeature* feature, int /*index*/) {
    if (!feature || feature->Kind < POINT || feature->Kind > CIRCLE) return;
    const auto* list = AsPointList(feature);
    if (!list) return;
    const auto& points = list->Points;
    const EntityStyle style{feature->Code, LayerOfCode(feature->Code).c_str(), LayerSlotOfCode(feature->Code)};
    switch (feature->Kind) {
    case POINT: WritePointEntity(points, style); break;
    case LINE: WriteLineEntity(points, style); break;
    case POLYLINE:
    case POLYGON: WritePolylineEntity(points, style); break;
    case ARC:
    case CIRCLE: WriteRoundEntity(feature->Kind == ARC, points, style); break;
    default: break;
    }
}

void CDXFWriter::WritePointEntity(const std::vector<int>& points, const EntityStyle& style) {
    const Coord3* p = PointAt(points, 0);
    if (!p) return;
    const SymbolStyle* symbol = ValidSlot(style.code, FeatureStyles) ? FeatureStyles[style.code].Symbol.get() : nullptr;
    if (IsPointLayerCode(style.code)) WritePointLabels(*p, points[0], style.layerSlot);
    WriteEntityHead("POINT", style.layer);
    if (symbol) WriteGroup(62, symbol->Color);
    else WriteGroup(6, "BYLAYER");
    WriteGroup(10, p->x);
    WriteGroup(20, p->y);
    WriteGroup(30, p->z);
    if (symbol) WriteSymbolText(*p, *symbol, style);
}

void CDXFWriter::WriteSymbolText(const Coord3& p, const SymbolStyle& symbol, const EntityStyle& style) {
    const double h = symbol.Size * 0.35;
    WriteEntityHead("TEXT", style.layer);
    WriteGroup(62, symbol.Color);
    WriteGroup(10, p.x - h / 3);
    WriteGroup(20, p.y - h / 3);
    WriteGroup(30, p.z);
    WriteGroup(40, h);
    // A control character would break the line structure of the file,
    // and a byte without a character in 1251 would be garbage: the
    // empty text stands for either.
    const char shape = static_cast<char>(symbol.Shape & 0xFF);
    UnwritableCount replaced;
    if (shape) ReplaceUnwritable(std::string_view(&shape, 1), false, textScratch_, replaced);
    if (!writingBlocks_) NoteUnwritable(replaced, style.layerSlot, kPlaceSymbols);
    const char text[2] = {replaced.Any() ? '\0' : shape, '\0'};
    WriteGroup(1, text);
    const std::string& font = size_t(style.code) < StyleNames.size() ? StyleNames[style.code] : kNoLayer;
    if (!font.empty()) WriteGroup(7, font.c_str());
    WriteGroup(72, 4);
    WriteGroup(11, p.x);
    WriteGroup(21, p.y);
    WriteGroup(31, p.z);
}

void CDXFWriter::WriteLineEntity(const std::vector<int>& points, const EntityStyle& style) {
    const Coord3* p0 = PointAt(points, 0);
    const Coord3* p1 = PointAt(points, 1);
    if (!p0 || !p1) return;
    WriteEntityHead("LINE", style.layer);
    WritePenGroups(style.code);
    WriteGroup(10, p0->x);
    WriteGroup(20, p0->y);
    WriteGroup(30, p0->z);
    WriteGroup(11, p1->x);
    WriteGroup(21, p1->y);
    WriteGroup(31, p1->z);
}

void CDXFWriter::WritePolylineEntity(const std::vector<int>& points, const EntityStyle& style) {
    for (size_t i = 0; i < points.size(); ++i)
        if (!PointAt(points, i)) return;
    // A polyline of one vertex is no line: readers drop it. Its point is
    // written twice, as the MapInfo writer does.
    const size_t vertices = points.size() == 1 ? 2 : points.size();
    if (vertices != points.size() && !writingBlocks_)
        NoteChange(ChangeKind::ShapeRepeated, style.layerSlot, kPlaceLayer);
    WriteEntityHead("POLYLINE", style.layer);
    WritePenGroups(style.code);
    WriteGroup(70, !points.empty() && points.front() == points.back() ? 1 : 0);
    WriteGroup(40, 0.0);
    WriteGroup(41, 0.0);
    WriteGroup(66, 1);
    for (size_t i = 0; i < vertices; ++i) {
        const Coord3& p = PointCoords[points[std::min(i, points.size() - 1)]];
        WriteEntityHead("VERTEX", style.layer);
        WriteGroup(10, p.x);
        WriteGroup(20, p.y);
        WriteGroup(30, p.z);
    }
    WriteEntityHead("SEQEND", style.layer);
}

void CDXFWriter::WriteRoundEntity(bool arc, const std::vector<int>& points, const EntityStyle& style) {
    const Coord3* p0 = PointAt(points, 0);
    const Coord3* p1 = PointAt(points, 1);
    const Coord3* p2 = PointAt(points, 2);
    if (!p0 || !p1 || !p2) return;
    const msr::CPoint2d a = ToLibraryPoint(*p0), b = ToLibraryPoint(*p1), c = ToLibraryPoint(*p2);
    auto writeRound = [&](const char* entity, const auto& round) {  // CArc or CCircle
        WriteEntityHead(entity, style.layer);
        WritePenGroups(style.code);
        const Coord3 centre = FromLibraryPoint(round.centre);
        WriteGroup(10, centre.x);
        WriteGroup(20, centre.y);
        WriteGroup(30, 0.0);
        WriteGroup(40, double(round.radius));
    };
    if (!arc) {
        writeRound("CIRCLE", msr::CCircle(a, b, c));
        return;
    }
    msr::CArc round(a, b, c);
    writeRound("ARC", round);
    // Degrees with the digits of the coordinates: two decimals put the
    // ends of a 10 km arc 24 cm off its surveyed points.
    msr::CAngular start = round.start, end = round.end;
    WriteGroup(50, start.align(msr::CAngular(0.0)).Degrees());
    WriteGroup(51, end.align(msr::CAngular(0.0)).Degrees());
}

void CDXFWriter::ExportFeatureTree(CFeature* feature, int index) {
    if (!feature) return;
    if (typeid(*feature) == typeid(CPointListFeature)) {  // a point or line: no parts
        ExportFeature(feature, index);
        return;
    }
    // Parts in order, and the parts of an inner multiple in turn.
    ForEachLeaf(feature, [this, index](CFeature& leaf) { ExportFeature(&leaf, index); });
}

void CDXFWriter::WriteBlock(int slot) {
    CFeature* feature = Features[slot].get();
    const int code = feature ? feature->Code : kNone;
    const char* layer = LayerOfCode(code).c_str();
    const int layerSlot = LayerSlotOfCode(code);
    char name[256];
    GetName(name, sizeof name, "BLCK", slot);
    WriteEntityHead("BLOCK", layer);
    WriteGroup(2, name);
    WriteGroup(70, 2);
    WriteGroup(10, 0.0);
    WriteGroup(20, 0.0);
    WriteGroup(30, 0.0);
    ExportFeatureTree(feature, slot);
    if (ValidSlot(code, PropertySchemas)) {
        const PropertySchema& schema = PropertySchemas[code];
        for (size_t b = 0; b < schema.PropertyNumbers.size() && b < schema.PropertyDefs.size(); ++b) {
            if (schema.PropertyNumbers[b] == kNone) continue;
            WriteEntityHead("ATTDEF", layer);
            WriteGroup(10, 0.0);
            WriteGroup(20, 0.0);
            WriteGroup(30, 0.0);
            WriteGroup(40, 0.2);
            WriteGroup(1, "");
            WriteGroup(3, "");
            WriteTextGroup(2, schema.PropertyDefs[b].Name.c_str(), layerSlot,
                           ColumnOfPosition(layerSlot, code, int(b)));
            WriteGroup(70, 1);
        }
    }
    WriteEntityHead("ENDBLK", layer);
}

void CDXFWriter::WriteFeatureEntities(int slot) {
    CFeature* feature = Features[slot].get();
    ExportFeatureTree(feature, slot);
    if (!ExportSemantic) return;
    const int code = feature ? feature->Code : kNone;
    const char* layer = LayerOfCode(code).c_str();
    const int layerSlot = LayerSlotOfCode(code);
    char name[256];
    GetName(name, sizeof name, "BLCK", slot);
    WriteGroup(0, "INSERT");
    WriteGroup(2, name);
    WriteGroup(8, layer);
    WriteGroup(66, 1);
    WriteGroup(10, 0.0);
    WriteGroup(20, 0.0);
    WriteGroup(30, 0.0);
    const Coord3 anchor = AttributeAnchor(feature);
    if (ValidSlot(code, PropertySchemas)) {
        const PropertySchema& schema = PropertySchemas[code];
        const std::vector<CText>* values = size_t(slot) < FeatureValues.size() ? &FeatureValues[slot] : nullptr;
        for (size_t b = 0; b < schema.PropertyNumbers.size() && b < schema.PropertyDefs.size(); ++b) {
            if (schema.PropertyNumbers[b] == kNone) continue;
            const char* value = values && b < values->size() ? (*values)[b].Get() : nullptr;
            WriteEntityHead("ATTRIB", layer);
            WriteGroup(10, anchor.x);
            WriteGroup(20, anchor.y);
            WriteGroup(30, anchor.z);
            WriteGroup(40, 0.2);
            const int column = ColumnOfPosition(layerSlot, code, int(b));
            WriteTextGroup(1, value ? value : "?", layerSlot, column);
            WriteTextGroup(2, schema.PropertyDefs[b].Name.c_str(), layerSlot, column);
            WriteGroup(70, 1);
        }
    }
    WriteEntityHead("SEQEND", layer);
}

}  // namespace tvk
