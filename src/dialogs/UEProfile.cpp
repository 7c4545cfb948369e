#include "dialogs/UEProfile.h"

#include "dialogs/Profile.h"

namespace tvk {
namespace {

const QString kSection = QString::fromLatin1(kTemplateProfileSection);
const QString kHistorySection = QStringLiteral("AngleFormatComboBox");

QString HistoryEntry(int i) { return QStringLiteral("Item%1").arg(i); }

}  // namespace

// The section's unnamed entry is the entry with the empty name.
std::string CUETemplateProfile::DefaultTemplate() { return CProfile::GetString(kSection, QString()).toStdString(); }

void CUETemplateProfile::SetDefaultTemplate(const std::string& path) {
    CProfile::WriteString(kSection, QString(), QString::fromStdString(path));
}

std::string CUETemplateProfile::TemplateDirectory() {
    return CProfile::GetString(kSection, QString::fromLatin1(kTemplateDirectoryEntry)).toStdString();
}

void CUETemplateProfile::SetTemplateDirectory(const std::string& folder) {
    CProfile::WriteString(kSection, QString::fromLatin1(kTemplateDirectoryEntry), QString::fromStdString(folder));
}

std::string CUETemplateProfile::SettingsFolder() { return CProfile::Folder().toStdString(); }

QStringList CAngleFormatHistory::Load() {
    QStringList formats;
    for (int i = 0; i < kSize; ++i) {
        QString format = CProfile::GetString(kHistorySection, HistoryEntry(i));
        if (!format.isEmpty() && !formats.contains(format)) formats << format;
    }
    return formats;
}

void CAngleFormatHistory::Add(const QString& format) {
    if (format.isEmpty()) return;
    QStringList formats = Load();
    formats.removeAll(format);
    formats.prepend(format);
    for (int i = 0; i < kSize; ++i)
        CProfile::WriteString(kHistorySection, HistoryEntry(i), i < formats.size() ? formats[i] : QString());
}

}  // namespace tvk
