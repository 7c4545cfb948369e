// `tlxexport text IN.tlx OUT.txt [--template FILE.ue] [--strict] [--log FILE]`: reads a
// survey and writes one text line per survey point, laid out by an export
// template (the built-in "name, N, E, H" template when none is given).
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "cli/ExportSteps.h"
#include "cli/PathGuards.h"
#include "platform/Exceptions.h"
#include "universal/ArchiveException.h"
#include "universal/UETemplateFile.h"
#include "universal/UEWriter.h"

namespace tlxcli {

namespace {

const char* const kUsage =
    "Usage: tlxexport text IN.tlx OUT.txt [--template FILE.ue] [--strict] [--log FILE]\n"
    "Reads the survey IN.tlx and writes one line per survey point into OUT.txt.\n"
    "  --template FILE.ue  the export template (default: name, N, E and H separated by \", \");\n"
    "                      'tlxexport template show FILE.ue' prints what a template does\n"
    "  --strict            fail (exit 1, no file changed) when the data would be changed to fit\n"
    "                      the format; the changes are listed on standard error either way\n"
    "  --log FILE          write the reading and export logs to FILE (UTF-8); '-' writes them to\n"
    "                      standard error. Without --log the error reports and the totals go there.\n"
    "Exit status: 0 written (reading errors are reported but do not fail the export), 1 reading or\n"
    "writing failed (OUT.txt is then as it was), 2 wrong usage, an unreadable input file or template,\n"
    "or an output that would be written over the input; 130, 143, 129 stopped by SIGINT, SIGTERM, SIGHUP.\n";

// Loads the template named by --template; 0 on success, else the exit status:
// 2 for a template that cannot be opened or is not one, as the usage says.
int LoadTemplate(const std::string& path, tvk::CUETemplate& tmpl) {
    try {
        tvk::ReadTemplateFile(path, tmpl);
        return 0;
    } catch (const tvk::CFileException& e) {
        CProgressBar::EraseShown();
        std::fprintf(stderr, "tlxexport text: cannot open template %s: %s\n", path.c_str(), e.SystemReason().c_str());
        return 2;
    } catch (const tvk::CArchiveException& e) {
        CProgressBar::EraseShown();
        std::fprintf(stderr, "tlxexport text: %s is not a valid export template: %s\n", path.c_str(),
                     e.Reason().c_str());
        return 2;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "tlxexport text: out of memory reading template %s\n", path.c_str());
        return 1;
    }
}

}  // namespace

int RunText(const Args& args) {
    ArgParser parser({"--strict", "--help", "-h"}, {"--template", "--log"});
    ExportArgs a;
    if (StepResult r = ParseExportArgs("text", kUsage, parser, args, a); r.Ends()) return r.ExitStatus();
    std::vector<std::string> templates;
    if (parser.Has("--template")) templates.push_back(parser.Value("--template"));
    if (!GuardFileTarget("text", a.input, a.target, a.logPath, templates)) return 2;
    tvk::CUETemplate tmpl = tvk::CUETemplate::Internal();
    if (!templates.empty())
        if (int status = LoadTemplate(templates[0], tmpl)) return status;

    CCommandWriter<tvk::CUEWriter> writer("text", a);
    if (StepResult r = writer.Read(); r.Ends()) return r.ExitStatus();
    // The file is written only once the survey has been read, and put in
    // place only when the export completes.
    tvk::CUEFileOutput sink;
    try {
        sink.Open(a.target);
    } catch (...) {
        return ReportExportFailure("text", *writer, a);
    }
    writer->SetTemplate(&tmpl);
    writer->SetOutput(&sink);
    writer->SetDosCodePage(tmpl.DosCodePage);
    const int status = writer.Export();
    writer->SetOutput(nullptr);
    return status;
}

}  // namespace tlxcli
