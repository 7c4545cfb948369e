// `tlxexport shp IN.tlx OUTDIR [--overwrite ask|all|none] [--no-codepage] [--log FILE]`:
// reads a survey and writes its shapefile sets into a folder.
#include <cstdio>
#include <memory>
#include <new>
#include <string>

#include "cli/ArgParser.h"
#include "cli/Commands.h"
#include "cli/OverwritePrompt.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"
#include "shp/SHPWriter.h"

namespace tlxcli {

namespace {

const char* const kUsage =
    "Usage: tlxexport shp IN.tlx OUTDIR [--overwrite ask|all|none] [--no-codepage] [--log FILE]\n"
    "Reads the survey IN.tlx and writes one set of shapefiles (.SHP, .SHX, .DBF) per layer and\n"
    "shape type into OUTDIR, which is created when missing.\n"
    "  --overwrite ask|all|none  an output file that exists: ask on the terminal (default),\n"
    "                            overwrite all, or keep every existing file\n"
    "  --no-codepage             no .CPG file declaring the tables' code page 1251\n"
    "  --log FILE                write the reading and export logs to FILE (UTF-8); '-' is standard error\n";

// The shapefile writer with its logs going to a file or to standard error.
class CShpCommandWriter : public tvk::CSHPWriter {
public:
    explicit CShpCommandWriter(std::string logPath) : logPath_(std::move(logPath)) {}
    ~CShpCommandWriter() override { CloseLog(); }

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

int RunShp(const Args& args) {
    ArgParser parser({"--no-codepage", "--help", "-h"}, {"--log", "--overwrite"});
    if (!parser.Parse(args)) {
        std::fprintf(stderr, "tlxexport shp: %s\n%s", parser.Error().c_str(), kUsage);
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
            std::fprintf(stderr, "tlxexport shp: --overwrite takes ask, all or none, not '%s'\n",
                         parser.Value("--overwrite").c_str());
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string& input = words[0];
    const std::string& folder = words[1];
    const std::string logPath = parser.Value("--log");
    const char* log = logPath.empty() ? nullptr : logPath.c_str();

    auto writer = std::make_unique<CShpCommandWriter>(logPath);
    writer->Init();
    try {
        writer->Read(input.c_str(), log);
    } catch (const tvk::CFileException& e) {
        std::fprintf(stderr, "tlxexport shp: cannot read %s: %s\n", e.m_strFileName.c_str(), e.SystemReason().c_str());
        return writer->FilePath.empty() || e.m_strFileName == input ? 2 : 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "tlxexport shp: out of memory while reading %s\n", input.c_str());
        return 1;
    }
    if (writer->ErrorCount > 0)
        std::fprintf(stderr, "tlxexport shp: %s: %d reading errors (see the log)\n", input.c_str(), writer->ErrorCount);

    try {
        tvk::FileSystem().CreateDirectories(folder);
    } catch (const tvk::CFileException& e) {
        std::fprintf(stderr, "tlxexport shp: cannot create the folder %s: %s\n", folder.c_str(), e.SystemReason().c_str());
        return 1;
    }
    InstallOverwritePrompt(policy);
    writer->WriteCodePageFiles(!parser.Has("--no-codepage"));
    try {
        writer->Export(folder.c_str(), log);
        writer->FreeExportData();
    } catch (const tvk::CFileException& e) {
        std::fprintf(stderr, "tlxexport shp: File input/output error: %s: %s\n", e.m_strFileName.c_str(),
                     e.SystemReason().c_str());
        return 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "tlxexport shp: out of memory while writing into %s\n", folder.c_str());
        return 1;
    } catch (const tvk::CUserBreakSignal&) {
        if (!RefusedFile().empty())
            std::fprintf(stderr,
                         "tlxexport shp: %s exists and there is no terminal to ask; use --overwrite all or none. "
                         "The files of this run were removed.\n",
                         RefusedFile().c_str());
        else
            std::fprintf(stderr, "tlxexport shp: cancelled; the files of this run were removed\n");
        return 1;
    } catch (const tvk::CThreadStopSignal&) {
        std::fprintf(stderr, "tlxexport shp: stopped; the files of this run were removed\n");
        return 1;
    }
    return 0;
}

}  // namespace tlxcli
