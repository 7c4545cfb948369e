// The style clauses of MapInfo graphic objects (symbol, pen, brush) and the
// translation of the survey model's colours and patterns into MapInfo's.
#pragma once
#include <string>

namespace tvk {

// MapInfo pen patterns by the model's pen pattern 0..15.
extern const int MIFEXPORT_LineTable[16];
// MapInfo brush patterns by the model's brush pattern 0..7 (0 solid, 1 empty).
extern const int MIFEXPORT_HatchTable[8];

// Contract: a Windows RGB value (red in the low byte) as MapInfo's
// red * 65536 + green * 256 + blue.
unsigned long MIFColorFromRGB(unsigned long rgb);
// Contract: MIFEXPORT_LineTable[index] for 0 <= index < 16, else 1.
int MIFLinePattern(int index);
// Contract: MIFEXPORT_HatchTable[index] for 0 <= index < 8, else 1.
int MIFHatchPattern(int index);

// Contract: appends "\tSymbol (shape,color,size,"font",style,0.0)\n"; a null
// font is written empty.
void AppendSymbolClause(std::string& out, int shape, unsigned long mifColor, int size, const char* font, int style);
// Contract: the symbol clause of a point whose code has no symbol style.
void AppendDefaultSymbolClause(std::string& out);
// Contract: appends "\tPen (width,pattern,color)\n" with MapInfo values.
void AppendPenClause(std::string& out, int width, int mifPattern, unsigned long mifColor);
// Contract: appends "\tBrush (pattern,first,second)\n" with MapInfo values.
void AppendBrushClause(std::string& out, int mifPattern, unsigned long firstColor, unsigned long secondColor);

}  // namespace tvk
