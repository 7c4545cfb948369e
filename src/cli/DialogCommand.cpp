// `tlxexport dialog dxf|mif|shp|text [IN.tlx]`: loads the dialogs library as a
// host would and opens one dialog through its exported function.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/ArgParser.h"
#include "cli/Commands.h"

namespace tlxcli {

namespace {

const char* const kUsage =
    "Usage: tlxexport dialog dxf|mif|shp|text [IN.tlx]\n"
    "Opens an export dialog through the entry point of the dialogs library.\n"
    "TLXEXPORT_DIALOGS_LIBRARY names the library when it is not the one built beside this program.\n";

std::string LibraryPath() {
    if (const char* forced = std::getenv("TLXEXPORT_DIALOGS_LIBRARY"); forced && *forced) return forced;
#ifdef TLX_DIALOGS_LIBRARY
    return TLX_DIALOGS_LIBRARY;
#else
    return "libtlxdialogs.so";
#endif
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
