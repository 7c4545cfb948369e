#include "cli/ExportSteps.h"

#include <new>

#include "cli/OverwritePrompt.h"
#include "export/Writer.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"

namespace tlxcli {

int ParseExportArgs(const char* command, const char* usage, ArgParser& parser, const Args& args, ExportArgs& out) {
    if (!parser.Parse(args)) {
        std::fprintf(stderr, "tlxexport %s: %s\n%s", command, parser.Error().c_str(), usage);
        return 2;
    }
    if (parser.WantsHelp()) {
        std::fputs(usage, stdout);
        return 0;
    }
    const auto& words = parser.Positional();
    if (words.size() != 2) {
        std::fputs(usage, stderr);
        return 2;
    }
    out.input = words[0];
    out.target = words[1];
    out.logPath = parser.Value("--log");
    out.strict = parser.Has("--strict");
    if (parser.Has("--log") && out.logPath.empty()) {
        std::fprintf(stderr, "tlxexport %s: --log needs a file name\n", command);
        return 2;
    }
    return -1;
}

int ReportReadFailure(const char* command, const std::string& input, bool inputOpened, const std::string& logPath) {
    try {
        throw;
    } catch (const tvk::CFileException& e) {
        if (!inputOpened && e.m_strFileName == input) {
            std::fprintf(stderr, "tlxexport %s: cannot open %s: %s\n", command, input.c_str(), e.SystemReason().c_str());
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
    for (const std::string& line : writer.GetChanges().Lines(tvk::CChangeReport::kShortLines)) text += "  " + line + "\n";
    std::fputs(tvk::Utf8From1251(text).c_str(), stderr);
}

int ReportExportFailure(const char* command, const tvk::CWriter& writer, const ExportArgs& args) {
    const std::string& target = args.target;
    CProgressBar::EraseShown();
    try {
        throw;
    } catch (const tvk::CChangesRefusedSignal&) {
        PrintChanges(writer, args);
        std::fprintf(stderr, "tlxexport %s: --strict: the export would change the data as listed; "
                     "the files of this run were removed\n", command);
    } catch (const tvk::CFileException& e) {
        std::fprintf(stderr, "tlxexport %s: File input/output error: %s: %s\n", command, e.m_strFileName.c_str(),
                     e.SystemReason().c_str());
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "tlxexport %s: out of memory while writing %s\n", command, target.c_str());
    } catch (const tvk::CUserBreakSignal&) {
        if (!RefusedFile().empty())
            std::fprintf(stderr,
                         "tlxexport %s: %s exists and there is no terminal to ask; use --overwrite all or none. "
                         "The files of this run were removed.\n",
                         command, RefusedFile().c_str());
        else
            std::fprintf(stderr, "tlxexport %s: cancelled; the files of this run were removed\n", command);
    } catch (const tvk::CThreadStopSignal&) {
        std::fprintf(stderr, "tlxexport %s: stopped; the files of this run were removed\n", command);
    } catch (...) {
        std::fprintf(stderr, "tlxexport %s: unexpected failure; the files of this run were removed\n", command);
    }
    return 1;
}

}  // namespace tlxcli
