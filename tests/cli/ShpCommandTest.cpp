// `tlxexport shp` as a user runs it: the folder, the code page files, the
// overwrite policies, the log and the exit statuses.
#include <gtest/gtest.h>

#include <map>

#include "support/Cli.h"

using namespace tvk::test;
namespace fs = std::filesystem;

namespace {

const std::string kSample = std::string(TLX_SOURCE_DIR) + "/samples/building-site.tlx";
const std::string kDamaged = std::string(TLX_SOURCE_DIR) + "/samples/damaged-survey.tlx";

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

TEST_F(ShpCommand, OverwriteNoneKeepsAndListsEverySetWithAFileAndNoSetIsEverMixed) {
    // An earlier export of another survey with some of the same layers; the
    // set of buildings' polygons keeps only its table, the roads' lines go.
    CliRun earlier = RunCli("shp '" + kDamaged + "' '" + out.string() + "'", dir.Path());
    ASSERT_EQ(earlier.status, 0) << earlier.err;
    const std::string partial = "Здания(Полигоны)";
    for (const char* ext : {".SHP", ".SHX", ".CPG"}) ASSERT_TRUE(fs::remove(out / (partial + ext))) << ext;
    for (const char* ext : {".SHP", ".SHX", ".DBF", ".CPG"}) fs::remove(out / (std::string("Дороги(Ломаные)") + ext));
    auto before = Contents(out);

    CliRun run = Export("--overwrite none --log run.log");
    ASSERT_EQ(run.status, 0) << run.err;
    auto after = Contents(out);
    for (const auto& [name, bytes] : before) EXPECT_EQ(after[name], bytes) << name;  // every earlier file kept
    EXPECT_TRUE(after.count("Дороги(Ломаные).SHP"));                                 // a set with no file: written
    for (const char* ext : {".SHP", ".SHX", ".CPG"}) EXPECT_FALSE(after.count(partial + ext)) << ext;
    const std::string kept = "kept, exists: " + (out / (partial + ".SHP")).string() + ", " + partial + ".SHX, " +
                             partial + ".DBF, " + partial + ".CPG\n";
    EXPECT_NE(run.err.find("tlxexport shp: " + kept), std::string::npos) << run.err;
    EXPECT_NE(ReadFile(dir / "run.log").find(kept), std::string::npos);
    fs::remove(out / (partial + ".DBF"));  // the user's half set, which no reader takes
    CliRun whole = RunShell(
        "/usr/bin/python3 '" + std::string(TLX_SOURCE_DIR) + "/tests/cli/whole_sets.py' '" + out.string() + "'",
        dir.Path());
    EXPECT_EQ(whole.status, 0) << whole.out << whole.err;

    // All: every file equals that of an export into an empty folder.
    ASSERT_EQ(Export("--overwrite all").status, 0);
    const fs::path fresh = dir.Path() / "fresh";
    ASSERT_EQ(RunCli("shp '" + kSample + "' '" + fresh.string() + "'", dir.Path()).status, 0);
    after = Contents(out);
    for (const auto& [name, bytes] : Contents(fresh)) EXPECT_EQ(after[name], bytes) << name;
    whole = RunShell(
        "/usr/bin/python3 '" + std::string(TLX_SOURCE_DIR) + "/tests/cli/whole_sets.py' '" + out.string() + "'",
        dir.Path());
    EXPECT_EQ(whole.status, 0) << whole.out << whole.err;
}

TEST_F(ShpCommand, AskWithoutATerminalRefusesNamesTheFileAndChangesNothing) {
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
