// tlxexport check: a clean file, and the log targets (reading reports:
// ReadingReportsTest; wrong usage: UsageTest).
#include <gtest/gtest.h>

#include <string>

#include "support/Cli.h"

namespace {

using namespace tvk::test;

class CheckCommandTest : public ::testing::Test {
protected:
    CliRun Check(const std::string& args) { return RunCli("check " + args, dir_.Path()); }
    std::string Write(const std::string& name, const std::string& bytes) {
        return WriteFile(dir_.Path() / name, bytes);
    }

    TempDir dir_;
    const std::string example_ = std::string(TLX_TEST_DATA) + "/reader/example.tlx";
};

TEST_F(CheckCommandTest, CleanFileExitsZero) {
    CliRun r = Check("'" + example_ + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("3 points, 1 layers, 1 feature codes, 1 features, 0 errors"), std::string::npos) << r.out;
    EXPECT_EQ(r.err, "Total errors: 0\n");  // no progress bar without a terminal
}

TEST_F(CheckCommandTest, LogFileIsClearedAndGetsTheWholeLog) {
    std::string log = Write("read.log", "old contents\n");
    std::string input = Write("site.tlx", "BEGIN LAYERS\n       1        0 \xC4\xEE\xEC\xE0\nEND LAYERS\nstray\n");
    CliRun r = Check("'" + input + "' --log '" + log + "'");
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "");
    std::string text = ReadFile(log);
    EXPECT_EQ(text.find("old contents"), std::string::npos);
    EXPECT_NE(text.find("Begin of reading file: " + input + "\n"), std::string::npos);
    EXPECT_NE(text.find("E0004 Unexpected body of section [stray]\n"), std::string::npos);
    EXPECT_NE(text.find("Total errors: 1\n"), std::string::npos);

    // "--log -" sends it to stderr; a non-ASCII path stays intact.
    std::string named = Write("съёмка.tlx", "BEGIN LAYERS\nEND LAYERS\n");
    r = Check("'" + named + "' --log -");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("Begin of reading file: " + named + "\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("TIME: "), std::string::npos);
}

}  // namespace
