// Where templates are remembered between sessions, and the choice of the
// template when a universal export starts. The dialog keeps the profile in the
// host's settings; the command line and the tests use the memory profile.
#pragma once
#include <functional>
#include <string>

#include "universal/UETemplate.h"

namespace tvk {

inline constexpr const char* kTemplateProfileSection = "Section export with VIDADOVERIVOZEDAZ";
inline constexpr const char* kTemplateDirectoryEntry = "Template directory";
inline constexpr const char* kDefaultTemplateFile = "default.ue";

// The entries of the profile section kTemplateProfileSection.
class ITemplateProfile {
public:
    virtual ~ITemplateProfile() = default;
    // The section's unnamed entry: the default template's path, "" when none.
    virtual std::string DefaultTemplate() = 0;
    virtual void SetDefaultTemplate(const std::string& path) = 0;
    // "Template directory": folder of the last saved template.
    virtual std::string TemplateDirectory() = 0;
    virtual void SetTemplateDirectory(const std::string& folder) = 0;
    // The folder of the settings, where a relative default template is
    // looked for first; "" when there is none.
    virtual std::string SettingsFolder() = 0;
};

class CMemoryTemplateProfile : public ITemplateProfile {
public:
    std::string DefaultTemplate() override { return defaultTemplate_; }
    void SetDefaultTemplate(const std::string& path) override { defaultTemplate_ = path; }
    std::string TemplateDirectory() override { return templateDirectory_; }
    void SetTemplateDirectory(const std::string& folder) override { templateDirectory_ = folder; }
    std::string SettingsFolder() override { return settingsFolder_; }
    void SetSettingsFolder(const std::string& folder) { settingsFolder_ = folder; }

private:
    std::string defaultTemplate_, templateDirectory_, settingsFolder_;
};

// Receives a warning to show, in UTF-8.
using TemplateWarning = std::function<void(const std::string& utf8)>;

// Chooses the template at start: the default template the profile names,
// else "default.ue", else the built-in fields set into `current`. A default
// that was set and cannot be opened is warned about; with none set (or the
// plain "default.ue") a missing file is no news and the start is quiet. A
// file that is not a template, and running out of memory, are warned about.
// A relative path is looked for in the settings folder, then in the current
// folder; "~" is expanded. Returns the current template path as found, which
// is kInternalTemplatePath for the built-in template.
std::string ChooseStartTemplate(ITemplateProfile& profile, CUETemplate& current, const TemplateWarning& warn);

// The folder part of a chosen template path, as remembered in "Template
// directory": up to the last '\' or, failing that, '/', unless that is the
// first character; "" when there is none.
std::string TemplateFolderOf(const std::string& path);

}  // namespace tvk
