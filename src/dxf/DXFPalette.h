// The AutoCAD colour index (ACI) palette and the nearest-index search.
#pragma once

namespace tvk {

struct DXFPaletteEntry {
    unsigned char red, green, blue, index;
};

// The 255 entries {red, green, blue, index}, sorted by (red, green, blue); where
// one colour has several indexes they stand in the order that decides ties.
extern const DXFPaletteEntry DXFEXPORT_Palette[255];

// Contract: the index of the palette entry nearest to the Windows RGB value `rgb`
// (red in the low byte) by the sum of absolute component differences; among
// equally near entries the first in table order wins.
int NearestColourIndex(unsigned long rgb);

}  // namespace tvk
