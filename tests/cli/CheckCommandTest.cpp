// tlxexport check: exit statuses, messages and the log targets.
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

TEST_F(CheckCommandTest, ReadingErrorsExitThreeWithReportsInUtf8) {
    // "Дом" in code page 1251 on a line outside any section.
    std::string bad = Write("bad.tlx", "\xC4\xEE\xEC\nBEGIN POINTS\n      -1\n");
    CliRun r = Check("'" + bad + "'");
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, bad + ":1: E0004 Unexpected body of section [Дом]\n" +  //
                         bad + ":3: E0005 Invalid index [      -1]\n" +      //
                         bad +
                         ":3: E0002 Unexpected end of file\n"
                         "Total errors: 3\n");
}

TEST_F(CheckCommandTest, BadArgumentsAndUnusableFilesFailNamingTheCause) {
    CliRun missing = Check("missing.tlx");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "tlxexport check: cannot open missing.tlx: No such file or directory\n");
    CliRun folder = Check("'" + dir_.Path().string() + "'");
    EXPECT_EQ(folder.status, 2);
    EXPECT_NE(folder.err.find("cannot open " + dir_.Path().string() + ": Is a directory"), std::string::npos);

    CliRun unwritable = Check("'" + example_ + "' --log no-such-dir/x.log");
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("cannot write the log"), std::string::npos) << unwritable.err;

    CliRun help = Check("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: tlxexport check IN.tlx [--log FILE]"), std::string::npos);
    EXPECT_EQ(Check("").status, 2);
    EXPECT_EQ(Check("a.tlx b.tlx").status, 2);
    CliRun unknown = Check("a.tlx --bogus");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("unknown option --bogus"), std::string::npos);
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
