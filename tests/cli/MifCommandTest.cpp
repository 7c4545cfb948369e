// `tlxexport mif` end to end: the samples and a generated survey read back by
// GDAL, the overwrite answers of the command line (with and without a
// terminal), the output folder and the usage errors.
#include <gtest/gtest.h>

#include <regex>

#include "mif/MIFTestUtil.h"

namespace tvk::test {
namespace {

// Runs a shell command; returns its exit status and its output (both streams).
int Shell(const std::string& command, std::string* output = nullptr) {
    std::string text;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return -1;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) text.append(buf, n);
    int rc = pclose(pipe);
    if (output) *output = text;
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

std::string Quote(const std::string& s) { return "'" + s + "'"; }

std::string Cli() { return Quote(TLX_CLI); }

class MifCommandTest : public ::testing::Test {
protected:
    std::string Out() const { return temp / "out"; }
    std::string Path(const std::string& name) const { return Out() + "/" + name; }
    // The command on the survey `tlx`, with its log in the temporary folder.
    std::string Command(const std::string& tlx, const std::string& extra = "") const {
        return Cli() + " mif " + Quote(tlx) + " " + Quote(Out()) + " --log " + Quote(temp / "run.log") + " " + extra;
    }
    std::string Survey() {
        std::string path = temp / "in.tlx";
        WriteFile(path, Cp1251(Section("POINTS", PointLine(1, "A", "0", "0") + PointLine(2, "B", "100", "80")) +
                               Section("LAYERS", LayerLine(1, 0, "Roads")) +
                               Section("FEATURE_CODES", CodeLine(20, 1, "RD", "Road")) +
                               Section("FEATURES", FeatureLine(100, "LINE", 20, {1, 2}))));
        return path;
    }
    // Runs the command on a pseudo-terminal that types `answers` (comma-separated);
    // returns the command's exit status.
    int OnTerminal(const std::string& tlx, const std::string& answers, std::string* output) {
        if (Shell("/usr/bin/python3 " + Quote(std::string(TLX_SOURCE_DIR) + "/tests/cli/pty_answers.py") + " " +
                      Quote(answers) + " " + Quote(TLX_CLI) + " mif " + Quote(tlx) + " " + Quote(Out()) + " --log " +
                      Quote(temp / "run.log"),
                  output) != 0)
            return -1;
        int status = -1;
        return std::sscanf(output->c_str(), "exit %d", &status) == 1 ? status : -1;
    }
    void Existing(const std::vector<std::string>& names) {
        std::filesystem::create_directories(Out());
        for (const auto& name : names) WriteFile(Path(name), "old");
    }
    bool IsOld(const std::string& name) const { return ReadFile(Path(name)) == "old"; }

    TempDir temp;
};

TEST_F(MifCommandTest, EverySampleReadsBackInGdal) {
    int samples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(TLX_SOURCE_DIR) + "/samples")) {
        if (entry.path().extension() != ".tlx") continue;
        ++samples;
        std::filesystem::remove_all(Out());
        std::string output;
        ASSERT_EQ(Shell(Command(entry.path().string()), &output), 0) << entry.path() << output;
        int status = 0;
        std::string report = ReadBack(Out(), &status);
        EXPECT_EQ(status, 0) << entry.path() << "\n" << report;
        EXPECT_NE(report.find("features="), std::string::npos) << report;
    }
    EXPECT_GT(samples, 0);
}

TEST_F(MifCommandTest, GeneratedSurveyWithEveryKindReadsBackInGdal) {
    std::string tlx = temp / "gen.tlx";
    ASSERT_EQ(Shell(Quote(TLX_GEN_TLX) + " --points 3000 --seed 7 " + Quote(tlx)), 0);
    std::string output;
    ASSERT_EQ(Shell(Command(tlx, "--overwrite all"), &output), 0) << output;
    std::string all;
    for (const std::string& name : MapInfoFiles(Out()))
        if (name.ends_with(".MIF")) all += ReadFile(Path(name));
    for (const char* kind : {"\nPoint ", "\nLine ", "\nPline ", "\nRegion 1", "\nArc ", "\nEllipse "})
        EXPECT_NE(all.find(kind), std::string::npos) << kind;
    int status = 0;
    std::string report = ReadBack(Out(), &status);
    EXPECT_EQ(status, 0) << report;
}

TEST_F(MifCommandTest, CreatesEveryMissingLevelOfTheFolder) {
    std::string tlx = Survey();
    std::string deep = temp / "a/b/c";
    std::string output;
    ASSERT_EQ(Shell(Cli() + " mif " + Quote(tlx) + " " + Quote(deep), &output), 0) << output;
    EXPECT_TRUE(std::filesystem::exists(deep + "/Roads.MIF"));
    EXPECT_TRUE(std::filesystem::exists(deep + "/Roads.MID"));
}

