// `tlxexport shp` as a user runs it: the folder, the code page files, the
// overwrite policies, the log and the exit statuses.
#include <gtest/gtest.h>

#include <map>

#include "support/Cli.h"

using namespace tvk::test;
namespace fs = std::filesystem;

namespace {

const std::string kSample = std::string(TLX_SOURCE_DIR) + "/samples/building-site.tlx";

std::map<std::string, std::string> Contents(const fs::path& dir) {
    std::map<std::string, std::string> files;
    if (fs::exists(dir))
        for (const auto& e : fs::directory_iterator(dir)) files[e.path().filename().string()] = ReadFile(e.path());
    return files;
}

struct ShpCommand : ::testing::Test {
    TempDir dir;
    fs::path out = dir.Path() / "nested" / "out";
    CliRun Export(const std::string& options = "") {
        return RunCli("shp '" + kSample + "' '" + out.string() + "' " + options, dir.Path());
    }
};

TEST_F(ShpCommand, WritesEverySetIntoANewFolderWithCodePageFilesAndALog) {
    CliRun run = Export("--log run.log");
    ASSERT_EQ(run.status, 0) << run.err;
    auto files = Contents(out);
    size_t sets = 0;
    for (const auto& [name, bytes] : files) {
        if (!name.ends_with(".SHP")) continue;
        ++sets;
        const std::string base = name.substr(0, name.size() - 4);
        EXPECT_TRUE(files.count(base + ".SHX") && files.count(base + ".DBF")) << name;
        EXPECT_EQ(files[base + ".CPG"], "1251") << name;
    }
    EXPECT_GT(sets, 3u);
    EXPECT_EQ(files.size(), 4 * sets);
    EXPECT_TRUE(files.count("Здания(Полигоны).SHP"));  // the Cyrillic suffix, in UTF-8
    EXPECT_NE(ReadFile(dir / "run.log").find("Total errors: 0"), std::string::npos);

    fs::remove_all(out);
    ASSERT_EQ(Export("--no-codepage").status, 0);
    for (const auto& [name, bytes] : Contents(out)) EXPECT_FALSE(name.ends_with(".CPG")) << name;
}

TEST_F(ShpCommand, OverwriteNoneKeepsEveryExistingFileAndAllReplacesThem) {
    ASSERT_EQ(Export().status, 0);
    const fs::path changed = out / "Здания(Полигоны).DBF";
    WriteFile(changed, "mine");
    fs::remove(out / "Дороги(Ломаные).SHX");
    auto before = Contents(out);
    EXPECT_EQ(Export("--overwrite none").status, 0);
    auto after = Contents(out);
    EXPECT_EQ(after.erase("Дороги(Ломаные).SHX"), 1u);  // a missing file is still written
    EXPECT_TRUE(after == before);
    EXPECT_EQ(Export("--overwrite all").status, 0);
    EXPECT_NE(ReadFile(changed), "mine");
}

TEST_F(ShpCommand, AskWithoutATerminalRefusesNamesTheFileAndRemovesTheRunsFiles) {
    ASSERT_EQ(Export().status, 0);
    // Keep only the control-point set, which the run reaches last.
    for (const auto& [name, bytes] : Contents(out))
        if (!name.starts_with("Точки_обоснования(Точки)")) fs::remove(out / name);
    const fs::path existing = out / "Точки_обоснования(Точки).SHP";
    WriteFile(existing, "mine");
    auto before = Contents(out);
    CliRun run = Export();
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(existing.string()), std::string::npos) << run.err;
    EXPECT_TRUE(Contents(out) == before);
}

TEST_F(ShpCommand, WrongUsageAndUnreadableInputExitWith2) {
    for (const std::string& args : {"shp '" + kSample + "'", "shp '" + kSample + "' out --overwrite sometimes",
                                    std::string("shp missing.tlx out")}) {
        CliRun run = RunCli(args, dir.Path());
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_FALSE(run.err.empty()) << args;
    }
    EXPECT_FALSE(fs::exists(dir / "out"));
    EXPECT_NE(RunCli("shp --help", dir.Path()).out.find("--no-codepage"), std::string::npos);
}

}  // namespace
