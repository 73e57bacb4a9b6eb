#pragma once

#include "CalendarState.h"

#include <QPoint>
#include <array>

namespace gyrodex {

// The angle of one spoke, 2*pi/52, and half of it, in extended precision.
extern const long double kAngleStep;
extern const long double kHalfStep;

// cos and sin of an angle of the wheel, in extended precision.
struct Trig {
    long double cos, sin;
};
// Of j*AngleStep, the boundary between spokes j-1 and j.
Trig BoundaryTrig(int j);
// Of (2k+1)*HalfStep, the middle of spoke k.
Trig MiddleTrig(int k);

// The pixel at radius rho and angle j*AngleStep from the wheel's centre.
QPoint SpokePoint(const CalendarState& s, long double rho, int j);

// Inner radius of ring r (1..7): Radius - r*DayHeight.
inline std::int32_t RingInnerRadius(const CalendarState& s, int ring) {
    return s.Radius - ring * s.DayHeight;
}

// Corners of a cell: inner at spoke start, outer at spoke start, outer at spoke end, inner at
// spoke end. The spoke enters the angle unreduced.
std::array<QPoint, 4> CellPolygon(const CalendarState& s, int spoke, int ring);

// The point on which a cell's day number is centred.
QPoint TextAnchor(const CalendarState& s, int spoke, int ring);

struct HitResult {
    int spoke = -1; // 0..51, or -1; not computed (left -1) when no ring was found
    int ring = -1;  // 1..7, or -1
    DayDate date;   // the cell's date from the grid, or the no-date value
};

// The spoke, ring and date under an image point.
HitResult HitTest(const CalendarState& s, int x, int y);

} // namespace gyrodex
