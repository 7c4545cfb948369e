// `tlxexport dxf IN.tlx OUT.dxf [--no-attributes] [--no-codepage] [--strict] [--log FILE]`:
// reads a survey and writes it as one release 12 DXF file.
#include <cstdio>
#include <string>

#include "cli/ExportSteps.h"
#include "cli/PathGuards.h"
#include "dxf/DXFWriter.h"

namespace tlxcli {

namespace {

const char* const kUsage =
    "Usage: tlxexport dxf IN.tlx OUT.dxf [--no-attributes] [--no-codepage] [--strict] [--log FILE]\n"
    "Reads the survey IN.tlx and writes it as the AutoCAD release 12 drawing OUT.dxf.\n"
    "  --no-attributes  no attribute blocks: geometry and point labels only\n"
    "  --no-codepage    leave out the code page declaration ($DWGCODEPAGE ANSI_1251)\n"
    "  --strict         fail (exit 1, no file changed) when the data would be changed to fit\n"
    "                   the format; the changes are listed on standard error either way\n"
    "  --log FILE       write the reading and export logs to FILE (UTF-8); '-' is standard error\n";

}  // namespace

int RunDxf(const Args& args) {
    ArgParser parser({"--strict", "--no-attributes", "--no-codepage", "--help", "-h"}, {"--log"});
    ExportArgs a;
    if (int status = ParseExportArgs("dxf", kUsage, parser, args, a); status >= 0) return status;
    if (!GuardFileTarget("dxf", a.input, a.target, a.logPath)) return 2;

    CCommandWriter<tvk::CDXFWriter> writer("dxf", a);
    if (int status = writer.Read(); status >= 0) return status;
    writer->SetExportSemantic(!parser.Has("--no-attributes"));
    writer->SetDeclareCodePage(!parser.Has("--no-codepage"));
    return writer.Export();
}

}  // namespace tlxcli
