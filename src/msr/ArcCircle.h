// Circles and arcs through three plane points, and their traces.
//
// Angles are counted from the north axis towards the east axis; with north
// as drawing X and east as drawing Y that is counter-clockwise from X, the
// convention of DXF and MapInfo arcs.
//
// Three points on one line, or with the first equal to another, define no
// circle: such a figure has radius 0, its centre at the first point, both
// arc angles 0, and its trace is the three points themselves.
#pragma once
#include "msr/Angular.h"
#include "msr/Points.h"

namespace msr {

// The largest angle between neighbouring trace points: 5 degrees.
constexpr int kTraceStepsPerTurn = 72;

// The circle through three points.
class CCircle {
public:
    CCircle() = default;
    // Contract: the circle through p0, p1 and p2 (see the file comment for
    // three points that define none).
    CCircle(CPoint2d p0, CPoint2d p1, CPoint2d p2);

    // Contract: a new array (release with delete[]) of `count` points on the
    // circle, kTraceStepsPerTurn of them, evenly spaced counter-clockwise
    // (drawing coordinates) beginning exactly at the first point; the ring is
    // not closed. Elevations are 0. `reserved` must be null.
    CPoint3d* GetTrace(long& count, void* reserved) const;

    bool IsDegenerate() const { return m_degenerate; }

    CPoint2d centre;
    CLinear radius;

private:
    CPoint2d m_points[3];
    bool m_degenerate = true;
};

// The arc from the first point through the second to the third.
class CArc {
public:
    CArc() = default;
    // Contract: the arc from p0 through p1 to p2. `start` and `end` are in
    // [0, one turn) and the arc runs counter-clockwise (drawing coordinates)
    // from `start` to `end`: from p0 to p2 when p0, p1, p2 turn
    // counter-clockwise, from p2 to p0 otherwise.
    CArc(CPoint2d p0, CPoint2d p1, CPoint2d p2);

    // Contract: a new array (release with delete[]) of `count` points along
    // the arc from p0 to p2, at most 5 degrees apart and evenly spaced, the
    // first exactly p0 and the last exactly p2. Elevations are 0. `reserved`
    // must be null.
    CPoint3d* GetTrace(long& count, void* reserved) const;

    // Contract: the angle swept counter-clockwise from `start` to `end`, in
    // (0, one turn); 0 for a degenerate arc.
    CAngular Sweep() const;
    // Contract: true when the arc runs from p0 to p2 counter-clockwise in
    // drawing coordinates.
    bool IsCounterClockwise() const { return m_counterClockwise; }
    bool IsDegenerate() const { return m_degenerate; }

    CPoint2d centre;
    CLinear radius;
    CAngular start;
    CAngular end;

private:
    CPoint2d m_points[3];
    bool m_counterClockwise = true;
    bool m_degenerate = true;
};

}  // namespace msr
