// CTLXReader: the FEATURES section. A head line is read whole before it
// touches the model, so a bad line never replaces a feature read earlier.
#include <cmath>

#include "platform/NumberText.h"
#include "reader/TLXReader.h"
#include "reader/TextScan.h"

namespace tvk {

// What a head line says once its columns have been read.
struct CTLXReader::HeadLine {
    int kind = NOKIND;
    int circleForm = 0;
    int points[4] = {};  // a circle's form comes first
    size_t pointCount = 0;
    int count = 0;  // POLYLINE, POLYGON and MULTIPLE
    double radius = 0.0;
    bool options = false;  // the line reaches the polyline options
    int smooth = 0;
    int16_t spline = 0;
};

void CTLXReader::Parse_Features(CStr line) {
    int number;
    if (!TakeNumber(line, number)) return;
    HeadLine head;
    if (!ReadObjectWord(line, head)) {
        ReportBadLine(ERR_SYNTAX, line);
        return;
    }
    if (OpenPartCount > 0) TakePart(line, head);
    else TakeFeature(number, line, head);
}

bool CTLXReader::ReadObjectWord(CStr line, HeadLine& head) {
    ScanKeywords(FieldView(line, tlxcol::kObjectWord.from, tlxcol::kObjectWord.to), ObjectWords, KeywordHits);
    int word = -1;
    size_t found = 0;
    for (size_t k = 0; k < KeywordHits.size(); ++k) {
        if (!KeywordHits[k]) continue;
        if (found++ == 0) word = static_cast<int>(k);
    }
    if (found != 1) return false;
    static constexpr int kKinds[10] = {POINT, LINE, POLYLINE, POLYGON, ARC, CIRCLE, CIRCLE, CIRCLE, CIRCLE, MULTIPLE};
    head.kind = kKinds[word];
    head.circleForm = head.kind == CIRCLE ? word - 5 : 0;
    return true;
}

// The columns of the head line's kind. Returns the error of the first bad
// column, or -1.
int CTLXReader::ReadHeadColumns(CStr line, HeadLine& head) {
    int error = -1;
    auto point = [&](size_t column) {
        int p = GetIndex(line, tlxcol::kFeatureColumns[column]);
        if (p < 0 && error < 0) error = ERR_INDEX;
        head.points[head.pointCount++] = p < 0 ? -1 : p;
    };
    switch (head.kind) {
    case POINT: point(0); break;
    case LINE:
        point(0);
        point(1);
        break;
    case ARC:
        point(0);
        point(1);
        point(2);
        break;
    case POLYLINE:
    case POLYGON:
    case MULTIPLE:
        head.count = GetIndex(line, tlxcol::kFeatureColumns[0]);
        if (head.count < 1) return ERR_SYNTAX;
        if (head.kind == POLYLINE) ReadLineOptions(line, head);
        break;
    case CIRCLE:
        head.points[head.pointCount++] = head.circleForm;
        point(0);
        if (head.circleForm == 0) {
            CText radius = GetSubstring(line, tlxcol::kRadius);
            head.radius = radius.IsNull() ? 0.0 : AtoF(radius.Get());
            // 1e309, inf or nan would reach every output as a coordinate.
            if (!std::isfinite(head.radius) && error < 0) error = ERR_SYNTAX;
        } else {
            point(1);
            if (head.circleForm == 3) point(2);
        }
        break;
    default: break;
    }
    return error;
}

void CTLXReader::ReadLineOptions(CStr line, HeadLine& head) {
    if (line.size() <= static_cast<size_t>(tlxcol::kLineOptionsFrom)) return;
    head.options = true;
    ScanKeywords(line.substr(tlxcol::kLineOptionsFrom), LineOptionWords, KeywordHits);
    head.smooth = KeywordHits[0] || KeywordHits[1] ? 1 : 0;
    if (const char* spline = KeywordHits[1]) {
        int at = static_cast<int>(spline - line.data()) + static_cast<int>(LineOptionWords[1].size());
        int value = GetIndex(line, at, at + 1);
        head.spline = static_cast<int16_t>(value < 0 ? -1 : value);
    }
}

void CTLXReader::TakeFeature(int number, CStr line, HeadLine& head) {
    int code = GetIndex(line, tlxcol::kFeatureCode);
    if (code < 0) {
        ReportBadLine(ERR_INDEX, line);
        return;
    }
    int error = ReadHeadColumns(line, head);
    const int* known = FeatureMap.Find(number);
    bool exists = known && Features[static_cast<size_t>(*known)];
    if (error >= 0) {
        ReportBadLine(error, line);
        // A MULTIPLE whose count is bad is still a feature, without parts,
        // unless it would take the place of a feature read before.
        if (head.kind != MULTIPLE || exists) return;
    }
    int slot = GetItem_Features(number, head.kind);
    std::unique_ptr<CFeature>& entry = Features[static_cast<size_t>(slot)];
    if (exists) entry = CreateFeature(head.kind);
    CFeature* feature = entry.get();
    if (!feature) return;
    feature->Code = code;
    feature->Line = LineNumber;
    StoreHeadColumns(feature, head);
}

// The next part of OpenMultiple. A part is counted even when its columns are
// bad, so that the lines after it keep their places; such a part leaves its
// feature out, except a MULTIPLE part without parts, which draws nothing.
void CTLXReader::TakePart(CStr line, HeadLine& head) {
    int error = ReadHeadColumns(line, head);
    std::unique_ptr<CFeature> created = CreateFeature(head.kind);
    if (!created) return;
    CFeature* part = created.get();
    part->Code = OpenMultiple->Code;
    part->Line = LineNumber;
    OpenMultiple->Parts.push_back(std::move(created));
    --OpenPartCount;
    if (head.kind == MULTIPLE && OpenPartCount > 0) {  // only the last part may open parts of its own
        part->Kind = MULTIPLE;
        ReportBadLine(ERR_SYNTAX, line);
        return;
    }
    if (error >= 0) {
        part->Kind = head.kind;
        part->LineReported = head.kind != MULTIPLE;
        ReportBadLine(error, line);
        return;
    }
    StoreHeadColumns(part, head);
}

void CTLXReader::StoreHeadColumns(CFeature* feature, const HeadLine& head) {
    feature->Kind = head.kind;
    if (head.kind == MULTIPLE) {
        auto* multiple = dynamic_cast<CMultipleFeature*>(feature);
        if (!multiple) return;
        multiple->Parts.clear();
        if (head.count < 1) return;
        OpenMultiple = multiple;
        OpenPartCount = head.count;
        return;
    }
    auto* list = dynamic_cast<CPointListFeature*>(feature);
    if (!list) return;
    list->Points.assign(head.points, head.points + head.pointCount);
    if (head.kind == POLYLINE || head.kind == POLYGON) {
        OpenFeature = list;
        OpenPointCount = head.count;
        auto* polyline = dynamic_cast<CPolylineFeature*>(list);
        if (polyline && head.kind == POLYLINE && head.options) {
            polyline->Smooth = head.smooth;
            polyline->Spline = head.spline;
        }
    } else if (head.kind == CIRCLE && head.circleForm == 0) {
        int radiusPoint = NextGeneratedNumber(RadiusPointCounter, kRadiusPointFirst, kCirclePointFirst);
        PointRec& point = Points[static_cast<size_t>(GetItem_Points(radiusPoint))];
        point.X = Gcvt32(head.radius);
        point.Y = point.X;
        list->Points.push_back(radiusPoint);
    }
}

void CTLXReader::ParseLine_Features(CStr line) {
    --OpenPointCount;
    int point;
    if (!TakeNumber(line, point)) {
        if (OpenFeature) OpenFeature->LineReported = true;
        return;
    }
    if (!OpenFeature) return;
    std::vector<int>& points = OpenFeature->Points;
    points.push_back(point);
    if (OpenFeature->Kind == POLYGON && OpenPointCount == 0 && point != points.front()) {
        ReportBadLine(ERR_SYNTAX, line);
        OpenFeature->LineReported = true;
    }
}

}  // namespace tvk
