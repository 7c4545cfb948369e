#include "gdal/SurveyCoords.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/NumberText.h"

namespace tlxgdal {
namespace {

// Every power of ten up to 10^22 is a double exactly.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// With at most 15 digits the mantissa stays below 2^53, so it is exact too.
constexpr size_t kMaxDigits = 15;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double CoordinateValue(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    if (negative) ++p;
    const char* const first = p;
    uint64_t mantissa = 0;
    if (static_cast<size_t>(end - first) <= kMaxDigits + 1) {
        while (p != end && IsDigit(*p)) mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
        const char* const point = p;
        if (point != first && point != end && *point == '.')
            for (++p; p != end && IsDigit(*p);) mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
        const size_t decimals = point == end ? 0 : static_cast<size_t>(end - point - 1);
        const size_t digits = static_cast<size_t>(end - first) - (point == end ? 0 : 1);
        // "5." and "5.x" go the long way, as do 16 digits without a point.
        const bool plain = point != first && p == end && (point == end || decimals > 0);
        if (plain && digits <= kMaxDigits) {
            const double value = static_cast<double>(mantissa) / kPowersOfTen[decimals];
            return negative ? -value : value;
        }
    }
    return tvk::AtoF(std::string(text).c_str());
}

}  // namespace tlxgdal
