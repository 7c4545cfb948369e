// `tlxexport dxf IN.tlx OUT.dxf [--no-attributes] [--no-codepage] [--log FILE]`:
// reads a survey and writes it as one release 12 DXF file.
#include <cstdio>
#include <memory>
#include <new>
#include <string>

#include "cli/ArgParser.h"
#include "cli/Commands.h"
#include "dxf/DXFWriter.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"

namespace tlxcli {

namespace {

const char* const kUsage =
    "Usage: tlxexport dxf IN.tlx OUT.dxf [--no-attributes] [--no-codepage] [--log FILE]\n"
    "Reads the survey IN.tlx and writes it as the AutoCAD release 12 drawing OUT.dxf.\n"
    "  --no-attributes  no attribute blocks: geometry and point labels only\n"
    "  --no-codepage    leave out the code page declaration ($DWGCODEPAGE ANSI_1251)\n"
    "  --log FILE       write the reading and export logs to FILE (UTF-8); '-' is standard error\n";

// The DXF writer with its logs going to a file or to standard error.
class CDxfCommandWriter : public tvk::CDXFWriter {
public:
    explicit CDxfCommandWriter(std::string logPath) : logPath_(std::move(logPath)) {}
    ~CDxfCommandWriter() override { CloseLog(); }

    void ClearLog() override {
        if (logPath_.empty() || logPath_ == "-") return;
        if (FILE* f = std::fopen(logPath_.c_str(), "wb")) std::fclose(f);
    }
    void OpenLog(const char*) override {
        if (logPath_.empty() || log_) return;
        log_ = logPath_ == "-" ? stderr : std::fopen(logPath_.c_str(), "ab");
    }
    void WriteToLog(const char* text) override {
        if (log_ && text) std::fputs(tvk::Utf8From1251(text).c_str(), log_);
    }
    void CloseLog() override {
        if (log_ && log_ != stderr) std::fclose(log_);
        log_ = nullptr;
    }

private:
    std::string logPath_;
    FILE* log_ = nullptr;
};

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
    const char* log = logPath.empty() ? nullptr : logPath.c_str();

    auto writer = std::make_unique<CDxfCommandWriter>(logPath);
    writer->Init();
    try {
        writer->Read(input.c_str(), log);
    } catch (const tvk::CFileException& e) {
        std::fprintf(stderr, "tlxexport dxf: cannot read %s: %s\n", e.m_strFileName.c_str(), e.SystemReason().c_str());
        return writer->FilePath.empty() || e.m_strFileName == input ? 2 : 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "tlxexport dxf: out of memory while reading %s\n", input.c_str());
        return 1;
    }
    if (writer->ErrorCount > 0)
        std::fprintf(stderr, "tlxexport dxf: %s: %d reading errors (see the log)\n", input.c_str(), writer->ErrorCount);

    writer->SetExportSemantic(!parser.Has("--no-attributes"));
    writer->SetDeclareCodePage(!parser.Has("--no-codepage"));
    try {
        writer->Export(output.c_str(), log);
        writer->FreeExportData();
    } catch (const tvk::CFileException& e) {
        std::fprintf(stderr, "tlxexport dxf: File input/output error: %s: %s\n", e.m_strFileName.c_str(),
                     e.SystemReason().c_str());
        return 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "tlxexport dxf: out of memory while writing %s\n", output.c_str());
        return 1;
    } catch (const tvk::CThreadStopSignal&) {
        std::fprintf(stderr, "tlxexport dxf: stopped; %s removed\n", output.c_str());
        return 1;
    }
    return 0;
}

}  // namespace tlxcli
