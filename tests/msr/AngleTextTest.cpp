// Angle texts: each written form, the separators the text export splits on,
// reading degrees-minutes-seconds back, and bringing angles into one turn.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "msr/msr.h"

using namespace msr;

namespace {

template <char* (CAngular::*Writer)(char*, int, const char*) const>
std::string Text(double degrees, int precision, const char* format) {
    char buffer[kTextSize];
    return (CAngular::FromDegrees(degrees).*Writer)(buffer, precision, format);
}
const auto Dms = [](double d, int p, const char* f = nullptr) { return Text<&CAngular::wr_dms>(d, p, f); };
const auto Dmx = [](double d, int p, const char* f = nullptr) { return Text<&CAngular::wr_dmx>(d, p, f); };
const auto Dxx = [](double d, int p, const char* f = nullptr) { return Text<&CAngular::wr_dxx>(d, p, f); };

// Cuts a text at the separators the text export uses.
std::vector<std::string> Tokens(const std::string& text) {
    std::vector<std::string> tokens(1);
    for (char c : text) {
        if (std::string("\xB0'\" .,").find(c) != std::string::npos) {
            if (!tokens.back().empty()) tokens.emplace_back();
        } else {
            tokens.back() += c;
        }
    }
    if (tokens.back().empty()) tokens.pop_back();
    return tokens;
}

double ReadDegrees(const char* text, int* result = nullptr) {
    CAngular angle(-1.0);
    int status = angle.rd_dms(text, nullptr, nullptr);
    if (result) *result = status;
    return angle.Degrees();
}

}  // namespace

TEST(MsrAngleText, DegreesMinutesSecondsWithPaddingCarryAndSign) {
    double angle = 55.0 + 45.0 / 60.0 + 30.12 / 3600.0;
    EXPECT_EQ(Dms(angle, 2), "55\xB0 45' 30.12\"");
    EXPECT_EQ(Dms(angle, 0), "55\xB0 45' 30\"");
    EXPECT_EQ(Dms(5.0 + 3.0 / 60.0 + 4.5 / 3600.0, 2), "5\xB0 03' 04.50\"");
    EXPECT_EQ(Dms(59.9999999, 2), "60\xB0 00' 00.00\"");
    EXPECT_EQ(Dms(-55.5, 1), "-55\xB0 30' 00.0\"");
    EXPECT_EQ(Dms(-1e-9, 2), "0\xB0 00' 00.00\"");
    EXPECT_EQ(Dms(angle, 3, "%0.*f"), "55\xB0 45' 30.120\"");
    EXPECT_EQ(Tokens(Dms(angle, 2)), (std::vector<std::string>{"55", "45", "30", "12"}));
}

TEST(MsrAngleText, DegreesMinutesAndDecimalDegrees) {
    EXPECT_EQ(Dmx(55.0 + 45.5 / 60.0, -1), "55\xB0 45.5000'");
    EXPECT_EQ(Dmx(7.0 + 3.25 / 60.0, 2), "7\xB0 03.25'");
    EXPECT_EQ(Dmx(29.999999999, 4), "30\xB0 00.0000'");
    EXPECT_EQ(Dmx(-0.5, 0), "-0\xB0 30'");
    EXPECT_EQ(Tokens(Dmx(55.0 + 45.5 / 60.0, 4)), (std::vector<std::string>{"55", "45", "5000"}));

    EXPECT_EQ(Dxx(123.456, -1), "123.46\xB0");
    EXPECT_EQ(Dxx(123.456, 0), "123\xB0");
    EXPECT_EQ(Dxx(123.456, 2, "%0.*f"), "123.46");  // the DXF and MapInfo angle text
    EXPECT_EQ(Tokens(Dxx(-12.5, 3)), (std::vector<std::string>{"-12", "500"}));
}

