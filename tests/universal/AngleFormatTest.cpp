// Angle format templates: taking them apart, validity, writing angles in
// degrees, gon and mil, and reading geodetic texts.
#include <gtest/gtest.h>

#include "msr/msr.h"
#include "universal/AngleFormat.h"

using namespace tvk;

namespace {

double Radians(double degrees) { return msr::CAngular::FromDegrees(degrees); }
double Dms(double d, double m, double s) { return Radians(d + m / 60 + s / 3600); }

std::string Write(const char* format, int unit, double radians, int precision) {
    CAngleFormat f;
    f.Parse(format, unit);
    return f.Write(radians, precision);
}

const char* const kComboFormats[] = {"ddd.mmssxxxxxxx", "ddd.mm.ss.xxx", "ddd.mm.xxx", "ddd.xxx"};

}  // namespace

TEST(AngleFormat, ValidTemplates) {
    for (const char* valid : {"ddd.mmssxxxxxxx", "ddd.mm.ss.xxx", "ddd.mm.xxx", "ddd.xxx", "ddd.m.ss", "  N ddd.mmss",
                              "x", "dddmmss", "ddd\xB0mm'ss.xx\"", "ddd.mm.ss.xx.xx", "ss.xx", "mm.xxx"})
        EXPECT_TRUE(CAngleFormat::IsValidTemplate(valid)) << valid;
    for (const char* invalid : {"dmd", "ddd.mmm", "ddd.mm.sss", "abc", "", "   ", "N: ", "ddd.ss.mm", "xxx.ddd",
                                "ddd.m", "ddd.mmsx", "ddd.mm.ss.d", "xsx"})
        EXPECT_FALSE(CAngleFormat::IsValidTemplate(invalid)) << invalid;
}

TEST(AngleFormat, ComboFormatsInDegreesAcrossZeroAnd360) {
    struct Case {
        double radians;
        const char* texts[4];
    } cases[] = {
        {Dms(55, 45, 30.123), {"55.4530123", "55.45.30.123", "55.45.502", "55.758"}},
        {Radians(-0.5), {"-0.3000000", "-0.30.00.000", "-0.30.000", "-0.500"}},
        {-Dms(33, 52, 0), {"-33.5200000", "-33.52.00.000", "-33.52.000", "-33.867"}},
        {Radians(0.0001), {"0.0000360", "0.00.00.360", "0.00.006", "0.000"}},
        {Dms(359, 59, 59.964), {"359.5959964", "359.59.59.964", "359.59.999", "360.000"}},
        {Radians(360.5), {"360.3000000", "360.30.00.000", "360.30.000", "360.500"}},
    };
    for (const Case& c : cases)
        for (int i = 0; i < 4; ++i) EXPECT_EQ(Write(kComboFormats[i], 0, c.radians, 3), c.texts[i]) << kComboFormats[i];
}

TEST(AngleFormat, GonAndMilIgnoreTheLetters) {
    struct Case {
        double radians;
        const char* gon;
        const char* mil;
    } cases[] = {
        {Dms(55, 45, 30.123), "61.9537", "991.2599"},
        {Radians(-0.5), "-0.5556", "-8.8889"},
        {Radians(360.5), "400.5556", "6408.8889"},
        {-Dms(33, 52, 0), "-37.6296", "-602.0741"},
    };
    for (const Case& c : cases) {
        for (const char* format : kComboFormats) {
            EXPECT_EQ(Write(format, 1, c.radians, 4), c.gon) << format;
            EXPECT_EQ(Write(format, 2, c.radians, 4), c.mil) << format;
        }
    }
    EXPECT_EQ(Write("ddd.xxx", 1, Radians(90), -1), "100.000000");
}

TEST(AngleFormat, LayoutOfRunsFractionGroupsAndPrecision) {
    double v = Dms(55, 45, 30.123);
    EXPECT_EQ(Write("ddd.mmssxxxxxxx", 0, v, 0), "55.4530");
    EXPECT_EQ(Write("ddd.mm.xxx", 0, v, 0), "55.46.");  // a run with a separator keeps it
    EXPECT_EQ(Write("ddd.xxx", 0, v, 0), "56.");
    EXPECT_EQ(Write("dddmmss", 0, v, 2), "554530");
    EXPECT_EQ(Write("N ddd.mm.ss.xxx", 0, v, 3), "N 55.45.30.123");
    EXPECT_EQ(Write("ddd\xB0mm'ss.xx\"", 0, v, 3),
              "55\xB0"
              "45'30.123\"");
    // A fraction group with a separator takes every remaining digit and ends the layout.
    EXPECT_EQ(Write("ddd.mm.ss.x,xx", 0, v, 5), "55.45.30.12300,");
    EXPECT_EQ(Write("ddd.mm.ss.x x", 0, v, 3), "55.45.30.123 ");
    EXPECT_EQ(Write("ddd.mm.ss.xx", 0, v, -1), "55.45.30.12");
}

TEST(AngleFormat, ReadMakesTextsTheLibraryParses) {
    CAngleFormat geodetic;
    geodetic.Parse("ddd.mmssxxxxxxx", 0);
    EXPECT_EQ(geodetic.Read("55.4530123"), "55 45 30.123");
    EXPECT_EQ(geodetic.Read("55.45"), "55 45 0");
    EXPECT_EQ(geodetic.Read("55"), "55 0 0");
    EXPECT_EQ(geodetic.Read("  -33.5200000"), "-33 52 00.000");
    EXPECT_EQ(geodetic.Read(""), "0 0 0");

    CAngleFormat f;
    f.Parse("N ddd.mm.ss.xxx", 0);
    EXPECT_EQ(f.Read("N 55.45.30.123"), "55 45 30.123");
    f.Parse("ddd.mm.xxx", 0);
    EXPECT_EQ(f.Read("55.45.502"), "55 45.502");
    f.Parse("ddd.xxx", 0);
    EXPECT_EQ(f.Read("55.758"), "55.758");
    f.Parse("ddd.mmssxxxxxxx", 1);
    EXPECT_EQ(f.Read("55.4530123"), "55.4530123");

    // Whatever a combo format writes, it reads back to the same angle, up to
    // the digits its fraction groups keep (three decimal degrees at least).
    for (const char* format : kComboFormats) {
        CAngleFormat g;
        g.Parse(format, 0);
        for (double degrees : {55.7583675, -33.8666667, 0.25, 359.5, -0.0125}) {
            msr::CAngular angle;
            std::string text = g.Write(Radians(degrees), 6);
            ASSERT_EQ(angle.rd_dms(g.Read(text).c_str(), nullptr, nullptr), 0) << format << " " << text;
            EXPECT_NEAR(angle.Degrees(), degrees, 1e-3) << format << " " << text;
        }
    }
}
