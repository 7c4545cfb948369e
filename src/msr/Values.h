// Value classes of the units library: a plain number and the linear values
// (distances and coordinates) with their unit, style and false-origin texts.
#pragma once

namespace msr {

// Every buffer handed to a write or wr_ operation must hold this many bytes;
// longer texts are cut to fit.
constexpr int kTextSize = 512;

// One number. Empty means 0.
class CValue {
public:
    CValue() = default;
    CValue(double value) : m_value(value) {}
    operator double() const { return m_value; }

protected:
    double m_value = 0.0;
};

// A distance or coordinate, held in metres.
class CLinear : public CValue {
public:
    CLinear() = default;
    CLinear(double metres) : CValue(metres) {}
    virtual ~CLinear() = default;
    CLinear(const CLinear&) = default;
    CLinear& operator=(const CLinear&) = default;

    // Contract: writes the value in the current linear unit with `precision`
    // decimals (3 when negative) into `buffer` (kTextSize bytes) and returns
    // it. `format` is null (plain decimals) or a printf format with one
    // floating conversion taking its precision from the argument ("%0.*f");
    // any other format counts as null. Numbers always use a decimal point.
    virtual char* write(char* buffer, int precision, const char* format) const;

    // Contract: parses a number in the current linear unit (blanks around it,
    // a point or comma as decimal separator) and stores it. Returns 0 on
    // success, nonzero (value unchanged) otherwise. With `end` null the whole
    // text must be the number; otherwise *end receives where parsing stopped.
    // `format` is ignored.
    virtual int read(const char* text, char** end, const char* format);

    // Contract: sets the linear unit (LinearUnit); kQuery or an unknown unit
    // leaves it. Returns the unit in force before the call.
    static int unit(int newUnit);
};

// A north coordinate: written in the north style with the false northing.
class CNorth : public CLinear {
public:
    using CLinear::CLinear;
    char* write(char* buffer, int precision, const char* format) const override;

    // Contract: sets the north style (NorthStyle); kQuery or an unknown style
    // leaves it. Returns the style in force before the call.
    static int style(int newStyle);
    // Contract: sets the false northing in metres; kQueryOrigin or a value
    // that is not finite leaves it. Returns the one in force before the call.
    static CLinear false_northing(double metres);
};

// An east coordinate: written in the east style with the false easting and
// zone.
class CEast : public CLinear {
public:
    using CLinear::CLinear;
    char* write(char* buffer, int precision, const char* format) const override;

    // Contract: as CNorth::style, for EastStyle.
    static int style(int newStyle);
    // Contract: as CNorth::false_northing, for the false easting.
    static CLinear false_easting(double metres);
    // Contract: sets the zone number (0 or more); kQuery or a negative number
    // leaves it. Returns the zone in force before the call.
    static short zone(short newZone);
};

// A height: written as a plain linear value.
class CElevation : public CLinear {
public:
    using CLinear::CLinear;
};

// A pressure, held in hectopascals.
class CPressure : public CValue {
public:
    using CValue::CValue;
    // Contract: the value in the current pressure unit.
    double InUnit() const;
    // Contract: as CLinear::unit, for PressureUnit.
    static int unit(int newUnit);
};

// A temperature, held in degrees Celsius.
class CTemperature : public CValue {
public:
    using CValue::CValue;
    // Contract: the value in the current temperature unit.
    double InUnit() const;
    // Contract: as CLinear::unit, for TemperatureUnit.
    static int unit(int newUnit);
};

}  // namespace msr
