// tlxexport check: exit statuses, messages and the log targets.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string out, err;
};

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class CheckCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("tlx-check-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    CliRun Check(const std::string& args) {
        fs::path out = dir_ / "stdout", err = dir_ / "stderr";
        std::string command = "TLXEXPORT_LANG=en '" + std::string(TLX_CLI) + "' check " + args + " >'" +
                              out.string() + "' 2>'" + err.string() + "' </dev/null";
        CliRun run;
        int raw = std::system(command.c_str());
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = Slurp(out);
        run.err = Slurp(err);
        return run;
    }
    fs::path Write(const std::string& name, const std::string& bytes) {
        fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }

    fs::path dir_;
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
    fs::path bad = Write("bad.tlx", "\xC4\xEE\xEC\nBEGIN POINTS\n      -1\n");
    CliRun r = Check("'" + bad.string() + "'");
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "E0004 Unexpected body of section [Дом]\n"
                     "E0005 Invalid index [      -1]\n"
                     "E0002 Unexpected end of file\n"
                     "Total errors: 3\n");
}

TEST_F(CheckCommandTest, UnreadableInputExitsTwoNamingTheCause) {
    CliRun missing = Check("'" + (dir_ / "missing.tlx").string() + "'");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "tlxexport check: cannot open " + (dir_ / "missing.tlx").string() +
                               ": No such file or directory\n");
    CliRun folder = Check("'" + dir_.string() + "'");
    EXPECT_EQ(folder.status, 2);
    EXPECT_NE(folder.err.find("cannot open " + dir_.string() + ": Is a directory"), std::string::npos);
}

TEST_F(CheckCommandTest, UsageAndHelp) {
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
    fs::path log = Write("read.log", "old contents\n");
    fs::path input = Write("site.tlx", "BEGIN LAYERS\n       1        0 \xC4\xEE\xEC\xE0\nEND LAYERS\nstray\n");
    CliRun r = Check("'" + input.string() + "' --log '" + log.string() + "'");
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "");
    std::string text = Slurp(log);
    EXPECT_EQ(text.find("old contents"), std::string::npos);
    EXPECT_EQ(text.rfind("\n\nBEGIN OF TLX FILE READING\n\n", 0), 0u);
    EXPECT_NE(text.find("Begin of reading file: " + input.string() + "\n"), std::string::npos);
    EXPECT_NE(text.find("E0004 Unexpected body of section [stray]\n"), std::string::npos);
    EXPECT_NE(text.find("Total errors: 1\n"), std::string::npos);
    EXPECT_NE(text.find("\nEND OF TLX FILE READING\n\n"), std::string::npos);
}

TEST_F(CheckCommandTest, NonAsciiInputPathStaysIntactInTheLog) {
    fs::path input = Write("съёмка.tlx", "BEGIN LAYERS\nEND LAYERS\n");
    CliRun r = Check("'" + input.string() + "' --log -");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("Begin of reading file: " + input.string() + "\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("TIME: "), std::string::npos);
}

TEST_F(CheckCommandTest, UnwritableLogFails) {
    CliRun r = Check("'" + example_ + "' --log '" + (dir_ / "no-such-dir" / "x.log").string() + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot write the log"), std::string::npos) << r.err;
}

}  // namespace
