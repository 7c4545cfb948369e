#include "export/OverwriteDecision.h"

#include <clocale>
#include <filesystem>
#include <mutex>

#include "export/ExportStrings.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"
#include "platform/StringTable.h"
#include "platform/Text.h"

namespace tvk {
namespace {

std::mutex g_questionMutex;
OverwriteQuestion g_question;

// "%x %X" of `when` in the user's time locale.
std::string FormatFileTime(std::time_t when) {
    static std::mutex localeMutex;  // setlocale is process-wide
    std::lock_guard<std::mutex> lock(localeMutex);
    std::string saved;
    if (const char* cur = std::setlocale(LC_TIME, nullptr)) saved = cur;
    std::setlocale(LC_TIME, "");
    std::tm local{};
    localtime_r(&when, &local);
    char buf[256];
    size_t n = std::strftime(buf, sizeof buf, "%x %X", &local);
    std::setlocale(LC_TIME, saved.empty() ? "C" : saved.c_str());
    return std::string(buf, n);
}

std::string FullPath(const std::string& path) {
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.lexically_normal().string();
}

int Ask(const ExistingFileStatus& existing, const std::string& newPath) {
    OverwriteQuestion question;
    {
        std::lock_guard<std::mutex> lock(g_questionMutex);
        question = g_question;
    }
    return question ? question(existing, newPath) : kAnswerNo;
}

}  // namespace

void SetOverwriteQuestion(OverwriteQuestion question) {
    std::lock_guard<std::mutex> lock(g_questionMutex);
    g_question = std::move(question);
}

bool DecideOverwrite(int& overwriteMode, const std::vector<std::string>& paths) {
    FileStatus status;
    auto existing = paths.begin();
    while (existing != paths.end() && !FileSystem().Status(*existing, status)) ++existing;
    if (existing == paths.end()) return true;
    if (overwriteMode == kOverwriteAll) return true;
    if (overwriteMode == kOverwriteNone) return false;

    switch (Ask({FullPath(*existing), status.size, status.modified}, *existing)) {
    case kAnswerYes: return true;
    case kAnswerNo: return false;
    case kAnswerYesToAll: overwriteMode = kOverwriteAll; return true;
    case kAnswerNoToAll: overwriteMode = kOverwriteNone; return false;
    default: throw CUserBreakSignal();
    }
}

std::string ExistingFileText(const ExistingFileStatus& existing) {
    RegisterExportStrings();
    return StrFormat("%s\n%lld %s %s", existing.fullPath.c_str(), static_cast<long long>(existing.size),
                     CStringTable::LoadUtf8(IDS_EXPORT_BYTES).c_str(), FormatFileTime(existing.modified).c_str());
}

std::string NewFileText(const std::string& newPath) {
    size_t cut = newPath.find_last_of("/\\");
    std::string name = cut == std::string::npos ? newPath : newPath.substr(cut + 1);
    return StrFormat("%s\n%s", name.c_str(), FormatFileTime(std::time(nullptr)).c_str());
}

}  // namespace tvk
