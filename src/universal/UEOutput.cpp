#include "universal/UEOutput.h"

#include "platform/Exceptions.h"
#include "platform/NumberText.h"

namespace tvk {

void CUEFileOutput::Write(std::string_view text) { file_.WriteString(text); }

void CUEFileOutput::Open(const std::string& path) {
    file_.Open(path, CFile::modeWrite | CFile::modeCreate | CFile::shareDenyWrite);
}

void CUEFileOutput::Close() { file_.Close(); }

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
