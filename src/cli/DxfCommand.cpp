// `tlxexport dxf IN.tlx OUT.dxf [--no-attributes] [--no-codepage] [--log FILE]`:
// reads a survey and writes it as one release 12 DXF file.
#include <cstdio>
#include <memory>
#include <new>
#include <string>

#include "cli/ArgParser.h"
#include "cli/Commands.h"
#include "cli/LogWriting.h"
#include "cli/ProgressBar.h"
#include "dxf/DXFWriter.h"
#include "platform/Exceptions.h"

namespace tlxcli {

namespace {

const char* const kUsage =
    "Usage: tlxexport dxf IN.tlx OUT.dxf [--no-attributes] [--no-codepage] [--log FILE]\n"
    "Reads the survey IN.tlx and writes it as the AutoCAD release 12 drawing OUT.dxf.\n"
    "  --no-attributes  no attribute blocks: geometry and point labels only\n"
    "  --no-codepage    leave out the code page declaration ($DWGCODEPAGE ANSI_1251)\n"
    "  --log FILE       write the reading and export logs to FILE (UTF-8); '-' is standard error\n";

}  // namespace

int RunDxf(const Args& args) {
    ArgParser parser({"--no-attributes", "--no-codepage", "--help", "-h"}, {"--log"});
    if (!parser.Parse(args)) {
        std::fprintf(stderr, "tlxexport dxf: %s\n%s", parser.Error().c_str(), kUsage);
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
        std::fprintf(stderr, "tlxexport dxf: --log needs a file name\n");
        return 2;
    }
    const char* log = logPath.empty() ? nullptr : logPath.c_str();

    // On the heap: the model of a large survey is big, and so is the writer.
    auto writer = std::make_unique<CLogWriting<tvk::CDXFWriter>>();
    writer->SetLogTarget(logPath);
    writer->Init();
    CProgressBar progress;
    progress.Attach(*writer);
    try {
        writer->Read(input.c_str(), log);
    } catch (const tvk::CFileException& e) {
        CProgressBar::EraseShown();
        if (!writer->InputOpened() && e.m_strFileName == input) {
            std::fprintf(stderr, "tlxexport dxf: cannot open %s: %s\n", input.c_str(), e.SystemReason().c_str());
            return 2;
        }
        std::fprintf(stderr, "tlxexport dxf: cannot read %s: %s\n", e.m_strFileName.c_str(), e.SystemReason().c_str());
        return 1;
    } catch (const std::bad_alloc&) {
        CProgressBar::EraseShown();
        std::fprintf(stderr, "tlxexport dxf: out of memory while reading %s\n", input.c_str());
        return 1;
    }

    writer->SetExportSemantic(!parser.Has("--no-attributes"));
    writer->SetDeclareCodePage(!parser.Has("--no-codepage"));
    try {
        writer->Export(output.c_str(), log);
        writer->FreeExportData();
    } catch (const tvk::CFileException& e) {
        CProgressBar::EraseShown();
        std::fprintf(stderr, "tlxexport dxf: File input/output error: %s: %s\n", e.m_strFileName.c_str(),
                     e.SystemReason().c_str());
        return 1;
    } catch (const std::bad_alloc&) {
        CProgressBar::EraseShown();
        std::fprintf(stderr, "tlxexport dxf: out of memory while writing %s\n", output.c_str());
        return 1;
    } catch (const tvk::CThreadStopSignal&) {
        CProgressBar::EraseShown();
        std::fprintf(stderr, "tlxexport dxf: stopped; %s removed\n", output.c_str());
        return 1;
    }
    return 0;
}

}  // namespace tlxcli
