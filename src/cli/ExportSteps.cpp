#include "cli/ExportSteps.h"

#include <exception>
#include <new>

#include "cli/OverwritePrompt.h"
#include "export/Writer.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"

namespace tlxcli {

StepResult ParseExportArgs(const char* command, const char* usage, ArgParser& parser, const Args& args,
                           ExportArgs& out) {
    if (!parser.Parse(args)) {
        std::fprintf(stderr, "tlxexport %s: %s\n%s", command, parser.Error().c_str(), usage);
        return StepResult::Exit(2);
    }
    if (parser.WantsHelp()) {
        std::fputs(usage, stdout);
        return StepResult::Exit(0);
    }
    const auto& words = parser.Positional();
    if (words.size() != 2) {
        std::fputs(usage, stderr);
        return StepResult::Exit(2);
    }
    out.input = words[0];
    out.target = words[1];
    out.logPath = parser.Value("--log");
    out.strict = parser.Has("--strict");
    if (parser.Has("--log") && out.logPath.empty()) {
        std::fprintf(stderr, "tlxexport %s: --log needs a file name\n", command);
        return StepResult::Exit(2);
    }
    return StepResult::GoOn();
}

StepResult ParseOverwriteOption(const char* command, const ArgParser& parser, OverwritePolicy& policy) {
    policy = OverwritePolicy::Ask;
    if (ParseOverwritePolicy(parser.Value("--overwrite", "ask"), policy)) return StepResult::GoOn();
    std::fprintf(stderr, "tlxexport %s: --overwrite takes ask, all or none, not '%s'\n", command,
                 parser.Value("--overwrite").c_str());
    return StepResult::Exit(2);
}

StepResult MakeOutputFolder(const char* command, const std::string& folder) {
    try {
        tvk::FileSystem().CreateDirectories(folder);
        return StepResult::GoOn();
    } catch (const tvk::CFileException& e) {
        std::fprintf(stderr, "tlxexport %s: cannot create the folder %s: %s\n", command, folder.c_str(),
                     e.SystemReason().c_str());
        return StepResult::Exit(1);
    }
}

namespace {

// The one line of a run that a signal stopped.
int ReportSignalStop(const char* command, const std::string& target) {
    CProgressBar::EraseShown();
    if (target.empty()) std::fprintf(stderr, "tlxexport %s: stopped\n", command);
    else std::fprintf(stderr, "tlxexport %s: stopped; nothing was changed in %s\n", command, target.c_str());
    return SignalExitStatus();
}

}  // namespace

int ReportReadFailure(const char* command, const std::string& input, bool inputOpened, const std::string& logPath,
                      const std::string& target) {
    if (ReceivedSignal()) return ReportSignalStop(command, target);
    try {
        throw;
    } catch (const tvk::CFileException& e) {
        if (!inputOpened && e.m_strFileName == input) {
            std::fprintf(stderr, "tlxexport %s: cannot open %s: %s\n", command, input.c_str(),
                         e.SystemReason().c_str());
            return 2;
        }
        if (!logPath.empty() && e.m_strFileName == logPath) {
            std::fprintf(stderr, "tlxexport %s: cannot write the log %s: %s\n", command, logPath.c_str(),
                         e.SystemReason().c_str());
            return 1;
        }
        std::fprintf(stderr, "tlxexport %s: cannot read %s: %s\n", command, e.m_strFileName.c_str(),
                     e.SystemReason().c_str());
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "tlxexport %s: out of memory while reading %s\n", command, input.c_str());
    } catch (const tvk::CThreadStopSignal&) {
        std::fprintf(stderr, "tlxexport %s: reading %s was stopped\n", command, input.c_str());
    }
    return 1;
}

void PrintChanges(const tvk::CWriter& writer, const ExportArgs& args) {
    if (writer.GetChanges().Empty() || args.logPath == "-") return;
    CProgressBar::EraseShown();
    std::string text = tvk::CChangeReport::Heading() + "\n";
    for (const std::string& line : writer.GetChanges().Lines(tvk::CChangeReport::kShortLines))
        text += "  " + line + "\n";
    std::fputs(tvk::Utf8From1251(text).c_str(), stderr);
}

int ReportExportFailure(const char* command, const tvk::CWriter& writer, const ExportArgs& args) {
    CProgressBar::EraseShown();
    // Whatever stopped the export, a signal made it stop.
    if (ReceivedSignal()) return ReportSignalStop(command, args.target);
    const char* target = args.target.c_str();
    try {
        throw;
    } catch (const tvk::CSameFileException& e) {
        std::fprintf(stderr, "tlxexport %s: %s would be written over %s; nothing was changed in %s\n", command,
                     e.m_strFileName.c_str(), e.m_strOtherFile.c_str(), target);
        return 2;
    } catch (const tvk::CChangesRefusedSignal&) {
        PrintChanges(writer, args);
        std::fprintf(stderr,
                     "tlxexport %s: --strict: the export would change the data as listed; nothing was changed in %s\n",
                     command, target);
    } catch (const tvk::CFileException& e) {
        // The log is completed after the files are in place.
        if (!args.logPath.empty() && e.m_strFileName == args.logPath)
            std::fprintf(stderr, "tlxexport %s: cannot write the log %s: %s\n", command, e.m_strFileName.c_str(),
                         e.SystemReason().c_str());
        else
            std::fprintf(stderr, "tlxexport %s: File input/output error: %s: %s; nothing was changed in %s\n", command,
                         e.m_strFileName.c_str(), e.SystemReason().c_str(), target);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "tlxexport %s: out of memory while writing %s; nothing was changed\n", command, target);
    } catch (const tvk::CUserBreakSignal&) {
        if (!RefusedFile().empty())
            std::fprintf(stderr,
                         "tlxexport %s: %s exists and there is no terminal to ask; use --overwrite all or none. "
                         "Nothing was changed in %s.\n",
                         command, RefusedFile().c_str(), target);
        else std::fprintf(stderr, "tlxexport %s: cancelled; nothing was changed in %s\n", command, target);
    } catch (const tvk::CThreadStopSignal&) {
        std::fprintf(stderr, "tlxexport %s: stopped; nothing was changed in %s\n", command, target);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tlxexport %s: unexpected failure (%s); nothing was changed in %s\n", command, e.what(),
                     target);
    } catch (...) {
        std::fprintf(stderr, "tlxexport %s: unexpected failure; nothing was changed in %s\n", command, target);
    }
    return 1;
}

}  // namespace tlxcli
