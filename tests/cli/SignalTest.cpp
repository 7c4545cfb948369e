// SIGINT, SIGTERM and SIGHUP to a real tlxexport at work over an earlier
// export: it stops on its own stop path, says so in one line, exits with 130,
// 143 or 129, and every earlier file is as it was. What a killed run leaves
// under temporary names is removed by the next export into the folder.
#include <gtest/gtest.h>

#include "cli/CliProcess.h"

namespace tvk::test {
namespace {

struct Format {
    const char* command;
    const char* target;  // in the test's folder
};

const Format kFormats[] = {{"dxf", "out/survey.dxf"}, {"mif", "out"}, {"shp", "out"}, {"text", "out/points.txt"}};

class SignalTest : public ::testing::TestWithParam<Format> {
protected:
    void SetUp() override { std::filesystem::create_directories(Out()); }
    std::filesystem::path Out() const { return dir.Path() / "out"; }
    std::vector<std::string> Args(const std::string& survey) const {
        std::vector<std::string> args = {GetParam().command, survey, GetParam().target, "--log", "run.log"};
        if (std::string(GetParam().target) == "out") args.insert(args.end(), {"--overwrite", "all"});
        return args;
    }
    // An earlier export of a small survey.
    void Earlier() {
        CliProcess earlier(Args(GeneratedSurvey(3000, 2)), dir.Path());
        ASSERT_EQ(earlier.Wait(), 0) << earlier.Err();
        ASSERT_FALSE(FolderFiles(Out()).empty());
    }
    // Starts the export of a big survey and returns once it writes its files.
    std::unique_ptr<CliProcess> StartBig() {
        const std::string big = GeneratedSurvey(300000, 1);
        EXPECT_FALSE(big.empty());
        auto run = std::make_unique<CliProcess>(Args(big), dir.Path());
        EXPECT_TRUE(WaitFor([&] { return HasTemporaries(Out()) || !run->Running(); }));
        EXPECT_TRUE(run->Running()) << "done before it could be stopped: " << run->Err();
        return run;
    }
    std::string StoppedLine() const {
        return std::string("tlxexport ") + GetParam().command + ": stopped; nothing was changed in " +
               GetParam().target + "\n";
    }
    TempDir dir;
};

TEST_P(SignalTest, SigintWhileExportingChangesNothingAndExits130) {
    Earlier();
    const auto before = FolderFiles(Out());
    auto run = StartBig();
    run->Signal(SIGINT);
    EXPECT_EQ(run->Wait(), 130);
    EXPECT_EQ(run->Err(), StoppedLine());
    EXPECT_EQ(FolderFiles(Out()), before);
    const std::string log = ReadFile(dir / "run.log");
    EXPECT_NE(log.find("User try to close window during exporting"), std::string::npos) << log.substr(0, 2000);
}

INSTANTIATE_TEST_SUITE_P(EveryExport, SignalTest, ::testing::ValuesIn(kFormats),
                         [](const auto& info) { return std::string(info.param.command); });

class OtherSignals : public SignalTest {};

TEST_P(OtherSignals, TermAndHupGiveTheirStatusAndASecondSignalChangesNothing) {
    Earlier();
    const auto before = FolderFiles(Out());
    for (auto [signal, status] : {std::pair{SIGTERM, 143}, std::pair{SIGHUP, 129}}) {
        auto run = StartBig();
        run->Signal(signal);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        run->Signal(SIGINT);  // while it cleans up
        EXPECT_EQ(run->Wait(), status);
        EXPECT_EQ(run->Err(), StoppedLine());
        EXPECT_EQ(FolderFiles(Out()), before);
    }
}

TEST_P(OtherSignals, ASignalWhileReadingStopsBeforeAnythingIsWritten) {
    std::filesystem::remove_all(Out());
    CliProcess run(Args(GeneratedSurvey(300000, 1)), dir.Path());
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(dir / "run.log"); }));  // reading has begun
    run.Signal(SIGINT);
    EXPECT_EQ(run.Wait(), 130);
    EXPECT_EQ(run.Err(), StoppedLine());
    EXPECT_FALSE(std::filesystem::exists(Out()));
    EXPECT_NE(ReadFile(dir / "run.log").find("BEGIN OF TLX FILE READING"), std::string::npos);
}

TEST_P(OtherSignals, WhatAKilledRunLeavesIsRemovedByTheNextExport) {
    Earlier();
    const auto before = FolderFiles(Out());
    auto run = StartBig();
    run->Signal(SIGKILL);
    EXPECT_EQ(run->Wait(), 128 + SIGKILL);
    EXPECT_TRUE(HasTemporaries(Out()));
    // The files under their own names are the earlier ones.
    auto left = FolderFiles(Out());
    for (const auto& [name, bytes] : before) EXPECT_EQ(left[name], bytes) << name;

    CliProcess next(Args(GeneratedSurvey(3000, 2)), dir.Path());
    ASSERT_EQ(next.Wait(), 0) << next.Err();
    EXPECT_FALSE(HasTemporaries(Out()));
    EXPECT_EQ(FolderFiles(Out()), before);  // the same small export again
    EXPECT_NE(ReadFile(dir / "run.log").find("temporary file(s) of an export that did not finish"), std::string::npos);
}

// The other signals once for a one-file and once for a folder export.
INSTANTIATE_TEST_SUITE_P(TwoExports, OtherSignals, ::testing::Values(kFormats[0], kFormats[1]),
                         [](const auto& info) { return std::string(info.param.command); });

}  // namespace
}  // namespace tvk::test
