// Line sinks of the text export: a text file, or the preview box of the
// universal export dialog.
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "platform/File.h"

namespace tvk {

class CUEOutput {
public:
    virtual ~CUEOutput() = default;
    // Takes the next piece of text; a line feed ends a line.
    virtual void Write(std::string_view text) = 0;
    // Makes the sink ready; the argument's meaning is the sink's.
    virtual void Open(const std::string& argument) = 0;
    // Finishes what was written.
    virtual void Close() = 0;
};

// The export file, in text mode: every line feed is written as CR LF.
class CUEFileOutput : public CUEOutput {
public:
    // Writes the text; throws CFileException.
    void Write(std::string_view text) override;
    // Creates the file at `path` (replacing one); throws CFileException.
    void Open(const std::string& path) override;
    // Closes the file if it is open; throws CFileException when the last
    // bytes cannot be written.
    void Close() override;
    // Closes without throwing, after a failure.
    void Abort() noexcept { file_.Abort(); }
    bool IsOpen() const { return file_.IsOpen(); }

private:
    CStdioFile file_;
};

// The first lines of an export, collected for the preview box.
class CUEPreviewOutput : public CUEOutput {
public:
    static constexpr size_t kMaxCharacters = 2500;
    // Receives the preview text (1251, CR LF line ends) to show.
    using Box = std::function<void(const std::string& text)>;

    explicit CUEPreviewOutput(Box box = Box()) : box_(std::move(box)) {}

    // Appends the text with each line feed as CR LF. Throws
    // CFinishWriteSignal instead once more lines than the limit were written
    // or the buffer holds kMaxCharacters or more.
    void Write(std::string_view text) override;
    // Empties the box and the buffer; the line limit is `lineLimit` as a
    // decimal number.
    void Open(const std::string& lineLimit) override;
    // Puts the buffer into the box and empties the buffer.
    void Close() override;

    const std::string& Buffer() const { return buffer_; }
    int Lines() const { return lines_; }

private:
    Box box_;
    std::string buffer_;
    int limit_ = 0;
    int lines_ = 0;
};

}  // namespace tvk
