// The decision every writer makes before it replaces an existing output file,
// and the question behind it. The question is a process-wide hook: the dialogs
// install one that shows the confirmation dialog, the command line one that
// follows --overwrite; tests install their own.
#pragma once
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace tvk {

// Values of CWriter's OverwriteMode: the answer in force for the current run.
enum OverwriteModeValue : int {
    kOverwriteAsk = 0,   // ask for every set with an existing file
    kOverwriteAll = 1,   // write every set
    kOverwriteNone = 2,  // keep every set that has an existing file
};

// Answers of the question (the buttons of the confirmation dialog).
enum OverwriteAnswer : int {
    kAnswerYes = 1,
    kAnswerNo = 2,
    kAnswerYesToAll = 3,
    kAnswerNoToAll = 4,
    kAnswerCancel = 5,
};

// The status of the file that is already there.
struct ExistingFileStatus {
    std::string fullPath;
    int64_t size = 0;          // bytes
    std::time_t modified = 0;  // last modification
};

// Answers 1..5 for `existing`, which the file at `newPath` would replace.
using OverwriteQuestion = std::function<int(const ExistingFileStatus& existing, const std::string& newPath)>;

// Installs the process-wide question; an empty function restores the default,
// which answers No (an existing file is never replaced unasked).
void SetOverwriteQuestion(OverwriteQuestion question);

// Contract: decides for a set of files that belong together (a MIF/MID
// pair, a shapefile set) whether the writer writes all of them (true) or
// keeps every one as it is (false: their output goes to the null device), so
// that no set is ever half old and half new. A set none of whose files exists
// is written whatever the mode. Otherwise mode 1 writes it, mode 2 keeps it,
// and mode 0 asks once, about the first existing file: Yes writes, No keeps,
// Yes to all and No to all also set the mode to 1 and 2. Cancel, and an
// answer outside 1..5, throw CUserBreakSignal.
bool DecideOverwrite(int& overwriteMode, const std::vector<std::string>& paths);

// The existing file as the question shows it, in UTF-8 (the texts go to the
// terminal and to Qt, never into a file): the full path, then on a second
// line the size, the word for bytes and the modification time ("%x %X" in
// the user's time locale).
std::string ExistingFileText(const ExistingFileStatus& existing);

// The new file as the question shows it, in UTF-8: the file name without its
// folder, then on a second line the current time ("%x %X").
std::string NewFileText(const std::string& newPath);

}  // namespace tvk
