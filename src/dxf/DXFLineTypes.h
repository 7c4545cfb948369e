// The line types every exported drawing declares, indexed by a pen's pattern.
#pragma once

namespace tvk {

inline constexpr int kDXFLineTypeCount = 16;

// "CONTINUOUS", "LTYPE01" ... "LTYPE15".
extern const char* const DXFEXPORT_LTYPE_Names[kDXFLineTypeCount];

// One LTYPE entry; the numbers are kept as the texts the table writes.
struct DXFLineType {
    const char* description;  // group 3
    int dashCount;            // group 73
    const char* length;       // group 40
    const char* dashes[8];    // groups 49
};

extern const DXFLineType DXFEXPORT_LTYPE_Table[kDXFLineTypeCount];

// Contract: the line-type name of pattern `i`; "CONTINUOUS" outside 0..15.
const char* DXFLineTypeName(int i);

}  // namespace tvk
