// `tlxexport shp` as a user runs it: the folder, the code page files, the
// overwrite policies and the log (its usage errors: UsageTest; asking without
// a terminal and on one: MifCommandTest).
#include <gtest/gtest.h>

#include "cli/CliProcess.h"
#include "support/Cli.h"

using namespace tvk::test;
namespace fs = std::filesystem;

namespace {

const std::string kSample = std::string(TLX_SOURCE_DIR) + "/samples/building-site.tlx";

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

// The policy reaches the writer: a set with a file is kept whole and listed,
// a set without one is written (each answer's effect: OverwriteDecisionTest;
// the writer's sets: SHPWriterTest).
TEST_F(ShpCommand, OverwriteNoneKeepsAndListsTheSetsWithAFileAllReplacesThem) {
    const std::string partial = "Здания(Полигоны)";
    ASSERT_EQ(Export().status, 0);
    for (const char* ext : {".SHP", ".SHX", ".CPG"}) ASSERT_TRUE(fs::remove(out / (partial + ext))) << ext;
    WriteFile(out / (partial + ".DBF"), "old");
    for (const char* ext : {".SHP", ".SHX", ".DBF", ".CPG"}) fs::remove(out / (std::string("Дороги(Ломаные)") + ext));

    CliRun run = Export("--overwrite none --log run.log");
    ASSERT_EQ(run.status, 0) << run.err;
    auto after = FolderFiles(out);
    EXPECT_EQ(after[partial + ".DBF"], "old");
    for (const char* ext : {".SHP", ".SHX", ".CPG"}) EXPECT_FALSE(after.count(partial + ext)) << ext;
    EXPECT_TRUE(after.count("Дороги(Ломаные).SHP"));  // a set with no file: written
    const std::string kept = "kept, exists: " + (out / (partial + ".SHP")).string() + ", " + partial + ".SHX, " +
                             partial + ".DBF, " + partial + ".CPG\n";
    EXPECT_NE(run.err.find("tlxexport shp: " + kept), std::string::npos) << run.err;
    EXPECT_NE(ReadFile(dir / "run.log").find(kept), std::string::npos);

    ASSERT_EQ(Export("--overwrite all").status, 0);
    after = FolderFiles(out);
    EXPECT_NE(after[partial + ".DBF"], "old");
    EXPECT_TRUE(after.count(partial + ".SHP"));
}

}  // namespace
