// The universal export's settings in the profile store: the template section
// (default template and template folder) and the angle-format history.
#pragma once
#include <QStringList>

#include "universal/TemplateChoice.h"

namespace tvk {

// The template section "Section export with VIDADOVERIVOZEDAZ" of CProfile.
// Paths are native file names (UTF-8).
class CUETemplateProfile : public ITemplateProfile {
public:
    std::string DefaultTemplate() override;
    void SetDefaultTemplate(const std::string& path) override;
    std::string TemplateDirectory() override;
    void SetTemplateDirectory(const std::string& folder) override;
    std::string SettingsFolder() override;
};

// The angle formats used last, most recent first, kept in the section
// "AngleFormatComboBox" under "Item0".."Item5".
class CAngleFormatHistory {
public:
    static constexpr int kSize = 6;
    static QStringList Load();
    // Puts `format` on top (once) and keeps the six most recent.
    static void Add(const QString& format);
};

}  // namespace tvk
