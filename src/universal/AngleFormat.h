// An angle format template such as "ddd.mmssxxxxxxx" taken apart: a prefix,
// runs of d (degrees), m (minutes), s (seconds) and x (fraction digits), each
// with the text that separates it from the next. It writes angles in that
// layout and turns texts written in it into texts the units library parses.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tvk {

class CAngleFormat {
public:
    enum Unit { kDegree = 0, kGon = 1, kMil = 2 };
    // 0 degrees-minutes-seconds, 1 degrees and decimal minutes, 2 decimal degrees.
    enum Mode { kDegMinSec = 0, kDegDecimalMin = 1, kDecimalDeg = 2 };

    struct Run {
        int letters = 0;        // number of letters; 0 when the kind is absent
        std::string separator;  // the text after the run up to the next letter
        bool HasSeparator() const { return !separator.empty(); }
    };

    CAngleFormat() { Parse("ddd.mmssxxxxxxx", kDegree); }

    // Takes `text` apart and keeps `unit` (0 degree, 1 gon, 2 mil; -1 and
    // anything else count as degree). Returns IsValidTemplate(text); an
    // invalid text is still taken apart as far as it goes.
    bool Parse(std::string_view text, int unit);

    // True when, after any leading text, `text` holds at least one of d, m,
    // s, x; the kinds come in that order; the d's, m's and s's each form one
    // run; and a run of m or s without a separator after it has two letters.
    static bool IsValidTemplate(std::string_view text);

    // `radians` written in this format with `precision` digits (the units
    // library's default when negative): gon and mil as plain numbers,
    // degrees laid out by the runs.
    std::string Write(double radians, int precision) const;

    // A text written in this format turned into degrees, minutes, seconds
    // and fraction as CAngular::rd_dms reads them ("55.4530123" in
    // "ddd.mmssxxxxxxx" gives "55 45 30.123"). Unchanged unless the unit is
    // degree.
    std::string Read(std::string_view text) const;

    const std::string& Prefix() const { return prefix_; }
    const Run& Degrees() const { return degrees_; }
    const Run& Minutes() const { return minutes_; }
    const Run& Seconds() const { return seconds_; }
    const std::vector<Run>& FractionGroups() const { return fraction_; }
    int GetUnit() const { return unit_; }
    int GetMode() const { return mode_; }

private:
    std::string Layout(const std::vector<std::string>& tokens, const std::string* fraction) const;

    std::string prefix_;
    Run degrees_, minutes_, seconds_;
    std::vector<Run> fraction_;
    int unit_ = kDegree;
    int mode_ = kDegMinSec;
};

}  // namespace tvk
