// CTLXReader: the line parsers of the sections other than FEATURES. Bad
// lines are reported and reading goes on.
#include <cstring>

#include "reader/TLXReader.h"
#include "reader/TextScan.h"

namespace tvk {

namespace {

enum StyleKind : size_t { STYLE_SYMBOL, STYLE_PEN, STYLE_BRUSH };

void RemoveStyle(FeatureStyleRec& styles, size_t style) {
    if (style == STYLE_SYMBOL) styles.Symbol.reset();
    else if (style == STYLE_PEN) styles.Pen.reset();
    else styles.Brush.reset();
}

}  // namespace

void CTLXReader::Parse_Points(CStr line) {
    int number;
    if (!TakeNumber(line, number)) return;
    size_t slot = static_cast<size_t>(GetItem_Points(number));
    PointLines[slot] = LineNumber;
    PointRec& point = Points[slot];
    point.Name = GetSubstring(line, tlxcol::kPointName);
    int ref = GetIndex(line, tlxcol::kPointRef);
    point.RefPoint = ref < 0 ? kNone : ref;
    point.X = GetSubstring(line, tlxcol::kPointX);
    point.Y = GetSubstring(line, tlxcol::kPointY);
    point.H = GetSubstring(line, tlxcol::kPointH);
    if (line.size() > static_cast<size_t>(tlxcol::kPointFlagsFrom)) {
        ScanKeywords(line.substr(tlxcol::kPointFlagsFrom), PointFlagWords, KeywordHits);
        point.Relief = point.H.IsBlank() ? 1 : 0;
        if (KeywordHits[2]) point.Relief = 2;
        point.HControl = KeywordHits[0] != nullptr;
        point.VControl = KeywordHits[1] != nullptr;
    }
}

void CTLXReader::Parse_GdsCoords(CStr line) {
    int number;
    if (!TakeNumber(line, number)) return;
    GeoCoordRec& geo = GeoCoords[static_cast<size_t>(GetItem_Points(number))];
    geo.Latitude = GetSubstring(line, tlxcol::kLatitude);
    geo.Longitude = GetSubstring(line, tlxcol::kLongitude);
}

void CTLXReader::Parse_FeatureCodes(CStr line) {
    int number;
    if (!TakeNumber(line, number)) return;
    size_t slot = static_cast<size_t>(GetItem_FeatureCodes(number));
    CodeLines[slot] = LineNumber;
    FeatureCodeRec& code = FeatureCodes[slot];
    int layer = GetIndex(line, tlxcol::kCodeLayer);
    if (layer < 0) {
        ReportBadLine(ERR_INDEX, line);
        layer = kNone;
    }
    code.Layer = layer;
    code.Code = GetSubstring(line, tlxcol::kCodeText);
    code.Name = GetSubstring(line, tlxcol::kCodeName);
}

void CTLXReader::Parse_Layers(CStr line) {
    int number;
    if (!TakeNumber(line, number)) return;
    size_t slot = static_cast<size_t>(GetItem_Layers(number));
    LayerLines[slot] = LineNumber;
    LayerRec& layer = Layers[slot];
    int parent = GetIndex(line, tlxcol::kLayerParent);
    layer.Parent = parent < 0 ? kNone : parent;
    layer.Name = GetSubstring(line, tlxcol::kLayerName);
}

void CTLXReader::Parse_FeatureAttributes(CStr line) {
    int number;
    if (!TakeNumber(line, number)) return;
    FeatureStyleRec& styles = FeatureStyles[static_cast<size_t>(GetItem_FeatureCodes(number))];
    if (line.size() <= static_cast<size_t>(tlxcol::kStylesFrom)) return;
    ScanKeywords(line.substr(tlxcol::kStylesFrom), StyleWords, KeywordHits);
    const std::vector<const char*>& hits = KeywordHits;  // ParseStyle leaves it alone
    for (size_t style = STYLE_SYMBOL; style <= STYLE_BRUSH; ++style) {
        if (hits[style]) ParseStyle(styles, style, line, hits[style]);
        else RemoveStyle(styles, style);
    }
}

// One style clause, "/Pen(1,2,0)", from its keyword to the end of the line.
// A clause of the wrong shape leaves the style as it was; a bad number or a
// font without quotes removes it.
void CTLXReader::ParseStyle(FeatureStyleRec& styles, size_t style, CStr line, const char* keyword) {
    static constexpr size_t kPieces[3] = {6, 3, 3};
    std::unique_ptr<char[]> copy = ParseToken(line.substr(static_cast<size_t>(keyword - line.data())), ArgList);
    if (!copy || ArgList.size() != kPieces[style]) {
        ReportBadLine(ERR_DESCRIPTOR, line);
        return;
    }
    int n[6] = {};
    bool valid = true;
    for (size_t i = 0; i < ArgList.size(); ++i) {
        if (style == STYLE_SYMBOL && i == 1) continue;  // the font
        n[i] = GetIndex(ArgList[i]);
        if (n[i] < 0) valid = false;
    }
    CText font = style == STYLE_SYMBOL ? GetQuotedString(ArgList[1]) : CText();
    if (style == STYLE_SYMBOL && font.IsNull()) valid = false;
    if (!valid) {
        ReportBadLine(ERR_DESCRIPTOR, line);
        RemoveStyle(styles, style);
        return;
    }
    if (style == STYLE_SYMBOL) {
        if (!styles.Symbol) styles.Symbol = std::make_unique<SymbolStyle>();
        SymbolStyle& s = *styles.Symbol;
        s.Shape = n[0];
        s.Font = std::move(font);
        s.Extra = n[2];
        s.Style = n[3];
        s.Size = n[4];
        s.Color = n[5];
    } else if (style == STYLE_PEN) {
        if (!styles.Pen) styles.Pen = std::make_unique<PenStyle>();
        *styles.Pen = PenStyle{n[0], n[1], n[2]};
    } else {
        if (!styles.Brush) styles.Brush = std::make_unique<BrushStyle>();
        *styles.Brush = BrushStyle{n[0], n[1], n[2]};
    }
}

void CTLXReader::Parse_FeatureProperties(CStr line) {
    int number;
    if (!TakeNumber(line, number)) return;
    PropertySchema& schema = PropertySchemas[static_cast<size_t>(GetItem_FeatureCodes(number))];
    int property = GetIndex(line, tlxcol::kPropertyNumber);
    if (property < 0) {
        ReportBadLine(ERR_INDEX, line);
        return;
    }
    CText name = GetSubstring(line, tlxcol::kPropertyName);
    if (name.IsBlank()) {
        ReportBadLine(ERR_PROPERTY_NAME, line);
        return;
    }
    int type = -1, width = 0, precision = 0;
    if (!ParseTypeField(line, type, width, precision)) {
        ReportBadLine(ERR_SYNTAX, line);
        return;
    }
    PropertyDef def{std::move(name), type, width, precision};
    if (int* position = schema.Map.Find(property)) {
        schema.PropertyDefs[static_cast<size_t>(*position)] = std::move(def);
    } else {
        schema.Map.SetAt(property, static_cast<int>(schema.PropertyDefs.size()));
        schema.PropertyDefs.push_back(std::move(def));
    }
}

// "Char(20)", "Decimal(10,2)", "Float": the type word, and the width and
// precision that Char and Decimal must give.
bool CTLXReader::ParseTypeField(CStr line, int& type, int& width, int& precision) {
    CStr typeField = FieldView(line, tlxcol::kPropertyType.from, tlxcol::kPropertyType.to);
    const char* typeWord = MatchLeadingKeyword(typeField, PropertyTypeWords, type);
    if (!typeWord) return false;
    if (type != PROP_CHAR && type != PROP_DECIMAL) return true;
    std::unique_ptr<char[]> copy =
        ParseToken(typeField.substr(static_cast<size_t>(typeWord - typeField.data())), ArgList);
    size_t wanted = type == PROP_CHAR ? 1 : 2;
    if (!copy || ArgList.size() != wanted) return false;
    width = GetIndex(ArgList[0]);
    if (wanted == 2) precision = GetIndex(ArgList[1]);
    return width >= 0 && precision >= 0;
}

void CTLXReader::Parse_FeatureData(CStr line) {
    int number;
    if (!TakeNumber(line, number)) return;
    int slot = GetItem_Features(number, -1);
    int property = GetIndex(line, tlxcol::kDataProperty);
    if (property < 0) {
        ReportBadLine(ERR_INDEX, line);
        return;
    }
    CText value = GetSubstring(line, tlxcol::kDataValueFrom, static_cast<int>(line.size()));
    FeatureData[static_cast<size_t>(slot)].push_back({property, std::move(value), LineNumber});
}

}  // namespace tvk
