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

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
// A survey-sized offset that keeps the test points exact in double.
constexpr double kN0 = 6000000.5, kE0 = 400000.25;

CPoint2d At(double north, double east) { return CPoint2d(kN0 + north, kE0 + east); }

double Degrees(const CAngular& angle) { return angle.Degrees(); }

std::unique_ptr<CPoint3d[]> Trace(const auto& figure, long& count) {
  return std::unique_ptr<CPoint3d[]>(figure.GetTrace(count, nullptr));
}

// Angle of a point seen from a centre, in [0, 360).
double AngleOf(const CPoint2d& centre, double north, double east) {
  return CAngular(std::atan2(east - centre.east, north - centre.north)).align(CAngular(0.0)).Degrees();
}

}  // namespace

TEST(MsrArcCircle, CircleThroughThreePoints) {
  CCircle circle(At(5, 0), At(3, 4), At(-4, -3));
  EXPECT_NEAR(double(circle.centre.north), kN0, 1e-9);
  EXPECT_NEAR(double(circle.centre.east), kE0, 1e-9);
  EXPECT_NEAR(double(circle.radius), 5.0, 1e-9);
  CCircle unit(CPoint2d(1, 0), CPoint2d(0, 1), CPoint2d(-1, 0));
  EXPECT_DOUBLE_EQ(double(unit.radius), 1.0);
  EXPECT_NEAR(double(unit.centre.north), 0.0, 1e-15);
  EXPECT_FALSE(unit.IsDegenerate());
}

TEST(MsrArcCircle, ArcAnglesRunCounterClockwiseInDrawingCoordinates) {
  struct Case {
    CPoint2d p0, p1, p2;
    double start, end, sweep;
    bool counterClockwise;
  } cases[] = {
      {At(5, 0), At(3, 4), At(0, 5), 0.0, 90.0, 90.0, true},               // quarter, turning left
      {At(0, 5), At(3, 4), At(5, 0), 0.0, 90.0, 90.0, false},              // the same arc, reversed
      {At(4, -3), At(5, 0), At(3, 4), 323.130102354, 53.130102354, 90.0, true},   // across 0
      {At(3, 4), At(5, 0), At(4, -3), 323.130102354, 53.130102354, 90.0, false},  // across 0, reversed
      {At(5, 0), At(-5, 0), At(0, -5), 0.0, 270.0, 270.0, true},           // more than half a turn
      {At(0, -5), At(-5, 0), At(5, 0), 0.0, 270.0, 270.0, false},
  };
  for (const Case& c : cases) {
    CArc arc(c.p0, c.p1, c.p2);
    EXPECT_NEAR(double(arc.centre.north), kN0, 1e-9);
    EXPECT_NEAR(double(arc.centre.east), kE0, 1e-9);
    EXPECT_NEAR(double(arc.radius), 5.0, 1e-9);
    EXPECT_NEAR(Degrees(arc.start), c.start, 1e-8) << c.start;
    EXPECT_NEAR(Degrees(arc.end), c.end, 1e-8) << c.end;
    EXPECT_NEAR(Degrees(arc.Sweep()), c.sweep, 1e-8);
    EXPECT_EQ(arc.IsCounterClockwise(), c.counterClockwise);
  }
  char buffer[kTextSize];
  CArc acrossZero(At(4, -3), At(5, 0), At(3, 4));
  EXPECT_STREQ(acrossZero.start.wr_dxx(buffer, 2, "%0.*f"), "323.13");
  EXPECT_STREQ(acrossZero.end.wr_dxx(buffer, 2, "%0.*f"), "53.13");
}

TEST(MsrArcCircle, RandomArcsPassThroughTheMiddlePoint) {
  std::mt19937 random(12345);
  std::uniform_real_distribution<double> coordinate(-100.0, 100.0);
  for (int i = 0; i < 500; ++i) {
    CPoint2d p[3];
    for (CPoint2d& point : p) point = At(coordinate(random), coordinate(random));
    CArc arc(p[0], p[1], p[2]);
    if (arc.IsDegenerate()) continue;
    double start = Degrees(arc.start), sweep = Degrees(arc.Sweep());
    double middle = std::fmod(AngleOf(arc.centre, p[1].north, p[1].east) - start + 360.0, 360.0);
    EXPECT_LE(middle, sweep + 1e-6);
    const CPoint2d& first = arc.IsCounterClockwise() ? p[0] : p[2];
    EXPECT_NEAR(std::fmod(AngleOf(arc.centre, first.north, first.east) - start + 360.0 + 1e-9, 360.0), 0.0, 1e-6);
  }
}

