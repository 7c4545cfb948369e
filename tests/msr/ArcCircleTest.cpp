// Circles and arcs through three points: exact centres, radii and angles in
// both turning directions and across angle 0, traces on the circle, and
// point sets that define no circle.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <random>

#include "msr/msr.h"

using namespace msr;

namespace {

// A survey-sized offset that keeps the test points exact in double.
constexpr double kN0 = 6000000.5, kE0 = 400000.25;

CPoint2d At(double north, double east) { return CPoint2d(kN0 + north, kE0 + east); }

// Angle of a point seen from a centre, in [0, 360).
double AngleOf(const CPoint2d& centre, double north, double east) {
    return CAngular(std::atan2(east - centre.east, north - centre.north)).align(CAngular(0.0)).Degrees();
}

// Takes the trace and checks that every point lies on the circle of
// `radius` around the offset, `step` degrees after the one before (wrapping
// when `ring`), starting exactly at `first`.
template <class Figure>
long CheckTrace(const Figure& figure, const CPoint2d& first, double step, bool ring, double radius = 5.0) {
    long count = 0;
    std::unique_ptr<CPoint3d[]> trace(figure.GetTrace(count, nullptr));
    EXPECT_EQ(double(trace[0].north), double(first.north));
    EXPECT_EQ(double(trace[0].east), double(first.east));
    for (long i = 0; i < count; ++i) {
        EXPECT_NEAR(std::hypot(trace[i].north - kN0, trace[i].east - kE0), radius, 1e-9);
        EXPECT_EQ(double(trace[i].elevation), 0.0);
        long next = ring ? (i + 1) % count : i + 1;
        if (next == count) break;
        double turn = AngleOf(figure.centre, trace[next].north, trace[next].east) -
                      AngleOf(figure.centre, trace[i].north, trace[i].east);
        EXPECT_NEAR(std::remainder(turn, 360.0), step, 1e-6);
    }
    return count;
}

}  // namespace

TEST(MsrArcCircle, ArcAnglesRunCounterClockwiseInDrawingCoordinates) {
    struct Case {
        CPoint2d p0, p1, p2;
        double start, end;
        bool counterClockwise;
    } cases[] = {
        {At(5, 0), At(3, 4), At(0, 5), 0.0, 90.0, true},                      // turning left
        {At(0, 5), At(3, 4), At(5, 0), 0.0, 90.0, false},                     // the same arc, reversed
        {At(4, -3), At(5, 0), At(3, 4), 323.130102354, 53.130102354, true},   // across 0
        {At(3, 4), At(5, 0), At(4, -3), 323.130102354, 53.130102354, false},  // across 0, reversed
        {At(5, 0), At(-5, 0), At(0, -5), 0.0, 270.0, true},                   // more than half a turn
        {At(0, -5), At(-5, 0), At(5, 0), 0.0, 270.0, false},
    };
    for (const Case& c : cases) {
        CArc arc(c.p0, c.p1, c.p2);
        EXPECT_NEAR(double(arc.centre.north), kN0, 1e-9);
        EXPECT_NEAR(double(arc.centre.east), kE0, 1e-9);
        EXPECT_NEAR(double(arc.radius), 5.0, 1e-9);
        EXPECT_NEAR(arc.start.Degrees(), c.start, 1e-8);
        EXPECT_NEAR(arc.end.Degrees(), c.end, 1e-8);
        EXPECT_NEAR(arc.Sweep().Degrees(), std::fmod(c.end - c.start + 360.0, 360.0), 1e-8);
        EXPECT_EQ(arc.IsCounterClockwise(), c.counterClockwise);
        CCircle circle(c.p0, c.p1, c.p2);
        EXPECT_EQ(double(circle.centre.east), double(arc.centre.east));
        EXPECT_EQ(double(circle.radius), double(arc.radius));
    }
    char buffer[kTextSize];
    CArc acrossZero(At(4, -3), At(5, 0), At(3, 4));
    EXPECT_STREQ(acrossZero.start.wr_dxx(buffer, 2, "%0.*f"), "323.13");
    EXPECT_STREQ(acrossZero.end.wr_dxx(buffer, 2, "%0.*f"), "53.13");
}

