// `tlxexport shp` as a user runs it: the folder, the overwrite policies, the
// code page files, the log and the exit statuses.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const std::string kSample = std::string(TLX_SOURCE_DIR) + "/samples/building-site.tlx";

std::string Quote(const std::string& s) { return "'" + s + "'"; }

// Runs the program with standard input from /dev/null (no terminal to ask).
int Cli(const std::string& args, std::string* output = nullptr) {
    std::string command = std::string(TLX_CLI) + " " + args + " </dev/null 2>&1";
    FILE* p = popen(command.c_str(), "r");
    if (!p) return -1;
    std::string out;
    char buf[4096];
    while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    int status = pclose(p);
    if (output) *output = out;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::map<std::string, std::string> Contents(const fs::path& dir) {
    std::map<std::string, std::string> files;
    if (fs::exists(dir))
        for (const auto& e : fs::directory_iterator(dir)) files[e.path().filename().string()] = Read(e.path());
    return files;
}

struct ShpCommand : ::testing::Test {
    fs::path dir;
    fs::path out;
    void SetUp() override {
        dir = fs::temp_directory_path() / ("tlx-shpcli-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        out = dir / "nested" / "out";
    }
    void TearDown() override {
        if (!HasFailure()) fs::remove_all(dir);
    }
    int Export(const std::string& options = "", std::string* output = nullptr) {
        return Cli("shp " + Quote(kSample) + " " + Quote(out.string()) + " " + options, output);
    }
};

TEST_F(ShpCommand, WritesEverySetIntoANewFolderWithCodePageFiles) {
    std::string output;
    ASSERT_EQ(Export("", &output), 0) << output;
    auto files = Contents(out);
    size_t sets = 0;
    for (const auto& [name, bytes] : files) {
        if (name.ends_with(".SHP")) {
            ++sets;
            std::string base = name.substr(0, name.size() - 4);
            EXPECT_TRUE(files.count(base + ".SHX") && files.count(base + ".DBF")) << name;
            EXPECT_EQ(files[base + ".CPG"], "1251") << name;
        }
    }
    EXPECT_GT(sets, 3u);
    EXPECT_EQ(files.size(), 4 * sets);
    EXPECT_TRUE(files.count("Здания(Полигоны).SHP"));  // the Cyrillic suffix, in UTF-8

    fs::remove_all(out);
    ASSERT_EQ(Export("--no-codepage"), 0);
    for (const auto& [name, bytes] : Contents(out)) EXPECT_FALSE(name.ends_with(".CPG")) << name;
}

TEST_F(ShpCommand, OverwriteNoneKeepsEveryExistingFileAndAllReplacesThem) {
    ASSERT_EQ(Export(), 0);
    const fs::path changed = out / "Здания(Полигоны).DBF";
    std::ofstream(changed, std::ios::binary) << "mine";
    fs::remove(out / "Дороги(Ломаные).SHX");
    auto before = Contents(out);
    std::string output;
    EXPECT_EQ(Export("--overwrite none", &output), 0) << output;
    auto after = Contents(out);
    EXPECT_EQ(Read(changed), "mine");
    EXPECT_EQ(after.count("Дороги(Ломаные).SHX"), 1u);  // a missing file is still written
    after.erase("Дороги(Ломаные).SHX");
    EXPECT_TRUE(after == before);

    EXPECT_EQ(Export("--overwrite all", &output), 0) << output;
    EXPECT_NE(Read(changed), "mine");
}

TEST_F(ShpCommand, AskWithoutATerminalRefusesNamesTheFileAndRemovesTheRunsFiles) {
    ASSERT_EQ(Export(), 0);
    // Keep only the control-point set, which the run reaches last.
    for (const auto& [name, bytes] : Contents(out))
        if (name.rfind("Точки_обоснования(Точки)", 0) != 0) fs::remove(out / name);
    const fs::path existing = out / "Точки_обоснования(Точки).SHP";
    std::ofstream(existing, std::ios::binary) << "mine";
    auto before = Contents(out);
    std::string output;
    EXPECT_EQ(Export("", &output), 1);
    EXPECT_NE(output.find(existing.string()), std::string::npos) << output;
    EXPECT_NE(output.find("--overwrite"), std::string::npos) << output;
    EXPECT_TRUE(Contents(out) == before);  // everything the run wrote is gone, the existing file untouched
}

TEST_F(ShpCommand, LogFileHoldsBothLogsInUtf8) {
    const fs::path log = dir / "run.log";
    std::string output;
    ASSERT_EQ(Export("--log " + Quote(log.string()), &output), 0) << output;
    std::string text = Read(log);
    EXPECT_NE(text.find("BEGIN OF EXPORTING"), std::string::npos);
    EXPECT_NE(text.find("END OF EXPORTING"), std::string::npos);
    EXPECT_NE(text.find("Total errors: 0"), std::string::npos);
}

TEST_F(ShpCommand, WrongUsageAndUnreadableInputExitWith2) {
    std::string output;
    EXPECT_EQ(Cli("shp " + Quote(kSample), &output), 2);
    EXPECT_NE(output.find("Usage: tlxexport shp"), std::string::npos);
    EXPECT_EQ(Cli("shp " + Quote(kSample) + " " + Quote(out.string()) + " --overwrite sometimes", &output), 2);
    EXPECT_NE(output.find("sometimes"), std::string::npos);
    EXPECT_EQ(Cli("shp " + Quote((dir / "missing.tlx").string()) + " " + Quote(out.string()), &output), 2);
    EXPECT_NE(output.find("missing.tlx"), std::string::npos);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(Cli("shp --help", &output), 0);
    EXPECT_NE(output.find("--no-codepage"), std::string::npos);
}

}  // namespace
