// The .ue template file: one CUETemplate stored as an object archive
// (class descriptions, class references, archived strings, little-endian
// numbers). Loading refuses a bad schema, a field count outside 0..10240 (bad
// index), an object of the wrong class or an invalid template (bad class), and
// a file that ends early (end of file) with CArchiveException.
#pragma once
#include <string>
#include <string_view>

#include "universal/UETemplate.h"

namespace tvk {

// The bytes of a .ue file holding `tmpl`.
std::string StoreTemplate(const CUETemplate& tmpl);

// The template held by `bytes`; throws CArchiveException naming `fileName`.
CUETemplate LoadTemplate(std::string_view bytes, const std::string& fileName);

// Reads the template file at `path` into `current`, which is left unchanged on
// failure. Throws CFileException when the file cannot be read and
// CArchiveException when it does not hold a valid template.
void ReadTemplateFile(const std::string& path, CUETemplate& current);

// Creates (or replaces) the file at `path` holding `tmpl`. Throws
// CFileException; a file that could not be completed is removed.
void WriteTemplateFile(const std::string& path, const CUETemplate& tmpl);

}  // namespace tvk
