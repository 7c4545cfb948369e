// The program's overview names every option of each command, as the
// command's own usage does (the man page and the completion are made from them).
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "support/Cli.h"

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

}  // namespace
