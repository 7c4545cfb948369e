#include "mif/MIFStyle.h"

#include "mif/MIFText.h"

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
    out += "\tSymbol (";
    AppendMIFInt(out, shape);
    out += ',';
    AppendMIFInt(out, static_cast<int>(mifColor));
    out += ',';
    AppendMIFInt(out, size);
    out += ",\"";
    out += font ? font : "";
    out += "\",";
    AppendMIFInt(out, style);
    // The rotation is always 0.0, written as text: printf's "%1.1f" would
    // follow a national decimal comma once a GUI host has set the locale.
    out += ",0.0)\n";
}

void AppendDefaultSymbolClause(std::string& out) { out += "\tSymbol (35,11010048,2,\"MapInfo Symbols\",0,0.0)\n"; }

namespace {

// "\tName (a,b,c)\n"
void AppendTriple(std::string& out, const char* name, long long a, long long b, long long c) {
    out += name;
    AppendMIFInt(out, a);
    out += ',';
    AppendMIFInt(out, b);
    out += ',';
    AppendMIFInt(out, c);
    out += ")\n";
}

}  // namespace

void AppendPenClause(std::string& out, int width, int mifPattern, unsigned long mifColor) {
    AppendTriple(out, "\tPen (", width, mifPattern, static_cast<int>(mifColor));
}

void AppendBrushClause(std::string& out, int mifPattern, unsigned long firstColor, unsigned long secondColor) {
    AppendTriple(out, "\tBrush (", mifPattern, static_cast<int>(firstColor), static_cast<int>(secondColor));
}

}  // namespace tvk
