// CTLXReader: index resolution and validation after the whole file is read.
// Every file number becomes a slot; unusable items are reported and marked
// left out (state -10) and stay in their tables.
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "msr/ArcCircle.h"
#include "platform/ByteScan.h"
#include "platform/Exceptions.h"
#include "platform/NumberText.h"
#include "platform/StringTable.h"
#include "platform/Text.h"
#include "reader/FeatureWalk.h"
#include "reader/ReaderStrings.h"
#include "reader/TLXReader.h"
#include "reader/TextScan.h"

namespace tvk {

void CTLXReader::Report(LineNo line, int error, const char* format, ...) {
    ReportLine = line;
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    WriteErrorMessage(error, text);
}

namespace {

// How atof reads a coordinate text: every character of it, only a leading
// part (a decimal comma, a typo: "473095,412" is 473095), or as an
// infinity or a NaN ("1e309", "inf", "nan").
enum class NumberReading { kWhole, kPartial, kNonFinite };

NumberReading SlowReadingOf(const CText& text) {
    const std::string_view v = TrimmedView(text.View());
    if (v.empty()) return NumberReading::kWhole;
    if (!std::isfinite(AtoF(text.Get()))) return NumberReading::kNonFinite;
    // Past the sign, from_chars reads what atof reads; what it leaves was not read.
    const size_t at = v.front() == '+' || v.front() == '-' ? 1 : 0;
    if (at == v.size() || !(std::isdigit(static_cast<unsigned char>(v[at])) || v[at] == '.'))
        return NumberReading::kPartial;
    double value = 0;
    const auto read = std::from_chars(v.data() + at, v.data() + v.size(), value, std::chars_format::general);
    // An underflow ("1e-400") is read whole, as the zero atof gives.
    const bool number = read.ec == std::errc() || read.ec == std::errc::result_out_of_range;
    return number && read.ptr == v.data() + v.size() ? NumberReading::kWhole : NumberReading::kPartial;
}

// The common text, a sign, digits and at most one point, is decided without
// converting it: reading a million points does it millions of times.
NumberReading ReadingOf(const CText& text) {
    if (text.IsNull()) return NumberReading::kWhole;
    const std::string_view v = text.View();
    const size_t sign = !v.empty() && (v.front() == '-' || v.front() == '+') ? 1 : 0;
    int points;
    if (const char* inlineBytes = text.InlineBytes()) {
        char word[16];
        std::memcpy(word, inlineBytes, sizeof word);
        if (sign) word[0] = '0';
        points = PointOfDecimal(word, v.size());
    } else {
        points = PointOfDecimal(v.substr(sign));
    }
    // More than 308 digits may overflow to an infinity.
    const size_t length = v.size() - sign;
    if (points >= 0 && length > static_cast<size_t>(points) && length <= 308) return NumberReading::kWhole;
    return SlowReadingOf(text);
}

}  // namespace

// No infinity or NaN may reach the writers through a point. A coordinate
// read only in part is read as atof reads it, with a warning naming the point.
bool CTLXReader::CheckPointNumbers(size_t pointSlot) {
    const PointRec& p = Points[pointSlot];
    const GeoCoordRec& g = GeoCoords[pointSlot];
    bool partial = false;
    for (const CText* text : {&p.X, &p.Y, &p.H, &g.Latitude, &g.Longitude}) {
        const NumberReading reading = ReadingOf(*text);
        if (reading == NumberReading::kNonFinite) return false;
        partial |= reading == NumberReading::kPartial;
    }
    if (partial) {
        char item[64];
        std::snprintf(item, sizeof item, "[Point index: %d]", PointStates[pointSlot]);
        WriteWarning(PointLines[pointSlot], (CStringTable::Load(IDS_WARN_PARTLY_READ_NUMBER) + item).c_str());
    }
    return true;
}

int CTLXReader::FeatureNumber(size_t slot) const {
    if (slot < FeatureNumbers.size()) return FeatureNumbers[slot];
    return slot < FeatureStates.size() ? FeatureStates[slot] : kNone;
}

void CTLXReader::ConvertIndex_All() {
    PointStates.assign(Points.size(), kNone);
    for (const auto& e : PointMap) PointStates[static_cast<size_t>(e.value)] = e.key;
    LayerStates.assign(Layers.size(), kNone);
    for (const auto& e : LayerMap) LayerStates[static_cast<size_t>(e.value)] = e.key;
    CodeStates.assign(FeatureCodes.size(), kNone);
    for (const auto& e : CodeMap) CodeStates[static_cast<size_t>(e.value)] = e.key;
    FeatureStates.assign(Features.size(), kNone);
    FeatureNumbers.assign(Features.size(), kNone);
    for (const auto& e : FeatureMap) {
        FeatureNumbers[static_cast<size_t>(e.value)] = e.key;
        if (Features[static_cast<size_t>(e.value)]) FeatureStates[static_cast<size_t>(e.value)] = e.key;
    }
    for (PropertySchema& schema : PropertySchemas) {
        schema.PropertyNumbers.assign(schema.PropertyDefs.size(), kNone);
        for (const auto& e : schema.Map) schema.PropertyNumbers[static_cast<size_t>(e.value)] = e.key;
    }
    ConvertIndex_Points();
    ConvertIndex_Layers();
    ConvertIndex_FeatureCodes();
    ConvertIndex_Features();
    ConvertIndex_TempData();
}

void CTLXReader::ConvertIndex_Points() {
    for (size_t i = 0; i < Points.size(); ++i) {
        if (IsMustDie()) throw CThreadStopSignal();
        PointRec& point = Points[i];
        if (point.Y.IsBlank() || point.X.IsBlank() || !CheckPointNumbers(i)) {
            Report(PointLines[i], ERR_POINT, "Point index: %d", PointStates[i]);
            PointStates[i] = kNone;
            point.RefPoint = kNone;
            continue;
        }
        const int* ref = PointMap.Find(point.RefPoint);
        point.RefPoint = ref ? *ref : kNone;
    }
}

void CTLXReader::ConvertIndex_Layers() {
    for (size_t i = 0; i < Layers.size(); ++i) {
        LayerRec& layer = Layers[i];
        if (const int* parent = LayerMap.Find(layer.Parent)) {
            layer.Parent = *parent;
            if (layer.Name.IsBlank()) {
                Report(LayerLines[i], ERR_LAYER_NAME, "Layer index: %d Layer name: %s", LayerStates[i],
                       layer.Name.c_str());
                LayerStates[i] = kNone;
            }
        } else {
            if (layer.Parent != 0)
                Report(LayerLines[i], ERR_LAYER_INDEX, "Layer index: %d Parent layer index: %d", LayerStates[i],
                       layer.Parent);
            layer.Parent = kNone;
        }
    }
}

void CTLXReader::ConvertIndex_FeatureCodes() {
    for (size_t c = 0; c < FeatureCodes.size(); ++c) {
        FeatureCodeRec& code = FeatureCodes[c];
        // A layer left out (blank name) has no file name: its codes go to
        // "_UNDEF_" like codes of an unknown layer.
        const int* layer = LayerMap.Find(code.Layer);
        if (layer && LayerStates[static_cast<size_t>(*layer)] != kNone) {
            code.Layer = *layer;
            continue;
        }
        Report(CodeLines[c], ERR_LAYER_INDEX, "Feature code index: %d Layer index: %d", CodeStates[c], code.Layer);
        if (UndefLayer == kNone) {
            LayerRec undef;
            undef.Name = CText("_UNDEF_");
            Layers.push_back(std::move(undef));
            LayerLines.push_back(0);
            LayerStates.push_back(kUndefLayerState);
            UndefLayer = static_cast<int>(Layers.size() - 1);
        }
        code.Layer = UndefLayer;
    }
}

void CTLXReader::ConvertIndex_Features() {
    for (size_t i = 0; i < Features.size(); ++i) {
        if (IsMustDie()) throw CThreadStopSignal();
        CFeature* feature = Features[i].get();
        if (!feature) {
            FeatureStates[i] = kNone;
            continue;
        }
        ConvertFeatureTree(feature, static_cast<int>(i));
    }
}

// The feature, then its parts at every depth, so that a bad inner part of a
// nested MULTIPLE leaves the whole feature out as a bad direct part does.
void CTLXReader::ConvertFeatureTree(CFeature* feature, int slot) {
    ForEachFeatureNode(feature, [this, slot](CFeature& node) { ConvertIndex_Feature(&node, slot); });
}

void CTLXReader::ConvertIndex_Feature(CFeature* feature, int slot) {
    size_t s = static_cast<size_t>(slot);
    int number = FeatureNumber(s);
    if (const int* code = CodeMap.Find(feature->Code)) {
        feature->Code = *code;
    } else {
        Report(feature->Line, ERR_CODE_INDEX, "Feature index: %d Feature code index: %d", number, feature->Code);
        feature->Code = kNone;
        FeatureStates[s] = kNone;
    }
    // A MULTIPLE ends here: its parts are validated on their own, and one
    // without parts is a feature that draws nothing.
    if (feature->Kind < POINT || feature->Kind > CIRCLE) return;
    auto* list = dynamic_cast<CPointListFeature*>(feature);
    if (!list) return;
    std::vector<int>& points = list->Points;
    // A feature without points (a polygon that does not close, or a polyline
    // whose every point line was bad) cannot be drawn. When one of its lines
    // was reported already, that report says why.
    if (points.empty() || (feature->Kind == POLYGON && points.front() != points.back())) {
        if (!feature->LineReported) Report(feature->Line, ERR_SYNTAX, "Feature index: %d", number);
        FeatureStates[s] = kNone;
        return;
    }
    if (feature->Kind == CIRCLE && !NormaliseCircle(list)) {
        Report(feature->Line, ERR_SYNTAX, "Feature index: %d", number);
        FeatureStates[s] = kNone;
        return;
    }
    for (int& entry : points) {
        const int* point = PointMap.Find(entry);
        if (!point) {
            Report(feature->Line, ERR_POINT_INDEX, "Feature index: %d Point index: %d", number, entry);
            entry = kNone;
            FeatureStates[s] = kNone;
            return;
        }
        int pointNumber = entry;
        entry = *point;
        if (PointStates[static_cast<size_t>(entry)] == kNone) {
            Report(feature->Line, ERR_POINT, "Feature index: %d Point index: %d", number, pointNumber);
            entry = kNone;
            FeatureStates[s] = kNone;
            return;
        }
    }
    if ((feature->Kind == ARC || feature->Kind == CIRCLE) && FeatureStates[s] != kNone) WarnIfFlat(list, number);
}

// The writers draw a circle or arc whose points lie on one line (or
// coincide) with radius 0 at its first point; the user is told which.
void CTLXReader::WarnIfFlat(const CPointListFeature* list, int number) {
    if (list->Points.size() != 3) return;
    msr::CPoint2d p[3];
    for (size_t k = 0; k < 3; ++k) {
        const PointRec& point = Points[static_cast<size_t>(list->Points[k])];
        p[k] = msr::CPoint2d(AtoF(point.X.Get()), AtoF(point.Y.Get()));
    }
    if (!msr::CCircle(p[0], p[1], p[2]).IsDegenerate()) return;
    char item[64];
    std::snprintf(item, sizeof item, "[Feature index: %d]", number);
    WriteWarning(list->Line, (CStringTable::Load(IDS_WARN_FLAT_CIRCLE) + item).c_str());
}

// Turns [form, ...] into three point numbers on the circle, generating the
// points for the forms that give a centre (0: radius point, 1: point on the
// circle, 2: diameter).
// False when the circle's points would lie beyond the range of doubles.
bool CTLXReader::NormaliseCircle(CPointListFeature* feature) {
    std::vector<int>& points = feature->Points;
    int form = points.front();
    points.erase(points.begin());
    if (form < 0 || form > 2) return true;
    const PointRec* p[2] = {nullptr, nullptr};
    for (size_t k = 0; k < 2; ++k) {
        const int* slot = k < points.size() ? PointMap.Find(points[k]) : nullptr;
        if (slot && PointStates[static_cast<size_t>(*slot)] != kNone) p[k] = &Points[static_cast<size_t>(*slot)];
    }
    if (!p[0] || !p[1]) {
        points.assign(3, kNone);
        return true;
    }
    double x0 = AtoF(p[0]->X.Get()), y0 = AtoF(p[0]->Y.Get());
    double r;
    if (form == 0) {
        r = AtoF(p[1]->X.Get());
    } else if (form == 1) {
        double dx = AtoF(p[1]->X.Get()) - x0, dy = AtoF(p[1]->Y.Get()) - y0;
        r = std::sqrt(dx * dx + dy * dy);
    } else {
        double xq = AtoF(p[1]->X.Get()), yq = AtoF(p[1]->Y.Get());
        double xp = x0, yp = y0;
        x0 = xp + (xq - xp) * 0.5;
        y0 = yp + (yq - yp) * 0.5;
        r = 0.5 * std::sqrt((xq - xp) * (xq - xp) + (yq - yp) * (yq - yp));
    }
    const double xy[3][2] = {{x0 + r, y0}, {x0 - r, y0}, {x0, y0 + r}};
    for (const auto& c : xy)
        if (!std::isfinite(c[0]) || !std::isfinite(c[1])) return false;
    points.clear();
    for (const auto& c : xy) {
        int number = NextGeneratedNumber(CirclePointCounter, kCirclePointFirst, 0);
        size_t slot = static_cast<size_t>(GetItem_Points(number));
        Points[slot].X = Gcvt32(c[0]);
        Points[slot].Y = Gcvt32(c[1]);
        if (slot >= PointStates.size()) PointStates.resize(slot + 1, kNone);
        PointStates[slot] = number;
        PointLines[slot] = feature->Line;
        points.push_back(number);
    }
    return true;
}

void CTLXReader::ConvertIndex_TempData() {
    for (size_t i = 0; i < Features.size(); ++i) {
        if (IsMustDie()) throw CThreadStopSignal();
        if (FeatureStates[i] == kNone) continue;
        const PropertySchema& schema = PropertySchemas[static_cast<size_t>(Features[i]->Code)];
        for (DataPair& pair : FeatureData[i]) {
            if (const int* position = schema.Map.Find(pair.Property)) {
                pair.Property = *position;
            } else {
                Report(pair.Line, ERR_PROPERTY_INDEX, "Feature index: %d Property index: %d", FeatureNumber(i),
                       pair.Property);
                pair.Property = kNone;
            }
        }
    }
}

void CTLXReader::AssignPropertyData() {
    for (size_t i = 0; i < Features.size() && i < FeatureStates.size(); ++i) {
        if (FeatureStates[i] == kNone) continue;
        const PropertySchema& schema = PropertySchemas[static_cast<size_t>(Features[i]->Code)];
        std::vector<CText>& values = FeatureValues[i];
        values.assign(schema.PropertyDefs.size(), CText());
        for (DataPair& pair : FeatureData[i]) {
            if (pair.Property == kNone || static_cast<size_t>(pair.Property) >= values.size()) continue;
            values[static_cast<size_t>(pair.Property)] = std::move(pair.Value);
            pair.Value.Reset();
        }
    }
}

void CTLXReader::AppendEmptyTables() {
    for (PropertySchema& schema : PropertySchemas) {
        if (!schema.PropertyDefs.empty()) continue;
        schema.PropertyDefs.push_back(PropertyDef{CText("DATA"), PROP_CHAR, 10, 0});
        schema.Map.SetAt(0, 0);
        schema.PropertyNumbers.assign(1, 0);
    }
}

int CTLXReader::GetFeatureLayerIndex(int featureSlot, int& codeSlot, int& layerSlot) {
    if (featureSlot < 0 || static_cast<size_t>(featureSlot) >= Features.size()) return 0;
    const CFeature* feature = Features[static_cast<size_t>(featureSlot)].get();
    int codeNumber = feature ? feature->Code : kNone;
    const int* code = CodeMap.Find(codeNumber);
    if (!code) {
        int featureNumber = kNone;
        for (const auto& e : FeatureMap)
            if (e.value == featureSlot) featureNumber = e.key;
        Report(feature ? feature->Line : 0, ERR_CODE_INDEX, "Feature: %d Feature code: %d", featureNumber, codeNumber);
        return 0;
    }
    int layerNumber = FeatureCodes[static_cast<size_t>(*code)].Layer;
    const int* layer = LayerMap.Find(layerNumber);
    if (!layer) {
        Report(CodeLines[static_cast<size_t>(*code)], ERR_LAYER_INDEX, "Feature code: %d Layer: %d", codeNumber,
               layerNumber);
        return 0;
    }
    codeSlot = *code;
    layerSlot = *layer;
    return 1;
}

}  // namespace tvk
