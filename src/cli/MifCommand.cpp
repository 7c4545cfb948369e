// `tlxexport mif IN.tlx OUTDIR [--overwrite ask|all|none] [--log FILE]`: reads a
// survey and writes one MapInfo MIF/MID pair per layer into a folder.
#include <cstdio>
#include <memory>
#include <new>
#include <string>

#include "cli/ArgParser.h"
#include "cli/Commands.h"
#include "cli/LogWriting.h"
#include "cli/OverwritePrompt.h"
#include "cli/ProgressBar.h"
#include "mif/MIFWriter.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"

namespace tlxcli {

namespace {

const char* const kUsage =
    "Usage: tlxexport mif IN.tlx OUTDIR [--overwrite ask|all|none] [--log FILE]\n"
    "Reads the survey IN.tlx and writes one MapInfo interchange pair (.MIF, .MID) per layer into\n"
    "OUTDIR, which is created when missing.\n"
    "  --overwrite ask|all|none  an output file that exists: ask on the terminal (default),\n"
    "                            overwrite all, or keep every existing file\n"
    "  --log FILE                write the reading and export logs to FILE (UTF-8); '-' is standard error\n";

}  // namespace

int RunMif(const Args& args) {
    ArgParser parser({"--help", "-h"}, {"--log", "--overwrite"});
    if (!parser.Parse(args)) {
        std::fprintf(stderr, "tlxexport mif: %s\n%s", parser.Error().c_str(), kUsage);
        return 2;
    }
    if (parser.WantsHelp()) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const auto& words = parser.Positional();
    OverwritePolicy policy = OverwritePolicy::Ask;
    if (words.size() != 2 || !ParseOverwritePolicy(parser.Value("--overwrite", "ask"), policy)) {
        if (words.size() == 2)
            std::fprintf(stderr, "tlxexport mif: --overwrite takes ask, all or none, not '%s'\n",
                         parser.Value("--overwrite").c_str());
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string& input = words[0];
    const std::string& folder = words[1];
    const std::string logPath = parser.Value("--log");
    if (parser.Has("--log") && logPath.empty()) {
        std::fprintf(stderr, "tlxexport mif: --log needs a file name\n");
        return 2;
    }
    const char* log = logPath.empty() ? nullptr : logPath.c_str();

    // On the heap: the model of a large survey is big.
    auto writer = std::make_unique<CLogWriting<tvk::CMIFWriter>>();
    writer->SetLogTarget(logPath);
    writer->Init();
    CProgressBar progress;
    progress.Attach(*writer);
    try {
        writer->Read(input.c_str(), log);
    } catch (const tvk::CFileException& e) {
        CProgressBar::EraseShown();
        if (!writer->InputOpened() && e.m_strFileName == input) {
            std::fprintf(stderr, "tlxexport mif: cannot open %s: %s\n", input.c_str(), e.SystemReason().c_str());
            return 2;
        }
        std::fprintf(stderr, "tlxexport mif: cannot read %s: %s\n", e.m_strFileName.c_str(), e.SystemReason().c_str());
        return 1;
    } catch (const std::bad_alloc&) {
        CProgressBar::EraseShown();
        std::fprintf(stderr, "tlxexport mif: out of memory while reading %s\n", input.c_str());
        return 1;
    }

    try {
        tvk::FileSystem().CreateDirectories(folder);
    } catch (const tvk::CFileException& e) {
        std::fprintf(stderr, "tlxexport mif: cannot create the folder %s: %s\n", folder.c_str(),
                     e.SystemReason().c_str());
        return 1;
    }
    InstallOverwritePrompt(policy);
    try {
        writer->Export(folder.c_str(), log);
        writer->FreeExportData();
    } catch (const tvk::CFileException& e) {
        CProgressBar::EraseShown();
        std::fprintf(stderr, "tlxexport mif: File input/output error: %s: %s\n", e.m_strFileName.c_str(),
                     e.SystemReason().c_str());
        return 1;
    } catch (const std::bad_alloc&) {
        CProgressBar::EraseShown();
        std::fprintf(stderr, "tlxexport mif: out of memory while writing into %s\n", folder.c_str());
        return 1;
    } catch (const tvk::CUserBreakSignal&) {
        CProgressBar::EraseShown();
        if (!RefusedFile().empty())
            std::fprintf(stderr,
                         "tlxexport mif: %s exists and there is no terminal to ask; use --overwrite all or none. "
                         "The files of this run were removed.\n",
                         RefusedFile().c_str());
        else
            std::fprintf(stderr, "tlxexport mif: cancelled; the files of this run were removed\n");
        return 1;
    } catch (const tvk::CThreadStopSignal&) {
        CProgressBar::EraseShown();
        std::fprintf(stderr, "tlxexport mif: stopped; the files of this run were removed\n");
        return 1;
    } catch (...) {
        CProgressBar::EraseShown();
        std::fprintf(stderr, "tlxexport mif: unexpected failure; the files of this run were removed\n");
        return 1;
    }
#if !defined(__SANITIZE_ADDRESS__)
    // The process ends here: the files are closed, and the system takes the
    // model back faster than freeing its millions of records one by one.
    // (Sanitizer builds free it, so that they check the teardown too.)
    writer.release();
#endif
    return 0;
}

}  // namespace tlxcli
