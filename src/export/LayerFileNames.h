// File-name-safe, unique names for the output files of the layers.
#pragma once
#include <string>
#include <vector>

#include "export/UniqueNames.h"

namespace tvk {

// Contract: for every entry whose state is not -10, in slot order: a blank
// name becomes "Layer_" and the layer's number (its state when not negative);
// a name over 220 bytes keeps its first 219 bytes and its last one; every
// byte that is not a 1251 letter or digit and not "_" becomes "_"; a name
// equal, ignoring letter case, to one already given is followed by the first
// free number 1, 2, 3..., so that the files differ on disks that ignore case
// too. Entries with state -10 are left as they are. Returns the
// tagNameChange bits of every entry.
std::vector<unsigned> MakeLayerFileNamesSafe(std::vector<std::string>& names, const std::vector<int>& states);

}  // namespace tvk
