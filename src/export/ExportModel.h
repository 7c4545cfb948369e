// The records of the export model that CWriter derives from the survey model
// once per read and every format writer reads.
#pragma once
#include <cstddef>
#include <iterator>
#include <string>
#include <unordered_map>
#include <vector>

#include "msr/Points.h"
#include "reader/SurveyModel.h"

namespace tvk {

// The rows of one layer's column maps, one per code slot. Only the layer's
// own codes have entries; every other row reads as empty and takes no room,
// so that thousands of layers times thousands of codes stay small.
class CColumnMapRows {
public:
    // The number of code slots.
    size_t size() const { return codes_; }
    bool empty() const { return codes_ == 0; }
    void resize(size_t codes) {
        codes_ = codes;
        for (auto it = rows_.begin(); it != rows_.end();) it = it->first >= codes ? rows_.erase(it) : std::next(it);
    }
    const std::vector<int>& operator[](size_t code) const {
        auto it = rows_.find(code);
        return it == rows_.end() ? Empty() : it->second;
    }
    // The row of `code` (< size()), made when it has none yet.
    std::vector<int>& operator[](size_t code) { return rows_[code]; }

private:
    static const std::vector<int>& Empty() {
        static const std::vector<int> empty;
        return empty;
    }
    size_t codes_ = 0;
    std::unordered_map<size_t, std::vector<int>> rows_;
};

// Numeric coordinates of one point: x east, y north, z elevation.
struct Coord3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// The units library's plane point is north first. The writers give it the
// drawing's x in its north place and y in its east place, and take its results
// back the same way round, so its geometry runs in the drawing's own axes and
// no coordinate is ever exchanged. These are the only places that cross over.
inline msr::CPoint2d ToLibraryPoint(const Coord3& p) { return msr::CPoint2d(p.x, p.y); }
inline Coord3 FromLibraryPoint(const msr::CPoint2d& p) { return {p.north, p.east, 0.0}; }
inline Coord3 FromLibraryPoint(const msr::CPoint3d& p) { return {p.north, p.east, p.elevation}; }

// The attribute columns of every layer and, per feature code, where each
// column's value sits in the code's schema.
struct CLayerInfo {
    // [layer slot][column]: the definition of the column, a copy of the first
    // schema definition met for its name (case-insensitive).
    std::vector<std::vector<PropertyDef>> LayerColumns;
    // [layer slot][code slot][column]: the position of that column's property
    // in the code's schema, or -10 (kNone) when the code has no such property.
    // Rows of codes that belong to another layer stay empty.
    std::vector<CColumnMapRows> ColumnMaps;
    // [layer slot][column]: the column's name as the survey gives it, kept
    // for the change report when a writer converts the names of LayerColumns.
    std::vector<std::vector<std::string>> ColumnNames;

    void Clear() {
        std::vector<std::vector<PropertyDef>>().swap(LayerColumns);
        std::vector<CColumnMapRows>().swap(ColumnMaps);
        std::vector<std::vector<std::string>>().swap(ColumnNames);
    }
};

// Layer and code states of the two generated point layers.
inline constexpr int kCPLayerState = -1;   // control points
inline constexpr int kTSPLayerState = -2;  // tacheometry points
inline bool IsPointLayerState(int state) { return state == kCPLayerState || state == kTSPLayerState; }

// Property numbers of the generated schemas and of the description column.
enum tagGeneratedProperty : int {
    PROPNUM_DESCRIPTION = -100,
    PROPNUM_POINT = -99,
    PROPNUM_X = -98,
    PROPNUM_Y = -97,
    PROPNUM_H = -96,
    PROPNUM_XY_TYPE = -95,
    PROPNUM_H_TYPE = -94,
    PROPNUM_RELIEF = -93,
};

}  // namespace tvk
