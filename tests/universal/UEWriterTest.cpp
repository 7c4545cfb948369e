// The text export: one line per survey point laid out by the template.
#include <gtest/gtest.h>

#include "msr/msr.h"
#include "universal/UETestUtil.h"

using namespace tvk;
using namespace uetest;

namespace {

// Three survey points, a point with geodetic coordinates only (left out),
// and two circles whose generated points are construction points.
std::string Survey() {
    return Section("POINTS", PointLine(1, "T1", "1234.5678", "500.25", "12.5") +
                                 PointLine(2, Cp1251("ар1"), "123456.789", "-20", "0") +
                                 PointLine(3, "", "10", "20", "30") + PointLine(4, "C", "100", "100", "1")) +
           Section("GDS_COORDS", GeoLine(1, "55.4530123", "37.3700000") + GeoLine(3, "-33.5200000", "") +
                                     GeoLine(9, "1.0000000", "2.0000000")) +
           Section("LAYERS", LayerLine(1, 0, "Wells")) + Section("FEATURE_CODES", CodeLine(40, 1, "WELL", "Well")) +
           Section("FEATURES", FeatureLine(1, "CIRC0", 40, {4, "0.75"}) + FeatureLine(2, "CIRC1", 40, {4, 1}));
}

struct TextExport : UEExport {
    void SetUp() override {
        UEExport::SetUp();
        Load(Survey());
    }
};

}  // namespace

TEST_F(TextExport, BuiltInTemplateWritesNameAndCoordinatesWithCrLf) {
    ASSERT_GT(writer.Points.size(), 5u);  // the circles made construction points
    EXPECT_EQ(Run(CUETemplate::Internal()), "T1, 1234.5678000000, 500.2500000000, 12.5000000000\r\n" + Cp1251("ар1") +
                                                ", 123456.7890000000, -20.0000000000, 0.0000000000\r\n"
                                                ", 10.0000000000, 20.0000000000, 30.0000000000\r\n"
                                                "C, 100.0000000000, 100.0000000000, 1.0000000000\r\n");
}

TEST_F(TextExport, WidthAlignmentPrecisionAndCutting) {
    CUETemplate t = Fields({CUEField(CUEField::kName, "", 4), CUEField(CUEField::kText, "|"),
                            CUEField(CUEField::kNorth, "", 8, 3, CUEField::kRight), CUEField(CUEField::kText, "|"),
                            CUEField(CUEField::kEast, "", 0, 1), CUEField(CUEField::kText, "|"),
                            CUEField(CUEField::kHeight, "", 6, 2, CUEField::kLeft), CUEField(CUEField::kText, "|")});
    std::string out = Run(t);
    EXPECT_EQ(out.substr(0, out.find('\n') + 1), "T1  |1234.568|500.2|12.50 |\r\n");
    // A longer text is cut to the width: 123456.789 keeps its first 8 characters.
    EXPECT_NE(out.find("|123456.7|-20.0|0.00  |\r\n"), std::string::npos);
    EXPECT_NE(out.find("\r\n    |  10.000|20.0|30.00 |\r\n"), std::string::npos);
}

TEST_F(TextExport, LiteralTextsEmptyTemplatesAndKindsWithoutOutput) {
    EXPECT_EQ(Run(CUETemplate()), "\r\n\r\n\r\n\r\n");  // one empty line per survey point
    EXPECT_EQ(Run(Fields({CUEField(CUEField::kText, std::string(2000, 'a'))})).substr(0, 1026),
              std::string(1024, 'a') + "\r\n");  // cut at 1024 characters
    EXPECT_EQ(Run(Fields({CUEField(CUEField::kText, "a\nb")})).substr(0, 6), "a\r\nb\r\n");
    EXPECT_EQ(Run(Fields({CUEField(7, "", 9), CUEField(CUEField::kText, "x")})).substr(0, 3), "x\r\n");
}

TEST_F(TextExport, LatitudeAndLongitudeGoThroughTheAngleFormats) {
    CUETemplate t = Fields({CUEField(CUEField::kLatitude, "", 12, 3, CUEField::kRight), CUEField(CUEField::kText, ";"),
                            CUEField(CUEField::kLongitude, "", 0, 3), CUEField(CUEField::kText, ";")});
    std::string out = Run(t);
    // Point 2 has no geodetic coordinates and point 3 a blank longitude: those
    // fields are empty, without the width's padding.
    EXPECT_EQ(out, "  55.4530123;37.3700000;\r\n;;\r\n -33.5200000;;\r\n;;\r\n");

    t.AngleFormat = "ddd.xxxxx";
    EXPECT_EQ(Run(t).substr(0, 22), "      55.758;37.617;\r\n");

    // Gon ignores the letters of the format; so does mil.
    t.AngleUnit = 1;
    t.Fields[0].Precision = 4;
    EXPECT_EQ(Run(t).substr(0, 13), "     61.9537;");
    t.AngleUnit = 2;
    t.Fields[0].Precision = 2;
    EXPECT_EQ(Run(t).substr(0, 13), "      991.26;");
}

TEST_F(TextExport, UnreadableGeodeticTextsGiveEmptyFields) {
    // 75 minutes is no angle: the field is empty, even with a width, instead of reading as 0.
    Load(Section("POINTS", PointLine(1, "A", "1", "2", "3")) + Section("GDS_COORDS", GeoLine(1, "55.7530000", "x")));
    EXPECT_EQ(Run(Fields({CUEField(CUEField::kLatitude, "", 3), CUEField(CUEField::kText, "|"),
                          CUEField(CUEField::kLongitude)})),
              "|\r\n");
}

