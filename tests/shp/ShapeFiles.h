// Reads written shapefile bytes back for the tests: integers, doubles and the
// records of a main file with their numbers, types, parts and points.
#pragma once
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "shp/ShapeEncoding.h"

namespace shptest {

inline unsigned Byte(const std::string& s, size_t at) { return static_cast<unsigned char>(s.at(at)); }
inline uint32_t Big32(const std::string& s, size_t at) {
    return Byte(s, at) << 24 | Byte(s, at + 1) << 16 | Byte(s, at + 2) << 8 | Byte(s, at + 3);
}
inline uint32_t Little32(const std::string& s, size_t at) {
    return Byte(s, at + 3) << 24 | Byte(s, at + 2) << 16 | Byte(s, at + 1) << 8 | Byte(s, at);
}
inline uint16_t Little16(const std::string& s, size_t at) {
    return static_cast<uint16_t>(Byte(s, at) | Byte(s, at + 1) << 8);
}
inline double LittleDouble(const std::string& s, size_t at) {
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | Byte(s, at + i);
    return std::bit_cast<double>(bits);
}

struct ShapeRecord {
    uint32_t number = 0, contentWords = 0, offsetWords = 0;
    int32_t type = 0;
    std::vector<int32_t> parts;
    std::vector<tvk::ShapePoint> points;
    tvk::ShapeBox box;
};

inline std::vector<ShapeRecord> ParseRecords(const std::string& shp) {
    std::vector<ShapeRecord> records;
    for (size_t at = 100; at + 8 <= shp.size();) {
        ShapeRecord r;
        r.offsetWords = static_cast<uint32_t>(at / 2);
        r.number = Big32(shp, at);
        r.contentWords = Big32(shp, at + 4);
        const size_t c = at + 8;
        r.type = static_cast<int32_t>(Little32(shp, c));
        if (r.type == tvk::kShapePoint) {
            r.points.push_back({LittleDouble(shp, c + 4), LittleDouble(shp, c + 12)});
        } else {
            r.box = {LittleDouble(shp, c + 4), LittleDouble(shp, c + 12), LittleDouble(shp, c + 20),
                     LittleDouble(shp, c + 28)};
            const uint32_t parts = Little32(shp, c + 36), points = Little32(shp, c + 40);
            for (uint32_t k = 0; k < parts; ++k) r.parts.push_back(static_cast<int32_t>(Little32(shp, c + 44 + 4 * k)));
            const size_t p = c + 44 + 4 * parts;
            for (uint32_t k = 0; k < points; ++k)
                r.points.push_back({LittleDouble(shp, p + 16 * k), LittleDouble(shp, p + 16 * k + 8)});
        }
        records.push_back(std::move(r));
        at = c + 2 * static_cast<size_t>(Big32(shp, at + 4));
    }
    return records;
}

}  // namespace shptest
