// The bytes of ESRI shapefiles (.SHP main files and .SHX index files): the
// 100-byte header, the records of the Point, PolyLine and Polygon types and
// the index entries. Records are built in memory and appended to a byte
// buffer, so a writer can put each one on disk with a single write.
// Lengths and offsets count 16-bit words; the file code and every length field
// are big-endian, everything else little-endian.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tvk {

enum ShapeType : int32_t {
    kShapePoint = 1,
    kShapePolyline = 3,
    kShapePolygon = 5,
};

inline constexpr int32_t kShapeFileCode = 9994;
inline constexpr int32_t kShapeFileVersion = 1000;
inline constexpr int kShapeHeaderSize = 100;
inline constexpr int kShapeRecordHeaderSize = 8;
// Offset of the bounding box inside the header and inside a part record.
inline constexpr int kShapeHeaderBoxOffset = 36;
inline constexpr int kShapeHeaderLengthOffset = 24;
inline constexpr int kShapeRecordBoxOffset = 12;  // from the record header's start

struct ShapePoint {
    double x;
    double y;
};

// A bounding box; an empty one has +1.7e308 minima and -1.7e308 maxima.
struct ShapeBox {
    double minX = 1.7e308, minY = 1.7e308;
    double maxX = -1.7e308, maxY = -1.7e308;

    void Extend(ShapePoint p) {
        if (p.x < minX) minX = p.x;
        if (p.y < minY) minY = p.y;
        if (p.x > maxX) maxX = p.x;
        if (p.y > maxY) maxY = p.y;
    }
    void Extend(const ShapeBox& b) {
        Extend(ShapePoint{b.minX, b.minY});
        Extend(ShapePoint{b.maxX, b.maxY});
    }
};

// Appends the four bytes of `value`, most significant first.
void AppendBigInt32(std::string& out, uint32_t value);
// Appends the four bytes of `value`, least significant first.
void AppendLittleInt32(std::string& out, uint32_t value);
// Appends the IEEE 754 bytes of `value`, least significant first.
void AppendLittleDouble(std::string& out, double value);
void AppendBox(std::string& out, const ShapeBox& box);

// The 100-byte header of a main or index file of `shapeType`, with file
// length 0 and an all-zero box (both are filled in when the file is closed).
std::string ShapeFileHeader(int32_t shapeType);

// Content length, in words, of a point record and of a one-part record of n points.
inline constexpr int32_t PointContentWords() { return 10; }
inline constexpr int64_t PartContentWords(size_t points) { return (static_cast<int64_t>(points) + 3) * 8; }

// Appends a Point record (record header and content, 28 bytes).
void AppendPointRecord(std::string& out, int32_t recordNumber, ShapePoint point);

// Appends a one-part PolyLine or Polygon record of the n points in order and
// returns their bounding box, which the record also carries.
ShapeBox AppendPartRecord(std::string& out, int32_t recordNumber, int32_t shapeType, const ShapePoint* points,
                          size_t count);

// Appends an index entry: the record's offset and its content length, in words.
void AppendIndexEntry(std::string& out, int32_t offsetWords, int32_t contentWords);

// Contract: repeats the last point until the shape has `minimum` points (2
// for a line, 4 for a ring, the closing point included), as readers demand;
// returns whether it did. A ring of one point stays a point, closed.
bool RepeatLastPoint(std::vector<ShapePoint>& points, size_t minimum);

// Twice the signed area of the ring (positive when it turns counter-clockwise
// with x east and y north).
double RingDoubleArea(const ShapePoint* points, size_t count);
// Reverses a counter-clockwise ring in place, so that it runs clockwise, as the
// shapefile format wants of an outer ring. No point is added or dropped; a ring
// without area stays as it is.
void MakeRingClockwise(std::vector<ShapePoint>& ring);

}  // namespace tvk