TEST(MsrAngleText, GonMilAndTheCurrentUnit) {
    char buffer[kTextSize];
    CAngular right = CAngular::FromDegrees(90.0);
    EXPECT_STREQ(right.wr_gon(buffer, -1, "%0.*f"), "100.000000");
    EXPECT_STREQ(CAngular::FromDegrees(-45.0).wr_gon(buffer, 1, "%0.*f"), "-50.0");
    EXPECT_STREQ(right.wr_mil(buffer, 2, "%0.*f"), "1600.00");
    EXPECT_STREQ(CAngular(2.0 * std::numbers::pi).wr_mil(buffer, 0, nullptr), "6400");

    CSettingsGuard guard;
    CAngular::unit(kGon);
    EXPECT_STREQ(right.write(buffer, 1, nullptr), "100.0");
    CAngular::unit(kMil);
    EXPECT_STREQ(right.write(buffer, 0, nullptr), "1600");
    CAngular::unit(kDegMinSec);
    EXPECT_STREQ(right.write(buffer, 0, nullptr), "90\xB0 00' 00\"");
    CAngular::unit(kDegree);
    EXPECT_STREQ(right.write(buffer, 1, nullptr), "90.0\xB0");
}

TEST(MsrAngleText, ReadDegreesMinutesSeconds) {
    int status = -1;
    EXPECT_NEAR(ReadDegrees("55 45 30.123", &status), 55.0 + 45.0 / 60.0 + 30.123 / 3600.0, 1e-12);
    EXPECT_EQ(status, 0);
    EXPECT_NEAR(ReadDegrees("55\xB0 45' 30.12\""), 55.0 + 45.0 / 60.0 + 30.12 / 3600.0, 1e-12);
    EXPECT_NEAR(ReadDegrees("55\xB0"
                            "45'30\""),
                55.0 + 45.5 / 60.0, 1e-12);
    EXPECT_NEAR(ReadDegrees("55.758"), 55.758, 1e-12);
    EXPECT_NEAR(ReadDegrees("  55,758  "), 55.758, 1e-12);
    EXPECT_NEAR(ReadDegrees("-55 45.5"), -(55.0 + 45.5 / 60.0), 1e-12);

    for (const char* bad : {"", "abc", "55 60 00", "55 45 60", "55.5 30", "55 45 30 12", "55 45 30 xyz", "55 -45"}) {
        EXPECT_EQ(ReadDegrees(bad, &status), CAngular(-1.0).Degrees()) << bad;  // unchanged
        EXPECT_NE(status, 0) << bad;
    }
    CAngular angle;
    char text[] = "12 30 xyz";
    char* end = nullptr;
    EXPECT_EQ(angle.rd_dms(text, &end, nullptr), 0);
    EXPECT_STREQ(end, "xyz");
    EXPECT_DOUBLE_EQ(angle.Degrees(), 12.5);

    // Every written degrees-minutes-seconds text reads back to its angle.
    for (double degrees = -179.9; degrees < 360.0; degrees += 7.31) {
        EXPECT_NEAR(ReadDegrees(Dms(degrees, 6).c_str()), degrees, 1e-9) << degrees;
    }
}

TEST(MsrAngleText, AlignBringsAnAngleIntoTheTurnFromTheReference) {
    auto aligned = [](double degrees, double reference) {
        return CAngular::FromDegrees(degrees).align(CAngular::FromDegrees(reference)).Degrees();
    };
    EXPECT_NEAR(aligned(370.0, 0.0), 10.0, 1e-12);
    EXPECT_NEAR(aligned(-10.0, 0.0), 350.0, 1e-12);
    EXPECT_NEAR(aligned(-730.0, 0.0), 350.0, 1e-12);
    EXPECT_NEAR(aligned(720.0, 0.0), 0.0, 1e-12);
    EXPECT_NEAR(aligned(90.0, 100.0), 450.0, 1e-12);
    CAngular tiny(-1e-18);
    double value = tiny.align(CAngular(0.0));
    EXPECT_GE(value, 0.0);
    EXPECT_LT(value, 2.0 * std::numbers::pi);
    CAngular notANumber(std::nan(""));
    EXPECT_TRUE(std::isnan(double(notANumber.align(CAngular(0.0)))));
}
