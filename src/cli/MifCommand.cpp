// `tlxexport mif IN.tlx OUTDIR [--overwrite ask|all|none] [--strict] [--log FILE]`: reads a
// survey and writes one MapInfo MIF/MID pair per layer into a folder.
#include <cstdio>
#include <string>

#include "cli/ExportSteps.h"
#include "cli/OverwritePrompt.h"
#include "cli/PathGuards.h"
#include "mif/MIFWriter.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"

namespace tlxcli {

namespace {

const char* const kUsage =
    "Usage: tlxexport mif IN.tlx OUTDIR [--overwrite ask|all|none] [--strict] [--log FILE]\n"
    "Reads the survey IN.tlx and writes one MapInfo interchange pair (.MIF, .MID) per layer into\n"
    "OUTDIR, which is created when missing.\n"
    "  --overwrite ask|all|none  a layer whose .MIF or .MID exists: ask on the terminal once for\n"
    "                            the pair (default), replace every pair, or keep every such pair\n"
    "                            (listed on standard error) and write the others\n"
    "  --strict                  fail (exit 1, no file changed) when the data would be changed to fit\n"
    "                            the format; the changes are listed on standard error either way\n"
    "  --log FILE                write the reading and export logs to FILE (UTF-8); '-' is standard error\n";

}  // namespace

int RunMif(const Args& args) {
    ArgParser parser({"--strict", "--help", "-h"}, {"--log", "--overwrite"});
    ExportArgs a;
    if (int status = ParseExportArgs("mif", kUsage, parser, args, a); status >= 0) return status;
    OverwritePolicy policy = OverwritePolicy::Ask;
    if (!ParseOverwritePolicy(parser.Value("--overwrite", "ask"), policy)) {
        std::fprintf(stderr, "tlxexport mif: --overwrite takes ask, all or none, not '%s'\n",
                     parser.Value("--overwrite").c_str());
        return 2;
    }
    if (!GuardFolderTarget("mif", a.input, a.target, a.logPath, {".MIF", ".MID"})) return 2;

    CCommandWriter<tvk::CMIFWriter> writer("mif", a);
    if (int status = writer.Read(); status >= 0) return status;
    try {
        tvk::FileSystem().CreateDirectories(a.target);
    } catch (const tvk::CFileException& e) {
        std::fprintf(stderr, "tlxexport mif: cannot create the folder %s: %s\n", a.target.c_str(),
                     e.SystemReason().c_str());
        return 1;
    }
    InstallOverwritePrompt(policy);
    return writer.Export();
}

}  // namespace tlxcli
