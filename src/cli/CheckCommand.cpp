#include <cstdio>

#include "cli/Commands.h"

namespace tlxcli {

// Placeholder until the reader lands.
int RunCheck(const Args&) {
    std::fprintf(stderr, "tlxexport check: not available yet\n");
    return 2;
}

}  // namespace tlxcli
