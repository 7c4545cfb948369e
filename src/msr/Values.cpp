#include "msr/Values.h"

#include <string>

#include "msr/NumberFormat.h"
#include "msr/Settings.h"

namespace msr {
namespace {

constexpr int kDefaultLinearPrecision = 3;

// Metres in the current linear unit.
double InLinearUnit(double metres) { return CLinear::unit(kQuery) == kFoot ? metres / kMetresPerFoot : metres; }

char* WriteLinear(double metres, char* buffer, int precision, const char* format) {
    if (precision < 0) precision = kDefaultLinearPrecision;
    if (!format) return detail::WriteFixed(InLinearUnit(metres), precision, buffer);
    return detail::CopyText(detail::FormattedText(InLinearUnit(metres), precision, format), buffer);
}

}  // namespace

char* CLinear::write(char* buffer, int precision, const char* format) const {
    return WriteLinear(m_value, buffer, precision, format);
}

int CLinear::read(const char* text, char** end, const char* /*format*/) {
    if (!text) return 1;
    const char* p = detail::SkipBlanks(text);
    double number = 0.0;
    size_t used = detail::ParseNumber(p, number);
    if (used == 0) return 1;
    p += used;
    if (end) *end = const_cast<char*>(p);
    else if (*detail::SkipBlanks(p) != '\0') return 1;
    m_value = CLinear::unit(kQuery) == kFoot ? number * kMetresPerFoot : number;
    return 0;
}

char* CNorth::write(char* buffer, int precision, const char* format) const {
    double value = m_value;
    if (style(kQuery) == kNorthMinusOrigin) value -= false_northing(kQueryOrigin);
    return WriteLinear(value, buffer, precision, format);
}

char* CEast::write(char* buffer, int precision, const char* format) const {
    int eastStyle = style(kQuery);
    double value = m_value;
    if (eastStyle != kEastPlain) value += false_easting(kQueryOrigin);
    short zoneNumber = zone(kQuery);
    if (eastStyle != kEastZoned || zoneNumber <= 0) return WriteLinear(value, buffer, precision, format);

    // The zone goes in front of a six-digit whole part, so that the text reads
    // as zone * 1 000 000 + easting the way zoned grid coordinates are kept.
    WriteLinear(value, buffer, precision, format);
    std::string text = buffer;
    size_t digitsAt = text.find_first_of("0123456789");
    if (digitsAt != std::string::npos && (digitsAt == 0 || text[digitsAt - 1] != '-')) {
        size_t wholeEnd = text.find_first_not_of("0123456789", digitsAt);
        size_t wholeDigits = (wholeEnd == std::string::npos ? text.size() : wholeEnd) - digitsAt;
        if (wholeDigits < 6) text.insert(digitsAt, 6 - wholeDigits, '0');
        text.insert(digitsAt, std::to_string(zoneNumber));
    } else {
        text.insert(0, std::to_string(zoneNumber));
    }
    return detail::CopyText(text, buffer);
}

double CPressure::InUnit() const {
    switch (unit(kQuery)) {
    case kMmHg: return m_value * 0.750061683;
    case kInHg: return m_value * 0.0295299831;
    default: return m_value;
    }
}

double CTemperature::InUnit() const {
    switch (unit(kQuery)) {
    case kFahrenheit: return m_value * 9.0 / 5.0 + 32.0;
    case kKelvin: return m_value + 273.15;
    default: return m_value;
    }
}

}  // namespace msr
