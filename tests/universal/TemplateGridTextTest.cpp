// Taking the template grid's cell texts back, the escaped form of literal
// texts and the clipboard block (the texts shown: tests/grid and `template
// show` in tests/cli).
#include <gtest/gtest.h>

#include "platform/StringTable.h"
#include "universal/TemplateGridText.h"
#include "universal/UETemplate.h"

using namespace tvk;

namespace {
struct English : ::testing::Test {
    void SetUp() override { CStringTable::SetLanguage(CStringTable::Language::English); }
};
using Col = TemplateColumn;
}  // namespace

TEST(TemplateGridText, EscapingRoundTripsAndToleratesStrayBackslashes) {
    EXPECT_EQ(EscapeText("a b\tc\nd\\e"), "a\\sb\\tc\\nd\\\\e");
    EXPECT_EQ(UnescapeText("a\\sb\\tc\\nd\\\\e"), "a b\tc\nd\\e");
    // A backslash before b is doubled, and taking the text back gives it again.
    EXPECT_EQ(EscapeText("x\\b"), "x\\\\b");
    EXPECT_EQ(UnescapeText(EscapeText("x\\b")), "x\\b");
    // An unknown escape goes with its letter; a backslash at the end stays.
    EXPECT_EQ(UnescapeText("a\\bc"), "ac");
    EXPECT_EQ(UnescapeText("end\\"), "end\\");
    EXPECT_EQ(UnescapeText("\\"), "\\");
    for (std::string s : {"", " ", "\\\\n", "\\s\\", "\t\t\n", "\xE0\xF0 \\"})
        EXPECT_EQ(UnescapeText(EscapeText(s)), s) << s;
}

TEST_F(English, TakingCellsBack) {
    CUEField f;
    EXPECT_EQ(TakeCellText(f, Col::FieldType, "E"), CellTakeResult::Taken);
    EXPECT_EQ(f.FieldType, CUEField::kEast);
    EXPECT_EQ(TakeCellText(f, Col::TextPrecision, "4"), CellTakeResult::Taken);
    EXPECT_EQ(f.Precision, 4);
    EXPECT_EQ(TakeCellText(f, Col::TextPrecision, "21"), CellTakeResult::InvalidPrecision);
    EXPECT_EQ(f.Precision, 4);
    EXPECT_EQ(TakeCellText(f, Col::Width, "100"), CellTakeResult::Taken);
    EXPECT_EQ(TakeCellText(f, Col::Width, "101"), CellTakeResult::InvalidWidth);
    EXPECT_EQ(f.Width, 100);
    EXPECT_EQ(TakeCellText(f, Col::Adjustment, "Left"), CellTakeResult::Taken);
    EXPECT_EQ(f.Alignment, CUEField::kLeft);
    EXPECT_EQ(TakeCellText(f, Col::Adjustment, "Sideways"), CellTakeResult::Taken);
    EXPECT_EQ(f.Alignment, CUEField::kLeft);  // stays valid

    TakeCellText(f, Col::FieldType, "Nonsense");
    EXPECT_EQ(f.FieldType, CUEField::kText);
    TakeCellText(f, Col::TextPrecision, "  \\s;\\t ");
    EXPECT_EQ(f.Text, " ;\t");
    // A pasted text over 100 characters would make the template invalid.
    EXPECT_EQ(TakeCellText(f, Col::TextPrecision, std::string(101, 'x')), CellTakeResult::InvalidText);
    EXPECT_EQ(f.Text, " ;\t");
    TakeCellText(f, Col::FieldType, "Name");
    TakeCellText(f, Col::TextPrecision, "99");
    EXPECT_EQ(f.Text, " ;\t");
    EXPECT_EQ(f.Precision, 4);
}

TEST_F(English, ClipboardBlockRoundTrips) {
    std::vector<CUEField> rows = {CUEField(CUEField::kText, "a b\\", 4, 10, 1), CUEField(CUEField::kNorth, "", 9, 2),
                                  CUEField(CUEField::kLongitude, "", 0, 5)};
    std::string block = BuildClipboardBlock(rows);
    EXPECT_EQ(block.substr(0, 24), std::string("Text\0\ta\\sb\\\\\0\t4\0\tRight\0\t", 24));
    EXPECT_EQ(block.substr(block.size() - 4), std::string("t\0\t\t", 4));
    std::vector<CUEField> pasted = ParseClipboardBlock(block);
    EXPECT_EQ(pasted, rows);
    EXPECT_TRUE(ParseClipboardBlock(BuildClipboardBlock({})).empty());
}

TEST_F(English, PastingStopsAtTheEndMarks) {
    using namespace std::string_literals;
    // A zero byte without a tab after it ends the paste after that cell.
    auto rows = ParseClipboardBlock("H\0\t3\0\t8\0x"s);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].FieldType, CUEField::kHeight);
    EXPECT_EQ(rows[0].Precision, 3);
    EXPECT_EQ(rows[0].Width, 8);
    EXPECT_EQ(rows[0].Alignment, CUEField::kLeft);
    // Two tabs end it, even in the middle of a row.
    rows = ParseClipboardBlock("N\0\t\tE\0\t"s);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].FieldType, CUEField::kNorth);
    // A text without a zero byte gives nothing; a bad width keeps the default.
    EXPECT_TRUE(ParseClipboardBlock("Text").empty());
    rows = ParseClipboardBlock("Text\0\tx\0\t500\0\tRight\0\t\t"s);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Width, 0);
    EXPECT_EQ(rows[0].Text, "x");
}
