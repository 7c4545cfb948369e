// Where the generated survey lies: plane coordinates near a Gauss-Kruger zone
// origin and their geodetic counterparts as "ddd.mmssfffff" angle texts.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

namespace gentlx {

constexpr int64_t kOriginNorth = 6130000000;  // mm
constexpr int64_t kOriginEast = 4350000000;   // mm

// An angle given in 1e-5 arc seconds as degrees.minutes seconds fraction.
inline std::string AngleText(int64_t units) {
    const int64_t perMinute = 60 * 100000;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%lld.%02lld%07lld", static_cast<long long>(units / (60 * perMinute)),
                  static_cast<long long>(units / perMinute % 60), static_cast<long long>(units % perMinute));
    return buf;
}

// Near 55 degrees north one arc second is about 30.92 m of latitude and 17.65 m of longitude.
inline std::string LatitudeText(int64_t northMm) {
    return AngleText((55 * 3600 + 10 * 60) * 100000LL + (northMm - kOriginNorth) * 100000 / 30920);
}
inline std::string LongitudeText(int64_t eastMm) {
    return AngleText((37 * 3600 + 30 * 60) * 100000LL + (eastMm - kOriginEast) * 100000 / 17650);
}

}  // namespace gentlx
