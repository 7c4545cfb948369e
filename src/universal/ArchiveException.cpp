#include "universal/ArchiveException.h"

namespace tvk {

std::string CArchiveException::Reason() const {
    switch (m_cause) {
    case endOfFile: return "the file ends too early";
    case badIndex: return "bad index";
    case badClass: return "bad class: not a valid export template";
    case badSchema: return "bad schema: written by another version";
    case readOnly: return "the archive is read-only";
    case writeOnly: return "the archive is write-only";
    default: return "unreadable archive";
    }
}

}  // namespace tvk
