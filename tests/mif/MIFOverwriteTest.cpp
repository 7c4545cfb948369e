// The MapInfo writer and existing files, on disk: each MIF/MID pair is decided
// as one set, over a folder where one layer has only its .MIF, another has
// nothing and a third is complete. Every answer leaves only whole pairs (GDAL
// reads each with as many objects as rows), writes the pair with no existing
// file even under No to all, and lists the kept pairs in the log.
#include <gtest/gtest.h>

#include <map>

#include "export/OverwriteDecision.h"
#include "mif/MIFTestUtil.h"

namespace tvk::test {
namespace {

const std::string kControl = "Точки_обоснования";

// The new survey; the earlier one has one more point, building and road,
// so that a pair made of one file of each cannot pass for whole.
std::string Survey(bool earlier) {
    std::string points = PointLine(1, "A", "0", "0") + PointLine(2, "B", "100", "80");
    std::string features = FeatureLine(100, "LINE", 10, {1, 2}) + FeatureLine(200, "LINE", 20, {2, 1});
    if (earlier) {
        points += PointLine(3, "C", "150", "90");  // wider bounds in every header
        features += FeatureLine(101, "LINE", 10, {1, 3}) + FeatureLine(201, "LINE", 20, {3, 2});
    }
    return Section("POINTS", points) + Section("LAYERS", LayerLine(1, 0, "Buildings") + LayerLine(2, 0, "Roads")) +
           Section("FEATURE_CODES", CodeLine(10, 1, "BLD", "Building") + CodeLine(20, 2, "RD", "Road")) +
           Section("FEATURES", features);
}

enum class State { Absent, Earlier, New };

class MIFOverwriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        CStringTable::SetLanguage(CStringTable::Language::English);
        Export(Survey(true), earlier);
        Export(Survey(false), fresh);
        WriteFile(temp / "in.tlx", Cp1251(Survey(false)));
        writer.Init();
        writer.Read((temp / "in.tlx").c_str(), nullptr);
        SetOverwriteQuestion([this](const ExistingFileStatus& existing, const std::string& path) {
            asked.push_back(std::filesystem::path(path).filename().string());
            EXPECT_TRUE(existing.fullPath.ends_with(asked.back())) << existing.fullPath;
            return next < answers.size() ? answers[next++] : int(kAnswerCancel);
        });
    }
    // Buildings has only its .MIF, Roads nothing, the control points both files.
    void EarlierFiles() {
        std::filesystem::remove_all(Out());
        std::filesystem::create_directories(Out());
        for (const std::string& name : std::vector<std::string>{"Buildings.MIF", kControl + ".MIF", kControl + ".MID"})
            std::filesystem::copy_file(earlier.Path() / name, Out() + "/" + name);
    }
    void TearDown() override { SetOverwriteQuestion(nullptr); }

