// The steps the reading and export commands share, each failure reported on
// standard error with the file and the cause, and turned into the exit status.
#pragma once
#include <cstdio>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli/ArgParser.h"
#include "cli/Commands.h"
#include "cli/LogWriting.h"
#include "cli/OverwritePrompt.h"
#include "cli/PathGuards.h"
#include "cli/ProgressBar.h"
#include "cli/SignalStop.h"

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

// The outcome of one step of a command: go on with the next step, or end the
// command with an exit status.
class StepResult {
public:
    static StepResult GoOn() { return StepResult(); }
    static StepResult Exit(int status) {
        StepResult result;
        result.exit_ = status;
        return result;
    }
    bool Ends() const { return exit_.has_value(); }
    int ExitStatus() const { return *exit_; }

private:
    std::optional<int> exit_;
};

// Parses `args`; ends with 0 after --help and with 2 for wrong usage, with
// the usage printed.
StepResult ParseExportArgs(const char* command, const char* usage, ArgParser& parser, const Args& args,
                           ExportArgs& out);

// Takes --overwrite (default ask); ends with 2 for a word it does not know.
StepResult ParseOverwriteOption(const char* command, const ArgParser& parser, OverwritePolicy& policy);

// Creates the output folder and any folders above it; ends with 1 when it
// cannot, saying why.
StepResult MakeOutputFolder(const char* command, const std::string& folder);

// Call from a catch block of Read: says why reading failed and returns 2 when
// the input could not be opened, the signal's status when one stopped it, 1
// otherwise. `target` is what the command writes ("" for check).
int ReportReadFailure(const char* command, const std::string& input, bool inputOpened, const std::string& logPath,
                      const std::string& target = "");

// Call from a catch block of Export: says why the export failed (and that it
// changed nothing in `target`; for a strict export refused, after the changes
// it would have made). Returns 2 for an output that would be written over the
// input or the log, the signal's status when one stopped the export, 1
// otherwise.
int ReportExportFailure(const char* command, const tvk::CWriter& writer, const ExportArgs& args);

// Prints the changes the export made to fit the data into its format on
// standard error, one line per change, or per kind when there are many;
// nothing when there are none or the whole log goes there already.
void PrintChanges(const tvk::CWriter& writer, const ExportArgs& args);

// A writer whose ReportToUser lines also reach standard error, with the
// command's name in front.
template <class Writer>
class CCommandLogWriting : public CLogWriting<Writer> {
public:
    explicit CCommandLogWriting(const char* command) : command_(command) {}
    void ReportToUser(const char* text) override {
        this->WriteToLog(text);
        if (this->LogTarget() == "-") return;  // the whole log is on standard error already
        CProgressBar::EraseShown();
        std::fprintf(stderr, "tlxexport %s: %s", command_, this->ToUtf8(text).c_str());
    }

private:
    const char* command_;
};

// A writer with the log, the progress bar and the stop on signals attached,
// read from `input`.
template <class Writer>
class CCommandWriter {
public:
    CCommandWriter(const char* command, const ExportArgs& args) : command_(command), args_(args) {
        writer_ = std::make_unique<CCommandLogWriting<Writer>>(command);  // on the heap: a big survey's model is big
        writer_->SetLogTarget(args.logPath);
        writer_->SetStrict(args.strict);
        writer_->Init();
        progress_.Attach(*writer_);
        stopOnSignals_ = std::make_unique<CStopOnSignals>(*writer_);
    }
    // The writer stays with the process: the system takes the model back
    // faster than freeing its records one by one. Sanitizer builds free it,
    // so that they check the teardown too.
    ~CCommandWriter() {
        stopOnSignals_.reset();
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
        writer_.release();
#endif
    }
    Writer& operator*() { return *writer_; }
    Writer* operator->() { return writer_.get(); }

    // Goes on when the survey was read, else ends with the exit status.
    StepResult Read() {
        try {
            writer_->Read(args_.input.c_str(), args_.Log());
            return StepResult::GoOn();
        } catch (...) {
            CProgressBar::EraseShown();
            return StepResult::Exit(
                ReportReadFailure(command_, args_.input, writer_->InputOpened(), args_.logPath, args_.target));
        }
    }

    // Returns 0 when the export ran and its files are in place, else the
    // exit status (see ReportExportFailure).
    int Export() {
        try {
            writer_->Export(args_.target.c_str(), args_.Log());
            writer_->FreeExportData();
        } catch (...) {
            return ReportExportFailure(command_, *writer_, args_);
        }
        PrintChanges(*writer_, args_);
        return 0;
    }

private:
    const char* command_;
    const ExportArgs& args_;
    std::unique_ptr<CCommandLogWriting<Writer>> writer_;
    CProgressBar progress_;
    std::unique_ptr<CStopOnSignals> stopOnSignals_;
};

// What tells one export command from another besides its writer.
struct ExportCommand {
    const char* name;   // "dxf", as in the messages
    const char* usage;  // printed for --help and wrong usage
    // The command's own flags; --strict, --help and -h come with every one.
    std::set<std::string> flags;
    // Empty for a command that writes one file. A command that writes a
    // folder of file sets names the suffixes of a set; it takes --overwrite
    // and creates the folder after reading.
    std::vector<std::string> setSuffixes;
};

// Runs an export command: parses its arguments, refuses a target that would
// be written over the input or the log, reads the survey, creates the folder,
// hands the writer and the parsed arguments to `configure` for the format's
// own options, and exports. Returns the exit status.
template <class Writer, class Configure>
int RunExport(const ExportCommand& command, const Args& args, Configure configure) {
    const bool folder = !command.setSuffixes.empty();
    std::set<std::string> flags = command.flags;
    flags.insert({"--strict", "--help", "-h"});
    ArgParser parser(flags, folder ? std::set<std::string>{"--log", "--overwrite"} : std::set<std::string>{"--log"});
    ExportArgs a;
    if (StepResult r = ParseExportArgs(command.name, command.usage, parser, args, a); r.Ends()) return r.ExitStatus();
    OverwritePolicy policy = OverwritePolicy::Ask;
    if (folder) {
        if (StepResult r = ParseOverwriteOption(command.name, parser, policy); r.Ends()) return r.ExitStatus();
        if (!GuardFolderTarget(command.name, a.input, a.target, a.logPath, command.setSuffixes)) return 2;
    } else if (!GuardFileTarget(command.name, a.input, a.target, a.logPath)) {
        return 2;
    }

    CCommandWriter<Writer> writer(command.name, a);
    if (StepResult r = writer.Read(); r.Ends()) return r.ExitStatus();
    if (folder)
        if (StepResult r = MakeOutputFolder(command.name, a.target); r.Ends()) return r.ExitStatus();
    configure(*writer, parser);
    if (folder) InstallOverwritePrompt(policy);
    return writer.Export();
}

}  // namespace tlxcli
