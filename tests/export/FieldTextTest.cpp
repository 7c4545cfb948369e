// Values fitted to what a format holds: the bytes no reader takes, and numbers
// in fields of fixed width.
#include <gtest/gtest.h>

#include "export/FieldText.h"

using namespace tvk;

namespace {

TEST(FieldText, ControlCharactersAndTheUndefinedByteBecomeBlanksAndAreCounted) {
    struct Case {
        std::string text;
        bool tabs;
        std::string written;
        size_t control, undefined;
    };
    const Case cases[] = {
        {"plain", false, "plain", 0, 0},
        {"evil\rvalue\r  0\rLINE", true, "evil value   0 LINE", 3, 0},
        {std::string("a\0b\x01\x1f", 5), true, "a b  ", 3, 0},
        {"tab\there", true, "tab\there", 0, 0},
        {"tab\there", false, "tab here", 1, 0},
        {"x\x98y\x7f\xff", true, "x y\x7f\xff", 0, 1},  // DEL and the letter 0xFF are characters
    };
    for (const Case& c : cases) {
        std::string scratch;
        UnwritableCount count;
        std::string_view written = ReplaceUnwritable(c.text, c.tabs, scratch, count);
        EXPECT_EQ(written, c.written) << c.text;
        EXPECT_EQ(count.control, c.control) << c.text;
        EXPECT_EQ(count.undefined, c.undefined) << c.text;
        if (!count.Any()) {
            EXPECT_EQ(written.data(), c.text.data()) << "no copy of a clean text";
        }
    }
}

TEST(FieldText, NumbersKeepTheDecimalsThatFitOrAreLeftEmpty) {
    struct Case {
        const char* text;
        size_t width;
        const char* fitted;
        NumberFit fit;
    };
    const Case cases[] = {
        {"123456", 6, "123456", NumberFit::Fits},
        {"12345678", 6, "", NumberFit::Empty},  // cut, it would read 123456
        {"1.23456", 4, "1.23", NumberFit::Rounded},
        {"1.235", 4, "1.24", NumberFit::Rounded},
        {"-9.996", 5, "-10.0", NumberFit::Rounded},  // the carry lengthens the whole part
        {"9.96", 2, "10", NumberFit::Rounded},
        {"99.96", 3, "100", NumberFit::Rounded},
        {"999.6", 3, "", NumberFit::Empty},
        {"0.123", 2, "0", NumberFit::Rounded},
        {".75", 1, "1", NumberFit::Rounded},
        {"6000000.123456789", 16, "6000000.12345679", NumberFit::Rounded},
        {"2.50000", 3, "2.5", NumberFit::Shortened},  // the same number
        {"  42  ", 4, "42", NumberFit::Shortened},
        {"1.5e-015", 6, "", NumberFit::Empty},
        {"abcdefgh", 6, "", NumberFit::Empty},
        // readers would take these for infinities and NaNs
        {"inf", 6, "", NumberFit::Empty},
        {" -Infinity", 12, "", NumberFit::Empty},
        {"nan", 6, "", NumberFit::Empty},
        {"1e309", 6, "", NumberFit::Empty},
        {"1e-400", 6, "1e-400", NumberFit::Fits},  // underflow reads as 0
        {"infra", 6, "", NumberFit::Empty},
    };
    for (const Case& c : cases) {
        std::string scratch;
        std::string_view text = c.text;
        EXPECT_EQ(FitNumber(text, c.width, scratch), c.fit) << c.text;
        EXPECT_EQ(text, c.fitted) << c.text;
    }
    // Plain digits overflow to an infinity from the 309th on.
    for (size_t digits : {308u, 309u, 400u}) {
        std::string scratch, number(digits, '9');
        std::string_view text = number;
        EXPECT_EQ(FitNumber(text, 500, scratch), digits <= 308 ? NumberFit::Fits : NumberFit::Empty) << digits;
    }
}

TEST(FieldText, WholeNumbersOutsideARange) {
    EXPECT_TRUE(IsWholeNumberOutside("12345678", -32768, 32767));
    EXPECT_TRUE(IsWholeNumberOutside(" -32769", -32768, 32767));
    EXPECT_FALSE(IsWholeNumberOutside("+32767", -32768, 32767));
    EXPECT_TRUE(IsWholeNumberOutside("99999999999999999999999", INT32_MIN, INT32_MAX));
    EXPECT_FALSE(IsWholeNumberOutside("1.5e9", -32768, 32767));  // no whole number: not this test's concern
    EXPECT_FALSE(IsWholeNumberOutside("", -32768, 32767));
}

}  // namespace
