#include "mif/MIFStyle.h"

#include <cstdio>

namespace tvk {

const int MIFEXPORT_LineTable[16] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 21, 22, 14};
const int MIFEXPORT_HatchTable[8] = {2, 1, 5, 7, 8, 6, 19, 24};

unsigned long MIFColorFromRGB(unsigned long rgb) {
    unsigned long red = rgb & 0xFF, green = (rgb >> 8) & 0xFF, blue = (rgb >> 16) & 0xFF;
    return red * 65536 + green * 256 + blue;
}

int MIFLinePattern(int index) { return index >= 0 && index < 16 ? MIFEXPORT_LineTable[index] : 1; }

int MIFHatchPattern(int index) { return index >= 0 && index < 8 ? MIFEXPORT_HatchTable[index] : 1; }

void AppendSymbolClause(std::string& out, int shape, unsigned long mifColor, int size, const char* font, int style) {
    char buf[128];
    // The font goes through its own append: it may be longer than any buffer.
    std::snprintf(buf, sizeof buf, "\tSymbol (%d,%d,%d,\"", shape, static_cast<int>(mifColor), size);
    out += buf;
    out += font ? font : "";
    // The rotation is always 0.0, written literally: printf's "%1.1f" would
    // follow a national decimal comma once a GUI host has set the locale.
    std::snprintf(buf, sizeof buf, "\",%d,0.0)\n", style);
    out += buf;
}

void AppendDefaultSymbolClause(std::string& out) {
    AppendSymbolClause(out, 35, 11010048, 2, "MapInfo Symbols", 0);
}

void AppendPenClause(std::string& out, int width, int mifPattern, unsigned long mifColor) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "\tPen (%d,%d,%d)\n", width, mifPattern, static_cast<int>(mifColor));
    out += buf;
}

void AppendBrushClause(std::string& out, int mifPattern, unsigned long firstColor, unsigned long secondColor) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "\tBrush (%d,%d,%d)\n", mifPattern, static_cast<int>(firstColor),
                  static_cast<int>(secondColor));
    out += buf;
}

}  // namespace tvk
