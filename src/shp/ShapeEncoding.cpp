#include "shp/ShapeEncoding.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tvk {

void AppendBigInt32(std::string& out, uint32_t value) {
    const char bytes[4] = {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                           static_cast<char>(value >> 8), static_cast<char>(value)};
    out.append(bytes, 4);
}

void AppendLittleInt32(std::string& out, uint32_t value) {
    const char bytes[4] = {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
                           static_cast<char>(value >> 24)};
    out.append(bytes, 4);
}

void AppendLittleDouble(std::string& out, double value) {
    char bytes[8];
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(bytes, &value, 8);
    } else {
        uint64_t bits = std::bit_cast<uint64_t>(value);
        for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>(bits >> (8 * i));
    }
    out.append(bytes, 8);
}

void AppendBox(std::string& out, const ShapeBox& box) {
    AppendLittleDouble(out, box.minX);
    AppendLittleDouble(out, box.minY);
    AppendLittleDouble(out, box.maxX);
    AppendLittleDouble(out, box.maxY);
}

std::string ShapeFileHeader(int32_t shapeType) {
    std::string header;
    header.reserve(kShapeHeaderSize);
    AppendBigInt32(header, kShapeFileCode);
    header.append(20, '\0');
    AppendBigInt32(header, 0);  // file length
    AppendLittleInt32(header, kShapeFileVersion);
    AppendLittleInt32(header, static_cast<uint32_t>(shapeType));
    header.append(kShapeHeaderSize - header.size(), '\0');  // box, Z and M ranges
    return header;
}

void AppendPointRecord(std::string& out, int32_t recordNumber, ShapePoint point) {
    AppendBigInt32(out, static_cast<uint32_t>(recordNumber));
    AppendBigInt32(out, PointContentWords());
    AppendLittleInt32(out, kShapePoint);
    AppendLittleDouble(out, point.x);
    AppendLittleDouble(out, point.y);
}

ShapeBox AppendPartRecord(std::string& out, int32_t recordNumber, int32_t shapeType, const ShapePoint* points,
                          size_t count) {
    ShapeBox box;
    for (size_t i = 0; i < count; ++i) box.Extend(points[i]);
    out.reserve(out.size() + kShapeRecordHeaderSize + 2 * static_cast<size_t>(PartContentWords(count)));
    AppendBigInt32(out, static_cast<uint32_t>(recordNumber));
    AppendBigInt32(out, static_cast<uint32_t>(PartContentWords(count)));
    AppendLittleInt32(out, static_cast<uint32_t>(shapeType));
    AppendBox(out, box);
    AppendLittleInt32(out, 1);  // parts
    AppendLittleInt32(out, static_cast<uint32_t>(count));
    AppendLittleInt32(out, 0);  // the only part starts at point 0
    for (size_t i = 0; i < count; ++i) {
        AppendLittleDouble(out, points[i].x);
        AppendLittleDouble(out, points[i].y);
    }
    return box;
}

void AppendIndexEntry(std::string& out, int32_t offsetWords, int32_t contentWords) {
    AppendBigInt32(out, static_cast<uint32_t>(offsetWords));
    AppendBigInt32(out, static_cast<uint32_t>(contentWords));
}

bool RepeatLastPoint(std::vector<ShapePoint>& points, size_t minimum) {
    if (points.empty() || points.size() >= minimum) return false;
    points.resize(minimum, points.back());
    return true;
}

double RingDoubleArea(const ShapePoint* points, size_t count) {
    if (count < 3) return 0.0;
    // Relative to the first point: survey coordinates are large, their cross
    // products would lose the digits that decide the sign of a small ring.
    const ShapePoint o = points[0];
    double sum = 0.0;
    for (size_t i = 1; i + 1 < count; ++i) {
        double ax = points[i].x - o.x, ay = points[i].y - o.y;
        double bx = points[i + 1].x - o.x, by = points[i + 1].y - o.y;
        sum += ax * by - bx * ay;
    }
    return sum;
}

void MakeRingClockwise(std::vector<ShapePoint>& ring) {
    if (RingDoubleArea(ring.data(), ring.size()) > 0.0) std::reverse(ring.begin(), ring.end());
}

}  // namespace tvk
