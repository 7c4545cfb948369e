// The text pieces of the interchange files: numbers, names, header, MID values,
// objects and style clauses, byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "mif/MIFStyle.h"
#include "mif/MIFText.h"
#include "platform/CodePage.h"

namespace tvk {
namespace {

std::string Number(double v) {
    std::string s;
    AppendMIFNumber(s, v);
    return s;
}

std::string MIFName(std::string name) {
    name.push_back('\0');
    ConvertToMIFName(name.data());
    return std::string(name.c_str());
}

TEST(MIFNumber, GcvtWithSixteenDigits) {
    EXPECT_EQ(Number(100), "100.");
    EXPECT_EQ(Number(0.5), "0.5");
    EXPECT_EQ(Number(0.05), "5.e-002");
    EXPECT_EQ(Number(6000000.125), "6000000.125");
    EXPECT_EQ(Number(-12), "-12.");
    EXPECT_EQ(Number(0), "0.");
    EXPECT_EQ(Number(1e16), "1.e+016");
    EXPECT_EQ(Number(0.1), "0.1");
    EXPECT_EQ(Number(1.0 / 3), "0.3333333333333333");
}

TEST(MIFName, ConvertsCutsAndGuardsLeadingDigit) {
    EXPECT_EQ(MIFName("1st layer"), "_st_layer");
    EXPECT_EQ(MIFName(std::string(40, 'A')), std::string(32, 'A'));
    EXPECT_EQ(MIFName(std::string(32, 'b')), std::string(32, 'b'));
    EXPECT_EQ(MIFName("Name-1.x"), "Name_1_x");
    EXPECT_EQ(MIFName(""), "");
    // 1251 letters stay letters whatever the process locale.
    std::string cyr = Cp1251("Отношение к рельефу");
    EXPECT_EQ(MIFName(cyr), Cp1251("Отношение_к_рельефу"));
    // The cut counts bytes of the 1251 text, before the digit rule.
    EXPECT_EQ(MIFName("9" + std::string(35, 'z')), "_" + std::string(31, 'z'));
}

TEST(MIFHeader, ExactTextWithSquareBounds) {
    MIFExtents e;
    e.Add(100, 200);
    e.Add(300, 260);
    std::vector<MIFColumn> columns = {
        {"NAME", kTypeChar, 20, 0},   {"N", kTypeInteger, 0, 0}, {"S", kTypeSmallint, 0, 0},
        {"D", kTypeDecimal, 10, 2},   {"F", kTypeFloat, 0, 0},   {"A", kTypeAngular, 0, 0},
    };
    std::string h;
    AppendMIFHeader(h, e, columns);
    // dx = 20, dy = 6: lo = min(80, 194), hi = max(320, 266).
    EXPECT_EQ(h,
              "Version 300\nCharset \"WindowsCyrillic\"\nCoordSys Nonearth Units \"m\"\n"
              "Bounds (80., 80.) (320., 320.)\n"
              "Columns 6\n\tNAME Char(20)\n\tN Integer\n\tS Smallint\n\tD Decimal(10,2)\n"
              "\tF Float\n\tA Float\nData\n");
}

TEST(MIFHeader, VerticalLineStillGetsSquareFromYRange) {
    MIFExtents e;
    e.Add(50, 0);
    e.Add(50, 1000);
    std::string h;
    AppendMIFHeader(h, e, {});
    EXPECT_NE(h.find("Bounds (-100., -100.) (1100., 1100.)\nColumns 0\nData\n"), std::string::npos) << h;
}

TEST(MIFHeader, CharWidthClampedIntoMapInfoRange) {
    std::string s;
    AppendMIFColumn(s, {"A", kTypeChar, 8, 0});
    AppendMIFColumn(s, {"B", kTypeChar, 0, 0});
    AppendMIFColumn(s, {"C", kTypeChar, -3, 0});
    AppendMIFColumn(s, {"D", kTypeChar, 255, 0});
    AppendMIFColumn(s, {"E", kTypeChar, 254, 0});
    EXPECT_EQ(s, "\tA Char(8)\n\tB Char(1)\n\tC Char(1)\n\tD Char(254)\n\tE Char(254)\n");
}

TEST(MIDValue, PlainMissingAndQuoted) {
    std::string row;
    AppendMIDValue(row, "abc");
    AppendMIDValue(row, nullptr);
    AppendMIDValue(row, "");
    AppendMIDValue(row, "a\tb");
    AppendMIDValue(row, "5\" pipe");
    AppendMIDValue(row, "\"");
    AppendMIDValue(row, "it's, fine");
    EXPECT_EQ(row, "abc\t?\t\t\"a\tb\"\t\"5\"\" pipe\"\t\"\"\"\"\tit's, fine\t");
}

TEST(MIFStyle, ColoursAndPatterns) {
    EXPECT_EQ(MIFColorFromRGB(0x0000FF), 16711680u);  // red
    EXPECT_EQ(MIFColorFromRGB(0xFF0000), 255u);       // blue
    EXPECT_EQ(MIFColorFromRGB(0x00FF00), 65280u);     // green
    EXPECT_EQ(MIFColorFromRGB(0xFF123456), MIFColorFromRGB(0x123456));
    const int lines[16] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 21, 22, 14};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(MIFLinePattern(i), lines[i]);
    EXPECT_EQ(MIFLinePattern(16), 1);
    EXPECT_EQ(MIFLinePattern(-1), 1);
    const int hatches[8] = {2, 1, 5, 7, 8, 6, 19, 24};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(MIFHatchPattern(i), hatches[i]);
    EXPECT_EQ(MIFHatchPattern(8), 1);
    EXPECT_EQ(MIFHatchPattern(-5), 1);
}

}  // namespace
}  // namespace tvk
