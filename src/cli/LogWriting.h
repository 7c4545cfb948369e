// CLogWriting<Base>: a reader or writer whose log hooks write the reading and
// export logs, converted from code page 1251 to UTF-8.
//
// Targets: a file (ClearLog empties it when reading starts, the export log is
// appended), "-" for the whole log on standard error, or "" for standard
// error with only the error reports and the totals.
#pragma once
#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>

#include "cli/ProgressBar.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"

namespace tlxcli {

template <class Base>
class CLogWriting : public Base {
public:
    using Base::Base;
    ~CLogWriting() override {
        if (file_) std::fclose(file_);
        file_ = nullptr;
    }

    // "" (reports and totals to standard error), "-" (everything to standard
    // error) or a file path as the user gave it.
    void SetLogTarget(std::string target) { target_ = std::move(target); }
    const std::string& LogTarget() const { return target_; }
    bool ToFile() const { return !target_.empty() && target_ != "-"; }
    // True once the input file of the last Read was opened: a failure before
    // that is an unreadable input path.
    bool InputOpened() const { return inputOpened_; }

    std::string GetLogFilePath(const char* log) override { return ToFile() ? target_ : Base::GetLogFilePath(log); }
    void ClearLog() override {
        if (!ToFile()) return;
        std::FILE* f = std::fopen(target_.c_str(), "wb");
        if (!f || std::fclose(f) != 0) tvk::CFileException::ThrowErrno(target_);
    }
    void OpenLog(const char*) override {
        if (!ToFile() || file_) return;
        file_ = std::fopen(target_.c_str(), "ab");
        if (!file_) tvk::CFileException::ThrowErrno(target_);
    }
    void WriteToLog(const char* text) override {
        if (!text) return;
        if (file_) {
            std::string out = ToUtf8(text);
            if (std::fwrite(out.data(), 1, out.size(), file_) != out.size()) {
                int err = errno;
                tvk::CFileException::ThrowErrno(err ? err : EIO, target_);
            }
            return;
        }
        if (ToFile()) return;  // a file target that is not open (no OpenLog yet)
        if (target_.empty() && !this->WritingReport && !IsSummaryText(text)) return;
        CProgressBar::EraseShown();
        // Alone on standard error, a report names its file and line as compilers do.
        std::string place;
        if (target_.empty() && this->WritingReport)
            place = this->FilePath + (this->ReportLine > 0 ? ":" + std::to_string(this->ReportLine) : "") + ": ";
        std::fputs((place + ToUtf8(text)).c_str(), stderr);
    }
    void CloseLog() override {
        if (!file_) {
            std::fflush(stderr);
            return;
        }
        std::FILE* f = file_;
        file_ = nullptr;
        if (std::fclose(f) != 0) tvk::CFileException::ThrowErrno(target_);
    }
    void OpenFile(const char* path) override {
        inputOpened_ = false;
        Base::OpenFile(path);
        inputOpened_ = true;
    }

    // Error reports ("E0005 ...") and the totals.
    static bool IsSummaryText(std::string_view text) {
        bool report = text.size() > 5 && text[0] == 'E' && text[5] == ' ' &&
                      text.substr(1, 4).find_first_not_of("0123456789") == std::string_view::npos;
        return report || text.starts_with("Total errors:") || text.starts_with("Too much errors");
    }

protected:
    // Model texts are 1251; the input path inside a text is native already.
    std::string ToUtf8(std::string_view text) const { return tvk::Utf8From1251Keeping(text, this->FilePath); }

private:
    std::string target_;
    std::FILE* file_ = nullptr;
    bool inputOpened_ = false;
};

}  // namespace tlxcli
