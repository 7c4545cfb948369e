// Command lines that would write over what the run reads or logs to are
// refused before anything is opened: exit 2, a message naming both paths,
// every file as it was. Also through a symbolic link, a hard link and a
// relative path, and a file target that names a folder.
#include <gtest/gtest.h>

#include "cli/CliProcess.h"
#include "support/Cli.h"

namespace tvk::test {
namespace {

namespace fs = std::filesystem;

class PathGuards : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy_file(std::string(TLX_SOURCE_DIR) + "/samples/building-site.tlx", dir / "s.tlx");
        fs::create_directories(dir / "out");
        WriteFile(dir / "out/Дороги.MIF", "earlier");
        WriteFile(dir / "t.ue", "a template");
        fs::create_symlink("s.tlx", dir / "link.tlx");
        before = Everything();
    }
    std::map<std::string, std::string> Everything() const {
        auto files = FolderFiles(dir.Path());
        for (auto& [name, bytes] : FolderFiles(dir / "out")) files["out/" + name] = bytes;
        return files;
    }
    // Runs `args`; expects the refusal naming both paths and nothing changed.
    // `beforeReading`: refused before the survey is read, so the refusal is all it says.
    void Refused(const std::string& args, const std::string& first, const std::string& second,
                 bool beforeReading = true) {
        CliRun run = RunCli(args, dir.Path());
        EXPECT_EQ(run.status, 2) << args << "\n" << run.err;
        EXPECT_NE(run.err.find(first), std::string::npos) << args << "\n" << run.err;
        EXPECT_NE(run.err.find(second), std::string::npos) << args << "\n" << run.err;
        if (beforeReading) {
            EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
        }
        EXPECT_EQ(Everything(), before) << args;
    }
    TempDir dir;
    std::map<std::string, std::string> before;
};

TEST_F(PathGuards, AnOutputThatIsTheInputUnderAnyOfItsNames) {
    Refused("dxf s.tlx s.tlx", "s.tlx would be written over the input survey s.tlx", "");
    Refused("text s.tlx s.tlx", "s.tlx would be written over the input survey s.tlx", "");
    Refused("dxf s.tlx link.tlx", "link.tlx", "input survey s.tlx");
    Refused("dxf link.tlx ./s.tlx", "./s.tlx", "input survey link.tlx");
    Refused("text '" + (dir / "s.tlx") + "' out/../s.tlx", "out/../s.tlx", dir / "s.tlx");
    fs::create_hard_link(dir / "s.tlx", dir / "hard.dxf");
    before = Everything();
    Refused("dxf s.tlx hard.dxf", "hard.dxf", "input survey s.tlx");
    Refused("mif s.tlx s.tlx", "the output folder s.tlx", "input survey s.tlx");
    Refused("text s.tlx t.ue --template t.ue", "t.ue would be written over t.ue", "");
}

TEST_F(PathGuards, ALogThatIsTheInputOrAnOutput) {
    for (const char* command :
         {"check s.tlx", "dxf s.tlx out/x.dxf", "mif s.tlx out", "shp s.tlx out", "text s.tlx out/x.txt"}) {
        Refused(std::string(command) + " --log s.tlx", "the log s.tlx", "input survey s.tlx");
        Refused(std::string(command) + " --log ./link.tlx", "the log ./link.tlx", "input survey s.tlx");
    }
    Refused("dxf s.tlx out/x.dxf --log out/x.dxf", "the log out/x.dxf", "the output out/x.dxf");
    Refused("mif s.tlx out --log out/Дороги.MIF", "the log out/Дороги.MIF", "output file in out");
    Refused("shp s.tlx out --log ./out/any.dbf", "the log ./out/any.dbf", "output file in out");
    // A log of another kind in the output folder is fine.
    CliRun run = RunCli("mif s.tlx out --overwrite all --log out/run.log", dir.Path());
    EXPECT_EQ(run.status, 0) << run.err;
}

TEST_F(PathGuards, AFileTargetThatNamesAFolder) {
    Refused("dxf s.tlx name/", "name/ names a folder, not a file", "");
    Refused("text s.tlx out", "out names a folder, not a file", "");
    EXPECT_FALSE(fs::exists(dir / "name"));
}

TEST_F(PathGuards, AnOutputFileOfAFolderExportThatIsTheInput) {
    // The survey itself sits in the output folder under the name of a layer's file.
    fs::copy_file(dir / "s.tlx", dir / "out/Здания.MIF");
    before = Everything();
    Refused("mif out/Здания.MIF out --overwrite all", "out/Здания.MIF would be written over out/Здания.MIF",
            "nothing was changed in out", false);
}

TEST(StandardOutput, AFailedWriteFailsTheCommand) {
    TempDir dir;
    CliRun run = RunShell(
        "sh -c \"'" + std::string(TLX_CLI) + "' check '" + TLX_SOURCE_DIR + "/samples/building-site.tlx' >/dev/full\"",
        dir.Path());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("tlxexport check: cannot write to standard output: No space left on device"),
              std::string::npos)
        << run.err;
}

}  // namespace
}  // namespace tvk::test
