// Code page 1251: exact round trips, refusal of what it cannot hold, its letter classes, the DOS
// conversion and log texts.
#include <gtest/gtest.h>

#include "platform/CodePage.h"

using namespace tvk;

TEST(CodePage, RoundTripsEveryDefinedByte) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b != 0x98) all += static_cast<char>(b);
    std::string back;
    ASSERT_TRUE(Cp1251FromUtf8(Utf8From1251(all), back));
    EXPECT_EQ(back, all);
}

TEST(CodePage, RefusesWhatItCannotRepresent) {
    std::string out;
    EXPECT_FALSE(Cp1251FromUtf8("日本", out));
    EXPECT_FALSE(Cp1251FromUtf8("\xD0", out));  // cut UTF-8 sequence
    EXPECT_FALSE(Cp1251FromUtf8("\xFF", out));
    EXPECT_TRUE(Cp1251FromUtf8("Описание", out));
    EXPECT_EQ(out, "\xCE\xEF\xE8\xF1\xE0\xED\xE8\xE5");
}

TEST(CodePage, ClassesFollowThe1251Table) {
    EXPECT_TRUE(IsAlpha1251(0xC0));   // А
    EXPECT_TRUE(IsAlpha1251(0xFF));   // я
    EXPECT_TRUE(IsAlpha1251(0xA8));   // Ё
    EXPECT_FALSE(IsAlpha1251(0xB9));  // №
    EXPECT_FALSE(IsAlpha1251('_'));
    EXPECT_TRUE(IsAlnum1251('7'));
    EXPECT_EQ(ToUpper1251(0xE0), 0xC0);
    EXPECT_EQ(ToUpper1251(0xB8), 0xA8);
    EXPECT_EQ(CompareNoCase1251(Cp1251("дом"), Cp1251("ДОМ")), 0);
    EXPECT_NE(CompareNoCase1251("a", "ab"), 0);
}

TEST(CodePage, DosConversionMapsCyrillicAndKeepsAscii) {
    std::string s = "A\xE0\xF0z";
    Convert1251To866(s.data(), s.size());
    EXPECT_EQ(s, "A\xA0\xE0z");
}

TEST(CodePage, ALogTextKeepsThePathItQuotes) {
    // The path's UTF-8 bytes would be garbled if taken as 1251.
    std::string path = "/данные/съёмка.tlx";
    EXPECT_EQ(Utf8From1251Keeping("Begin of reading file: " + path + "\n" + Cp1251("Ошибка ") + path, path),
              "Begin of reading file: " + path + "\nОшибка " + path);
    EXPECT_EQ(Utf8From1251Keeping(Cp1251("Ё"), ""), "Ё");
}
