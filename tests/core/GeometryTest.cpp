#include "Geometry.h"

#include "../QtPrinters.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace gyrodex;

namespace {

CalendarState Wheel1024() {
    CalendarState s;
    s.updateCentre(1024, 768);
    return s;
}

// A point at distance `dist` from the centre along the angle of the middle of spoke 3.
QPoint AtDistance(const CalendarState& s, double dist) {
    const double a = 3.5 * 2 * M_PI / 52;
    return {s.CentreX + static_cast<int>(std::lround(dist * std::cos(a))),
            s.CentreY + static_cast<int>(std::lround(dist * std::sin(a)))};
}

} // namespace

TEST(Geometry, CellCornersAndTextAnchor) {
    const CalendarState s = Wheel1024();
    EXPECT_EQ(s.CentreX, 512);
    EXPECT_EQ(s.CentreY, 384);
    const auto c = CellPolygon(s, 0, 1);
    EXPECT_EQ(c[0], QPoint(848, 384));
    EXPECT_EQ(c[1], QPoint(872, 384));
    EXPECT_EQ(c[2], QPoint(869, 427));
    EXPECT_EQ(c[3], QPoint(846, 425));
    EXPECT_EQ(TextAnchor(s, 0, 1), QPoint(859, 405));
    const auto c21 = CellPolygon(s, 21, 7);
    EXPECT_EQ(c21[0], QPoint(354, 493));
    EXPECT_EQ(c21[1], QPoint(334, 507));
    EXPECT_EQ(c21[2], QPoint(321, 484));
    EXPECT_EQ(c21[3], QPoint(342, 473));
}

TEST(Geometry, OffsetsMoveEveryCell) {
    CalendarState s;
    s.CentreOffsetX = -40;
    s.CentreOffsetY = 25;
    s.updateCentre(1024, 768);
    const auto c = CellPolygon(s, 0, 1);
    EXPECT_EQ(c[0], QPoint(808, 409));
    EXPECT_EQ(c[2], QPoint(829, 452));
}

TEST(Geometry, InnerRingsBeyondTheCentreMirror) {
    CalendarState s = Wheel1024();
    s.Radius = 60;
    s.DayHeight = 20; // ring 7 has inner radius -80
    const auto c = CellPolygon(s, 0, 7);
    EXPECT_EQ(c[0], QPoint(512 - 80, 384));
    EXPECT_EQ(c[1], QPoint(512 - 60, 384));
    // No ring with an outer radius below zero is ever found.
    const QPoint far = AtDistance(s, 70);
    EXPECT_EQ(HitTest(s, far.x(), far.y()).ring, -1);
    EXPECT_EQ(HitTest(s, s.CentreX, s.CentreY).ring, 4); // distance 0 lies in (-20, 0]
}

TEST(Geometry, HitTestRingBounds) {
    const CalendarState s = Wheel1024();
    auto ringAt = [&](double dist) {
        const QPoint p = AtDistance(s, dist);
        return HitTest(s, p.x(), p.y()).ring;
    };
    EXPECT_EQ(HitTest(s, 512 + 360, 383).ring, 1);
    EXPECT_EQ(HitTest(s, 512 + 361, 383).ring, -1);
    EXPECT_EQ(HitTest(s, 512 + 336, 383).ring, 2);
    EXPECT_EQ(HitTest(s, 512 - 192, 384).ring, -1);
    EXPECT_EQ(HitTest(s, 512 - 193, 384).ring, 7);
    EXPECT_EQ(ringAt(250), 5);
    EXPECT_EQ(HitTest(s, 512, 384).ring, -1);
}

TEST(Geometry, HitTestSpokeBoundaries) {
    const CalendarState s = Wheel1024();
    const HitResult below = HitTest(s, 512, 384 + 300);
    EXPECT_EQ(below.ring, 3);
    EXPECT_EQ(below.spoke, 12);
    EXPECT_EQ(HitTest(s, 512, 384 - 300).spoke, 38);
    const HitResult right = HitTest(s, 512 + 300, 384);
    EXPECT_EQ(right.ring, 3);
    EXPECT_EQ(right.spoke, -1);
    EXPECT_TRUE(right.date.isNoDate());
    EXPECT_EQ(HitTest(s, 512 + 300, 385).spoke, 0);
    EXPECT_EQ(HitTest(s, 512 + 300, 383).spoke, 51);
    EXPECT_EQ(HitTest(s, 512 - 300, 384).spoke, 25);
}

TEST(Geometry, HitTestReadsTheGrid) {
    CalendarState s = Wheel1024();
    s.Cells.at(3, 2).date = MakeDayDate(4, 7, 1999);
    const QPoint p = AtDistance(s, 325);
    const HitResult h = HitTest(s, p.x(), p.y());
    EXPECT_EQ(h.spoke, 3);
    EXPECT_EQ(h.ring, 2);
    EXPECT_EQ(h.date, MakeDayDate(4, 7, 1999));
}

TEST(Geometry, FarPointsFromAFarCentreDoNotOverflow) {
    CalendarState s;
    s.CentreOffsetX = -2000000000;
    s.CentreOffsetY = -2000000000;
    s.updateCentre(1024, 768);
    const HitResult h = HitTest(s, 2000000000, 2000000000);
    EXPECT_EQ(h.ring, -1);
    // 65536^2 + 300^2 wraps in 32 bits to 300^2, which would land in ring 3.
    const CalendarState w = Wheel1024();
    EXPECT_EQ(HitTest(w, 512 + 65536, 384 + 300).ring, -1);
    EXPECT_EQ(HitTest(w, 512, 384 + 300).ring, 3);
}
