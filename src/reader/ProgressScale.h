// Fits 64-bit byte positions into the int range of the progress callbacks.
// A file longer than INT_MAX bytes is reported in units of 2^shift bytes, so
// the range and the sum of the steps stay consistent.
#pragma once
#include <climits>
#include <cstdint>

namespace tvk {

class CProgressScale {
public:
    // Chooses the unit for a file of `length` bytes and returns the range's high end.
    int Begin(int64_t length) {
        shift_ = 0;
        while ((length >> shift_) > INT_MAX) ++shift_;
        return static_cast<int>(length >> shift_);
    }
    // The step from position `last` to `now` (bytes) in callback units.
    int Step(int64_t last, int64_t now) const { return static_cast<int>((now >> shift_) - (last >> shift_)); }
    int Shift() const { return shift_; }

private:
    int shift_ = 0;
};

}  // namespace tvk
