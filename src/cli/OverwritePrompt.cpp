#include "cli/OverwritePrompt.h"

#include <unistd.h>

#include <cctype>
#include <string_view>

#include "cli/ProgressBar.h"
#include "export/ExportStrings.h"
#include "platform/StringTable.h"
#include "platform/Text.h"

namespace tlxcli {
namespace {

std::string g_refusedFile;

std::string LowerAscii(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// 0 when the reply is not understood.
int AnswerOf(const std::string& reply) {
    // The one-letter keys are case-sensitive, like unzip's: n is No, N is No to all.
    if (reply == "y" || reply == "Y") return tvk::kAnswerYes;
    if (reply == "n") return tvk::kAnswerNo;
    if (reply == "A" || reply == "a") return tvk::kAnswerYesToAll;
    if (reply == "N") return tvk::kAnswerNoToAll;
    if (reply == "c" || reply == "C") return tvk::kAnswerCancel;
    std::string lower = LowerAscii(reply);
    if (lower == "yes") return tvk::kAnswerYes;
    if (lower == "no") return tvk::kAnswerNo;
    if (lower == "all" || lower == "yes to all") return tvk::kAnswerYesToAll;
    if (lower == "none" || lower == "no to all") return tvk::kAnswerNoToAll;
    if (lower == "cancel") return tvk::kAnswerCancel;
    // The answers' words in the language of the messages (UTF-8 on the terminal).
    const unsigned ids[] = {tvk::IDS_OVERWRITE_YES, tvk::IDS_OVERWRITE_NO, tvk::IDS_OVERWRITE_YES_TO_ALL,
                            tvk::IDS_OVERWRITE_NO_TO_ALL, tvk::IDS_OVERWRITE_CANCEL};
    for (int i = 0; i < 5; ++i)
        if (reply == tvk::CStringTable::LoadUtf8(ids[i])) return i + 1;
    return 0;
}

int AskPolicyAsk(const tvk::ExistingFileStatus& existing, const std::string& newPath) {
    if (isatty(STDIN_FILENO) && isatty(STDERR_FILENO)) {
        CProgressBar::EraseShown();
        return AskOnTerminal(existing, newPath, stdin, stderr);
    }
    if (g_refusedFile.empty()) g_refusedFile = newPath;
    return tvk::kAnswerCancel;
}

}  // namespace

bool ParseOverwritePolicy(const std::string& text, OverwritePolicy& policy) {
    if (text == "ask") policy = OverwritePolicy::Ask;
    else if (text == "all") policy = OverwritePolicy::All;
    else if (text == "none") policy = OverwritePolicy::None;
    else return false;
    return true;
}

void InstallOverwritePrompt(OverwritePolicy policy) {
    g_refusedFile.clear();
    switch (policy) {
    case OverwritePolicy::All:
        tvk::SetOverwriteQuestion(
            [](const tvk::ExistingFileStatus&, const std::string&) { return int(tvk::kAnswerYesToAll); });
        break;
    case OverwritePolicy::None:
        tvk::SetOverwriteQuestion(
            [](const tvk::ExistingFileStatus&, const std::string&) { return int(tvk::kAnswerNoToAll); });
        break;
    case OverwritePolicy::Ask: tvk::SetOverwriteQuestion(AskPolicyAsk); break;
    }
}

const std::string& RefusedFile() { return g_refusedFile; }

int AskOnTerminal(const tvk::ExistingFileStatus& existing, const std::string& newPath, FILE* in, FILE* out) {
    tvk::RegisterExportStrings();
    using tvk::CStringTable;
    std::fprintf(out, "\n%s\n%s\n%s\n%s\n%s\n", CStringTable::LoadUtf8(tvk::IDS_OVERWRITE_TITLE).c_str(),
                 CStringTable::LoadUtf8(tvk::IDS_OVERWRITE_EXISTING).c_str(), tvk::ExistingFileText(existing).c_str(),
                 CStringTable::LoadUtf8(tvk::IDS_OVERWRITE_NEW).c_str(), tvk::NewFileText(newPath).c_str());
    for (;;) {
        std::fprintf(out,
                     "[y] %s, [n] %s, [A] %s, [N] %s, [c] %s: ", CStringTable::LoadUtf8(tvk::IDS_OVERWRITE_YES).c_str(),
                     CStringTable::LoadUtf8(tvk::IDS_OVERWRITE_NO).c_str(),
                     CStringTable::LoadUtf8(tvk::IDS_OVERWRITE_YES_TO_ALL).c_str(),
                     CStringTable::LoadUtf8(tvk::IDS_OVERWRITE_NO_TO_ALL).c_str(),
                     CStringTable::LoadUtf8(tvk::IDS_OVERWRITE_CANCEL).c_str());
        std::fflush(out);
        std::string line;
        int c;
        // A signal (Ctrl-C) ends the read as the end of the input does: Cancel.
        while ((c = std::fgetc(in)) != EOF && c != '\n') line += static_cast<char>(c);
        if (c == EOF && line.empty()) {
            std::fputc('\n', out);
            return tvk::kAnswerCancel;
        }
        if (int answer = AnswerOf(std::string(tvk::TrimmedView(line)))) return answer;
        if (c == EOF) return tvk::kAnswerCancel;
    }
}

}  // namespace tlxcli
