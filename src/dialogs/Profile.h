// The profile store: strings by section and entry in an INI file under the
// user's configuration folder (TLXEXPORT_CONFIG_DIR overrides the folder).
#pragma once
#include <QString>

namespace tvk {

class CProfile {
public:
    static QString GetString(const QString& section, const QString& entry, const QString& fallback = QString());
    static void WriteString(const QString& section, const QString& entry, const QString& value);
    // The INI file in use, and its folder.
    static QString FilePath();
    static QString Folder();
};

}  // namespace tvk