TEST_F(TextExport, DosCodePageConvertsCyrillicAndKeepsAscii) {
    CUETemplate t = Fields({CUEField(CUEField::kName), CUEField(CUEField::kText, Cp1251(" Ёё-Zz09"))});
    std::string out = Run(t, true);
    std::string second = out.substr(out.find("\r\n") + 2);
    EXPECT_EQ(second.substr(0, second.find("\r\n")),
              "\xA0\xE0"
              "1 \xF0\xF1-Zz09");
    EXPECT_EQ(out.substr(0, out.find("\r\n")), "T1 \xF0\xF1-Zz09");
    // Without the option the bytes stay 1251.
    EXPECT_NE(Run(t).find(Cp1251("ар1 Ёё")), std::string::npos);
}

TEST_F(TextExport, TemplateSettingsApplyDuringTheRunAndAreRestoredAfterwards) {
    msr::CSettings odd{msr::kMetre, msr::kRadian, msr::kInHg, msr::kKelvin, msr::kNorthPlain, msr::kEastZoned, 7, 9, 5};
    odd.Apply();

    CUETemplate t = Fields(
        {CUEField(CUEField::kNorth, "", 0, 3), CUEField(CUEField::kText, " "), CUEField(CUEField::kEast, "", 0, 3)});
    t.NorthType = 1;
    t.EastType = 2;
    t.FalseNorthing = 1000;
    t.FalseEasting = 500000;
    t.Zone = 12;
    t.AngleUnit = 1;
    t.LinearUnit = 0;
    EXPECT_EQ(Run(t).substr(0, 22), "234.568 12500500.250\r\n");
    EXPECT_TRUE(msr::CSettings::Current() == odd);

    // -1 keeps the library's styles and units; feet come through the linear unit.
    t.NorthType = t.EastType = -1;
    t.LinearUnit = 1;
    t.FalseNorthing = 0;
    t.Zone = 3;
    EXPECT_EQ(Run(t).substr(0, 23), "4050.419 31642061.188\r\n");
    EXPECT_EQ(msr::CSettings::Current().linearUnit, msr::kMetre);
    msr::CSettings().Apply();
}

TEST_F(TextExport, PreviewShowsSixteenLinesOrAbout2500Characters) {
    std::string points;
    for (int i = 1; i <= 100; ++i) points += PointLine(i, "P" + std::to_string(i), "1", "2", "3");
    Load(Section("POINTS", points));
    std::string shown;
    CUEPreviewOutput preview([&](const std::string& text) { shown = text; });
    CUETemplate t = CUETemplate::Internal();
    writer.SetTemplate(&t);
    writer.SetOutput(&preview);
    preview.Open("15");
    writer.Export("", nullptr);
    preview.Close();
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 16);
    EXPECT_EQ(shown.substr(0, 50), "P1, 1.0000000000, 2.0000000000, 3.0000000000\r\nP2, ");
    EXPECT_TRUE(preview.Buffer().empty());

    CUETemplate wide = Fields({CUEField(CUEField::kText, std::string(100, 'w'))});
    writer.SetTemplate(&wide);
    preview.Open("1000");
    writer.Export("", nullptr);
    EXPECT_EQ(preview.Lines(), 25);  // 25 lines of 102 bytes pass 2500
    preview.Close();
    EXPECT_EQ(shown.size(), 25u * 102u);
}

TEST_F(TextExport, BlocksFormattedOnTwoThreadsGiveTheSameLines) {
    CUETemplate t = Fields({CUEField(CUEField::kName, "", 4), CUEField(CUEField::kLatitude, "", 11, 3),
                            CUEField(CUEField::kNorth, "", 0, 2)});
    std::string sequential = Run(t, true);
    for (int perBlock : {1, 2, 3, 5}) {
        writer.m_nLinesPerBlock = perBlock;
        EXPECT_EQ(Run(t, true), sequential) << perBlock;
    }

    std::string points;
    for (int i = 1; i <= 100; ++i) points += PointLine(i, "P" + std::to_string(i), "1", "2", "3");
    Load(Section("POINTS", points));
    writer.m_nLinesPerBlock = 7;
    CUEPreviewOutput preview;
    writer.SetTemplate(&t);
    writer.SetOutput(&preview);
    preview.Open("15");
    writer.Export("", nullptr);
    EXPECT_EQ(preview.Lines(), 16);
    EXPECT_EQ(preview.Buffer().substr(0, 10), "P1  1.00\r\n");
}

TEST_F(TextExport, AStopBetweenBlocksEndsTheRunAndRestoresTheSettings) {
    std::string points;
    for (int i = 1; i <= 200; ++i) points += PointLine(i, "P" + std::to_string(i), "1", "2", "3");
    Load(Section("POINTS", points));
    writer.m_nLinesPerBlock = 8;
    int steps = 0;
    writer.OnProgressStep = [&](int) {
        if (++steps == 50) writer.TryToStop();
    };
    msr::CSettings before = msr::CSettings::Current();
    CUETemplate t = CUETemplate::Internal();
    t.LinearUnit = 1;
    t.NorthType = 0;
    EXPECT_THROW(Run(t), CThreadStopSignal);
    EXPECT_EQ(steps, 50);
    EXPECT_EQ(msr::CSettings::Current().linearUnit, before.linearUnit);
    EXPECT_EQ(msr::CSettings::Current().northStyle, before.northStyle);
}
