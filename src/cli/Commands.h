// The commands of the tlxexport program. Each takes the words after its name
// and returns the exit status: 0 success, 1 the export or reading failed,
// 2 wrong usage or an unreadable input path (check: 3 for reading errors).
#pragma once
#include <string>
#include <vector>

namespace tlxcli {

using Args = std::vector<std::string>;

struct Command {
    const char* name;
    const char* synopsis;  // one usage line, shown by `tlxexport --help`
    int (*run)(const Args& args);
};

int RunCheck(const Args& args);
int RunDialog(const Args& args);
int RunDxf(const Args& args);
int RunMif(const Args& args);
int RunShp(const Args& args);
int RunText(const Args& args);
int RunTemplate(const Args& args);

}  // namespace tlxcli