TEST(MsrArcCircle, ArcTraceRunsFromFirstToLastPointOnTheCircle) {
  for (bool reversed : {false, true}) {
    CPoint2d p0 = At(4, -3), p1 = At(5, 0), p2 = At(3, 4);
    if (reversed) std::swap(p0, p2);
    CArc arc(p0, p1, p2);
    long count = 0;
    auto trace = Trace(arc, count);
    ASSERT_EQ(count, 19);  // 90 degrees in 18 steps of 5
    EXPECT_EQ(double(trace[0].north), double(p0.north));
    EXPECT_EQ(double(trace[0].east), double(p0.east));
    EXPECT_EQ(double(trace[count - 1].north), double(p2.north));
    EXPECT_EQ(double(trace[count - 1].east), double(p2.east));
    for (long i = 0; i < count; ++i) {
      EXPECT_NEAR(std::hypot(trace[i].north - kN0, trace[i].east - kE0), 5.0, 1e-9);
      EXPECT_EQ(double(trace[i].elevation), 0.0);
      if (i == 0) continue;
      double step = AngleOf(arc.centre, trace[i].north, trace[i].east) -
                    AngleOf(arc.centre, trace[i - 1].north, trace[i - 1].east);
      step = std::remainder(step, 360.0);
      EXPECT_NEAR(step, reversed ? -5.0 : 5.0, 1e-6);
    }
  }
  long count = 0;
  auto shortArc = Trace(CArc(At(5, 0), At(4.99, 0.3), At(4.96, 0.6)), count);
  EXPECT_EQ(count, 3);  // 7 degrees: two steps
  CArc almostFull(CPoint2d(5, 0), CPoint2d(-5, 0), CPoint2d(5 * std::cos(kRadiansPerDegree), -5 * std::sin(kRadiansPerDegree)));
  EXPECT_NEAR(Degrees(almostFull.Sweep()), 359.0, 1e-9);
  auto longArc = Trace(almostFull, count);
  EXPECT_EQ(count, 73);  // 359 degrees: 72 steps of just under 5
}

TEST(MsrArcCircle, CircleTraceIsSeventyTwoPointsCounterClockwiseFromTheFirst) {
  for (bool reversed : {false, true}) {
    CPoint2d p0 = At(3, 4), p1 = At(-5, 0), p2 = At(0, -5);
    if (reversed) std::swap(p1, p2);
    CCircle circle(p0, p1, p2);
    long count = 0;
    auto trace = Trace(circle, count);
    ASSERT_EQ(count, 72);
    EXPECT_EQ(double(trace[0].north), double(p0.north));
    EXPECT_EQ(double(trace[0].east), double(p0.east));
    for (long i = 0; i < count; ++i) {
      EXPECT_NEAR(std::hypot(trace[i].north - kN0, trace[i].east - kE0), 5.0, 1e-9);
      long next = (i + 1) % count;
      double step = AngleOf(circle.centre, trace[next].north, trace[next].east) -
                    AngleOf(circle.centre, trace[i].north, trace[i].east);
      EXPECT_NEAR(std::remainder(step, 360.0), 5.0, 1e-6);
    }
  }
}

TEST(MsrArcCircle, PointsThatDefineNoCircleGiveZeroRadiusAtTheFirstPoint) {
  CPoint2d sets[][3] = {
      {At(0, 0), At(1, 1), At(2, 2)},                      // on one line
      {At(0.1, 0.2), At(0.3, 0.6), At(0.7, 1.4)},          // on one line up to rounding
      {At(2, 2), At(0, 0), At(1, 1)},                      // on one line, middle point last
      {At(1, 1), At(1, 1), At(1, 1)},                      // one point
      {At(1, 1), At(3, 2), At(1, 1)},                      // back to the start
      {At(1, 1), At(3, 2), At(3, 2)},                      // last two equal
      {CPoint2d(1e300, 1e300), CPoint2d(-1e300, 1e300), CPoint2d(1e300, -1e300)},  // overflows
  };
  for (auto& p : sets) {
    CArc arc(p[0], p[1], p[2]);
    CCircle circle(p[0], p[1], p[2]);
    EXPECT_TRUE(arc.IsDegenerate());
    EXPECT_TRUE(circle.IsDegenerate());
    EXPECT_EQ(double(arc.radius), 0.0);
    EXPECT_EQ(double(circle.radius), 0.0);
    EXPECT_EQ(double(arc.centre.north), double(p[0].north));
    EXPECT_EQ(double(circle.centre.east), double(p[0].east));
    EXPECT_EQ(double(arc.start), 0.0);
    EXPECT_EQ(double(arc.end), 0.0);
    long count = 0;
    auto trace = Trace(arc, count);
    ASSERT_EQ(count, 3);
    for (long i = 0; i < count; ++i) {
      EXPECT_EQ(double(trace[i].north), double(p[i].north));
      EXPECT_TRUE(std::isfinite(trace[i].east));
    }
    auto ring = Trace(circle, count);
    EXPECT_EQ(count, 3);
  }
}
