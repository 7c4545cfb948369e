// The MapInfo writer and existing files: every answer of the overwrite
// question across one run, cancel, the next run, and what failures leave.
#include <gtest/gtest.h>

#include "export/OverwriteDecision.h"
#include "mif/MIFTestUtil.h"

namespace tvk::test {
namespace {

// Three layers; the files open in this order.
const std::vector<std::string> kOrder = {"Buildings.MIF", "Buildings.MID", "Roads.MIF", "Roads.MID",
                                         "Точки_обоснования.MIF", "Точки_обоснования.MID"};

std::string Survey() {
    return Section("POINTS", PointLine(1, "A", "0", "0") + PointLine(2, "B", "100", "80")) +
           Section("LAYERS", LayerLine(1, 0, "Buildings") + LayerLine(2, 0, "Roads")) +
           Section("FEATURE_CODES", CodeLine(10, 1, "BLD", "Building") + CodeLine(20, 2, "RD", "Road")) +
           Section("FEATURES", FeatureLine(100, "LINE", 10, {1, 2}) + FeatureLine(200, "LINE", 20, {2, 1}));
}

class MIFOverwriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        CStringTable::SetLanguage(CStringTable::Language::English);
        WriteFile(temp / "in.tlx", Cp1251(Survey()));
        std::filesystem::create_directories(Out());
        writer.Init();
        writer.Read((temp / "in.tlx").c_str(), nullptr);
        SetOverwriteQuestion([this](const ExistingFileStatus& existing, const std::string& path) {
            asked.push_back(std::filesystem::path(path).filename().string());
            EXPECT_GT(existing.size, 0);
            EXPECT_TRUE(existing.fullPath.ends_with(asked.back())) << existing.fullPath;
            int answer = next < answers.size() ? answers[next] : kAnswerYes;
            ++next;
            return answer;
        });
    }
    void TearDown() override { SetOverwriteQuestion(nullptr); }

    std::string Out() const { return temp / "out"; }
    std::string Path(const std::string& name) const { return Out() + "/" + name; }
    // Files of an earlier run, each holding "old".
    void Existing(const std::vector<std::string>& names) {
        for (const auto& name : names) WriteFile(Path(name), "old");
    }
    void Run(std::vector<int> script) {
        answers = std::move(script);
        next = 0;
        asked.clear();
        writer.Export(Out().c_str(), nullptr);
        writer.FreeExportData();
    }
    bool IsOld(const std::string& name) const { return ReadFile(Path(name)) == "old"; }
    bool IsNew(const std::string& name) const {
        std::string bytes = ReadFile(Path(name));
        return bytes != "old" && !bytes.empty();
    }

    TempDir temp;
    CLoggingMIFWriter writer;
    std::vector<int> answers;
    size_t next = 0;
    std::vector<std::string> asked;
};

TEST_F(MIFOverwriteTest, YesAndNoDecideFileByFileYesToAllTheRestAndTheNextRunAsksAgain) {
    Existing(kOrder);
    Run({kAnswerYes, kAnswerNo, kAnswerNo, kAnswerYes, kAnswerYesToAll});
    EXPECT_EQ(asked, std::vector<std::string>(kOrder.begin(), kOrder.begin() + 5));
    for (size_t i = 0; i < kOrder.size(); ++i) EXPECT_EQ(IsOld(kOrder[i]), i == 1 || i == 2) << kOrder[i];
    Run({kAnswerYesToAll});
    EXPECT_EQ(asked, std::vector<std::string>{"Buildings.MIF"});
    for (const auto& name : kOrder) EXPECT_TRUE(IsNew(name)) << name;
}

