// An export template: the ordered fields of one output line and the
// template-wide settings of the text export (coordinate forms, false origin,
// zone, units, angle format, MS-DOS code page, file filter).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "universal/UEField.h"

namespace tvk {

// The path shown for the built-in template.
inline constexpr const char* kInternalTemplatePath = "INTERNAL TEMPLATE";

class CUETemplate {
public:
    static constexpr int kMaxFieldsOnLoad = 10240;
    static constexpr const char* kDefaultAngleFormat = "ddd.mmssxxxxxxx";

    // -1 in NorthType, EastType, AngleUnit and LinearUnit leaves the units
    // library's setting as it is.
    enum { kLeaveSetting = -1 };

    // Valid ranges of the settings and every field valid.
    bool IsValid() const;

    // Makes the fields those of the built-in template (name, N, E and H
    // separated by ", ") and the file filter "*.txt"; the other settings stay.
    void SetInternal();
    // A template with default settings and the built-in fields.
    static CUETemplate Internal();

    bool operator==(const CUETemplate&) const = default;

    std::vector<CUEField> Fields;
    bool DosCodePage = false;
    int32_t NorthType = 1;  // 0 "N", 1 "N-No"
    int32_t EastType = 1;   // 0 "E", 1 "E+Eo", 2 zone number and "E+Eo"
    double FalseNorthing = 0.0;
    double FalseEasting = 0.0;
    int16_t Zone = 1;
    int32_t AngleUnit = kLeaveSetting;  // 0 degree, 1 gon, 2 mil
    std::string AngleFormat = kDefaultAngleFormat;
    int32_t LinearUnit = kLeaveSetting;  // 0 meter, 1 foot
    std::string FileFilter;              // e.g. "*.txt"
};

}  // namespace tvk
