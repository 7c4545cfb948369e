// The features of the survey model: a kind, a feature code and, by class,
// a point list or parts. Point lists hold file numbers while reading and point
// slots after validation.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

namespace tvk {

// Feature kinds; NOKIND marks a feature whose head line gave no usable code.
enum tagObject : int {
    NOKIND = -1,
    POINT = 0,
    LINE = 1,
    POLYLINE = 2,
    POLYGON = 3,
    ARC = 4,
    CIRCLE = 5,  // CIRC0 .. CIRC3 in the file
    MULTIPLE = 6,
};

class CFeature {
public:
    CFeature() = default;
    explicit CFeature(int kind) : Kind(kind) {}
    virtual ~CFeature() = default;

    int Kind = NOKIND;  // tagObject
    int Code = -1;      // feature code number / slot (-10 when invalid)
    int64_t Line = 0;   // the head line in the file, for reports
    // A line of the feature was reported while reading: validation leaves the
    // feature out when it cannot be drawn, without a report of its own.
    bool LineReported = false;
};

// Point, line, polygon, arc and circle.
class CPointListFeature : public CFeature {
public:
    using CFeature::CFeature;
    std::vector<int> Points;
};

class CPolylineFeature : public CPointListFeature {
public:
    CPolylineFeature() : CPointListFeature(POLYLINE) {}
    int Smooth = 0;      // 0 or 1
    int16_t Spline = 0;  // 0 when not given, -1 when "/spline" has no valid number
};

class CMultipleFeature : public CFeature {
public:
    using CFeature::CFeature;
    CMultipleFeature() = default;
    CMultipleFeature(const CMultipleFeature&) = delete;
    CMultipleFeature& operator=(const CMultipleFeature&) = delete;
    // Files nest MULTIPLE parts without limit: the parts of inner parts are
    // taken over before their owner dies, so freeing a nesting a million deep
    // is a loop and not a million nested destructor calls.
    ~CMultipleFeature() override {
        std::vector<std::unique_ptr<CFeature>> dying = std::move(Parts);
        while (!dying.empty()) {
            std::unique_ptr<CFeature> part = std::move(dying.back());
            dying.pop_back();
            if (auto* inner = dynamic_cast<CMultipleFeature*>(part.get()))
                for (auto& p : inner->Parts) dying.push_back(std::move(p));
        }
    }

    std::vector<std::unique_ptr<CFeature>> Parts;  // each with its own kind, code and points
};

}  // namespace tvk
