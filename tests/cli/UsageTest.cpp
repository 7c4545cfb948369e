// The program's overview names every option of each command, as the
// command's own usage does (the man page and the completion are made from
// them); wrong usage and unusable inputs exit with 2 (1 for a file that
// cannot be written), say why and leave no output.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "support/Cli.h"
#include "support/TlxText.h"
#include "universal/UETemplateFile.h"

namespace {

using namespace tvk::test;

std::set<std::string> OptionsIn(const std::string& text) {
    std::set<std::string> options;
    const std::regex option(R"(\[(--[a-z-]+))");
    for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it) options.insert((*it)[1]);
    return options;
}

TEST(Usage, TheOverviewNamesEveryOptionOfEachCommand) {
    const auto folder = std::filesystem::temp_directory_path();
    const CliRun overview = RunCli("--help", folder);
    ASSERT_EQ(overview.status, 0);
    for (const std::string command : {"check", "dxf", "mif", "shp", "text"}) {
        SCOPED_TRACE(command);
        const CliRun help = RunCli(command + " --help", folder);
        ASSERT_EQ(help.status, 0);
        const std::string own = help.out.substr(0, help.out.find('\n'));
        const size_t at = overview.out.find("tlxexport " + command + " ");
        ASSERT_NE(at, std::string::npos);
        const std::string line = overview.out.substr(at, overview.out.find('\n', at) - at);
        EXPECT_EQ(OptionsIn(line), OptionsIn(own)) << line << "\n" << own;
    }
}

TEST(Usage, WrongUsageAndUnusableInputsFailNamingTheCauseAndWriteNothing) {
    TempDir dir;
    WriteFile(dir / "in.tlx", Section("POINTS", PointLine(1, "T1", "6000000.5", "400000.25", "101.5")));
    tvk::CUETemplate bad = tvk::CUETemplate::Internal();
    bad.Fields[0].Precision = 25;
    WriteFile(dir / "bad.ue", tvk::StoreTemplate(bad));
    WriteFile(dir / "short.ue", tvk::StoreTemplate(bad).substr(0, 30));
    WriteFile(dir / "file", "x");
    const struct {
        const char* args;
        int status;
        const char* says;  // in standard error
    } cases[] = {
        {"check missing.tlx", 2, "tlxexport check: cannot open missing.tlx: No such file or directory\n"},
        {"check .", 2, "cannot open .: Is a directory"},
        {"check in.tlx --log no-such-dir/x.log", 1, "cannot write the log"},
        {"check", 2, ""},
        {"check a.tlx b.tlx", 2, ""},
        {"check a.tlx --bogus", 2, "unknown option --bogus"},
        {"dxf in.tlx no-such-folder/out.dxf", 1, "File input/output error"},
        {"mif in.tlx out --overwrite maybe", 2, "--overwrite takes ask, all or none"},
        {"mif missing.tlx out", 2, "missing.tlx"},
        {"mif in.tlx file/sub", 1, "file/sub"},  // a file is in the way of the folder
        {"shp in.tlx", 2, ""},
        {"shp in.tlx out --overwrite sometimes", 2, ""},
        {"shp missing.tlx out", 2, "missing.tlx"},
        {"text missing.tlx out.txt", 2, "missing.tlx"},
        {"text in.tlx out.txt --template bad.ue", 2, "bad.ue is not a valid export template"},
        {"text in.tlx out.txt --template none.ue", 2, "none.ue"},
        {"text in.tlx no-such-folder/out.txt", 1, "no-such-folder/out.txt"},
        {"text in.tlx", 2, ""},
        {"template show short.ue", 1, "ends too early"},
        {"template show", 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        CliRun run = RunCli(c.args, dir.Path());
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_FALSE(run.err.empty());
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(dir / "out"));
        EXPECT_FALSE(std::filesystem::exists(dir / "out.txt"));
    }
}

}  // namespace
