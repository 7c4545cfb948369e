// Refusals, before anything is opened, of command lines that would write over
// what the run reads or logs to: an output or the log that is the input
// survey (the same file, also through a link or another path), a log that is
// an output, a file target that names a folder. Each check prints what is
// wrong, naming both paths, and returns false; the command then exits 2.
#pragma once
#include <string>
#include <vector>

namespace tlxcli {

// The log (if any; "-" is standard error) against the input.
bool GuardLog(const char* command, const std::string& input, const std::string& logPath);

// A command that writes the one file `target`, with the log and any other
// file it reads (`alsoRead`, e.g. a template).
bool GuardFileTarget(const char* command, const std::string& input, const std::string& target,
                     const std::string& logPath, const std::vector<std::string>& alsoRead = {});

// A command that writes files with the given extensions (".MIF", ...; any
// letter case) into `folder`.
bool GuardFolderTarget(const char* command, const std::string& input, const std::string& folder,
                       const std::string& logPath, const std::vector<std::string>& extensions);

}  // namespace tlxcli
