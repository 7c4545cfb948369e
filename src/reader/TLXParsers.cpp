// CTLXReader: the line reader, the section state machine and the nine line
// parsers of the .tlx syntax. Bad lines are reported and reading goes on.
#include <algorithm>
#include <cstring>

#include "platform/Exceptions.h"
#include "platform/NumberText.h"
#include "reader/TLXReader.h"
#include "reader/TextScan.h"

namespace tvk {

namespace {

enum Section { NO_SECTION = -1, S_POINTS, S_GDS_COORDS, S_FEATURE_CODES, S_FEATURE_ATTRIBUTES,
               S_LAYERS, S_FEATURE_PROPERTIES, S_FEATURES, S_FEATURE_DATA };

// The columns from..to of the line as they stand (cut at the line's end).
std::string_view Field(std::string_view line, size_t from, size_t to) {
    if (from >= line.size()) return {};
    return line.substr(from, std::min(line.size(), to + 1) - from);
}

size_t CountHits(const std::vector<const char*>& hits, int& first) {
    size_t n = 0;
    for (size_t k = 0; k < hits.size(); ++k) {
        if (hits[k]) {
            if (n == 0) first = static_cast<int>(k);
            ++n;
        }
    }
    return n;
}

}  // namespace

void CTLXReader::OpenFile(const char* path) {
    InputFile.Open(path ? path : "", CFile::modeRead | CFile::shareDenyWrite);
    LastFilePos = 0;
    int64_t length = InputFile.GetLength();
    int high = ProgressScale.Begin(length);
    if (OnProgressBegin) OnProgressBegin(0, high);
    size_t buckets = static_cast<size_t>(std::max<int64_t>(length / 50, static_cast<int64_t>(kMapBuckets)));
    PointMap.Rehash(buckets);
    FeatureMap.Rehash(buckets);
}

void CTLXReader::CloseFile() {
    InputFile.Abort();
    if (OnProgressEnd) OnProgressEnd();
}

int CTLXReader::ReadFromFile(char* buffer, int size) {
    for (;;) {
        if (!InputFile.ReadString(buffer, static_cast<size_t>(size))) return 0;
        int64_t position = InputFile.GetPosition();
        if (OnProgressStep) OnProgressStep(ProgressScale.Step(LastFilePos, position));
        LastFilePos = position;
        if (!IsBlank(buffer)) return 1;
    }
}

void CTLXReader::ReadTLX() {
    char buffer[kLineBufferSize];
    int section = NO_SECTION;
    while (ReadFromFile(buffer, kLineBufferSize)) {
        if (IsMustDie()) throw CThreadStopSignal();
        CStr line(buffer, std::strlen(buffer));
        size_t lead = 0;
        while (lead < line.size() && IsCSpace(line[lead])) ++lead;
        if (lead < line.size() && line[lead] == '*') continue;

        int word = -1;
        if (const char* delim = MatchLeadingKeyword(line, SectionDelimiters, word)) {
            CStr rest = line.substr(static_cast<size_t>(delim - buffer) + SectionDelimiters[static_cast<size_t>(word)].size());
            int name = -1;
            const char* at = MatchLeadingKeyword(rest, SectionNames, name);
            bool nameAlone = at && IsBlank(rest.substr(static_cast<size_t>(at - rest.data()) +
                                                       SectionNames[static_cast<size_t>(name)].size()));
            if (word == 0) {  // BEGIN
                if (section != NO_SECTION) WriteErrorMessage(ERR_BEGIN_SECTION, buffer);
                else if (nameAlone) section = name;
                else WriteErrorMessage(ERR_SYNTAX, buffer);
            } else {  // END
                if (section == NO_SECTION || OpenPointCount > 0 || OpenPartCount > 0) WriteErrorMessage(ERR_END_SECTION, buffer);
                else if (nameAlone && name == section) section = NO_SECTION;
                else WriteErrorMessage(ERR_SYNTAX, buffer);
            }
            continue;
        }

        switch (section) {
            case S_POINTS: Parse_Points(line); break;
            case S_GDS_COORDS: Parse_GdsCoords(line); break;
            case S_FEATURE_CODES: Parse_FeatureCodes(line); break;
            case S_FEATURE_ATTRIBUTES: Parse_FeatureAttributes(line); break;
            case S_LAYERS: Parse_Layers(line); break;
            case S_FEATURE_PROPERTIES: Parse_FeatureProperties(line); break;
            case S_FEATURES:
                if (OpenPointCount > 0) ParseLine_Features(line);
                else Parse_Features(line);
                break;
            case S_FEATURE_DATA: Parse_FeatureData(line); break;
            default: WriteErrorMessage(ERR_BODY_OF_SECTION, buffer); break;
        }
    }
    if (section != NO_SECTION || OpenPointCount > 0 || OpenPartCount > 0) WriteErrorMessage(ERR_END_OF_FILE, nullptr);
}

void CTLXReader::Parse_Points(CStr line) {
    int number = GetIndex(line, 0, 7);
    if (number < 0) {
        WriteErrorMessage(ERR_INDEX, line.data());
        return;
    }
    PointRec& point = Points[static_cast<size_t>(GetItem_Points(number))];
    point.Name = GetSubstring(line, 9, 24);
    int ref = GetIndex(line, 26, 33);
    point.RefPoint = ref < 0 ? kNone : ref;
    point.X = GetSubstring(line, 35, 50);
    point.Y = GetSubstring(line, 52, 67);
    point.H = GetSubstring(line, 69, 84);
    if (line.size() > 85) {
        ScanKeywords(line.substr(85), PointFlagWords, KeywordHits);
        point.Relief = point.H.IsBlank() ? 1 : 0;
        if (KeywordHits[2]) point.Relief = 2;
        point.HControl = KeywordHits[0] != nullptr;
        point.VControl = KeywordHits[1] != nullptr;
    }
}

void CTLXReader::Parse_GdsCoords(CStr line) {
    int number = GetIndex(line, 0, 7);
    if (number < 0) {
        WriteErrorMessage(ERR_INDEX, line.data());
        return;
    }
    GeoCoordRec& geo = GeoCoords[static_cast<size_t>(GetItem_Points(number))];
    geo.Latitude = GetSubstring(line, 9, 24);
    geo.Longitude = GetSubstring(line, 26, 41);
}

void CTLXReader::Parse_FeatureCodes(CStr line) {
    int number = GetIndex(line, 0, 7);
    if (number < 0) {
        WriteErrorMessage(ERR_INDEX, line.data());
        return;
    }
    FeatureCodeRec& code = FeatureCodes[static_cast<size_t>(GetItem_FeatureCodes(number))];
    int layer = GetIndex(line, 9, 16);
    if (layer < 0) {
        WriteErrorMessage(ERR_INDEX, line.data());
        layer = kNone;
    }
    code.Layer = layer;
    code.Code = GetSubstring(line, 18, 25);
    code.Name = GetSubstring(line, 27, 42);
}

void CTLXReader::Parse_Layers(CStr line) {
    int number = GetIndex(line, 0, 7);
    if (number < 0) {
        WriteErrorMessage(ERR_INDEX, line.data());
        return;
    }
    LayerRec& layer = Layers[static_cast<size_t>(GetItem_Layers(number))];
    int parent = GetIndex(line, 9, 16);
    layer.Parent = parent < 0 ? kNone : parent;
    layer.Name = GetSubstring(line, 18, 33);
}

void CTLXReader::Parse_FeatureAttributes(CStr line) {
    int number = GetIndex(line, 0, 7);
    if (number < 0) {
        WriteErrorMessage(ERR_INDEX, line.data());
        return;
    }
    FeatureStyleRec& styles = FeatureStyles[static_cast<size_t>(GetItem_FeatureCodes(number))];
    if (line.size() <= 8) return;
    ScanKeywords(line.substr(8), StyleWords, KeywordHits);
    const std::vector<const char*>& hits = KeywordHits;  // ParseToken leaves it alone
    static constexpr size_t kPieces[3] = {6, 3, 3};
    for (size_t style = 0; style < 3; ++style) {
        if (!hits[style]) {
            if (style == 0) styles.Symbol.reset();
            else if (style == 1) styles.Pen.reset();
            else styles.Brush.reset();
            continue;
        }
        CStr clause = line.substr(static_cast<size_t>(hits[style] - line.data()));
        std::unique_ptr<char[]> copy = ParseToken(clause, ArgList);
        if (!copy || ArgList.size() != kPieces[style]) {
            WriteErrorMessage(ERR_DESCRIPTOR, line.data());
            continue;
        }
        int n[6] = {};
        bool valid = true;
        for (size_t i = 0; i < ArgList.size(); ++i) {
            if (style == 0 && i == 1) continue;  // the font
            n[i] = GetIndex(ArgList[i]);
            if (n[i] < 0) valid = false;
        }
        CText font;
        if (style == 0) {
            font = GetQuotedString(ArgList[1]);
            if (font.IsNull()) valid = false;
        }
        if (!valid) {
            WriteErrorMessage(ERR_DESCRIPTOR, line.data());
            if (style == 0) styles.Symbol.reset();
            else if (style == 1) styles.Pen.reset();
            else styles.Brush.reset();
            continue;
        }
        if (style == 0) {
            if (!styles.Symbol) styles.Symbol = std::make_unique<SymbolStyle>();
            SymbolStyle& s = *styles.Symbol;
            s.Shape = n[0];
            s.Font = std::move(font);
            s.Extra = n[2];
            s.Style = n[3];
            s.Size = n[4];
            s.Color = n[5];
        } else if (style == 1) {
            if (!styles.Pen) styles.Pen = std::make_unique<PenStyle>();
            *styles.Pen = PenStyle{n[0], n[1], n[2]};
        } else {
            if (!styles.Brush) styles.Brush = std::make_unique<BrushStyle>();
            *styles.Brush = BrushStyle{n[0], n[1], n[2]};
        }
    }
}

void CTLXReader::Parse_FeatureProperties(CStr line) {
    int number = GetIndex(line, 0, 7);
    if (number < 0) {
        WriteErrorMessage(ERR_INDEX, line.data());
        return;
    }
    PropertySchema& schema = PropertySchemas[static_cast<size_t>(GetItem_FeatureCodes(number))];
    int property = GetIndex(line, 9, 12);
    if (property < 0) {
        WriteErrorMessage(ERR_INDEX, line.data());
        return;
    }
    CText name = GetSubstring(line, 14, 29);
    if (name.IsBlank()) {
        WriteErrorMessage(ERR_PROPERTY_NAME, line.data());
        return;
    }
    CStr typeField = Field(line, 31, 46);
    int type = -1;
    const char* typeWord = MatchLeadingKeyword(typeField, PropertyTypeWords, type);
    if (!typeWord) {
        WriteErrorMessage(ERR_SYNTAX, line.data());
        return;
    }
    int width = 0, precision = 0;
    if (type == PROP_CHAR || type == PROP_DECIMAL) {
        CStr clause = typeField.substr(static_cast<size_t>(typeWord - typeField.data()));
        std::unique_ptr<char[]> copy = ParseToken(clause, ArgList);
        size_t wanted = type == PROP_CHAR ? 1 : 2;
        bool valid = copy && ArgList.size() == wanted;
        if (valid) {
            width = GetIndex(ArgList[0]);
            if (width < 0) valid = false;
            if (wanted == 2) {
                precision = GetIndex(ArgList[1]);
                if (precision < 0) valid = false;
            }
        }
        if (!valid) {
            WriteErrorMessage(ERR_SYNTAX, line.data());
            return;
        }
    }
    PropertyDef def{std::move(name), type, width, precision};
    if (int* position = schema.Map.Find(property)) {
        schema.PropertyDefs[static_cast<size_t>(*position)] = std::move(def);
    } else {
        schema.Map.SetAt(property, static_cast<int>(schema.PropertyDefs.size()));
        schema.PropertyDefs.push_back(std::move(def));
    }
}

int CTLXReader::ReadPointColumn(CStr line, int from, int to) {
    int point = GetIndex(line, from, to);
    if (point >= 0) return point;
    WriteErrorMessage(ERR_INDEX, line.data());
    return -1;
}

void CTLXReader::Parse_Features(CStr line) {
    int number = GetIndex(line, 0, 7);
    if (number < 0) {
        WriteErrorMessage(ERR_INDEX, line.data());
        return;
    }
    ScanKeywords(Field(line, 9, 24), ObjectWords, KeywordHits);
    int word = -1;
    if (CountHits(KeywordHits, word) != 1) {
        WriteErrorMessage(ERR_SYNTAX, line.data());
        return;
    }
    static constexpr int kKinds[10] = {POINT, LINE, POLYLINE, POLYGON, ARC, CIRCLE, CIRCLE, CIRCLE, CIRCLE, MULTIPLE};
    int kind = kKinds[word];
    int circleForm = kind == CIRCLE ? word - 5 : 0;

    CFeature* feature = nullptr;
    if (OpenPartCount > 0) {
        std::unique_ptr<CFeature> part = CreateFeature(kind);
        if (!part) return;
        part->Code = OpenMultiple->Code;
        feature = part.get();
        OpenMultiple->Parts.push_back(std::move(part));
        --OpenPartCount;
    } else {
        // A repeated head line replaces the feature by a new one of its kind.
        const int* known = FeatureMap.Find(number);
        bool replace = known && Features[static_cast<size_t>(*known)];
        int slot = GetItem_Features(number, kind);
        std::unique_ptr<CFeature>& entry = Features[static_cast<size_t>(slot)];
        if (replace) entry = CreateFeature(kind);
        feature = entry.get();
        if (!feature) return;
        int code = GetIndex(line, 26, 33);
        if (code < 0) {
            WriteErrorMessage(ERR_INDEX, line.data());
            return;
        }
        feature->Code = code;
    }
    ParseFeatureColumns(feature, kind, circleForm, line);
}

void CTLXReader::ParseFeatureColumns(CFeature* feature, int kind, int circleForm, CStr line) {
    feature->Kind = kind;
    if (kind == MULTIPLE) {
        auto* multiple = dynamic_cast<CMultipleFeature*>(feature);
        if (!multiple) return;
        multiple->Parts.clear();
        if (OpenPartCount > 0) {
            WriteErrorMessage(ERR_SYNTAX, line.data());
            return;
        }
        int count = GetIndex(line, 35, 42);
        if (count < 1) {
            WriteErrorMessage(ERR_SYNTAX, line.data());
            return;
        }
        OpenMultiple = multiple;
        OpenPartCount = count;
        return;
    }
    auto* list = dynamic_cast<CPointListFeature*>(feature);
    if (!list) return;
    std::vector<int>& points = list->Points;
    points.clear();
    switch (kind) {
        case POINT:
            points.push_back(ReadPointColumn(line, 35, 42));
            break;
        case LINE:
            points.push_back(ReadPointColumn(line, 35, 42));
            points.push_back(ReadPointColumn(line, 44, 51));
            break;
        case ARC:
            points.push_back(ReadPointColumn(line, 35, 42));
            points.push_back(ReadPointColumn(line, 44, 51));
            points.push_back(ReadPointColumn(line, 53, 60));
            break;
        case POLYLINE:
        case POLYGON: {
            int count = GetIndex(line, 35, 42);
            if (count < 1) {
                WriteErrorMessage(ERR_SYNTAX, line.data());
                return;
            }
            OpenFeature = list;
            OpenPointCount = count;
            auto* polyline = dynamic_cast<CPolylineFeature*>(list);
            if (kind == POLYLINE && polyline && line.size() > 43) {
                ScanKeywords(line.substr(43), LineOptionWords, KeywordHits);
                polyline->Smooth = KeywordHits[0] || KeywordHits[1] ? 1 : 0;
                if (const char* spline = KeywordHits[1]) {
                    int at = static_cast<int>(spline - line.data()) + static_cast<int>(LineOptionWords[1].size());
                    int value = GetIndex(line, at, at + 1);
                    polyline->Spline = static_cast<int16_t>(value < 0 ? -1 : value);
                }
            }
            break;
        }
        case CIRCLE: {
            points.push_back(circleForm);
            points.push_back(ReadPointColumn(line, 35, 42));
            if (circleForm == 0) {
                CText radiusText = GetSubstring(line, 44, 59);
                double radius = radiusText.IsNull() ? 0.0 : AtoF(radiusText.Get());
                int radiusPoint = NextGeneratedNumber(RadiusPointCounter, kRadiusPointFirst, kCirclePointFirst);
                PointRec& point = Points[static_cast<size_t>(GetItem_Points(radiusPoint))];
                point.X = Gcvt32(radius);
                point.Y = point.X;
                points.push_back(radiusPoint);
            } else {
                points.push_back(ReadPointColumn(line, 44, 51));
                if (circleForm == 3) points.push_back(ReadPointColumn(line, 53, 60));
            }
            break;
        }
        default:
            break;
    }
}

void CTLXReader::ParseLine_Features(CStr line) {
    --OpenPointCount;
    int point = GetIndex(line, 0, 7);
    if (point < 0) {
        WriteErrorMessage(ERR_INDEX, line.data());
        return;
    }
    if (!OpenFeature) return;
    std::vector<int>& points = OpenFeature->Points;
    points.push_back(point);
    if (OpenFeature->Kind == POLYGON && OpenPointCount == 0 && point != points.front())
        WriteErrorMessage(ERR_SYNTAX, line.data());
}

void CTLXReader::Parse_FeatureData(CStr line) {
    int number = GetIndex(line, 0, 7);
    if (number < 0) {
        WriteErrorMessage(ERR_INDEX, line.data());
        return;
    }
    int slot = GetItem_Features(number, -1);
    int property = GetIndex(line, 9, 12);
    if (property < 0) {
        WriteErrorMessage(ERR_INDEX, line.data());
        return;
    }
    FeatureData[static_cast<size_t>(slot)].push_back({property, GetSubstring(line, 14, static_cast<int>(line.size()))});
}

}  // namespace tvk
