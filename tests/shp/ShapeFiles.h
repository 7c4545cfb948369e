// Parses written main files back for the tests: records with their numbers,
// shape types, parts and points.
#pragma once
#include <string>
#include <vector>

#include "shp/Bytes.h"
#include "shp/ShapeEncoding.h"

namespace shptest {

struct ShapeRecord {
    uint32_t number = 0;
    uint32_t contentWords = 0;
    uint32_t offsetWords = 0;
    int32_t type = 0;
    std::vector<int32_t> parts;
    std::vector<tvk::ShapePoint> points;
    tvk::ShapeBox box;
};

inline std::vector<ShapeRecord> ParseRecords(const std::string& shp) {
    std::vector<ShapeRecord> records;
    size_t at = 100;
    while (at + 8 <= shp.size()) {
        ShapeRecord r;
        r.offsetWords = static_cast<uint32_t>(at / 2);
        r.number = Big32(shp, at);
        r.contentWords = Big32(shp, at + 4);
        size_t c = at + 8;
        r.type = static_cast<int32_t>(Little32(shp, c));
        if (r.type == tvk::kShapePoint) {
            r.points.push_back({LittleDouble(shp, c + 4), LittleDouble(shp, c + 12)});
            r.box.Extend(r.points.back());
        } else {
            r.box = {LittleDouble(shp, c + 4), LittleDouble(shp, c + 12), LittleDouble(shp, c + 20),
                     LittleDouble(shp, c + 28)};
            uint32_t parts = Little32(shp, c + 36), points = Little32(shp, c + 40);
            for (uint32_t k = 0; k < parts; ++k) r.parts.push_back(static_cast<int32_t>(Little32(shp, c + 44 + 4 * k)));
            size_t p = c + 44 + 4 * parts;
            for (uint32_t k = 0; k < points; ++k)
                r.points.push_back({LittleDouble(shp, p + 16 * k), LittleDouble(shp, p + 16 * k + 8)});
        }
        records.push_back(std::move(r));
        at = c + 2 * static_cast<size_t>(Big32(shp, at + 4));
    }
    return records;
}

}  // namespace shptest
