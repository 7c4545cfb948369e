#include "universal/UEField.h"

namespace tvk {

CUEField::CUEField(int32_t kind, std::string text, int32_t width, int32_t precision, int32_t alignment)
    : FieldType(kind),
      Text(std::move(text)),
      Width(width),
      Precision(precision),
      Alignment(alignment < 0 ? DefaultAlignment(kind) : alignment) {}

int32_t CUEField::DefaultAlignment(int32_t kind) { return (kind == kText || kind == kName) ? kLeft : kRight; }

bool CUEField::IsValid() const {
    return FieldType >= 0 && FieldType <= kLastValidKind && Width >= 0 && Width <= kMaxWidth &&
           Text.size() <= static_cast<size_t>(kMaxTextLength) && Precision >= 0 && Precision <= kMaxPrecision &&
           (Alignment == kLeft || Alignment == kRight);
}

}  // namespace tvk
