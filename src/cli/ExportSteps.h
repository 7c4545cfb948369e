// The steps the reading and export commands share, each failure reported on
// standard error with the file and the cause, and turned into the exit status.
#pragma once
#include <cstdio>
#include <memory>
#include <string>

#include "cli/ArgParser.h"
#include "cli/Commands.h"
#include "cli/LogWriting.h"
#include "cli/ProgressBar.h"

namespace tvk {
class CTLXReader;
class CWriter;
}  // namespace tvk

namespace tlxcli {

// What every export command takes: IN.tlx, the target, --log and --strict.
struct ExportArgs {
    std::string input;
    std::string target;
    std::string logPath;
    bool strict = false;
    const char* Log() const { return logPath.empty() ? nullptr : logPath.c_str(); }
};

// Parses `args`; returns -1 to go on, or the exit status (0 after --help,
// 2 for wrong usage, with the usage printed).
int ParseExportArgs(const char* command, const char* usage, ArgParser& parser, const Args& args, ExportArgs& out);

// Call from a catch block of Read: says why reading failed and returns 2 when
// the input could not be opened, 1 otherwise.
int ReportReadFailure(const char* command, const std::string& input, bool inputOpened, const std::string& logPath);

// Call from a catch block of Export: says why the export failed (for a
// strict export refused, after the changes it would have made); returns 1.
int ReportExportFailure(const char* command, const tvk::CWriter& writer, const ExportArgs& args);

// Prints the changes the export made to fit the data into its format on
// standard error, one line per change, or per kind when there are many;
// nothing when there are none or the whole log goes there already.
void PrintChanges(const tvk::CWriter& writer, const ExportArgs& args);

// A writer with the log and the progress bar attached, read from `input`.
template <class Writer>
class CCommandWriter {
public:
    CCommandWriter(const char* command, const ExportArgs& args) : command_(command), args_(args) {
        writer_ = std::make_unique<CLogWriting<Writer>>();  // on the heap: a big survey's model is big
        writer_->SetLogTarget(args.logPath);
        writer_->SetStrict(args.strict);
        writer_->Init();
        progress_.Attach(*writer_);
    }
    // The writer stays with the process: the system takes the model back
    // faster than freeing its records one by one. Sanitizer builds free it,
    // so that they check the teardown too.
    ~CCommandWriter() {
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
        writer_.release();
#endif
    }
    Writer& operator*() { return *writer_; }
    Writer* operator->() { return writer_.get(); }

    // Returns -1 when the survey was read, else the exit status.
    int Read() {
        try {
            writer_->Read(args_.input.c_str(), args_.Log());
            return -1;
        } catch (...) {
            CProgressBar::EraseShown();
            return ReportReadFailure(command_, args_.input, writer_->InputOpened(), args_.logPath);
        }
    }

private:
    const char* command_;
    const ExportArgs& args_;
    std::unique_ptr<CLogWriting<Writer>> writer_;
    CProgressBar progress_;
};

}  // namespace tlxcli
