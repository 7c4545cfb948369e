// `tlxexport dialog dxf|mif|shp|text [IN.tlx]`: loads the dialogs library as a
// host would and opens one dialog through its exported function.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli/ArgParser.h"
#include "cli/Commands.h"

namespace tlxcli {

namespace {

const char* const kUsage =
    "Usage: tlxexport dialog dxf|mif|shp|text [IN.tlx]\n"
    "Opens an export dialog through the entry point of the dialogs library: the " TLX_DIALOGS_LIBRARY
    "\n"
    "installed with this program (else the one on the system's library path), or the one that\n"
    "TLXEXPORT_DIALOGS_LIBRARY names.\n";

// The library beside this program where an installation puts it, else where
// the build tree has it, else the one the system's library path finds. The
// program's own run path would not serve: a sanitizer's dlopen ignores it.
std::string LibraryPath() {
    if (const char* forced = std::getenv("TLXEXPORT_DIALOGS_LIBRARY"); forced && *forced) return forced;
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    for (const char* beside : {TLX_DIALOGS_INSTALLED, TLX_DIALOGS_BUILT}) {
        if (error) break;
        std::filesystem::path library = (program.parent_path() / beside).lexically_normal();
        if (std::filesystem::exists(library, error)) return library.string();
    }
    return TLX_DIALOGS_LIBRARY;
}

}  // namespace

int RunDialog(const Args& args) {
    ArgParser parser({}, {});
    if (!parser.Parse(args)) {
        std::fprintf(stderr, "tlxexport dialog: %s\n%s", parser.Error().c_str(), kUsage);
        return 2;
    }
    if (parser.WantsHelp()) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const auto& words = parser.Positional();
    if (words.empty() || words.size() > 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const char* entry = words[0] == "dxf"    ? "ShowACEDialog"
                        : words[0] == "mif"  ? "ShowMIEDialog"
                        : words[0] == "shp"  ? "ShowSHEDialog"
                        : words[0] == "text" ? "ShowUEDialog"
                                             : nullptr;
    if (!entry) {
        std::fprintf(stderr, "tlxexport dialog: unknown dialog '%s'\n%s", words[0].c_str(), kUsage);
        return 2;
    }
    std::string library = LibraryPath();
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "tlxexport dialog: cannot load %s: %s\n", library.c_str(), dlerror());
        return 2;
    }
    auto show = reinterpret_cast<void (*)(char*)>(dlsym(handle, entry));
    if (!show) {
        std::fprintf(stderr, "tlxexport dialog: %s has no entry point %s\n", library.c_str(), entry);
        return 2;
    }
    std::string path = words.size() > 1 ? words[1] : std::string();
    show(words.size() > 1 ? path.data() : nullptr);
    // The library stays loaded: Qt's application object lives until exit.
    return 0;
}

}  // namespace tlxcli
