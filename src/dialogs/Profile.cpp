#include "dialogs/Profile.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace tvk {

QString CProfile::Folder() {
    QString folder = qEnvironmentVariable("TLXEXPORT_CONFIG_DIR");
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/tlxexport";
    QDir().mkpath(folder);
    return folder;
}

QString CProfile::FilePath() { return Folder() + "/tlxexport.ini"; }

// Section names hold blanks; QSettings keeps them as they are in the group name.
QString CProfile::GetString(const QString& section, const QString& entry, const QString& fallback) {
    QSettings settings(FilePath(), QSettings::IniFormat);
    return settings.value(section + "/" + entry, fallback).toString();
}

void CProfile::WriteString(const QString& section, const QString& entry, const QString& value) {
    QSettings settings(FilePath(), QSettings::IniFormat);
    settings.setValue(section + "/" + entry, value);
}

}  // namespace tvk
