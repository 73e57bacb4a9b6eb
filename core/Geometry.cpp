#include "Geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gyrodex {

const long double kAngleStep = 2 * std::numbers::pi_v<long double> / 52;
const long double kHalfStep = std::numbers::pi_v<long double> / 52;

namespace {

// cos and sin of j*AngleStep for j = 0..52, and of the spoke middles (2k+1)*HalfStep.
struct TrigTables {
    std::array<Trig, kSpokes + 1> boundary{};
    std::array<Trig, kSpokes> middle{};
    TrigTables() {
        for (int j = 0; j <= kSpokes; ++j)
            boundary[static_cast<std::size_t>(j)] = {std::cos(j * kAngleStep),
                                                     std::sin(j * kAngleStep)};
        for (int k = 0; k < kSpokes; ++k)
            middle[static_cast<std::size_t>(k)] = {std::cos((2 * k + 1) * kHalfStep),
                                                   std::sin((2 * k + 1) * kHalfStep)};
    }
};

const TrigTables& Tables() {
    static const TrigTables tables;
    return tables;
}

} // namespace

Trig BoundaryTrig(int j) {
    if (j >= 0 && j <= kSpokes)
        return Tables().boundary[static_cast<std::size_t>(j)];
    return {std::cos(j * kAngleStep), std::sin(j * kAngleStep)};
}

Trig MiddleTrig(int k) {
    if (k >= 0 && k < kSpokes)
        return Tables().middle[static_cast<std::size_t>(k)];
    return {std::cos((2 * k + 1) * kHalfStep), std::sin((2 * k + 1) * kHalfStep)};
}

namespace {

// Round to nearest, halves to even. llrint rounds in the current mode straight to an integer:
// rint followed by a conversion would switch the x87 control word to truncate, twice a point.
long long RoundEven(long double v) {
#if defined(__x86_64__) && defined(__GNUC__)
    // The library's llrintl is this one instruction behind a call; the wheel's points take
    // two a point, a thousand points a repaint.
    long long result;
    __asm__("fistpll %0" : "=m"(result) : "t"(v) : "st");
    return result;
#else
    return std::llrint(v);
#endif
}

// A point coordinate, in 64 bits and then held within a billion pixels: that far is outside
// every image, and what the canvas adds to it (text offsets, pen widths) cannot overflow.
int Held(long long v) {
    constexpr long long kFar = 1LL << 30;
    return static_cast<int>(std::clamp(v, -kFar, kFar));
}

QPoint Polar(const WheelGeometry& g, long double rho, Trig t) {
    return {Held(g.CentreX + RoundEven(rho * t.cos)), Held(g.CentreY + RoundEven(rho * t.sin))};
}

} // namespace

QPoint SpokePoint(const WheelGeometry& s, long double rho, int j) {
    return Polar(s, rho, BoundaryTrig(j));
}

std::array<QPoint, 4> CellPolygon(const WheelGeometry& s, int spoke, int ring) {
    const long double inner = RingInnerRadius(s, ring);
    const long double outer = inner + s.DayHeight;
    const Trig a = BoundaryTrig(spoke);
    const Trig b = BoundaryTrig(spoke + 1);
    return {Polar(s, inner, a), Polar(s, outer, a), Polar(s, outer, b), Polar(s, inner, b)};
}

QPoint TextAnchor(const WheelGeometry& s, int spoke, int ring) {
    const long double rho = RingInnerRadius(s, ring) + s.DayHeight / 2;
    return Polar(s, rho, MiddleTrig(spoke));
}

HitResult HitTest(const CalendarState& s, int x, int y) {
    HitResult result;
    // Wide arithmetic: points far from a far-offset centre must not overflow. The squares of
    // any 32-bit difference are exact in the 64-bit mantissa of long double.
    const long long dx = static_cast<long long>(x) - s.CentreX;
    const long long dy = static_cast<long long>(y) - s.CentreY;
    const auto fx = static_cast<long double>(dx);
    const auto fy = static_cast<long double>(dy);
    const long double dist = std::rint(std::sqrt(fx * fx + fy * fy));
    for (int r = 1; r <= kRings; ++r) {
        const long long outer = static_cast<long long>(s.Radius) - (r - 1LL) * s.DayHeight;
        if (outer - s.DayHeight < dist && dist <= outer)
            result.ring = r;
    }
    if (result.ring < 0)
        return result;

    long double theta;
    if (dx == 0) {
        theta =
            dy > 0 ? std::numbers::pi_v<long double> / 2 : 3 * std::numbers::pi_v<long double> / 2;
    } else {
        theta = std::atan(static_cast<long double>(dy) / static_cast<long double>(dx));
        if (dx < 0)
            theta += std::numbers::pi_v<long double>;
        if (theta < 0)
            theta += 2 * std::numbers::pi_v<long double>;
    }
    for (int k = 0; k < kSpokes; ++k) {
        if (k * kAngleStep < theta && theta <= (k + 1) * kAngleStep)
            result.spoke = k;
    }
    if (result.spoke >= 0)
        result.date = s.Cells.at(result.spoke, result.ring).date;
    return result;
}

} // namespace gyrodex
