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

// What the wheel's points depend on: the design's radius and ring height, and the centre a
// repaint computed for the image.
struct WheelGeometry {
    std::int32_t Radius;
    std::int32_t DayHeight;
    std::int32_t CentreX;
    std::int32_t CentreY;
};
inline WheelGeometry GeometryOf(const CalendarDesign& design, const RepaintResult& result) {
    return {design.Radius, design.DayHeight, result.CentreX, result.CentreY};
}
inline WheelGeometry GeometryOf(const CalendarState& s) {
    return GeometryOf(s, s);
}

// The pixel at radius rho and angle j*AngleStep from the wheel's centre.
QPoint SpokePoint(const WheelGeometry& g, long double rho, int j);

// Inner radius of ring r (1..7): Radius - r*DayHeight.
inline std::int32_t RingInnerRadius(const WheelGeometry& g, int ring) {
    return g.Radius - ring * g.DayHeight;
}

// Corners of a cell: inner at spoke start, outer at spoke start, outer at spoke end, inner at
// spoke end. The spoke enters the angle unreduced.
std::array<QPoint, 4> CellPolygon(const WheelGeometry& g, int spoke, int ring);

// The point on which a cell's day number is centred.
QPoint TextAnchor(const WheelGeometry& g, int spoke, int ring);

// The same, of a program's state.
inline QPoint SpokePoint(const CalendarState& s, long double rho, int j) {
    return SpokePoint(GeometryOf(s), rho, j);
}
inline std::int32_t RingInnerRadius(const CalendarState& s, int ring) {
    return RingInnerRadius(GeometryOf(s), ring);
}
inline std::array<QPoint, 4> CellPolygon(const CalendarState& s, int spoke, int ring) {
    return CellPolygon(GeometryOf(s), spoke, ring);
}
inline QPoint TextAnchor(const CalendarState& s, int spoke, int ring) {
    return TextAnchor(GeometryOf(s), spoke, ring);
}

struct HitResult {
    int spoke = -1; // 0..51, or -1; not computed (left -1) when no ring was found
    int ring = -1;  // 1..7, or -1
    DayDate date;   // the cell's date from the grid, or the no-date value
};

// The spoke, ring and date under an image point.
HitResult HitTest(const CalendarState& s, int x, int y);

} // namespace gyrodex
