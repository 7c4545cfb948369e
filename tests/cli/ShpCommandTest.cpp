// `tlxexport shp` as a user runs it: the folder, the code page files, the
// overwrite policies and the log (its usage errors: UsageTest; asking without
// a terminal: MifCommandTest).
#include <gtest/gtest.h>

#include "cli/CliProcess.h"
#include "support/Cli.h"

using namespace tvk::test;
namespace fs = std::filesystem;

namespace {

const std::string kSample = std::string(TLX_SOURCE_DIR) + "/samples/building-site.tlx";
const std::string kDamaged = std::string(TLX_SOURCE_DIR) + "/samples/damaged-survey.tlx";

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
    auto files = FolderFiles(out);
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
    for (const auto& [name, bytes] : FolderFiles(out)) EXPECT_FALSE(name.ends_with(".CPG")) << name;
}

TEST_F(ShpCommand, OverwriteNoneKeepsAndListsEverySetWithAFileAndNoSetIsEverMixed) {
    // An earlier export of another survey with some of the same layers; the
    // set of buildings' polygons keeps only its table, the roads' lines go.
    CliRun earlier = RunCli("shp '" + kDamaged + "' '" + out.string() + "'", dir.Path());
    ASSERT_EQ(earlier.status, 0) << earlier.err;
    const std::string partial = "Здания(Полигоны)";
    for (const char* ext : {".SHP", ".SHX", ".CPG"}) ASSERT_TRUE(fs::remove(out / (partial + ext))) << ext;
    for (const char* ext : {".SHP", ".SHX", ".DBF", ".CPG"}) fs::remove(out / (std::string("Дороги(Ломаные)") + ext));
    auto before = FolderFiles(out);

    CliRun run = Export("--overwrite none --log run.log");
    ASSERT_EQ(run.status, 0) << run.err;
    auto after = FolderFiles(out);
    for (const auto& [name, bytes] : before) EXPECT_EQ(after[name], bytes) << name;  // every earlier file kept
    EXPECT_TRUE(after.count("Дороги(Ломаные).SHP"));                                 // a set with no file: written
    for (const char* ext : {".SHP", ".SHX", ".CPG"}) EXPECT_FALSE(after.count(partial + ext)) << ext;
    const std::string kept = "kept, exists: " + (out / (partial + ".SHP")).string() + ", " + partial + ".SHX, " +
                             partial + ".DBF, " + partial + ".CPG\n";
    EXPECT_NE(run.err.find("tlxexport shp: " + kept), std::string::npos) << run.err;
    EXPECT_NE(ReadFile(dir / "run.log").find(kept), std::string::npos);
    fs::remove(out / (partial + ".DBF"));  // the user's half set, which no reader takes
    auto expectWholeSets = [&] {
        CliRun whole = RunShell(
            "/usr/bin/python3 '" + std::string(TLX_SOURCE_DIR) + "/tests/cli/whole_sets.py' '" + out.string() + "'",
            dir.Path());
        EXPECT_EQ(whole.status, 0) << whole.out << whole.err;
    };
    expectWholeSets();

    // All: every file equals that of an export into an empty folder.
    ASSERT_EQ(Export("--overwrite all").status, 0);
    const fs::path fresh = dir.Path() / "fresh";
    ASSERT_EQ(RunCli("shp '" + kSample + "' '" + fresh.string() + "'", dir.Path()).status, 0);
    after = FolderFiles(out);
    for (const auto& [name, bytes] : FolderFiles(fresh)) EXPECT_EQ(after[name], bytes) << name;
    expectWholeSets();
}

}  // namespace
