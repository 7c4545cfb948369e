// The command line's overwrite question: answers read from a terminal (the
// policies of --overwrite: MifCommandTest, ShpCommandTest, UsageTest).
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

TEST(OverwritePrompt, UnderstandsEveryAnswerInBothLanguages) {
    using tvk::CStringTable;
    const struct {
        CStringTable::Language language;
        const char* input;
        int answer;
    } cases[] = {
        {CStringTable::Language::English, "y\n", tvk::kAnswerYes},
        {CStringTable::Language::English, "No\n", tvk::kAnswerNo},
        {CStringTable::Language::English, "A\n", tvk::kAnswerYesToAll},
        {CStringTable::Language::English, "  No to all \n", tvk::kAnswerNoToAll},
        {CStringTable::Language::English, "cancel", tvk::kAnswerCancel},  // no line end before the input ends
        {CStringTable::Language::Russian, "Нет для всех\n", tvk::kAnswerNoToAll},
        {CStringTable::Language::Russian, "Да\n", tvk::kAnswerYes},
    };
    for (const auto& c : cases) {
        CStringTable::SetLanguage(c.language);
        EXPECT_EQ(Ask(c.input), c.answer) << c.input;
    }
    CStringTable::SetLanguage(CStringTable::Language::English);
}

TEST(OverwritePrompt, ShowsBothFileTextsAsksAgainUntilUnderstoodAndCancelsAtEnd) {
    tvk::CStringTable::SetLanguage(tvk::CStringTable::Language::English);
    std::string shown;
    EXPECT_EQ(Ask("maybe\n\ny\n", &shown), tvk::kAnswerYes);
    EXPECT_NE(shown.find("Confirm file replace"), std::string::npos) << shown;
    EXPECT_NE(shown.find("/out/Roads.MIF\n1024 bytes "), std::string::npos) << shown;
    EXPECT_NE(shown.find("Replace it with the new file?\nRoads.MIF\n"), std::string::npos) << shown;
    size_t asked = 0;
    for (size_t p = shown.find("[c] Cancel"); p != std::string::npos; p = shown.find("[c] Cancel", p + 1)) ++asked;
    EXPECT_EQ(asked, 3u);
    EXPECT_EQ(Ask(""), tvk::kAnswerCancel);
    EXPECT_EQ(Ask("what\n"), tvk::kAnswerCancel);
}

}  // namespace
}  // namespace tlxcli
