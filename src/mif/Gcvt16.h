// The number text of every MIF coordinate, fast: _gcvt with 16 significant
// digits is the hot path of the writer, and most survey numbers lie in the
// range that fixed notation covers.
#pragma once

namespace tvk {

// Contract: writes exactly what FormatGcvt(value, 16, out) writes (out holds
// at least 32 bytes) and returns the length. Values in fixed notation are
// rounded exactly in integer arithmetic; everything else, and an exact tie
// between two 16-digit neighbours, goes to FormatGcvt.
int FormatMIFNumber(double value, char* out);

}  // namespace tvk
