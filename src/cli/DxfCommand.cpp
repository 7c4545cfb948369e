// `tlxexport dxf IN.tlx OUT.dxf [--no-attributes] [--no-codepage] [--strict] [--log FILE]`:
// reads a survey and writes it as one release 12 DXF file.
#include "cli/ExportSteps.h"
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
    return RunExport<tvk::CDXFWriter>({"dxf", kUsage, {"--no-attributes", "--no-codepage"}, {}}, args,
                                      [](tvk::CDXFWriter& writer, const ArgParser& parser) {
                                          writer.SetExportSemantic(!parser.Has("--no-attributes"));
                                          writer.SetDeclareCodePage(!parser.Has("--no-codepage"));
                                      });
}

}  // namespace tlxcli
