// Angles and their texts: degrees-minutes-seconds, degrees-minutes, decimal
// degrees, gon and mil.
#pragma once
#include "msr/Values.h"

namespace msr {

// The degree sign of code page 1251, the separator after the degrees.
constexpr char kDegreeSign = '\xB0';

// An angle, held in radians. In the plane it is counted from the north axis
// towards the east axis, which is counter-clockwise in drawing coordinates
// where north is X and east is Y.
class CAngular : public CValue {
public:
    CAngular() = default;
    CAngular(double radians) : CValue(radians) {}

    static CAngular FromDegrees(double degrees);
    double Degrees() const;

    // The text writers below fill `buffer` (kTextSize bytes) and return it.
    // A negative precision takes the default named with each; `format` is
    // null or a printf format with one floating conversion taking its
    // precision from the argument ("%0.*f"), any other counting as null.
    //
    // Contract: "D° MM' SS.ss\"" (default precision 2): whole degrees, the
    // degree sign 0xB0 and a blank, two-digit minutes, an apostrophe and a
    // blank, seconds with two whole digits, a double quote. A format
    // replaces the two-digit layout of the seconds.
    char* wr_dms(char* buffer, int precision, const char* format) const;
    // Contract: "D° MM.mmmm'" (default precision 4): whole degrees, the degree
    // sign and a blank, minutes with two whole digits, an apostrophe.
    char* wr_dmx(char* buffer, int precision, const char* format) const;
    // Contract: "D.dd°" (default precision 2) without a format; with one, the
    // formatted number of degrees alone ("%0.*f" gives "123.45").
    char* wr_dxx(char* buffer, int precision, const char* format) const;
    // Contract: the angle in gon (400 a turn) as a plain number (default
    // precision 6).
    char* wr_gon(char* buffer, int precision, const char* format) const;
    // Contract: the angle in mils (6400 a turn) as a plain number (default
    // precision 6).
    char* wr_mil(char* buffer, int precision, const char* format) const;
    // Contract: the text of the current angular unit (wr_dxx, wr_dms, wr_gon,
    // wr_mil, or radians as a plain number).
    char* write(char* buffer, int precision, const char* format) const;

    // Contract: parses degrees, then optionally minutes, then optionally
    // seconds, each a number (point or comma as decimal separator) and all
    // but the last whole, separated by blanks or the marks ° ' " : and an
    // optional leading sign; "55 45 30.123", "55°45'30.1\"", "55.758" and
    // "-55 45.5" are angles. Minutes and seconds must stay below 60. Returns
    // 0 and stores the angle on success, nonzero (value unchanged) otherwise.
    // With `end` null only blanks may follow; otherwise *end receives where
    // parsing stopped. `format` is ignored.
    int rd_dms(const char* text, char** end, const char* format);

    // Contract: brings the angle into [reference, reference + one turn) by
    // whole turns and returns it. An angle that is not finite stays.
    CAngular& align(const CAngular& reference);

    // Contract: as CLinear::unit, for AngularUnit.
    static int unit(int newUnit);
};

}  // namespace msr
