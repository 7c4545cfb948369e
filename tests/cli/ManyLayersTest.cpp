// A survey with thousands of layers exports every layer's MIF/MID pair and
// shapefile sets under a limit of 256 open files, byte for byte as without
// the limit: the writers hold only a few of their files open at a time.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "cli/CliProcess.h"
#include "support/Cli.h"
#include "support/Files.h"

using namespace tvk::test;

namespace {

class ManyLayersTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        survey_ = new TempDir;
        const std::string command = std::string("'") + TLX_GEN_TLX +
                                    "' --points 36000 --features 6000 --layers 5000 --seed 3 '" +
                                    (*survey_ / "layers.tlx") + "' >/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    static void TearDownTestSuite() {
        delete survey_;
        survey_ = nullptr;
    }

    // Exports with `format` into a fresh folder, in a shell whose open files
    // are limited to `limit` (none when 0), and returns the folder's files.
    std::map<std::string, std::string> Export(const std::string& format, int limit) {
        const std::string out = temp / (format + std::to_string(limit));
        std::string command = "'" + std::string(TLX_CLI) + "' " + format + " '" + (*survey_ / "layers.tlx") + "' '" +
                              out + "' --overwrite all";
        if (limit > 0) command = "sh -c \"ulimit -n " + std::to_string(limit) + " && exec " + command + "\"";
        CliRun run = RunShell(command, temp.Path());
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err.find("Too many open files"), std::string::npos) << run.err;
        return FolderFiles(out);
    }

    static TempDir* survey_;
    TempDir temp;
};

TempDir* ManyLayersTest::survey_ = nullptr;

// The names of the files that differ (or are in one folder only), not the bytes.
std::string Differences(const std::map<std::string, std::string>& a, const std::map<std::string, std::string>& b) {
    std::string names;
    int shown = 0;
    for (const auto& [name, bytes] : a) {
        auto other = b.find(name);
        if ((other == b.end() || other->second != bytes) && shown++ < 10) names += " " + name;
    }
    for (const auto& entry : b)
        if (!a.count(entry.first) && shown++ < 10) names += " +" + entry.first;
    return names;
}

TEST_F(ManyLayersTest, MifPairsOfEveryLayerAreTheSameUnderALimitOfOpenFiles) {
    const auto unlimited = Export("mif", 0);
    EXPECT_GT(unlimited.size(), 2u * 1000);  // well over the limit
    EXPECT_EQ(Differences(Export("mif", 256), unlimited), "");
}

TEST_F(ManyLayersTest, ShapefileSetsOfEveryLayerAreTheSameUnderALimitOfOpenFiles) {
    const auto unlimited = Export("shp", 0);
    EXPECT_GT(unlimited.size(), 4u * 1000);
    EXPECT_EQ(Differences(Export("shp", 256), unlimited), "");
}

}  // namespace
