// Every error the reader raises, with its exact message, and the report limit.
#include "ReaderTestUtil.h"

#include "platform/CodePage.h"

namespace tvk::test {
namespace {

class ErrorReportsTest : public ReaderTest {};

const std::string kP1 = PointLine(1, "ST1", "5000.000", "3000.000", "120.500");
const std::string kP2 = PointLine(2, "P2", "5010.000", "3005.000");
const std::string kLayer1 = Row({Num(0, 1), Num(9, 0), {18, "Roads"}});
const std::string kCode10 = Row({Num(0, 10), Num(9, 1), {18, "RD"}, {27, "Road"}});

TEST_F(ErrorReportsTest, SectionErrorsQuoteTheLine) {
    ReadText("BEGIN POINTS\n" + kP1 + "BEGIN POINTS\nEND LAYERS\n" + kP2 + "END POINTS\nEND POINTS\n" +
             "BEGIN POINTSX\n" + kP1 + "BEGIN LAYERS\n");
    const std::string bodyLine = kP1.substr(0, kP1.size() - 1);
    EXPECT_EQ(Reports(), (std::vector<std::string>{
                             "E0000 Unexpected begin of section [BEGIN POINTS]",
                             "E0003 Syntax error [END LAYERS]",
                             "E0001 Unexpected end of section [END POINTS]",
                             "E0003 Syntax error [BEGIN POINTSX]",
                             "E0004 Unexpected body of section [" + bodyLine + "]",
                             "E0002 Unexpected end of file",
                         }));
    EXPECT_EQ(reader.ErrorCount, 6);
    EXPECT_EQ(reader.Points.size(), 2u);
}

TEST_F(ErrorReportsTest, LineErrorsOfTheParsers) {
    ReadText(Section("POINTS", kP1 + Row({{0, "      -3"}, {9, "BAD"}, {35, "1"}, {52, "2"}})) +
             Section("LAYERS", kLayer1) + Section("FEATURE_CODES", kCode10) +
             Section("FEATURE_ATTRIBUTES", Row({Num(0, 10), {9, "/Symbol(1,Arial,0,0,10,0)"}})) +
             Section("FEATURE_PROPERTIES", Row({Num(0, 10), Num(9, 1, 4), {14, "   "}, {31, "Float"}})) +
             "BEGIN FEATURES\n" + Row({Num(0, 5), {9, "POINT"}, Num(26, 10), Num(35, 1)}) + "END FEATURES");
    EXPECT_EQ(Reports(), (std::vector<std::string>{
                             "E0005 Invalid index [      -3 BAD                       1                2]",
                             "E0006 Invalid descriptor [      10 /Symbol(1,Arial,0,0,10,0)]",
                             "E0014 Invalid property name [      10    1                  Float]",
                         }));
    EXPECT_EQ(reader.ErrorCount, 3);
    EXPECT_FALSE(reader.FeatureStyles[0].Symbol);
}

TEST_F(ErrorReportsTest, ValidationErrorsNameTheFileNumbers) {
    ReadText(Section("POINTS", kP1 + PointLine(17, "NOY", "5000", "")) +
             Section("LAYERS", kLayer1 + Row({Num(0, 2), Num(9, 9), {18, "Orphan"}}) + Row({Num(0, 3), Num(9, 1)})) +
             Section("FEATURE_CODES", kCode10) +
             Section("FEATURES", Row({Num(0, 5), {9, "LINE"}, Num(26, 77), Num(35, 1), Num(44, 99)}) +
                                     Row({Num(0, 100), {9, "POINT"}, Num(26, 10), Num(35, 17)}) +
                                     Row({Num(0, 101), {9, "POINT"}, Num(26, 10), Num(35, 1)})) +
             Section("FEATURE_DATA", Row({Num(0, 101), Num(9, 7, 4), {14, "x"}})));
    EXPECT_EQ(Reports(), (std::vector<std::string>{
                             "E0012 Invalid point [Point index: 17]",
                             "E0009 Invalid layer index [Layer index: 2 Parent layer index: 9]",
                             "E0013 Invalid layer name [Layer index: 3 Layer name: ]",
                             "E0008 Invalid feature code index [Feature index: 5 Feature code index: 77]",
                             "E0007 Invalid point index [Feature index: 5 Point index: 99]",
                             "E0012 Invalid point [Feature index: 100 Point index: 17]",
                             "E0011 Invalid property index [Feature index: 101 Property index: 7]",
                         }));
}

TEST_F(ErrorReportsTest, LastLineWithoutLineFeedGetsItsClosingBracket) {
    ReadText("BEGIN POINTS\n      -1 X");
    EXPECT_EQ(Reports(),
              (std::vector<std::string>{"E0005 Invalid index [      -1 X]", "E0002 Unexpected end of file"}));
}

TEST_F(ErrorReportsTest, TheOneNumberNoLineRaisesHasItsText) {
    reader.Init();
    reader.WriteErrorMessage(10, "x");
    EXPECT_EQ(reader.Reports(), (std::vector<std::string>{"E0010 Invalid feature index [x]"}));
}

TEST_F(ErrorReportsTest, MessagesFollowTheInterfaceLanguage) {
    CStringTable::SetLanguage(CStringTable::Language::Russian);
    ReadText("BEGIN POINTS\n      -1 X\nEND POINTS\n");
    CStringTable::SetLanguage(CStringTable::Language::English);
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Utf8From1251(Reports()[0]), "E0005 Неверный номер [      -1 X]");
}

TEST_F(ErrorReportsTest, OnlyTheFirstHundredReportsAreWritten) {
    std::string body;
    for (int i = 0; i < 150; ++i) body += "      -" + std::to_string(i + 1) + " bad\n";
    ReadText(Section("POINTS", body));
    auto reports = Reports();
    ASSERT_EQ(reports.size(), 100u);
    EXPECT_EQ(reports[99], "E0005 Invalid index [      -100 bad]");
    EXPECT_EQ(reader.ErrorCount, 150);
    std::string log = reader.Log();
    EXPECT_NE(
        log.find("End of data validation\n\nToo much errors. Not all error messages was printed\nTotal errors: 150\n"),
        std::string::npos);
}

}  // namespace
}  // namespace tvk::test
