// The command line's overwrite question: answers read from a terminal, and the
// policies of --overwrite.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cli/OverwritePrompt.h"
#include "platform/StringTable.h"

namespace tlxcli {
namespace {

// Runs the prompt on `input`; returns the answer and the text shown.
int Ask(const std::string& input, std::string* shown = nullptr) {
    std::string in = input;
    FILE* fin = fmemopen(in.data(), in.size() ? in.size() : 1, "r");
    if (in.empty()) std::fgetc(fin);  // fmemopen needs a size; start at its end
    char* outBuf = nullptr;
    size_t outSize = 0;
    FILE* fout = open_memstream(&outBuf, &outSize);
    tvk::ExistingFileStatus existing{"/out/Roads.MIF", 1024, 0};
    int answer = AskOnTerminal(existing, "/out/Roads.MIF", fin, fout);
    std::fclose(fin);
    std::fclose(fout);
    if (shown) *shown = std::string(outBuf, outSize);
    std::free(outBuf);
    return answer;
}

TEST(OverwritePrompt, UnderstandsEveryAnswer) {
    tvk::CStringTable::SetLanguage(tvk::CStringTable::Language::English);
    EXPECT_EQ(Ask("y\n"), tvk::kAnswerYes);
    EXPECT_EQ(Ask("yes\n"), tvk::kAnswerYes);
    EXPECT_EQ(Ask("n\n"), tvk::kAnswerNo);
    EXPECT_EQ(Ask("No\n"), tvk::kAnswerNo);
    EXPECT_EQ(Ask("A\n"), tvk::kAnswerYesToAll);
    EXPECT_EQ(Ask("yes to all\n"), tvk::kAnswerYesToAll);
    EXPECT_EQ(Ask("N\n"), tvk::kAnswerNoToAll);
    EXPECT_EQ(Ask("  No to all \n"), tvk::kAnswerNoToAll);
    EXPECT_EQ(Ask("c\n"), tvk::kAnswerCancel);
    EXPECT_EQ(Ask("cancel"), tvk::kAnswerCancel);  // no line end before the input ends
}

TEST(OverwritePrompt, AsksAgainUntilUnderstoodAndCancelsAtEnd) {
    tvk::CStringTable::SetLanguage(tvk::CStringTable::Language::English);
    std::string shown;
    EXPECT_EQ(Ask("maybe\n\ny\n", &shown), tvk::kAnswerYes);
    size_t asked = 0;
    for (size_t p = shown.find("[c] Cancel"); p != std::string::npos; p = shown.find("[c] Cancel", p + 1)) ++asked;
    EXPECT_EQ(asked, 3u);
    EXPECT_EQ(Ask(""), tvk::kAnswerCancel);
    EXPECT_EQ(Ask("what\n"), tvk::kAnswerCancel);
}

TEST(OverwritePrompt, ShowsBothFileTexts) {
    tvk::CStringTable::SetLanguage(tvk::CStringTable::Language::English);
    std::string shown;
    Ask("y\n", &shown);
    EXPECT_NE(shown.find("Confirm file replace"), std::string::npos) << shown;
    EXPECT_NE(shown.find("/out/Roads.MIF\n1024 bytes "), std::string::npos) << shown;
    EXPECT_NE(shown.find("Replace it with the new file?\nRoads.MIF\n"), std::string::npos) << shown;
}

TEST(OverwritePrompt, RussianWordsAreAnswersToo) {
    tvk::CStringTable::SetLanguage(tvk::CStringTable::Language::Russian);
    EXPECT_EQ(Ask("Нет для всех\n"), tvk::kAnswerNoToAll);
    EXPECT_EQ(Ask("Да\n"), tvk::kAnswerYes);
    tvk::CStringTable::SetLanguage(tvk::CStringTable::Language::English);
}

TEST(OverwritePrompt, Policies) {
    OverwritePolicy policy;
    EXPECT_TRUE(ParseOverwritePolicy("ask", policy));
    EXPECT_EQ(policy, OverwritePolicy::Ask);
    EXPECT_TRUE(ParseOverwritePolicy("all", policy));
    EXPECT_EQ(policy, OverwritePolicy::All);
    EXPECT_TRUE(ParseOverwritePolicy("none", policy));
    EXPECT_EQ(policy, OverwritePolicy::None);
    EXPECT_FALSE(ParseOverwritePolicy("yes", policy));
}

}  // namespace
}  // namespace tlxcli
