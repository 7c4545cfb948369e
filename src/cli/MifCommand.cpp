// `tlxexport mif IN.tlx OUTDIR [--overwrite ask|all|none] [--strict] [--log FILE]`: reads a
// survey and writes one MapInfo MIF/MID pair per layer into a folder.
#include "cli/ExportSteps.h"
#include "mif/MIFWriter.h"

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
    return RunExport<tvk::CMIFWriter>({"mif", kUsage, {}, {".MIF", ".MID"}}, args,
                                      [](tvk::CMIFWriter&, const ArgParser&) {});
}

}  // namespace tlxcli
