// Linear values and coordinates as text: unit, style, false origin, zone,
// formats, and reading typed values back.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "msr/msr.h"

using namespace msr;

namespace {

class MsrLinearText : public ::testing::Test {
protected:
    void SetUp() override { CSettings().Apply(); }  // metre, plain styles, no origin

    std::string Write(const CLinear& value, int precision, const char* format = nullptr) {
        return value.write(m_buffer, precision, format);
    }

    CSettingsGuard m_guard;
    char m_buffer[kTextSize];
};

}  // namespace

TEST_F(MsrLinearText, PlainValuesInMetresAndFeet) {
    EXPECT_EQ(Write(CLinear(1234.5678), 3), "1234.568");
    EXPECT_EQ(Write(CLinear(1234.5678), 0), "1235");
    EXPECT_EQ(Write(CLinear(-0.0004), 3), "0.000");
    EXPECT_EQ(Write(CLinear(-2.5), 1), "-2.5");
    EXPECT_EQ(Write(CElevation(150.0), 2), "150.00");
    CLinear::unit(kFoot);
    EXPECT_EQ(Write(CLinear(0.3048), 3), "1.000");
    EXPECT_EQ(Write(CElevation(30.48), 1), "100.0");
}

TEST_F(MsrLinearText, FormatsWithOneFloatingConversionAreHonouredOthersIgnored) {
    EXPECT_EQ(Write(CLinear(2.5), 2, "%0.*f"), "2.50");
    EXPECT_EQ(Write(CLinear(2.5), 2, "%-8.*f|"), "2.50    |");
    EXPECT_EQ(Write(CLinear(-2.5), 1, "%08.*f"), "-00002.5");
    EXPECT_EQ(Write(CLinear(2.5), 2, "%+.*f m, 100%%"), "+2.50 m, 100%");
    EXPECT_EQ(Write(CLinear(1500.0), 2, "%.*e"), "1.50e+03");
    // Formats that would read arguments the library does not pass.
    EXPECT_EQ(Write(CLinear(2.5), 2, "%s"), "2.50");
    EXPECT_EQ(Write(CLinear(2.5), 2, "no conversion"), "2.50");
}

TEST_F(MsrLinearText, HugeValuesAreCutToTheBuffer) {
    std::string longFormat = "%.*f" + std::string(600, 'x');
    std::string text = Write(CLinear(1.7e308), 40, longFormat.c_str());
    EXPECT_EQ(text.size(), size_t(kTextSize - 1));
    EXPECT_EQ(Write(CLinear(1.7e308), 1).substr(0, 4), "1699");
}

TEST_F(MsrLinearText, NorthAndEastFollowStyleOriginAndZone) {
    CNorth north(6000123.456);
    CEast east(12345.6);
    CLinear& asLinear = north;  // the styles apply through the base class too
    EXPECT_EQ(Write(asLinear, 3), "6000123.456");

    CNorth::false_northing(6000000.0);
    CEast::false_easting(500000.0);
    CEast::zone(7);
    // Nonsense is refused: the texts below keep the origin and zone set above.
    CEast::false_easting(std::numeric_limits<double>::quiet_NaN());
    CEast::false_easting(std::numeric_limits<double>::infinity());
    CEast::zone(-3);
    EXPECT_EQ(Write(north, 3), "6000123.456");  // style 0 ignores the origin
    CNorth::style(kNorthMinusOrigin);
    EXPECT_EQ(Write(asLinear, 3), "123.456");
    CEast::style(kEastPlusOrigin);
    EXPECT_EQ(Write(east, 1), "512345.6");
    CEast::style(kEastZoned);
    EXPECT_EQ(Write(east, 1), "7512345.6");
    EXPECT_EQ(Write(CEast(-450000.0), 0), "7050000");  // six whole digits after the zone
    EXPECT_EQ(Write(CEast(-600000.0), 0), "7-100000");
    CEast::zone(0);
    EXPECT_EQ(Write(east, 1), "512345.6");
    EXPECT_EQ(Write(CElevation(5.0), 1), "5.0");  // heights have no origin

    CLinear::unit(kFoot);
    CEast::zone(12);
    EXPECT_EQ(Write(CEast(-499999.6952), 1), "12000001.0");  // (E + E0) in feet
}

TEST_F(MsrLinearText, ReadAcceptsOneNumberInTheCurrentUnit) {
    struct Case {
        const char* text;
        double metres;
    } good[] = {{"12.5", 12.5}, {"  12,5 ", 12.5}, {"+4", 4.0}, {"-3.", -3.0}, {"1e3", 1000.0}, {".5", 0.5}};
    for (const Case& c : good) {
        CLinear value(99.0);
        EXPECT_EQ(value.read(c.text, nullptr, nullptr), 0) << c.text;
        EXPECT_DOUBLE_EQ(double(value), c.metres) << c.text;
    }
    for (const char* text : {"", "  ", "abc", "12abc", "1.2.3", "1e999", "nan", "inf", "--1", "-", "."}) {
        CLinear value(99.0);
        EXPECT_NE(value.read(text, nullptr, nullptr), 0) << text;
        EXPECT_EQ(double(value), 99.0) << text;
    }
    CLinear value;
    char text[] = "7.25 m";
    char* end = nullptr;
    EXPECT_EQ(value.read(text, &end, nullptr), 0);
    EXPECT_EQ(end, text + 4);
    EXPECT_EQ(double(value), 7.25);

    CLinear::unit(kFoot);
    EXPECT_EQ(value.read("10", nullptr, nullptr), 0);
    EXPECT_DOUBLE_EQ(double(value), 3.048);
    EXPECT_EQ(Write(value, 2), "10.00");
}
