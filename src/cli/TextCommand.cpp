// `tlxexport text IN.tlx OUT.txt [--template FILE.ue] [--log FILE]`: reads a
// survey and writes one text line per survey point, laid out by an export
// template (the built-in "name, N, E, H" template when none is given).
#include <cstdio>
#include <memory>
#include <new>
#include <string>

#include "cli/ArgParser.h"
#include "cli/Commands.h"
#include "cli/LogWriting.h"
#include "cli/ProgressBar.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"
#include "universal/ArchiveException.h"
#include "universal/UETemplateFile.h"
#include "universal/UEWriter.h"

namespace tlxcli {

namespace {

const char* const kUsage =
    "Usage: tlxexport text IN.tlx OUT.txt [--template FILE.ue] [--log FILE]\n"
    "Reads the survey IN.tlx and writes one line per survey point into OUT.txt.\n"
    "  --template FILE.ue  the export template (default: name, N, E and H separated by \", \");\n"
    "                      'tlxexport template show FILE.ue' prints what a template does\n"
    "  --log FILE          write the reading and export logs to FILE (UTF-8); '-' writes them to\n"
    "                      standard error. Without --log the error reports and the totals go there.\n"
    "Exit status: 0 written (reading errors are reported but do not fail the export), 1 reading or\n"
    "writing failed, 2 wrong usage or an unreadable input file or template.\n";

// Loads the template named by --template; 0 on success, else the exit status.
int LoadTemplate(const std::string& path, tvk::CUETemplate& tmpl) {
    try {
        tvk::ReadTemplateFile(path, tmpl);
        return 0;
    } catch (const tvk::CFileException& e) {
        CProgressBar::EraseShown();
        std::fprintf(stderr, "tlxexport text: cannot open template %s: %s\n", path.c_str(), e.SystemReason().c_str());
        return 2;
    } catch (const tvk::CArchiveException& e) {
        std::fprintf(stderr, "tlxexport text: %s is not a valid export template: %s\n", path.c_str(),
                     e.Reason().c_str());
        return 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "tlxexport text: out of memory reading template %s\n", path.c_str());
        return 1;
    }
}

}  // namespace

int RunText(const Args& args) {
    ArgParser parser({"--help", "-h"}, {"--template", "--log"});
    if (!parser.Parse(args)) {
        std::fprintf(stderr, "tlxexport text: %s\n%s", parser.Error().c_str(), kUsage);
        return 2;
    }
    if (parser.WantsHelp()) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const auto& words = parser.Positional();
    if (words.size() != 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string& input = words[0];
    const std::string& output = words[1];
    const std::string logPath = parser.Value("--log");
    if (parser.Has("--log") && logPath.empty()) {
        std::fprintf(stderr, "tlxexport text: --log needs a file name\n");
        return 2;
    }
    const char* log = logPath.empty() ? nullptr : logPath.c_str();

    tvk::CUETemplate tmpl = tvk::CUETemplate::Internal();
    if (parser.Has("--template"))
        if (int status = LoadTemplate(parser.Value("--template"), tmpl)) return status;

    auto writer = std::make_unique<CLogWriting<tvk::CUEWriter>>();
    writer->SetLogTarget(logPath);
    writer->Init();
    CProgressBar progress;
    progress.Attach(*writer);
    try {
        writer->Read(input.c_str(), log);
    } catch (const tvk::CFileException& e) {
        CProgressBar::EraseShown();
        if (!writer->InputOpened() && e.m_strFileName == input) {
            std::fprintf(stderr, "tlxexport text: cannot open %s: %s\n", input.c_str(), e.SystemReason().c_str());
            return 2;
        }
        std::fprintf(stderr, "tlxexport text: cannot read %s: %s\n", e.m_strFileName.c_str(), e.SystemReason().c_str());
        return 1;
    } catch (const std::bad_alloc&) {
        CProgressBar::EraseShown();
        std::fprintf(stderr, "tlxexport text: out of memory while reading %s\n", input.c_str());
        return 1;
    }
    // The file is created only once the survey has been read, and removed
    // again when the export does not complete.
    tvk::CUEFileOutput sink;
    std::string failure;
    try {
        sink.Open(output);
        writer->SetTemplate(&tmpl);
        writer->SetOutput(&sink);
        writer->SetDosCodePage(tmpl.DosCodePage);
        writer->Export(output.c_str(), log);
        writer->FreeExportData();
        writer->SetOutput(nullptr);
        sink.Close();
        return 0;
    } catch (const tvk::CFileException& e) {
        failure = "File input/output error: " + e.m_strFileName + ": " + e.SystemReason();
    } catch (const std::bad_alloc&) {
        failure = "out of memory while writing " + output;
    } catch (const tvk::CThreadStopSignal&) {
        failure = "stopped";
    } catch (const tvk::CUserBreakSignal&) {
        failure = "cancelled";
    }
    CProgressBar::EraseShown();
    std::fprintf(stderr, "tlxexport text: %s\n", failure.c_str());
    writer->SetOutput(nullptr);
    if (sink.IsOpen()) {
        sink.Abort();
        tvk::FileSystem().Remove(output);
    }
    std::fprintf(stderr, "tlxexport text: %s was not written\n", output.c_str());
    return 1;
}

}  // namespace tlxcli
