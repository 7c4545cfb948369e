#include "msr/Settings.h"

#include <atomic>
#include <cmath>

#include "msr/Angular.h"
#include "msr/Values.h"

namespace msr {
namespace {

// Atomic so that a query from another thread never tears a value; the
// system runs one export at a time, so no further locking is needed.
std::atomic<int> g_linearUnit{kMetre};
std::atomic<int> g_angularUnit{kDegree};
std::atomic<int> g_pressureUnit{kHectopascal};
std::atomic<int> g_temperatureUnit{kCelsius};
std::atomic<int> g_northStyle{kNorthPlain};
std::atomic<int> g_eastStyle{kEastPlain};
std::atomic<double> g_falseNorthing{0.0};
std::atomic<double> g_falseEasting{0.0};
std::atomic<short> g_zone{0};

// Sets `setting` when `value` lies in [0, last]; returns the previous value.
int Exchange(std::atomic<int>& setting, int value, int last) {
    if (value < 0 || value > last) return setting.load();
    return setting.exchange(value);
}

double ExchangeOrigin(std::atomic<double>& setting, double value) {
    if (value == kQueryOrigin || !std::isfinite(value)) return setting.load();
    return setting.exchange(value);
}

}  // namespace

int CLinear::unit(int newUnit) { return Exchange(g_linearUnit, newUnit, kFoot); }
int CAngular::unit(int newUnit) { return Exchange(g_angularUnit, newUnit, kMil); }
int CPressure::unit(int newUnit) { return Exchange(g_pressureUnit, newUnit, kInHg); }
int CTemperature::unit(int newUnit) { return Exchange(g_temperatureUnit, newUnit, kKelvin); }
int CNorth::style(int newStyle) { return Exchange(g_northStyle, newStyle, kNorthMinusOrigin); }
int CEast::style(int newStyle) { return Exchange(g_eastStyle, newStyle, kEastZoned); }

CLinear CNorth::false_northing(double metres) { return CLinear(ExchangeOrigin(g_falseNorthing, metres)); }
CLinear CEast::false_easting(double metres) { return CLinear(ExchangeOrigin(g_falseEasting, metres)); }

short CEast::zone(short newZone) {
    if (newZone < 0) return g_zone.load();
    return g_zone.exchange(newZone);
}

CSettings CSettings::Current() {
    CSettings now;
    now.linearUnit = CLinear::unit(kQuery);
    now.angularUnit = CAngular::unit(kQuery);
    now.pressureUnit = CPressure::unit(kQuery);
    now.temperatureUnit = CTemperature::unit(kQuery);
    now.northStyle = CNorth::style(kQuery);
    now.eastStyle = CEast::style(kQuery);
    now.falseNorthing = CNorth::false_northing(kQueryOrigin);
    now.falseEasting = CEast::false_easting(kQueryOrigin);
    now.zone = CEast::zone(kQuery);
    return now;
}

void CSettings::Apply() const {
    CLinear::unit(linearUnit);
    CAngular::unit(angularUnit);
    CPressure::unit(pressureUnit);
    CTemperature::unit(temperatureUnit);
    CNorth::style(northStyle);
    CEast::style(eastStyle);
    CNorth::false_northing(falseNorthing);
    CEast::false_easting(falseEasting);
    CEast::zone(zone);
}

}  // namespace msr
