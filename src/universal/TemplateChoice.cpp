#include "universal/TemplateChoice.h"

#include <new>

#include "platform/Exceptions.h"
#include "platform/File.h"
#include "platform/HomeFolder.h"
#include "platform/StringTable.h"
#include "platform/Text.h"
#include "universal/ArchiveException.h"
#include "universal/UEStrings.h"
#include "universal/UETemplateFile.h"

namespace tvk {
namespace {

bool CanOpen(const std::string& path) {
    try {
        CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
        return true;
    } catch (const CFileException&) {
        return false;
    }
}

// Where `name` opens: as it is when absolute, else in the settings folder or
// the current folder; "" when nowhere.
std::string Locate(const std::string& name, const std::string& settingsFolder) {
    std::string path = ExpandTilde(name);
    if (path.empty()) return path;
    if (path[0] != '/' && !settingsFolder.empty() && CanOpen(settingsFolder + "/" + path))
        return settingsFolder + "/" + path;
    return CanOpen(path) ? path : std::string();
}

std::string ChooseFile(ITemplateProfile& profile, CUETemplate& current, const TemplateWarning& warn) {
    const std::string settingsFolder = profile.SettingsFolder();
    const std::string chosen = profile.DefaultTemplate();
    const bool chosenByUser = !chosen.empty() && chosen != kDefaultTemplateFile;
    std::string path = Locate(chosenByUser ? chosen : kDefaultTemplateFile, settingsFolder);
    if (path.empty()) {
        if (!chosenByUser) return std::string();
        warn(StrFormat(CStringTable::LoadUtf8(IDS_UE_CANT_OPEN_DEFAULT).c_str(), chosen.c_str(), kDefaultTemplateFile));
        path = Locate(kDefaultTemplateFile, settingsFolder);
        if (path.empty()) {
            warn(StrFormat(CStringTable::LoadUtf8(IDS_UE_INTERN_TEMPLATE_USED).c_str(), kDefaultTemplateFile));
            return std::string();
        }
    }
    try {
        ReadTemplateFile(path, current);
        return path;
    } catch (const CArchiveException&) {
        warn(StrFormat(CStringTable::LoadUtf8(IDS_UE_INTERN_TEMPLATE_USED).c_str(), path.c_str()));
    } catch (const CFileException&) {
        // A file that opened but cannot be read falls back without a word.
    }
    return std::string();
}

}  // namespace

std::string ChooseStartTemplate(ITemplateProfile& profile, CUETemplate& current, const TemplateWarning& warn) {
    RegisterUEStrings();
    try {
        std::string path = ChooseFile(profile, current, warn);
        if (!path.empty()) return path;
    } catch (const std::bad_alloc&) {
        warn(CStringTable::LoadUtf8(IDS_UE_NO_MEMORY_FOR_TEMPLATE));
    }
    current.SetInternal();
    return kInternalTemplatePath;
}

std::string TemplateFolderOf(const std::string& path) {
    size_t cut = path.rfind('\\');
    if (cut == std::string::npos) cut = path.rfind('/');
    if (cut == std::string::npos || cut == 0) return std::string();
    return path.substr(0, cut);
}

}  // namespace tvk
