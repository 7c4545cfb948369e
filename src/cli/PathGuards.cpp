#include "cli/PathGuards.h"

#include <cstdio>
#include <filesystem>

#include "platform/FileSystem.h"

namespace tlxcli {
namespace {

bool Same(const std::string& a, const std::string& b) { return tvk::IsSameFile(tvk::FileSystem(), a, b); }

bool HasLog(const std::string& logPath) { return !logPath.empty() && logPath != "-"; }

bool Refuse(const char* command, const std::string& what) {
    std::fprintf(stderr, "tlxexport %s: %s; nothing was changed\n", command, what.c_str());
    return false;
}

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace

bool GuardLog(const char* command, const std::string& input, const std::string& logPath) {
    if (HasLog(logPath) && Same(logPath, input))
        return Refuse(command, "the log " + logPath + " would be written over the input survey " + input);
    return true;
}

bool GuardFileTarget(const char* command, const std::string& input, const std::string& target,
                     const std::string& logPath, const std::vector<std::string>& alsoRead) {
    tvk::FileStatus status;
    const bool endsWithSeparator = !target.empty() && (target.back() == '/' || target.back() == '\\');
    if (endsWithSeparator || (tvk::FileSystem().Status(target, status) && status.isDirectory))
        return Refuse(command, target + " names a folder, not a file");
    if (Same(target, input)) return Refuse(command, target + " would be written over the input survey " + input);
    for (const std::string& read : alsoRead)
        if (Same(target, read))
            return Refuse(command, target + " would be written over " + read + ", which this run reads");
    if (HasLog(logPath) && Same(logPath, target))
        return Refuse(command, "the log " + logPath + " would be written over the output " + target);
    return GuardLog(command, input, logPath);
}

bool GuardFolderTarget(const char* command, const std::string& input, const std::string& folder,
                       const std::string& logPath, const std::vector<std::string>& extensions) {
    if (Same(folder, input)) return Refuse(command, "the output folder " + folder + " is the input survey " + input);
    if (HasLog(logPath)) {
        const std::filesystem::path log(logPath);
        const std::string extension = Upper(log.extension().string());
        const std::string logFolder = log.has_parent_path() ? log.parent_path().string() : ".";
        for (const std::string& wanted : extensions)
            if (extension == Upper(wanted) && Same(logFolder, folder))
                return Refuse(command, "the log " + logPath + " would be written over an output file in " + folder);
    }
    return GuardLog(command, input, logPath);
}

}  // namespace tlxcli
