// Process-wide settings of the units library: the enumerations that the
// static setters of CLinear, CAngular, CPressure, CTemperature, CNorth and
// CEast accept, and a snapshot that saves and restores all of them at once.
#pragma once
#include <cfloat>

namespace msr {

// Passing this to a unit, style or zone setter only queries the setting.
constexpr int kQuery = -1;
// Passing this to false_northing / false_easting only queries the origin.
constexpr double kQueryOrigin = DBL_MAX;

enum LinearUnit { kMetre = 0, kFoot = 1 };
constexpr double kMetresPerFoot = 0.3048;

enum AngularUnit { kDegree = 0, kRadian = 1, kDegMinSec = 2, kGon = 3, kMil = 4 };

enum PressureUnit { kHectopascal = 0, kMmHg = 1, kInHg = 2 };
enum TemperatureUnit { kCelsius = 0, kFahrenheit = 1, kKelvin = 2 };

// North texts: 0 the value, 1 the value minus the false northing.
enum NorthStyle { kNorthPlain = 0, kNorthMinusOrigin = 1 };
// East texts: 0 the value, 1 the value plus the false easting, 2 the zone
// number written in front of the value plus the false easting.
enum EastStyle { kEastPlain = 0, kEastPlusOrigin = 1, kEastZoned = 2 };

// Every setting of the library at one moment.
struct CSettings {
    int linearUnit = kMetre;
    int angularUnit = kDegree;
    int pressureUnit = kHectopascal;
    int temperatureUnit = kCelsius;
    int northStyle = kNorthPlain;
    int eastStyle = kEastPlain;
    double falseNorthing = 0.0;  // metres
    double falseEasting = 0.0;   // metres
    short zone = 0;

    bool operator==(const CSettings&) const = default;

    // Contract: reads every setting in force without changing any.
    static CSettings Current();
    // Contract: puts every setting of this snapshot in force.
    void Apply() const;
};

// Keeps the settings in force at construction and puts them back when it
// goes out of scope, also when an exception leaves the scope.
class CSettingsGuard {
public:
    CSettingsGuard() : m_saved(CSettings::Current()) {}
    ~CSettingsGuard() { m_saved.Apply(); }
    CSettingsGuard(const CSettingsGuard&) = delete;
    CSettingsGuard& operator=(const CSettingsGuard&) = delete;
    const CSettings& Saved() const { return m_saved; }

private:
    CSettings m_saved;
};

}  // namespace msr
