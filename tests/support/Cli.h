// Runs programs from tests: the tlxexport command line (TLX_CLI) or any shell
// command, with its exit status and what it wrote to stdout and stderr.
#pragma once
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/Files.h"

namespace tvk::test {

struct CliRun {
    int status = -1;  // exit status; -1 when the program did not exit normally
    std::string out, err;
};

// Runs `command` through the shell in `folder` with no input, in English.
inline CliRun RunShell(const std::string& command, const std::filesystem::path& folder) {
    TempDir streams;
    std::string line = "cd '" + folder.string() + "' && TLXEXPORT_LANG=en " + command + " >'" + (streams / "out") +
                       "' 2>'" + (streams / "err") + "' </dev/null";
    CliRun run;
    int raw = std::system(line.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadFile(streams / "out");
    run.err = ReadFile(streams / "err");
    return run;
}

// Runs "tlxexport `args`" in `folder`.
inline CliRun RunCli(const std::string& args, const std::filesystem::path& folder) {
    return RunShell("'" + std::string(TLX_CLI) + "' " + args, folder);
}

}  // namespace tvk::test
