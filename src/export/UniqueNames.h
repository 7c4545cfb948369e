// Names made unique the way readers compare them: without regard to letter
// case. Layer file names, DXF layer names, MIF column names and DBF field
// names all go through it.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tvk {

// How preparing a name changed it beyond replacing the characters a format
// does not take.
enum tagNameChange : unsigned {
    kNameKept = 0,
    kNameCut = 1,         // shortened to what the format or the disk holds
    kNameMadeUnique = 2,  // numbered after an equal name
    kNameGiven = 4,       // a blank layer name, replaced by one built from its number
};

// Contract: in order, a name equal (ignoring 1251 letter case) to one given
// earlier becomes the name followed by `separator` and the first number 1, 2,
// 3... that gives a name neither given earlier nor held by a later entry as
// its own; the name is shortened first when the result would pass
// `maxLength` bytes. Names that are already distinct stay as they are, and so
// do entries whose `skip` flag is set (they take no part). Returns, per entry,
// whether it was numbered.
std::vector<bool> MakeUniqueIgnoringCase(std::vector<std::string>& names, size_t maxLength, std::string_view separator,
                                         const std::vector<bool>& skip = {});

}  // namespace tvk
