#include "universal/UETemplate.h"

#include <algorithm>

namespace tvk {

bool CUETemplate::IsValid() const {
    return NorthType >= -1 && NorthType <= 1 && EastType >= -1 && EastType <= 2 && AngleUnit >= -1 && AngleUnit <= 2 &&
           LinearUnit >= -1 && LinearUnit <= 1 &&
           std::all_of(Fields.begin(), Fields.end(), [](const CUEField& f) { return f.IsValid(); });
}

void CUETemplate::SetInternal() {
    auto field = [](int32_t kind, const char* text = "") {
        return CUEField(kind, text, 0, CUEField::kDefaultPrecision, CUEField::kLeft);
    };
    Fields = {field(CUEField::kName),       field(CUEField::kText, ", "), field(CUEField::kNorth),
              field(CUEField::kText, ", "), field(CUEField::kEast),       field(CUEField::kText, ", "),
              field(CUEField::kHeight)};
    FileFilter = "*.txt";
}

CUETemplate CUETemplate::Internal() {
    CUETemplate t;
    t.SetInternal();
    return t;
}

}  // namespace tvk
