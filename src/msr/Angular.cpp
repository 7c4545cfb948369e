#include "msr/Angular.h"

#include <cmath>
#include <cstring>
#include <numbers>
#include <string>

#include "msr/NumberFormat.h"
#include "msr/Settings.h"

namespace msr {
namespace {

constexpr double kTurn = 2.0 * std::numbers::pi;
constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

// A positive amount of degrees or minutes split into a whole part and the
// remainder in the next smaller unit (x 60), rounded the way the remainder
// will be written: a remainder that rounds up to 60 carries into the whole.
struct Split {
    double whole;
    std::string rest;  // the remainder's text with `precision` decimals
};

Split SplitSixty(double amount, int precision, const char* format) {
    double whole = std::floor(amount);
    double rest = (amount - whole) * 60.0;
    // The remainder is below 60, so only "60" or "60.0..." means a carry.
    std::string restText = detail::FixedText(rest, precision);
    if (restText.rfind("60", 0) == 0) {
        whole += 1.0;
        rest = 0.0;
    }
    return {whole, format ? detail::FormattedText(rest, precision, format) : detail::FixedText(rest, precision)};
}

// Pads the whole part of a number text to two digits ("3.25" -> "03.25").
std::string TwoDigits(std::string text) {
    size_t whole = text.find('.');
    if (whole == std::string::npos) whole = text.size();
    if (whole < 2) text.insert(0, 2 - whole, '0');
    return text;
}

std::string WholeText(double value) { return detail::FixedText(value, 0); }

bool IsZeroText(const std::string& text) { return text.find_first_not_of("0. ") == std::string::npos; }

// The sign of a degree text; left out when everything rounds to zero.
std::string SignText(double degrees, const std::string& wholeText, const std::string& restText) {
    return degrees < 0 && !(IsZeroText(wholeText) && IsZeroText(restText)) ? "-" : "";
}

// Skips the separator after one part: blanks, at most one mark, blanks.
const char* SkipSeparator(const char* text, const char* marks) {
    text = detail::SkipBlanks(text);
    if (*text && std::strchr(marks, *text)) ++text;
    return detail::SkipBlanks(text);
}

bool IsWhole(double value) { return value == std::floor(value); }

}  // namespace

CAngular CAngular::FromDegrees(double degrees) { return CAngular(degrees / kDegreesPerRadian); }

double CAngular::Degrees() const { return m_value * kDegreesPerRadian; }

char* CAngular::wr_dms(char* buffer, int precision, const char* format) const {
    if (precision < 0) precision = 2;
    double degrees = Degrees();
    if (!std::isfinite(degrees)) return detail::CopyText(WholeText(degrees), buffer);
    double wholeDegrees = std::floor(std::fabs(degrees));
    Split seconds = SplitSixty((std::fabs(degrees) - wholeDegrees) * 60.0, precision, format);
    double wholeMinutes = seconds.whole;
    if (wholeMinutes >= 60.0) {
        wholeMinutes -= 60.0;
        wholeDegrees += 1.0;
    }
    std::string secondsText = format ? seconds.rest : TwoDigits(seconds.rest);
    std::string minutesText = TwoDigits(WholeText(wholeMinutes));
    std::string degreesText = WholeText(wholeDegrees);
    std::string text = SignText(degrees, degreesText + minutesText, secondsText) + degreesText + kDegreeSign + " " +
                       minutesText + "' " + secondsText + "\"";
    return detail::CopyText(text, buffer);
}

char* CAngular::wr_dmx(char* buffer, int precision, const char* format) const {
    if (precision < 0) precision = 4;
    double degrees = Degrees();
    if (!std::isfinite(degrees)) return detail::CopyText(WholeText(degrees), buffer);
    Split minutes = SplitSixty(std::fabs(degrees), precision, format);
    std::string minutesText = format ? minutes.rest : TwoDigits(minutes.rest);
    std::string degreesText = WholeText(minutes.whole);
    std::string text =
        SignText(degrees, degreesText, minutesText) + degreesText + kDegreeSign + " " + minutesText + "'";
    return detail::CopyText(text, buffer);
}

char* CAngular::wr_dxx(char* buffer, int precision, const char* format) const {
    if (precision < 0) precision = 2;
    if (format) return detail::CopyText(detail::FormattedText(Degrees(), precision, format), buffer);
    return detail::CopyText(detail::FixedText(Degrees(), precision) + kDegreeSign, buffer);
}

char* CAngular::wr_gon(char* buffer, int precision, const char* format) const {
    if (precision < 0) precision = 6;
    return detail::CopyText(detail::FormattedText(m_value * 400.0 / kTurn, precision, format), buffer);
}

char* CAngular::wr_mil(char* buffer, int precision, const char* format) const {
    if (precision < 0) precision = 6;
    return detail::CopyText(detail::FormattedText(m_value * 6400.0 / kTurn, precision, format), buffer);
}

char* CAngular::write(char* buffer, int precision, const char* format) const {
    switch (unit(kQuery)) {
    case kRadian:
        return detail::CopyText(detail::FormattedText(m_value, precision < 0 ? 6 : precision, format), buffer);
    case kDegMinSec: return wr_dms(buffer, precision, format);
    case kGon: return wr_gon(buffer, precision, format);
    case kMil: return wr_mil(buffer, precision, format);
    default: return wr_dxx(buffer, precision, format);
    }
}

int CAngular::rd_dms(const char* text, char** end, const char* /*format*/) {
    if (!text) return 1;
    const char* p = detail::SkipBlanks(text);
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') p = detail::SkipBlanks(p + 1);

    // Up to three parts; every part but the last must be whole, and a part
    // after the first must stay below 60.
    static const char* const kMarks[3] = {"\xB0:", "':", "\""};
    double parts[3] = {0.0, 0.0, 0.0};
    int count = 0;
    const char* after = p;
    while (count < 3) {
        if (*p == '-' || *p == '+') break;
        double value = 0.0;
        size_t used = detail::ParseNumber(p, value);
        if (used == 0) break;
        if (count > 0 && (value < 0.0 || value >= 60.0)) return 1;
        if (count > 0 && !IsWhole(parts[count - 1])) return 1;
        parts[count++] = value;
        p = SkipSeparator(p + used, kMarks[count - 1]);
        after = p;
    }
    if (count == 0) return 1;
    if (end) *end = const_cast<char*>(after);
    else if (*after != '\0') return 1;
    double degrees = parts[0] + parts[1] / 60.0 + parts[2] / 3600.0;
    m_value = (negative ? -degrees : degrees) / kDegreesPerRadian;
    return 0;
}

CAngular& CAngular::align(const CAngular& reference) {
    double base = reference.m_value;
    if (!std::isfinite(m_value) || !std::isfinite(base)) return *this;
    double offset = std::fmod(m_value - base, kTurn);
    if (offset < 0.0) offset += kTurn;
    if (offset >= kTurn) offset = 0.0;  // a tiny negative offset rounds up to a full turn
    m_value = base + offset;
    return *this;
}

}  // namespace msr
