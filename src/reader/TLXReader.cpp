// CTLXReader: construction, the model's lifetime, item creation and the
// static text functions of the file syntax.
#include "reader/TLXReader.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/NumberText.h"
#include "reader/ReaderStrings.h"
#include "reader/TextScan.h"

namespace tvk {

int CTLXReader::RadiusPointCounter = CTLXReader::kRadiusPointFirst;
int CTLXReader::CirclePointCounter = CTLXReader::kCirclePointFirst;

namespace {
template <class T>
void Release(std::vector<T>& v) {
    std::vector<T>().swap(v);
}
}  // namespace

CTLXReader::CTLXReader() { RegisterReaderStrings(); }

CTLXReader::~CTLXReader() { CTLXReader::Free(); }

void CTLXReader::Init() {
    Free();
    InitMaps();
    InitArrays();
    InitErrorMessages();
    InitTokens();
}

void CTLXReader::Free() {
    UndefLayer = kNone;
    OnProgressBegin = nullptr;
    OnProgressStep = nullptr;
    OnProgressEnd = nullptr;
    LastFilePos = 0;
    PointMap.RemoveAll();
    CodeMap.RemoveAll();
    LayerMap.RemoveAll();
    FeatureMap.RemoveAll();
    Release(Points);
    Release(GeoCoords);
    Release(FeatureCodes);
    Release(FeatureStyles);
    Release(Layers);
    Release(PropertySchemas);
    Release(Features);
    Release(FeatureValues);
    Release(PointStates);
    Release(CodeStates);
    Release(LayerStates);
    Release(FeatureStates);
    Release(LayerUsed);
    Release(CodeUsed);
    Release(FeatureNumbers);
    Release(PointLines);
    Release(CodeLines);
    Release(LayerLines);
    FreeTemp();
    KeywordHits.clear();
    ArgList.clear();
    OpenFeature = nullptr;
    OpenPointCount = 0;
    OpenMultiple = nullptr;
    OpenPartCount = 0;
    LineNumber = 0;
    LineTooLong = false;
}

void CTLXReader::FreeTemp() { Release(FeatureData); }

void CTLXReader::InitMaps() {
    PointMap.InitHashTable(kMapBuckets);
    CodeMap.InitHashTable(kMapBuckets);
    LayerMap.InitHashTable(kMapBuckets);
    FeatureMap.InitHashTable(kMapBuckets);
}

void CTLXReader::InitArrays() {
    Points.clear();
    GeoCoords.clear();
    PointLines.clear();
    FeatureCodes.clear();
    CodeLines.clear();
    LayerLines.clear();
    FeatureStyles.clear();
    Layers.clear();
    PropertySchemas.clear();
    Features.clear();
    FeatureValues.clear();
}

void CTLXReader::InitErrorMessages() {
    ErrorMessageIds = {
        IDS_ERR_BEGIN_SECTION, IDS_ERR_END_SECTION,    IDS_ERR_END_OF_FILE, IDS_ERR_SYNTAX,     IDS_ERR_BODY_OF_SECTION,
        IDS_ERR_INDEX,         IDS_ERR_DESCRIPTOR,     IDS_ERR_POINT_INDEX, IDS_ERR_CODE_INDEX, IDS_ERR_LAYER_INDEX,
        IDS_ERR_FEATURE_INDEX, IDS_ERR_PROPERTY_INDEX, IDS_ERR_POINT,       IDS_ERR_LAYER_NAME, IDS_ERR_PROPERTY_NAME,
    };
}

void CTLXReader::InitTokens() {
    SectionDelimiters = {"BEGIN", "END"};
    SectionNames = {"POINTS", "GDS_COORDS",         "FEATURE_CODES", "FEATURE_ATTRIBUTES",
                    "LAYERS", "FEATURE_PROPERTIES", "FEATURES",      "FEATURE_DATA"};
    PointFlagWords = {"/h", "/v", "/s"};
    StyleWords = {"/Symbol", "/Pen", "/Brush"};
    PropertyTypeWords = {"Char", "Integer", "Smallint", "Decimal", "Float", "Angular"};
    ObjectWords = {"POINT", "LINE", "POLYLINE", "POLYGON", "ARC", "CIRC0", "CIRC1", "CIRC2", "CIRC3", "MULTIPLE"};
    LineOptionWords = {"/smooth", "/spline"};
}

void CTLXReader::PrepareData() {}

std::unique_ptr<CFeature> CTLXReader::CreateFeature(int kind) {
    switch (kind) {
    case POINT:
    case LINE:
    case POLYGON:
    case ARC:
    case CIRCLE: return std::make_unique<CPointListFeature>();
    case POLYLINE: return std::make_unique<CPolylineFeature>();
    case MULTIPLE: return std::make_unique<CMultipleFeature>();
    default: return nullptr;
    }
}

int CTLXReader::GetItem_Points(int number) {
    if (const int* slot = PointMap.Find(number)) return *slot;
    int slot = static_cast<int>(Points.size());
    Points.emplace_back();
    GeoCoords.emplace_back();
    PointLines.push_back(LineNumber);
    PointMap.SetAt(number, slot);
    return slot;
}

// Generated numbers stay negative, so they never meet the file's numbers, and
// stay unique within the model however long the process runs.
int CTLXReader::NextGeneratedNumber(int& counter, int first, int end) {
    for (;;) {
        if (counter < first || counter >= end) counter = first;
        int number = counter++;
        if (!PointMap.Find(number)) return number;
    }
}

int CTLXReader::GetItem_FeatureCodes(int number) {
    if (const int* slot = CodeMap.Find(number)) return *slot;
    int slot = static_cast<int>(FeatureCodes.size());
    FeatureCodes.emplace_back();
    FeatureStyles.emplace_back();
    PropertySchemas.emplace_back();
    CodeLines.push_back(LineNumber);
    CodeMap.SetAt(number, slot);
    return slot;
}

int CTLXReader::GetItem_Layers(int number) {
    if (const int* slot = LayerMap.Find(number)) return *slot;
    int slot = static_cast<int>(Layers.size());
    Layers.emplace_back();
    LayerLines.push_back(LineNumber);
    LayerMap.SetAt(number, slot);
    return slot;
}

int CTLXReader::GetItem_Features(int number, int kind) {
    if (const int* found = FeatureMap.Find(number)) {
        int slot = *found;
        if (!Features[static_cast<size_t>(slot)] && kind != -1)
            Features[static_cast<size_t>(slot)] = CreateFeature(kind);
        return slot;
    }
    std::unique_ptr<CFeature> feature = kind == -1 ? nullptr : CreateFeature(kind);
    int slot = static_cast<int>(Features.size());
    Features.push_back(std::move(feature));
    FeatureValues.emplace_back();
    FeatureData.emplace_back();
    FeatureMap.SetAt(number, slot);
    return slot;
}

int CTLXReader::GetIndex(const char* text) {
    if (!text) return -1;
    int value = AtoI(text);
    if (value != 0) return value;
    return IsZeroText(text) && !IsBlank(text) ? 0 : -1;
}

namespace {

// GetIndex of a column's text as the C string it holds, up to its end or its
// first NUL, read in place: every line takes this for its number.
int ColumnIndex(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    p += LeadingBlanks(text);
    while (p < end && IsCSpace(*p)) ++p;
    if (p == end || *p == 0) return -1;  // blank
    const char* const first = p;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    long long value = 0;
    for (; p < end && static_cast<unsigned char>(*p - '0') < 10u; ++p)
        if (value < (1LL << 40)) value = value * 10 + (*p - '0');
    if (value != 0) return static_cast<int>(std::clamp<long long>(negative ? -value : value, INT_MIN, INT_MAX));
    // Zero counts only as zeros and blanks: "0" and " 00 ", not "-0" or "0x".
    for (p = first; p < end && *p; ++p)
        if (*p != '0' && !IsCSpace(*p)) return -1;
    return 0;
}

}  // namespace

int CTLXReader::GetIndex(CStr line, int from, int to) {
    if (from < 0 || static_cast<size_t>(from) >= line.size() || to < from) return -1;
    size_t end = std::min(line.size(), static_cast<size_t>(to) + 1);
    return ColumnIndex(line.substr(static_cast<size_t>(from), end - static_cast<size_t>(from)));
}

CText CTLXReader::GetSubstring(CStr line, int from, int to) {
    if (from < 0 || static_cast<size_t>(from) >= line.size()) return CText();
    size_t end = to < from ? static_cast<size_t>(from) : std::min(line.size(), static_cast<size_t>(to) + 1);
    return CText(TrimmedView(line.substr(static_cast<size_t>(from), end - static_cast<size_t>(from))));
}

std::unique_ptr<char[]> CTLXReader::ParseToken(std::string_view text, std::vector<char*>& argList) {
    argList.clear();
    // The text as a C string: it ends at its first NUL, if any.
    size_t n = text.size();
    if (const void* nul = std::memchr(text.data(), 0, n))
        n = static_cast<size_t>(static_cast<const char*>(nul) - text.data());
    auto copy = std::make_unique<char[]>(n + 1);
    std::memcpy(copy.get(), text.data(), n);
    copy[n] = 0;
    char* open = std::strchr(copy.get(), '(');
    if (!open || open[1] == 0) return nullptr;
    char* close = std::strchr(open + 1, ')');
    if (!close) return nullptr;
    *close = 0;
    // strtok at commas: empty pieces are dropped, pieces are not trimmed.
    char* p = open + 1;
    while (*p) {
        while (*p == ',') ++p;
        if (!*p) break;
        char* start = p;
        while (*p && *p != ',') ++p;
        if (*p) *p++ = 0;
        argList.push_back(start);
    }
    return copy;
}

CText CTLXReader::GetQuotedString(const char* text) {
    if (!text) return CText();
    const char* open = std::strchr(text, '"');
    if (!open || open[1] == 0) return CText();
    const char* close = std::strchr(open + 1, '"');
    if (!close) return CText();
    return CText(std::string_view(open + 1, static_cast<size_t>(close - open - 1)));
}

CText CTLXReader::Gcvt32(double value) {
    char buf[64];
    int n = FormatGcvt(value, 32, buf);
    return CText(std::string_view(buf, static_cast<size_t>(n)));
}

}  // namespace tvk
