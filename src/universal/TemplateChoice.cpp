#include "universal/TemplateChoice.h"

#include <new>

#include "platform/Exceptions.h"
#include "platform/File.h"
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

std::string ChooseFile(ITemplateProfile& profile, CUETemplate& current, const TemplateWarning& warn) {
    std::string path = profile.DefaultTemplate();
    if (path.empty()) {
        path = kDefaultTemplateFile;
        profile.SetDefaultTemplate(path);
    }
    if (!CanOpen(path)) {
        warn(StrFormat(CStringTable::LoadUtf8(IDS_UE_CANT_OPEN_DEFAULT).c_str(), path.c_str(),
                       kDefaultTemplateFile));
        path = kDefaultTemplateFile;
        if (!CanOpen(path)) {
            warn(StrFormat(CStringTable::LoadUtf8(IDS_UE_INTERN_TEMPLATE_USED).c_str(), path.c_str()));
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

std::string ChooseStartTemplate(ITemplateProfile& profile, CUETemplate& current,
                                const TemplateWarning& warn) {
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
