// `tlxexport mif` end to end: the samples read back by GDAL, and the overwrite
// answers of the command line (with and without a terminal) passed through to
// the writer; what each answer does to later sets is OverwriteDecisionTest's,
// what a cancel after Yes leaves is AllOrNothingTest's, and --overwrite none
// and all are ShpCommandTest's. Its usage errors are in UsageTest.
#include <gtest/gtest.h>

#include "mif/MIFTestUtil.h"

namespace tvk::test {
namespace {

std::string Quote(const std::string& s) { return "'" + s + "'"; }

class MifCommandTest : public ::testing::Test {
protected:
    std::string Out() const { return temp / "out"; }
    std::string Path(const std::string& name) const { return Out() + "/" + name; }
    // The command on the survey `tlx`, with its log in the temporary folder.
    CliRun Export(const std::string& tlx, const std::string& extra = "") {
        return RunCli("mif " + Quote(tlx) + " " + Quote(Out()) + " --log " + Quote(temp / "run.log") + " " + extra,
                      temp.Path());
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
    // returns the command's exit status and its terminal text in `output`.
    int OnTerminal(const std::string& tlx, const std::string& answers, std::string* output) {
        CliRun run = RunShell("/usr/bin/python3 " + Quote(std::string(TLX_SOURCE_DIR) + "/tests/cli/pty_answers.py") +
                                  " " + Quote(answers) + " " + Quote(TLX_CLI) + " mif " + Quote(tlx) + " " +
                                  Quote(Out()) + " --log " + Quote(temp / "run.log"),
                              temp.Path());
        *output = run.out + run.err;
        int status = -1;
        return run.status == 0 && std::sscanf(output->c_str(), "exit %d", &status) == 1 ? status : -1;
    }
    void Existing(const std::vector<std::string>& names) {
        std::filesystem::create_directories(Out());
        for (const auto& name : names) WriteFile(Path(name), "old");
    }
    bool IsOld(const std::string& name) const { return ReadFile(Path(name)) == "old"; }

    TempDir temp;
};

// Every sample; together they hold every kind of object (each kind's text:
// MIFWriterTest).
TEST_F(MifCommandTest, EverySampleReadsBackInGdal) {
    std::string all;
    int samples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(TLX_SOURCE_DIR) + "/samples")) {
        if (entry.path().extension() != ".tlx") continue;
        ++samples;
        SCOPED_TRACE(entry.path().string());
        std::filesystem::remove_all(Out());
        CliRun run = Export(entry.path().string());
        ASSERT_EQ(run.status, 0) << run.err;
        int status = 0;
        std::string report = ReadBack(Out(), &status);
        EXPECT_EQ(status, 0) << report;
        EXPECT_NE(report.find("features="), std::string::npos) << report;
        for (const std::string& name : MapInfoFiles(Out()))
            if (name.ends_with(".MIF")) all += ReadFile(Path(name));
    }
    EXPECT_GT(samples, 0);
    for (const char* kind : {"\nPoint ", "\nLine ", "\nPline ", "\nRegion 1", "\nArc ", "\nEllipse "})
        EXPECT_NE(all.find(kind), std::string::npos) << kind;
}

TEST_F(MifCommandTest, AskWithoutTerminalRefusesAndTouchesNothing) {
    std::string tlx = Survey();
    Existing({"Roads.MID"});
    CliRun run = Export(tlx);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Roads.MID exists and there is no terminal to ask"), std::string::npos) << run.err;
    EXPECT_TRUE(IsOld("Roads.MID"));
    EXPECT_NE(run.err.find("Nothing was changed in " + Out()), std::string::npos) << run.err;
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

    // Cancel at the only question.
    std::filesystem::remove_all(Out());
    Existing({"Roads.MID"});
    EXPECT_EQ(OnTerminal(tlx, "c", &output), 1) << output;
    EXPECT_NE(output.find("asked 1"), std::string::npos) << output;
    EXPECT_NE(output.find("cancelled; nothing was changed in " + Out()), std::string::npos) << output;
    EXPECT_EQ(MapInfoFiles(Out()), std::vector<std::string>{"Roads.MID"});
    EXPECT_TRUE(IsOld("Roads.MID"));
    EXPECT_NE(ReadFile(temp / "run.log").find("\nUser break during exporting"), std::string::npos);
}

}  // namespace
}  // namespace tvk::test
