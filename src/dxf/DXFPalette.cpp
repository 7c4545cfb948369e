#include "dxf/DXFPalette.h"

#include <cstdlib>

namespace tvk {

int NearestColourIndex(unsigned long rgb) {
    const int red = int(rgb & 0xFF), green = int((rgb >> 8) & 0xFF), blue = int((rgb >> 16) & 0xFF);
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < 255; ++i) {
        const DXFPaletteEntry& e = DXFEXPORT_Palette[i];
        int distance = std::abs(e.red - red) + std::abs(e.green - green) + std::abs(e.blue - blue);
        if (distance < bestDistance) {  // strictly: the first of equals wins
            bestDistance = distance;
            best = i;
        }
    }
    return DXFEXPORT_Palette[best].index;
}

}  // namespace tvk
