// Helpers of the tools tests: running programs and a reader that keeps its log.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/Cli.h"
#include "support/Files.h"

#if __has_include("reader/TLXReader.h")
#include "reader/TLXReader.h"
#define TLX_HAVE_READER 1
#endif

namespace tlxtest {

namespace fs = std::filesystem;
using tvk::test::ReadFile;
using tvk::test::TempDir;

inline std::string Quote(const std::string& s) { return "'" + s + "'"; }

// Runs a shell command; returns its exit status and appends its output to `out`.
inline int RunCommand(const std::string& command, std::string* out = nullptr) {
    tvk::test::CliRun run = tvk::test::RunShell(command, fs::temp_directory_path());
    if (out) *out += run.out + run.err;
    return run.status;
}

#ifdef TLX_HAVE_READER
// A reader that keeps its log texts.
class LoggingReader : public tvk::CTLXReader {
public:
    void WriteToLog(const char* text) override { log += text; }
    std::string log;
};
#endif

}  // namespace tlxtest
