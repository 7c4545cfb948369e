// `tlxexport shp IN.tlx OUTDIR [--overwrite ask|all|none] [--no-codepage] [--strict] [--log FILE]`:
// reads a survey and writes its shapefile sets into a folder.
#include "cli/ExportSteps.h"
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
    return RunExport<tvk::CSHPWriter>({"shp", kUsage, {"--no-codepage"}, {".SHP", ".SHX", ".DBF", ".CPG"}}, args,
                                      [](tvk::CSHPWriter& writer, const ArgParser& parser) {
                                          writer.WriteCodePageFiles(!parser.Has("--no-codepage"));
                                      });
}

}  // namespace tlxcli