TEST(MsrArcCircle, RandomArcsRunFromTheirStartThroughTheMiddlePoint) {
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> coordinate(-100.0, 100.0);
    for (int i = 0; i < 500; ++i) {
        CPoint2d p[3];
        for (CPoint2d& point : p) {
            double north = coordinate(random), east = coordinate(random);
            point = i % 2 ? At(north, east) : CPoint2d(north / 1024.0, east / 1024.0);  // survey or fine scale
        }
        CArc arc(p[0], p[1], p[2]);
        ASSERT_FALSE(arc.IsDegenerate());
        auto fromStart = [&](const CPoint2d& q) { return AngleOf(arc.centre, q.north, q.east) - arc.start.Degrees(); };
        EXPECT_LE(std::fmod(fromStart(p[1]) + 360.0, 360.0), arc.Sweep().Degrees());
        EXPECT_NEAR(std::remainder(fromStart(arc.IsCounterClockwise() ? p[0] : p[2]), 360.0), 0.0, 1e-6);
        long count = 0;
        std::unique_ptr<CPoint3d[]> trace(arc.GetTrace(count, nullptr));
        EXPECT_TRUE(trace[0].east == p[0].east && trace[count - 1].north == p[2].north);
    }
}

TEST(MsrArcCircle, TracesLieOnTheCircleAtMostFiveDegreesApart) {
    for (bool reversed : {false, true}) {
        CPoint2d p0 = At(4, -3), p2 = At(3, 4);
        if (reversed) std::swap(p0, p2);
        CArc arc(p0, At(5, 0), p2);
        EXPECT_EQ(CheckTrace(arc, p0, reversed ? -5.0 : 5.0, false), 19);  // 90 degrees in 18 steps
        long count = 0;
        std::unique_ptr<CPoint3d[]> trace(arc.GetTrace(count, nullptr));
        EXPECT_EQ(double(trace[count - 1].north), double(p2.north));
        EXPECT_EQ(double(trace[count - 1].east), double(p2.east));

        // A circle runs counter-clockwise from its first point whatever the order.
        CPoint2d q1 = At(-5, 0), q2 = At(0, -5);
        if (reversed) std::swap(q1, q2);
        EXPECT_EQ(CheckTrace(CCircle(At(3, 4), q1, q2), At(3, 4), 5.0, true), 72);
    }
    // Integer points on a circle of radius 65: 345.75 and 22.62 degrees.
    double nearlyFull = 360.0 - std::atan2(16.0, 63.0) * 180.0 / std::numbers::pi;
    EXPECT_EQ(CheckTrace(CArc(At(65, 0), At(-65, 0), At(63, -16)), At(65, 0), nearlyFull / 70.0, false, 65.0), 71);
    double small = std::atan2(25.0, 60.0) * 180.0 / std::numbers::pi;
    EXPECT_EQ(CheckTrace(CArc(At(65, 0), At(63, 16), At(60, 25)), At(65, 0), small / 5.0, false, 65.0), 6);
}

TEST(MsrArcCircle, PointsThatDefineNoCircleGiveZeroRadiusAtTheFirstPoint) {
    CPoint2d sets[][3] = {
        {At(0, 0), At(1, 1), At(2, 2)},                                              // on one line
        {At(0.1, 0.2), At(0.3, 0.6), At(0.7, 1.4)},                                  // on one line up to rounding
        {At(2, 2), At(0, 0), At(1, 1)},                                              // on one line, middle point last
        {At(1, 1), At(1, 1), At(1, 1)},                                              // one point
        {At(1, 1), At(3, 2), At(1, 1)},                                              // back to the start
        {At(1, 1), At(3, 2), At(3, 2)},                                              // last two equal
        {CPoint2d(1e300, 1e300), CPoint2d(-1e300, 1e300), CPoint2d(1e300, -1e300)},  // overflows
    };
    for (auto& p : sets) {
        CArc arc(p[0], p[1], p[2]);
        CCircle circle(p[0], p[1], p[2]);
        EXPECT_TRUE(arc.IsDegenerate() && circle.IsDegenerate());
        EXPECT_EQ(double(arc.radius) + double(circle.radius) + double(arc.start) + double(arc.end), 0.0);
        EXPECT_EQ(double(arc.centre.north), double(p[0].north));
        EXPECT_EQ(double(circle.centre.east), double(p[0].east));
        long count = 0;
        std::unique_ptr<CPoint3d[]> trace(arc.GetTrace(count, nullptr));
        ASSERT_EQ(count, 3);
        for (long i = 0; i < count; ++i) EXPECT_EQ(double(trace[i].east), double(p[i].east));
        std::unique_ptr<CPoint3d[]> ring(circle.GetTrace(count, nullptr));
        EXPECT_EQ(count, 3);
    }
}
