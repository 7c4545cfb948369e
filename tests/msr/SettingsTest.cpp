// The process-wide settings: query, change, refuse nonsense, restore.
#include <gtest/gtest.h>

#include <stdexcept>

#include "msr/msr.h"

using namespace msr;

TEST(MsrSettings, UnitAndStyleSettersReturnThePreviousValueAndRefuseUnknownOnes) {
    CSettingsGuard guard;
    struct Case {
        int (*setter)(int);
        int first, second, unknown;
    } cases[] = {{CLinear::unit, kMetre, kFoot, 2},  {CAngular::unit, kGon, kMil, 5},
                 {CPressure::unit, kMmHg, kInHg, 3}, {CTemperature::unit, kFahrenheit, kKelvin, 3},
                 {CNorth::style, 0, 1, 2},           {CEast::style, 1, 2, 3}};
    for (const Case& c : cases) {
        c.setter(c.first);
        EXPECT_EQ(c.setter(c.second), c.first);
        EXPECT_EQ(c.setter(kQuery), c.second);
        EXPECT_EQ(c.setter(c.unknown), c.second);
        EXPECT_EQ(c.setter(-7), c.second);
        EXPECT_EQ(c.setter(kQuery), c.second);
    }
}

TEST(MsrSettings, GuardRestoresEverySettingAlsoAfterAnException) {
    CSettings before = CSettings::Current();
    CSettings changed{kFoot, kMil, kInHg, kFahrenheit, kNorthMinusOrigin, kEastZoned, 123.5, 500000.0, 42};
    ASSERT_FALSE(changed == before);
    try {
        CSettingsGuard guard;
        changed.Apply();
        EXPECT_TRUE(CSettings::Current() == changed);
        throw std::runtime_error("leave the scope");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(CSettings::Current() == before);
}

TEST(MsrSettings, PressureAndTemperatureFollowTheirUnits) {
    CSettingsGuard guard;
    CTemperature::unit(kFahrenheit);
    EXPECT_DOUBLE_EQ(CTemperature(100.0).InUnit(), 212.0);
    CTemperature::unit(kKelvin);
    EXPECT_DOUBLE_EQ(CTemperature(0.0).InUnit(), 273.15);
    CPressure::unit(kMmHg);
    EXPECT_NEAR(CPressure(1013.25).InUnit(), 760.0, 1e-3);
}
