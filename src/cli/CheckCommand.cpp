// tlxexport check IN.tlx [--log FILE]: read and validate a survey only.
#include <cstdio>
#include <string>

#include "cli/ExportSteps.h"
#include "cli/PathGuards.h"
#include "reader/TLXReader.h"

namespace tlxcli {

namespace {

const char kCheckHelp[] =
    "Usage: tlxexport check IN.tlx [--log FILE]\n"
    "Reads and validates a survey exchange file without exporting it.\n"
    "\n"
    "  --log FILE   write the reading log to FILE (UTF-8); '-' writes it to standard error.\n"
    "               Without --log the error reports, the warnings and the totals go to standard\n"
    "               error, each report as FILE:LINE: E0003 ...\n"
    "  --help       show this text\n"
    "\n"
    "Exit status: 0 no reading errors or warnings, 3 the file has reading errors or warnings\n"
    "(a file without any section is one), 1 reading failed, 2 wrong usage or an unreadable input file.\n";

}  // namespace

int RunCheck(const Args& args) {
    ArgParser parser({}, {"--log"});
    if (!parser.Parse(args)) {
        std::fprintf(stderr, "tlxexport check: %s\n%s", parser.Error().c_str(), kCheckHelp);
        return 2;
    }
    if (parser.WantsHelp()) {
        std::fputs(kCheckHelp, stdout);
        return 0;
    }
    if (parser.Positional().size() != 1) {
        std::fprintf(stderr, "tlxexport check: expected one input file\n%s", kCheckHelp);
        return 2;
    }
    const std::string& input = parser.Positional()[0];
    std::string log = parser.Value("--log");
    if (parser.Has("--log") && log.empty()) {
        std::fprintf(stderr, "tlxexport check: --log needs a file name\n");
        return 2;
    }
    if (!GuardLog("check", input, log)) return 2;

    CLogWriting<tvk::CTLXReader> reader;
    reader.SetLogTarget(log);
    reader.Init();
    CProgressBar progress;
    progress.Attach(reader);
    CStopOnSignals stopOnSignals(reader);
    try {
        reader.Read(input.c_str(), log.empty() ? nullptr : log.c_str());
    } catch (...) {
        CProgressBar::EraseShown();
        return ReportReadFailure("check", input, reader.InputOpened(), log);
    }
    std::printf("%s: %zu points, %zu layers, %zu feature codes, %zu features, %d errors\n", input.c_str(),
                reader.Points.size(), reader.Layers.size(), reader.FeatureCodes.size(), reader.Features.size(),
                reader.ErrorCount);
    return reader.ErrorCount > 0 || reader.WarningCount > 0 ? 3 : 0;
}

}  // namespace tlxcli