    // Every pair of `survey`, written by a writer of its own into `folder`.
    static void Export(const std::string& survey, const TempDir& folder) {
        WriteFile(folder / "survey.tlx", Cp1251(survey));
        CLoggingMIFWriter w;
        w.Init();
        w.Read((folder / "survey.tlx").c_str(), nullptr);
        SetOverwriteQuestion(nullptr);
        w.Export(folder.Path().c_str(), nullptr);
        w.FreeExportData();
        std::filesystem::remove(folder / "survey.tlx");
    }
    std::string Out() const { return temp / "out"; }
    State StateOf(const std::string& name) const {
        const std::string path = Out() + "/" + name;
        if (!std::filesystem::exists(path)) return State::Absent;
        const std::string bytes = ReadFile(path);
        if (bytes == ReadFile(earlier / name)) return State::Earlier;
        EXPECT_EQ(bytes, ReadFile(fresh / name)) << name;
        return State::New;
    }
    // The states of the three layers' MIF and MID files.
    void Expect(State buildingsMif, State buildingsMid, State roads, State control) {
        EXPECT_EQ(StateOf("Buildings.MIF"), buildingsMif);
        EXPECT_EQ(StateOf("Buildings.MID"), buildingsMid);
        EXPECT_EQ(StateOf("Roads.MIF"), roads);
        EXPECT_EQ(StateOf("Roads.MID"), roads);
        EXPECT_EQ(StateOf(kControl + ".MIF"), control);
        EXPECT_EQ(StateOf(kControl + ".MID"), control);
        // GDAL reads every whole pair with as many objects as rows.
        TempDir whole;
        for (const std::string& layer : {std::string("Buildings"), std::string("Roads"), kControl})
            if (StateOf(layer + ".MIF") != State::Absent && StateOf(layer + ".MID") != State::Absent)
                for (const char* ext : {".MIF", ".MID"})
                    std::filesystem::copy_file(Out() + "/" + layer + ext, whole / (layer + ext));
        int status = 0;
        std::string report = ReadBack(whole.Path().string(), &status);
        EXPECT_EQ(status, 0) << report;
    }
    void Run(std::vector<int> script) {
        answers = std::move(script);
        next = 0;
        asked.clear();
        writer.log.clear();
        writer.Export(Out().c_str(), nullptr);
        writer.FreeExportData();
    }
    bool Kept(const std::string& layer) const {
        return writer.log.find("kept, exists: " + Out() + "/" + Cp1251(layer) + ".MIF, " + Cp1251(layer) + ".MID\n") !=
               std::string::npos;
    }

    TempDir temp, earlier, fresh;
    CLoggingMIFWriter writer;
    std::vector<int> answers;
    size_t next = 0;
    std::vector<std::string> asked;
};

TEST_F(MIFOverwriteTest, EveryAnswerLeavesWholePairsAndWritesThePairWithoutFiles) {
    const std::vector<std::string> both = {"Buildings.MIF", kControl + ".MIF"}, first = {"Buildings.MIF"};
    const struct {
        std::vector<int> answers;
        std::vector<std::string> asked;
        State buildingsMif, buildingsMid, roads, control;
        bool keptBuildings, keptControl;
    } cases[] = {
        // Yes and No hold for the whole pair; the pair without files is not asked about.
        {{kAnswerYes, kAnswerNo}, both, State::New, State::New, State::New, State::Earlier, false, true},
        // No keeps a partial pair as it is, without adding its missing file.
        {{kAnswerNo, kAnswerYes}, both, State::Earlier, State::Absent, State::New, State::New, true, false},
        {{kAnswerYesToAll}, first, State::New, State::New, State::New, State::New, false, false},
        {{kAnswerNoToAll}, first, State::Earlier, State::Absent, State::New, State::Earlier, true, true},
        // Cancel after Yes changes nothing at all.
        {{kAnswerYes, kAnswerCancel}, both, State::Earlier, State::Absent, State::Absent, State::Earlier, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.answers));
        EarlierFiles();
        const bool cancelled = c.answers.back() == kAnswerCancel;
        if (cancelled) {
            EXPECT_THROW(Run(c.answers), CUserBreakSignal);
            EXPECT_NE(writer.log.find("\nUser break during exporting"), std::string::npos);
            EXPECT_EQ(MapInfoFiles(Out()),
                      (std::vector<std::string>{"Buildings.MIF", kControl + ".MID", kControl + ".MIF"}));
        } else {
            Run(c.answers);
            EXPECT_NE(writer.log.find("END OF EXPORTING"), std::string::npos);
        }
        EXPECT_EQ(asked, c.asked);
        Expect(c.buildingsMif, c.buildingsMid, c.roads, c.control);
        EXPECT_EQ(Kept("Buildings"), c.keptBuildings);
        EXPECT_EQ(Kept(kControl), c.keptControl);
    }
    // After Yes to all every pair exists: the next run asks about each.
    EarlierFiles();
    Run({kAnswerYesToAll});
    Run({kAnswerNo, kAnswerNo, kAnswerNo});
    EXPECT_EQ(asked.size(), 3u);
}

}  // namespace
}  // namespace tvk::test
