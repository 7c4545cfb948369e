#include "dxf/DXFLineTypes.h"

namespace tvk {

const char* const DXFEXPORT_LTYPE_Names[kDXFLineTypeCount] = {
    "CONTINUOUS", "LTYPE01", "LTYPE02", "LTYPE03", "LTYPE04", "LTYPE05", "LTYPE06", "LTYPE07",
    "LTYPE08",    "LTYPE09", "LTYPE10", "LTYPE11", "LTYPE12", "LTYPE13", "LTYPE14", "LTYPE15",
};

const DXFLineType DXFEXPORT_LTYPE_Table[kDXFLineTypeCount] = {
    {"Solid Line", 0, "0.0", {}},
    {"dot,short_space", 2, "1.0", {"0.0", "-1.0"}},
    {"short_dash,short_space", 2, "0.75", {"0.25", "-0.5"}},
    {"medium_dash,short_space", 2, "1.0", {"0.5", "-0.5"}},
    {"large_dash,short_space", 2, "1.25", {"0.75", "-0.5"}},
    {"huge_dash,short_space", 2, "1.5", {"1.0", "-0.5"}},
    {"huge_dash,medium_space", 2, "2.0", {"1.0", "-1.0"}},
    {"medium_dash,medium_space", 2, "1.5", {"0.5", "-1.0"}},
    {"dot,medium_space", 2, "1.5", {"0.0", "-1.5"}},
    {"medium_dash,huge_space", 2, "2.0", {"0.5", "-1.5"}},
    {"large_dash,huge_space", 2, "2.25", {"0.75", "-1.5"}},
    {"huge_dash,huge_space", 2, "2.5", {"1.0", "-1.5"}},
    {"medium_dash,short_space,dot", 4, "1.5", {"0.5", "-0.5", "0.0", "-0.5"}},
    {"medium_dash,short_space,double_dot", 6, "2.0", {"0.5", "-0.5", "0.0", "-0.5", "0.0", "-0.5"}},
    {"medium_dash,short_space,triple_dot", 8, "2.5", {"0.5", "-0.5", "0.0", "-0.5", "0.0", "-0.5", "0.0", "-0.5"}},
    {"medium_dash,medium_space,dot", 4, "2.5", {"0.5", "-1.0", "0.0", "-1.0"}},
};

const char* DXFLineTypeName(int i) {
    return i >= 0 && i < kDXFLineTypeCount ? DXFEXPORT_LTYPE_Names[i] : DXFEXPORT_LTYPE_Names[0];
}

}  // namespace tvk
