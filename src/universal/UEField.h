// One field of an export template line: a literal text, the point's name, a
// coordinate or a geodetic angle, with its width, precision and alignment.
#pragma once
#include <cstdint>
#include <string>

namespace tvk {

class CUEField {
public:
    // The kinds a field can have; the grid offers Text to Height only.
    enum Kind : int32_t {
        kText = 0,
        kName = 1,
        kNorth = 2,
        kEast = 3,
        kHeight = 4,
        kLatitude = 5,
        kLongitude = 6,
        kLastValidKind = 7,  // accepted by the validation, writes nothing
    };
    enum Align : int32_t { kLeft = 0, kRight = 1 };

    static constexpr int kMaxTextLength = 100;
    static constexpr int kMaxWidth = 100;
    static constexpr int kMaxPrecision = 20;
    static constexpr int kDefaultPrecision = 10;

    // A new field: an empty Text field, width 0, precision 10, left-aligned.
    CUEField() = default;
    // A field of `kind` with the kind's default alignment unless one is given.
    explicit CUEField(int32_t kind, std::string text = std::string(), int32_t width = 0,
                      int32_t precision = kDefaultPrecision, int32_t alignment = -1);

    // Left for Text and Name, right for the other kinds.
    static int32_t DefaultAlignment(int32_t kind);

    // Kind 0..7, width 0..100, text at most 100 bytes, precision 0..20, alignment 0 or 1.
    bool IsValid() const;

    bool operator==(const CUEField&) const = default;

    int32_t FieldType = kText;
    std::string Text;  // code page 1251
    int32_t Width = 0;
    int32_t Precision = kDefaultPrecision;
    int32_t Alignment = kLeft;
};

}  // namespace tvk
