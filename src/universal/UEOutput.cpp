#include "universal/UEOutput.h"

#include "platform/Exceptions.h"
#include "platform/NumberText.h"

namespace tvk {

void CUEFileOutput::Write(std::string_view text) { file_.WriteString(text); }

void CUEFileOutput::Open(const std::string& path) {
    COutputTransaction::CheckTarget(FileSystem(), path);
    path_ = path;
}

void CUEFileOutput::Close() { file_.Close(); }

void CUEFileOutput::BeginExport(COutputTransaction& outputFiles) { file_.Attach(outputFiles.Create(path_), path_); }

void CUEFileOutput::EndExport(bool completed) {
    if (completed) file_.Close();
    else file_.Abort();
}

void CUEPreviewOutput::Write(std::string_view text) {
    if (lines_ > limit_ || buffer_.size() >= kMaxCharacters) throw CFinishWriteSignal();
    for (char c : text) {
        if (c == '\n') {
            buffer_ += "\r\n";
            ++lines_;
        } else {
            buffer_ += c;
        }
    }
}

void CUEPreviewOutput::Open(const std::string& lineLimit) {
    buffer_.clear();
    if (box_) box_(buffer_);
    limit_ = AtoI(lineLimit.c_str());
    lines_ = 0;
}

void CUEPreviewOutput::Close() {
    if (box_) box_(buffer_);
    buffer_.clear();
}

}  // namespace tvk
