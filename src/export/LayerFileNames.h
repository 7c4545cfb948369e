// File-name-safe, unique names for the output files of the layers.
#pragma once
#include <string>
#include <vector>

namespace tvk {

// Contract: for every entry whose state is not -10, in slot order: a name over
// 220 bytes keeps its first 219 bytes and its last one; every byte that is
// not a 1251 letter or digit and not "_" becomes "_"; a name already given is
// followed by the first free number 1, 2, 3... (case-sensitive comparison).
// Entries with state -10 are left as they are.
void MakeLayerFileNamesSafe(std::vector<std::string>& names, const std::vector<int>& states);

}  // namespace tvk
