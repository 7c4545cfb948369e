#include "msr/ArcCircle.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace msr {
namespace {

constexpr double kTurn = 2.0 * std::numbers::pi;
constexpr double kMaxStep = kTurn / kTraceStepsPerTurn;
// Below this sine of the angle between p0->p1 and p0->p2 the points count as
// one line: the circle would be larger than 10^12 times their spread.
constexpr double kCollinearSine = 1e-12;
// Differences of coordinates this many units of rounding apart are noise:
// points typed on one line at survey-sized coordinates are not exactly on
// one line in binary, and would give circles of millions of kilometres.
constexpr double kRoundingNoise = 8.0 * std::numeric_limits<double>::epsilon();

// The circle through three points, worked out relative to the first point
// so that large survey coordinates keep their precision.
struct Fit {
    bool degenerate = true;
    double offsetNorth = 0.0, offsetEast = 0.0;  // centre minus p0
    double radius = 0.0;
    bool counterClockwise = true;  // p0, p1, p2 turn left in drawing coordinates
};

Fit FitCircle(const CPoint2d& p0, const CPoint2d& p1, const CPoint2d& p2) {
    Fit fit;
    double aN = double(p1.north) - double(p0.north), aE = double(p1.east) - double(p0.east);
    double bN = double(p2.north) - double(p0.north), bE = double(p2.east) - double(p0.east);
    double aa = aN * aN + aE * aE, bb = bN * bN + bE * bE;
    double cross = aN * bE - aE * bN;
    double scale = std::max({std::fabs(double(p0.north)), std::fabs(double(p0.east)), std::fabs(double(p1.north)),
                             std::fabs(double(p1.east)), std::fabs(double(p2.north)), std::fabs(double(p2.east))});
    double lengthA = std::sqrt(aa), lengthB = std::sqrt(bb);
    double tolerance = kCollinearSine * lengthA * lengthB + kRoundingNoise * scale * (lengthA + lengthB);
    if (!(std::fabs(cross) > tolerance)) return fit;
    double twice = 2.0 * cross;
    fit.offsetNorth = (bE * aa - aE * bb) / twice;
    fit.offsetEast = (aN * bb - bN * aa) / twice;
    fit.radius = std::hypot(fit.offsetNorth, fit.offsetEast);
    if (!std::isfinite(fit.offsetNorth) || !std::isfinite(fit.offsetEast) || !std::isfinite(fit.radius)) return Fit();
    fit.degenerate = false;
    fit.counterClockwise = cross > 0.0;
    return fit;
}

// Angle of `point` seen from the centre p0 + offset.
double AngleFrom(const CPoint2d& p0, const Fit& fit, const CPoint2d& point) {
    double dN = double(point.north) - double(p0.north) - fit.offsetNorth;
    double dE = double(point.east) - double(p0.east) - fit.offsetEast;
    return std::atan2(dE, dN);
}

CPoint3d OnCircle(const CPoint2d& centre, double radius, double angle) {
    return CPoint3d(double(centre.north) + radius * std::cos(angle), double(centre.east) + radius * std::sin(angle),
                    0.0);
}

CPoint3d Flat(const CPoint2d& point) { return CPoint3d(point.north, point.east, 0.0); }

// The defining points themselves, for a figure that has no circle.
CPoint3d* PointsTrace(const CPoint2d (&points)[3], long& count) {
    count = 3;
    CPoint3d* trace = new CPoint3d[3];
    for (int i = 0; i < 3; ++i) trace[i] = Flat(points[i]);
    return trace;
}

}  // namespace

CCircle::CCircle(CPoint2d p0, CPoint2d p1, CPoint2d p2) : m_points{p0, p1, p2} {
    Fit fit = FitCircle(p0, p1, p2);
    m_degenerate = fit.degenerate;
    centre = CPoint2d(double(p0.north) + fit.offsetNorth, double(p0.east) + fit.offsetEast);
    radius = CLinear(fit.radius);
}

CPoint3d* CCircle::GetTrace(long& count, void* /*reserved*/) const {
    if (m_degenerate) return PointsTrace(m_points, count);
    const CPoint2d& first = m_points[0];
    double startAngle =
        std::atan2(double(first.east) - double(centre.east), double(first.north) - double(centre.north));
    count = kTraceStepsPerTurn;
    CPoint3d* trace = new CPoint3d[kTraceStepsPerTurn];
    trace[0] = Flat(first);
    for (int i = 1; i < kTraceStepsPerTurn; ++i) trace[i] = OnCircle(centre, radius, startAngle + i * kMaxStep);
    return trace;
}

CArc::CArc(CPoint2d p0, CPoint2d p1, CPoint2d p2) : m_points{p0, p1, p2} {
    Fit fit = FitCircle(p0, p1, p2);
    m_degenerate = fit.degenerate;
    centre = CPoint2d(double(p0.north) + fit.offsetNorth, double(p0.east) + fit.offsetEast);
    radius = CLinear(fit.radius);
    if (m_degenerate) return;
    m_counterClockwise = fit.counterClockwise;
    double first = AngleFrom(p0, fit, p0), last = AngleFrom(p0, fit, p2);
    start = CAngular(m_counterClockwise ? first : last).align(CAngular(0.0));
    end = CAngular(m_counterClockwise ? last : first).align(CAngular(0.0));
}

CAngular CArc::Sweep() const {
    if (m_degenerate) return CAngular(0.0);
    double sweep = double(end) - double(start);
    // p1 lies between the ends, so equal angles mean the whole turn.
    if (sweep <= 0.0) sweep += kTurn;
    return CAngular(sweep);
}

CPoint3d* CArc::GetTrace(long& count, void* /*reserved*/) const {
    if (m_degenerate) return PointsTrace(m_points, count);
    double sweep = Sweep();
    long steps = std::max(1L, long(std::ceil(sweep / kMaxStep - 1e-9)));
    double step = (m_counterClockwise ? sweep : -sweep) / double(steps);
    double firstAngle = m_counterClockwise ? double(start) : double(end);
    count = steps + 1;
    CPoint3d* trace = new CPoint3d[size_t(count)];
    trace[0] = Flat(m_points[0]);
    for (long i = 1; i < steps; ++i) trace[i] = OnCircle(centre, radius, firstAngle + double(i) * step);
    trace[steps] = Flat(m_points[2]);
    return trace;
}

}  // namespace msr
