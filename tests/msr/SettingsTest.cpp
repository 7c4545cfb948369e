// The process-wide settings: query, change, refuse nonsense, restore.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

#include "msr/msr.h"

using namespace msr;

TEST(MsrSettings, EverySetterReturnsThePreviousValueAndQueryChangesNothing) {
  CSettingsGuard guard;
  CLinear::unit(kMetre);
  EXPECT_EQ(CLinear::unit(kFoot), kMetre);
  EXPECT_EQ(CLinear::unit(kQuery), kFoot);
  EXPECT_EQ(CLinear::unit(kQuery), kFoot);
  CAngular::unit(kDegree);
  EXPECT_EQ(CAngular::unit(kGon), kDegree);
  EXPECT_EQ(CAngular::unit(kMil), kGon);
  EXPECT_EQ(CAngular::unit(kQuery), kMil);
  CPressure::unit(kHectopascal);
  EXPECT_EQ(CPressure::unit(kMmHg), kHectopascal);
  CTemperature::unit(kCelsius);
  EXPECT_EQ(CTemperature::unit(kKelvin), kCelsius);
  CNorth::style(0);
  EXPECT_EQ(CNorth::style(1), 0);
  EXPECT_EQ(CNorth::style(kQuery), 1);
  CEast::style(0);
  EXPECT_EQ(CEast::style(2), 0);
  EXPECT_EQ(CEast::style(kQuery), 2);
  CNorth::false_northing(0.0);
  EXPECT_EQ(double(CNorth::false_northing(-5000000.0)), 0.0);
  EXPECT_EQ(double(CNorth::false_northing(kQueryOrigin)), -5000000.0);
  CEast::false_easting(0.0);
  EXPECT_EQ(double(CEast::false_easting(500000.0)), 0.0);
  EXPECT_EQ(double(CEast::false_easting(kQueryOrigin)), 500000.0);
  CEast::zone(0);
  EXPECT_EQ(CEast::zone(7), 0);
  EXPECT_EQ(CEast::zone(kQuery), 7);
}

TEST(MsrSettings, UnknownValuesAndNonFiniteOriginsAreRefused) {
  CSettingsGuard guard;
  CLinear::unit(kFoot);
  EXPECT_EQ(CLinear::unit(2), kFoot);
  EXPECT_EQ(CLinear::unit(-7), kFoot);
  CAngular::unit(kGon);
  EXPECT_EQ(CAngular::unit(5), kGon);
  CNorth::style(1);
  EXPECT_EQ(CNorth::style(2), 1);
  CEast::style(2);
  EXPECT_EQ(CEast::style(3), 2);
  EXPECT_EQ(CEast::style(kQuery), 2);
  CNorth::false_northing(10.0);
  CNorth::false_northing(std::numeric_limits<double>::quiet_NaN());
  CNorth::false_northing(std::numeric_limits<double>::infinity());
  EXPECT_EQ(double(CNorth::false_northing(kQueryOrigin)), 10.0);
  CEast::zone(12);
  EXPECT_EQ(CEast::zone(-3), 12);
  EXPECT_EQ(CEast::zone(kQuery), 12);
}

TEST(MsrSettings, SnapshotRestoresEverySettingAlsoAfterAnException) {
  CSettings before = CSettings::Current();
  CSettings changed;
  changed.linearUnit = kFoot;
  changed.angularUnit = kMil;
  changed.pressureUnit = kInHg;
  changed.temperatureUnit = kFahrenheit;
  changed.northStyle = kNorthMinusOrigin;
  changed.eastStyle = kEastZoned;
  changed.falseNorthing = 123.5;
  changed.falseEasting = 500000.0;
  changed.zone = 42;
  try {
    CSettingsGuard guard;
    changed.Apply();
    CSettings now = CSettings::Current();
    EXPECT_EQ(now.linearUnit, kFoot);
    EXPECT_EQ(now.angularUnit, kMil);
    EXPECT_EQ(now.pressureUnit, kInHg);
    EXPECT_EQ(now.temperatureUnit, kFahrenheit);
    EXPECT_EQ(now.northStyle, kNorthMinusOrigin);
    EXPECT_EQ(now.eastStyle, kEastZoned);
    EXPECT_EQ(now.falseNorthing, 123.5);
    EXPECT_EQ(now.falseEasting, 500000.0);
    EXPECT_EQ(now.zone, 42);
    throw std::runtime_error("leave the scope");
  } catch (const std::runtime_error&) {
  }
  CSettings after = CSettings::Current();
  EXPECT_EQ(after.linearUnit, before.linearUnit);
  EXPECT_EQ(after.angularUnit, before.angularUnit);
  EXPECT_EQ(after.pressureUnit, before.pressureUnit);
  EXPECT_EQ(after.temperatureUnit, before.temperatureUnit);
  EXPECT_EQ(after.northStyle, before.northStyle);
  EXPECT_EQ(after.eastStyle, before.eastStyle);
  EXPECT_EQ(after.falseNorthing, before.falseNorthing);
  EXPECT_EQ(after.falseEasting, before.falseEasting);
  EXPECT_EQ(after.zone, before.zone);
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
