// The overwrite decision: one question per set of files, what each answer does to the later sets,
// and the texts the question shows.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "export/OverwriteDecision.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"
#include "platform/StringTable.h"

using namespace tvk;

namespace {

// Runs the decision against memory files with scripted answers.
class OverwriteDecisionTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetFileSystem(&files);
        SetOverwriteQuestion([this](const ExistingFileStatus& existing, const std::string& newPath) {
            asked.push_back(newPath);
            lastExisting = existing;
            int answer = answers.empty() ? kAnswerNo : answers.front();
            if (!answers.empty()) answers.erase(answers.begin());
            return answer;
        });
        files.Put("/out/a.mif", std::string(1024, 'x'));
        files.Put("/out/b.mif", "b");
        files.Put("/out/c.mif", "c");
    }
    void TearDown() override {
        SetOverwriteQuestion(nullptr);
        SetFileSystem(nullptr);
    }
    CMemoryFileSystem files;
    std::vector<int> answers;
    std::vector<std::string> asked;
    ExistingFileStatus lastExisting;
};

using Set = std::vector<std::string>;

TEST_F(OverwriteDecisionTest, ASetWithNoExistingFileIsWrittenUnderEveryAnswerWithoutAsking) {
    for (int mode : {kOverwriteAsk, kOverwriteAll, kOverwriteNone}) {
        int m = mode;
        EXPECT_TRUE(DecideOverwrite(m, Set{"/out/new.mif", "/out/new.mid"}));
        EXPECT_EQ(m, mode);
    }
    EXPECT_TRUE(asked.empty());
}

TEST_F(OverwriteDecisionTest, OneQuestionPerSetAboutItsFirstExistingFile) {
    int mode = kOverwriteAsk;
    answers = {kAnswerYes, kAnswerNo};
    // Only the second file of the first set exists: it is the one shown.
    EXPECT_TRUE(DecideOverwrite(mode, Set{"/out/x.mif", "/out/b.mif", "/out/c.mif"}));
    EXPECT_EQ(lastExisting.fullPath, "/out/b.mif");
    EXPECT_EQ(lastExisting.size, 1);
    EXPECT_FALSE(DecideOverwrite(mode, Set{"/out/a.mif", "/out/y.mid"}));
    EXPECT_EQ(mode, kOverwriteAsk);
    EXPECT_EQ(asked, (Set{"/out/b.mif", "/out/a.mif"}));
    EXPECT_EQ(lastExisting.size, 1024);
}

TEST_F(OverwriteDecisionTest, YesToAllAndNoToAllAnswerForEveryLaterSetWithAnExistingFile) {
    for (int answer : {int(kAnswerYesToAll), int(kAnswerNoToAll)}) {
        int mode = kOverwriteAsk;
        answers = {answer};
        asked.clear();
        const bool write = answer == kAnswerYesToAll;
        EXPECT_EQ(DecideOverwrite(mode, Set{"/out/a.mif"}), write);
        EXPECT_EQ(mode, write ? kOverwriteAll : kOverwriteNone);
        EXPECT_EQ(DecideOverwrite(mode, Set{"/out/fresh.mif", "/out/c.mif"}), write);
        EXPECT_TRUE(DecideOverwrite(mode, Set{"/out/fresh.mif", "/out/fresh.mid"}));
        EXPECT_EQ(asked.size(), 1u);
    }
}

TEST_F(OverwriteDecisionTest, CancelAndNonsenseAnswersBreakTheRun) {
    for (int answer : {int(kAnswerCancel), 0, 6, -1}) {
        int mode = kOverwriteAsk;
        answers = {answer};
        EXPECT_THROW(DecideOverwrite(mode, Set{"/out/a.mif"}), CUserBreakSignal) << answer;
        EXPECT_EQ(mode, kOverwriteAsk);
    }
}

TEST_F(OverwriteDecisionTest, WithoutAQuestionExistingSetsAreKept) {
    SetOverwriteQuestion(nullptr);
    int mode = kOverwriteAsk;
    EXPECT_FALSE(DecideOverwrite(mode, Set{"/out/other.mif", "/out/a.mif"}));
    EXPECT_TRUE(DecideOverwrite(mode, Set{"/out/other.mif"}));
}

TEST(OverwriteTexts, ExistingFileShowsPathSizeAndTime) {
    CStringTable::SetLanguage(CStringTable::Language::Russian);
    std::string text = ExistingFileText({"/out/a.mif", 1024, 0});
    CStringTable::SetLanguage(CStringTable::Language::English);
    ASSERT_EQ(text.rfind("/out/a.mif\n1024 байт ", 0), 0u) << text;
    EXPECT_GT(text.size(), std::string("/out/a.mif\n1024 байт ").size());  // the time follows

    text = ExistingFileText({"/out/big.shp", 5000000000LL, 0});
    EXPECT_EQ(text.rfind("/out/big.shp\n5000000000 bytes ", 0), 0u) << text;
}

TEST(OverwriteTexts, NewFileShowsTheNameWithoutFolder) {
    for (const char* path : {"/out/dir/Roads.mif", "C:\\out\\Roads.mif", "Roads.mif"}) {
        std::string text = NewFileText(path);
        EXPECT_EQ(text.rfind("Roads.mif\n", 0), 0u) << text;
        EXPECT_GT(text.size(), std::string("Roads.mif\n").size());
    }
}

TEST(OverwriteDecisionOnDisk, TheQuestionGetsTheFullPathOfARelativeName) {
    std::string dir = ::testing::TempDir() + "/overwrite_rel";
    std::filesystem::create_directories(dir);
    std::string old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    {
        FILE* f = std::fopen("x.mif", "wb");
        std::fputs("12345", f);
        std::fclose(f);
    }
    ExistingFileStatus seen;
    SetOverwriteQuestion([&](const ExistingFileStatus& e, const std::string&) {
        seen = e;
        return kAnswerYes;
    });
    int mode = kOverwriteAsk;
    EXPECT_TRUE(DecideOverwrite(mode, {"x.mif"}));
    SetOverwriteQuestion(nullptr);
    std::filesystem::current_path(old);
    EXPECT_EQ(seen.fullPath, std::filesystem::path(dir + "/x.mif").lexically_normal().string());
    EXPECT_EQ(seen.size, 5);
    EXPECT_GT(seen.modified, 0);
}

}  // namespace
