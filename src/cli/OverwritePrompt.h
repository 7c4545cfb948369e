// The command line's answer to "the output file already exists", shared by the
// commands that write into a folder (mif, shp): --overwrite ask|all|none.
#pragma once
#include <cstdio>
#include <string>

#include "export/OverwriteDecision.h"

namespace tlxcli {

enum class OverwritePolicy { Ask, All, None };

// Contract: reads "ask", "all" or "none"; false for anything else.
bool ParseOverwritePolicy(const std::string& text, OverwritePolicy& policy);

// Contract: installs the process-wide overwrite question for one run. All
// answers Yes to all, None No to all: every set with an existing file is
// kept, the sets with none are still written. Ask prompts on the terminal
// when standard input and standard error are terminals; without one it
// refuses: it remembers the file (RefusedFile) and answers Cancel, so the
// export stops as a user break without changing anything.
void InstallOverwritePrompt(OverwritePolicy policy);

// Contract: the new file that Ask refused for want of a terminal in this
// run, or "" when none was.
const std::string& RefusedFile();

// Contract: shows the question (both file texts and the five answers) on
// `out`, reads answers from `in` until one is understood and returns it
// (1 Yes, 2 No, 3 Yes to all, 4 No to all, 5 Cancel). The end of the input
// counts as Cancel. Understood: y, n, A (yes to all), N (no to all), c, and
// the answers' words in any case.
int AskOnTerminal(const tvk::ExistingFileStatus& existing, const std::string& newPath, FILE* in, FILE* out);

}  // namespace tlxcli
