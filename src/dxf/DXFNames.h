// Names in a DXF file: symbol names that every reader accepts, and the two
// label layers' names beside the layers of the survey.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace tvk {

// Longest DXF symbol name that MakeDXFSymbolName leaves.
inline constexpr size_t kDXFNameLength = 32;

// Contract: in place, each of the first 32 bytes that is neither a 1251 letter
// or digit nor "$", "_" or "-" becomes "_"; a name of 32 or more bytes is cut
// after the 32nd. Returns `name`.
char* MakeDXFSymbolName(char* name);

// Contract: the two text-layer names base1 + suffix1 and base2 + suffix2,
// where each suffix starts empty and, while some kept layer name (state not
// -10) equals base + suffix ignoring 1251 letter case, becomes the next
// number of its own counter 0, 1, 2... (passes over the layers repeat until one
// changes nothing).
void MakeTextLayerNames(const std::vector<std::string>& layerNames, const std::vector<int>& states,
                        const std::string& base1, const std::string& base2, std::string& name1, std::string& name2);

}  // namespace tvk
