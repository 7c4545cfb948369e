// The text pieces of the interchange files: numbers, names, header, MID values,
// objects and style clauses, byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "mif/MIFStyle.h"
#include "mif/MIFText.h"
#include "platform/CodePage.h"

namespace tvk {
namespace {

std::string MIFName(std::string name) {
    name.push_back('\0');
    ConvertToMIFName(name.data());
    return std::string(name.c_str());
}

TEST(MIFName, ConvertsCutsAndGuardsLeadingDigit) {
    // 1251 letters stay letters whatever the process locale; the cut counts
    // bytes of the 1251 text, before the digit rule.
    const std::pair<std::string, std::string> cases[] = {{"1st layer", "_st_layer"},
                                                         {std::string(40, 'A'), std::string(32, 'A')},
                                                         {"Name-1.x", "Name_1_x"},
                                                         {"", ""},
                                                         {Cp1251("Отношение к рельефу"), Cp1251("Отношение_к_рельефу")},
                                                         {"9" + std::string(35, 'z'), "_" + std::string(31, 'z')}};
    for (const auto& [name, expected] : cases) EXPECT_EQ(MIFName(name), expected);
}

TEST(MIFHeader, ExactTextWithSquareBounds) {
    MIFExtents e;
    e.Add(100, 200);
    e.Add(300, 260);
    std::vector<MIFColumn> columns = {
        {"NAME", kTypeChar, 20, 0}, {"N", kTypeInteger, 0, 0}, {"S", kTypeSmallint, 0, 0},
        {"D", kTypeDecimal, 10, 2}, {"F", kTypeFloat, 0, 0},   {"A", kTypeAngular, 0, 0},
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

TEST(MIFHeader, WidthsAndDecimalsClampedIntoMapInfoRange) {
    std::string s;
    AppendMIFColumn(s, {"A", kTypeChar, 8, 0});
    AppendMIFColumn(s, {"B", kTypeChar, 0, 0});
    AppendMIFColumn(s, {"C", kTypeChar, -3, 0});
    AppendMIFColumn(s, {"D", kTypeChar, 255, 0});
    AppendMIFColumn(s, {"E", kTypeDecimal, 2, 2});  // the decimals need a place before the point
    AppendMIFColumn(s, {"F", kTypeDecimal, 20, 30});
    AppendMIFColumn(s, {"G", kTypeDecimal, 0, -1});
    EXPECT_EQ(s,
              "\tA Char(8)\n\tB Char(1)\n\tC Char(1)\n\tD Char(254)\n"
              "\tE Decimal(2,1)\n\tF Decimal(20,19)\n\tG Decimal(1,0)\n");
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

// Spot checks: every pattern and colour clause is read back in the writer tests.
TEST(MIFStyle, ColoursAndPatterns) {
    EXPECT_EQ(MIFColorFromRGB(0x0000FF), 16711680u);  // red: the bytes turn round
    EXPECT_EQ(MIFColorFromRGB(0xFF123456), MIFColorFromRGB(0x123456));
    for (auto [pattern, line] : {std::pair{0, 2}, {12, 15}, {15, 14}, {16, 1}, {-1, 1}})
        EXPECT_EQ(MIFLinePattern(pattern), line);
    for (auto [pattern, hatch] : {std::pair{0, 2}, {7, 24}, {8, 1}, {-5, 1}})
        EXPECT_EQ(MIFHatchPattern(pattern), hatch);
}

}  // namespace
}  // namespace tvk
