// tlxexport: batch export of .tlx survey files without any window, and a small
// host that opens each export dialog through its entry point.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <string>

#include "cli/Commands.h"

namespace {

const tlxcli::Command kCommands[] = {
    {"check", "tlxexport check IN.tlx [--log FILE]                  read and validate only", tlxcli::RunCheck},
    {"dxf", "tlxexport dxf   IN.tlx OUT.dxf [--no-attributes] [--no-codepage] [--strict] [--log FILE]", tlxcli::RunDxf},
    {"mif", "tlxexport mif   IN.tlx OUTDIR  [--overwrite ask|all|none] [--strict] [--log FILE]", tlxcli::RunMif},
    {"shp", "tlxexport shp   IN.tlx OUTDIR  [--overwrite ask|all|none] [--no-codepage] [--strict] [--log FILE]",
     tlxcli::RunShp},
    {"text", "tlxexport text  IN.tlx OUT.txt [--template FILE.ue] [--strict] [--log FILE]", tlxcli::RunText},
    {"template", "tlxexport template show FILE.ue                      print a template's fields and settings",
     tlxcli::RunTemplate},
    {"dialog", "tlxexport dialog dxf|mif|shp|text [IN.tlx]           open a dialog through its entry point",
     tlxcli::RunDialog},
};

// The man page is made from this text and the commands' own, so every
// command and option shows up there as it does here.
void PrintUsage(FILE* out) {
    std::fprintf(out, "Usage:\n");
    for (const auto& c : kCommands) std::fprintf(out, "  %s\n", c.synopsis);
    std::fprintf(out,
                 "  tlxexport --version                                  print the version (also -V)\n"
                 "Run 'tlxexport COMMAND --help' for the options of one command.\n"
                 "\n"
                 "Exit status: 0 success (reading errors are reported but do not fail an export), 1 the export\n"
                 "or reading failed, 2 wrong usage or an unreadable input path; check exits 3 when the file has\n"
                 "reading errors or warnings; 130, 143, 129 an export stopped by SIGINT, SIGTERM, SIGHUP (no file\n"
                 "changed).\n");
}

// Runs a command with one last handler for whatever it did not report, and
// makes a failed write to standard output (a full disk, a closed pipe) fail
// the command.
int RunCommand(const tlxcli::Command& command, const tlxcli::Args& args) {
    int status;
    try {
        status = command.run(args);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "tlxexport %s: out of memory\n", command.name);
        status = 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tlxexport %s: unexpected failure: %s\n", command.name, e.what());
        status = 1;
    } catch (...) {
        std::fprintf(stderr, "tlxexport %s: unexpected failure\n", command.name);
        status = 1;
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "tlxexport %s: cannot write to standard output: %s\n", command.name, std::strerror(errno));
        if (status == 0) status = 1;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    if (name == "--version" || name == "-V") {
        std::printf("tlxexport %s\n", TLX_VERSION);
        return 0;
    }
    for (const auto& c : kCommands) {
        if (name == c.name) {
            tlxcli::Args args(argv + 2, argv + argc);
            return RunCommand(c, args);
        }
    }
    std::fprintf(stderr, "tlxexport: unknown command '%s'\n", name.c_str());
    PrintUsage(stderr);
    return 2;
}
