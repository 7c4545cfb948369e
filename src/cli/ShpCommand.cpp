// `tlxexport shp IN.tlx OUTDIR [--overwrite ask|all|none] [--no-codepage] [--strict] [--log FILE]`:
// reads a survey and writes its shapefile sets into a folder.
#include <cstdio>
#include <string>

#include "cli/ExportSteps.h"
#include "cli/OverwritePrompt.h"
#include "cli/PathGuards.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"
#include "shp/SHPWriter.h"

namespace tlxcli {

namespace {

const char* const kUsage =
    "Usage: tlxexport shp IN.tlx OUTDIR [--overwrite ask|all|none] [--no-codepage] [--strict] [--log FILE]\n"
    "Reads the survey IN.tlx and writes one set of shapefiles (.SHP, .SHX, .DBF) per layer and\n"
    "shape type into OUTDIR, which is created when missing.\n"
    "  --overwrite ask|all|none  a set (.SHP, .SHX, .DBF, .CPG) with a file that exists: ask on the\n"
    "                            terminal once for the set (default), replace every set, or keep\n"
    "                            every such set (listed on standard error) and write the others\n"
    "  --no-codepage             no .CPG file declaring the tables' code page 1251\n"
    "  --strict                  fail (exit 1, no file changed) when the data would be changed to fit\n"
    "                            the format; the changes are listed on standard error either way\n"
    "  --log FILE                write the reading and export logs to FILE (UTF-8); '-' is standard error\n";

}  // namespace

int RunShp(const Args& args) {
    ArgParser parser({"--strict", "--no-codepage", "--help", "-h"}, {"--log", "--overwrite"});
    ExportArgs a;
    if (int status = ParseExportArgs("shp", kUsage, parser, args, a); status >= 0) return status;
    OverwritePolicy policy = OverwritePolicy::Ask;
    if (!ParseOverwritePolicy(parser.Value("--overwrite", "ask"), policy)) {
        std::fprintf(stderr, "tlxexport shp: --overwrite takes ask, all or none, not '%s'\n",
                     parser.Value("--overwrite").c_str());
        return 2;
    }
    if (!GuardFolderTarget("shp", a.input, a.target, a.logPath, {".SHP", ".SHX", ".DBF", ".CPG"})) return 2;

    CCommandWriter<tvk::CSHPWriter> writer("shp", a);
    if (int status = writer.Read(); status >= 0) return status;
    try {
        tvk::FileSystem().CreateDirectories(a.target);
    } catch (const tvk::CFileException& e) {
        std::fprintf(stderr, "tlxexport shp: cannot create the folder %s: %s\n", a.target.c_str(),
                     e.SystemReason().c_str());
        return 1;
    }
    writer->WriteCodePageFiles(!parser.Has("--no-codepage"));
    InstallOverwritePrompt(policy);
    return writer.Export();
}

}  // namespace tlxcli