TEST_F(MIFOverwriteTest, NoToAllCreatesAndChangesNothingMoreYetRunsToTheEnd) {
    // Roads.MIF and the control-point pair do not exist yet.
    Existing({"Buildings.MIF", "Buildings.MID", "Roads.MID"});
    Run({kAnswerYes, kAnswerNoToAll});
    EXPECT_EQ(asked, (std::vector<std::string>{"Buildings.MIF", "Buildings.MID"}));
    EXPECT_TRUE(IsNew("Buildings.MIF"));
    EXPECT_TRUE(IsOld("Buildings.MID"));
    EXPECT_TRUE(IsOld("Roads.MID"));
    EXPECT_EQ(MapInfoFiles(Out()), (std::vector<std::string>{"Buildings.MID", "Buildings.MIF", "Roads.MID"}));
    EXPECT_NE(writer.log.find("END OF EXPORTING"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(kNullDevice));
}

TEST_F(MIFOverwriteTest, CancelDeletesTheFilesOfTheRunOnly) {
    Existing({"Buildings.MID", "Roads.MIF", "Roads.MID"});
    answers = {kAnswerNo, kAnswerCancel};
    EXPECT_THROW(writer.Export(Out().c_str(), nullptr), CUserBreakSignal);
    EXPECT_EQ(asked, (std::vector<std::string>{"Buildings.MID", "Roads.MIF"}));
    EXPECT_NE(writer.log.find("\nUser break during exporting"), std::string::npos);
    // Buildings.MIF was written by this run and is gone; the skipped and the
    // unanswered files keep their old bytes; the null device is still there.
    EXPECT_EQ(MapInfoFiles(Out()), (std::vector<std::string>{"Buildings.MID", "Roads.MID", "Roads.MIF"}));
    EXPECT_TRUE(IsOld("Buildings.MID"));
    EXPECT_TRUE(IsOld("Roads.MIF"));
    EXPECT_TRUE(std::filesystem::exists(kNullDevice));
    // The next run with the same writer asks again, and keeps what it writes.
    Run({kAnswerYesToAll});
    EXPECT_EQ(asked, std::vector<std::string>{"Buildings.MID"});
    EXPECT_EQ(MapInfoFiles(Out()).size(), kOrder.size());
    for (const auto& name : kOrder) EXPECT_TRUE(IsNew(name)) << name;
}

// Writers against memory: the disk fills up.
class MIFDiskTest : public ::testing::Test {
protected:
    void SetUp() override {
        CStringTable::SetLanguage(CStringTable::Language::English);
        SetFileSystem(&files);
        files.Put("/data/in.tlx", Cp1251(Survey()));
        writer.Init();
        writer.Read("/data/in.tlx", nullptr);
    }
    void TearDown() override { SetFileSystem(nullptr); }

    CMemoryFileSystem files;
    CLoggingMIFWriter writer;
};

TEST_F(MIFDiskTest, FullDiskAtClosingIsNoSuccess) {
    files.SetDiskLimit(100);
    writer.Export("/out", nullptr);  // everything still sits in the buffers
    EXPECT_THROW(writer.FreeExportData(), CFileException);
    // Every file was closed all the same; nothing is deleted after a file failure.
    EXPECT_NE(files.Contents("/out/Buildings.MIF"), nullptr);
    EXPECT_NE(files.Contents("/out/Roads.MID"), nullptr);
    writer.FreeExportData();  // nothing left open
}

TEST_F(MIFDiskTest, UnknownFailureDeletesWithoutTouchingTheNullDevice) {
    files.Put("/out/Buildings.MIF", "old");
    files.Put(kNullDevice, "");
    int calls = 0;
    SetOverwriteQuestion([&](const ExistingFileStatus&, const std::string&) { return ++calls, int(kAnswerNo); });
    writer.OnProgressStep = [&](int) {
        if (files.Contents("/out/Roads.MIF")) throw 42;
    };
    EXPECT_THROW(writer.Export("/out", nullptr), int);
    SetOverwriteQuestion(nullptr);
    EXPECT_EQ(calls, 1);
    EXPECT_NE(writer.log.find("Unknown exception during exporting"), std::string::npos);
    EXPECT_EQ(*files.Contents("/out/Buildings.MIF"), "old");
    EXPECT_EQ(files.Contents("/out/Buildings.MID"), nullptr);
    EXPECT_EQ(files.Contents("/out/Roads.MIF"), nullptr);
    EXPECT_NE(files.Contents(kNullDevice), nullptr);
}

}  // namespace
}  // namespace tvk::test