TEST_F(MifCommandTest, OverwriteNoneKeepsAndListsEveryPairWithAFileAllReplacesThem) {
    std::string tlx = Survey();
    Existing({"Roads.MIF"});
    std::string output;
    ASSERT_EQ(Shell(Command(tlx, "--overwrite none"), &output), 0) << output;
    EXPECT_TRUE(IsOld("Roads.MIF"));
    EXPECT_FALSE(std::filesystem::exists(Path("Roads.MID")));             // a kept pair is not completed either
    EXPECT_TRUE(std::filesystem::exists(Path("Точки_обоснования.MID")));  // no file of it existed
    const std::string kept = "kept, exists: " + Out() + "/Roads.MIF, Roads.MID\n";
    EXPECT_NE(output.find("tlxexport mif: " + kept), std::string::npos) << output;
    EXPECT_NE(ReadFile(temp / "run.log").find(kept), std::string::npos);

    ASSERT_EQ(Shell(Command(tlx, "--overwrite all"), &output), 0) << output;
    EXPECT_EQ(output.find("kept"), std::string::npos) << output;
    EXPECT_FALSE(IsOld("Roads.MIF"));
    int status = 0;
    std::string report = ReadBack(Out(), &status);
    EXPECT_EQ(status, 0) << report;
}

TEST_F(MifCommandTest, AskWithoutTerminalRefusesAndTouchesNothing) {
    std::string tlx = Survey();
    Existing({"Roads.MID"});
    std::string output;
    EXPECT_EQ(Shell(Command(tlx) + " < /dev/null", &output), 1);
    EXPECT_NE(output.find("Roads.MID exists and there is no terminal to ask"), std::string::npos) << output;
    EXPECT_TRUE(IsOld("Roads.MID"));
    EXPECT_NE(output.find("Nothing was changed in " + Out()), std::string::npos) << output;
    EXPECT_EQ(MapInfoFiles(Out()), std::vector<std::string>{"Roads.MID"});
    EXPECT_NE(ReadFile(temp / "run.log").find("User break during exporting"), std::string::npos);
}

TEST_F(MifCommandTest, AnswersOnTheTerminal) {
    std::string tlx = Survey();
    const std::vector<std::string> all = {"Roads.MIF", "Roads.MID", "Точки_обоснования.MIF", "Точки_обоснования.MID"};
    std::string output;

    // One question per pair.
    Existing(all);
    ASSERT_EQ(OnTerminal(tlx, "y,no", &output), 0) << output;
    EXPECT_NE(output.find("asked 2"), std::string::npos) << output;
    EXPECT_FALSE(IsOld("Roads.MIF"));
    EXPECT_FALSE(IsOld("Roads.MID"));
    EXPECT_TRUE(IsOld("Точки_обоснования.MIF"));
    EXPECT_TRUE(IsOld("Точки_обоснования.MID"));

    // Yes, then Cancel: nothing of the run is kept, the pair answered Yes included.
    Existing(all);
    EXPECT_EQ(OnTerminal(tlx, "y,c", &output), 1) << output;
    EXPECT_NE(output.find("asked 2"), std::string::npos) << output;
    EXPECT_NE(output.find("cancelled; nothing was changed in " + Out()), std::string::npos) << output;
    for (const auto& name : all) EXPECT_TRUE(IsOld(name)) << name;

    // Cancel at the only question.
    std::filesystem::remove_all(Out());
    Existing({"Roads.MID"});
    EXPECT_EQ(OnTerminal(tlx, "c", &output), 1) << output;
    EXPECT_NE(output.find("asked 1"), std::string::npos) << output;
    EXPECT_EQ(MapInfoFiles(Out()), std::vector<std::string>{"Roads.MID"});
    EXPECT_TRUE(IsOld("Roads.MID"));
    EXPECT_NE(ReadFile(temp / "run.log").find("\nUser break during exporting"), std::string::npos);

    // The next run asks again.
    ASSERT_EQ(OnTerminal(tlx, "y", &output), 0) << output;
    EXPECT_NE(output.find("asked 1"), std::string::npos) << output;
    EXPECT_FALSE(IsOld("Roads.MID"));
}

TEST_F(MifCommandTest, UsageErrors) {
    std::string tlx = Survey();
    std::string output;
    EXPECT_EQ(Shell(Cli() + " mif " + Quote(tlx) + " " + Quote(Out()) + " --overwrite maybe", &output), 2);
    EXPECT_NE(output.find("--overwrite takes ask, all or none"), std::string::npos) << output;
    EXPECT_EQ(Shell(Cli() + " mif " + Quote(temp / "missing.tlx") + " " + Quote(Out()), &output), 2);
    EXPECT_NE(output.find("missing.tlx"), std::string::npos) << output;
    EXPECT_EQ(Shell(Cli() + " mif --help", &output), 0);
    EXPECT_NE(output.find("Usage: tlxexport mif"), std::string::npos);
    // A folder that cannot be made: a file is in the way.
    WriteFile(temp / "file", "x");
    EXPECT_EQ(Shell(Cli() + " mif " + Quote(tlx) + " " + Quote(temp / "file/sub"), &output), 1);
    EXPECT_NE(output.find("file/sub"), std::string::npos) << output;
}

}  // namespace
}  // namespace tvk::test
