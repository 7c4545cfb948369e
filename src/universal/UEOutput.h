// Line sinks of the text export: a text file, or the preview box of the
// universal export dialog.
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "platform/File.h"
#include "platform/OutputTransaction.h"

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
    // The text writer's export starts: a sink that writes a file creates it
    // now, among the export's output files.
    virtual void BeginExport(COutputTransaction& outputFiles) { (void)outputFiles; }
    // The export's lines are all written (`completed`) or abandoned: a file
    // is completed and closed (throwing CFileException when it cannot be),
    // or only closed.
    virtual void EndExport(bool completed) { (void)completed; }
};

// The export file, in text mode: every line feed is written as CR LF. It is
// written while the text writer's export runs and put in place when the
// export succeeds.
class CUEFileOutput : public CUEOutput {
public:
    // Writes the text; throws CFileException.
    void Write(std::string_view text) override;
    // Takes `path` as the file of the next export. Throws CFileException now
    // for a path that can never be written: a folder, or a file in a folder
    // that does not exist.
    void Open(const std::string& path) override;
    // Closes the file if it is still open; throws CFileException when the
    // last bytes cannot be written.
    void Close() override;
    void BeginExport(COutputTransaction& outputFiles) override;
    void EndExport(bool completed) override;
    bool IsOpen() const { return file_.IsOpen(); }

private:
    std::string path_;
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
