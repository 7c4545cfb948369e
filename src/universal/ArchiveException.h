// A template file whose contents are not a valid archived template.
#pragma once
#include <string>

namespace tvk {

class CArchiveException {
public:
    // The archive's failure numbers.
    enum Cause {
        none = 0,
        generic = 1,
        readOnly = 2,
        endOfFile = 3,
        writeOnly = 4,
        badIndex = 5,
        badClass = 6,
        badSchema = 7
    };
    CArchiveException(Cause cause, std::string fileName) : m_cause(cause), m_strFileName(std::move(fileName)) {}

    // A short English wording of the cause, e.g. "bad schema".
    std::string Reason() const;

    Cause m_cause;
    std::string m_strFileName;
};

}  // namespace tvk
