#pragma once

#include "CalendarState.h"
#include "DayDate.h"

namespace gyrodex {

// How the weeks of a period lie on the wheel.
struct WheelLayout {
    int startWeek = 21;        // the spoke of the week that holds the start date
    bool clockwise = true;     // each later week one spoke clockwise, else anti-clockwise
    bool weekendInside = true; // Monday on ring 1 (outermost) to Sunday on ring 7, else reversed
};

// The layout of the screen's wheel.
inline WheelLayout LayoutOf(const CalendarDesign& s) {
    return {s.StartWeek, s.Clockwise, s.WeekendInside};
}

// True for the two rings of Saturday and Sunday: 6 and 7, or 1 and 2 with the weekend outside.
constexpr bool IsWeekendRing(bool weekendInside, int ring) {
    return weekendInside ? ring > 5 : ring < 3;
}

// One day of a period and the cell that shows it.
struct WalkDay {
    DayDate date;
    int spoke;        // 0..51
    int ring;         // 1..7
    bool weekendRing; // the cell is on a weekend ring, so the weekend colour applies
};

// Visits every day from `start` to `end` inclusive, in date order, with the cell the layout
// gives it. The weeks run Monday to Sunday from the Monday on or before `start`; days of that
// first week before `start` are skipped and leave their cells empty. The first week lies on
// spoke layout.startWeek (taken modulo 52), each later one on the next spoke; a 53rd week comes
// back to the first spoke. A period that ends before it starts has no day. Returns the day the
// walk stopped on: the day after `end`, or the Monday on or before `start` when there was no
// day. An exception thrown by `visit` ends the walk.
template <typename Visit>
DayDate WalkPeriod(const DayDate& start, const DayDate& end, const WheelLayout& layout,
                   Visit&& visit) {
    DayDate d = start;
    while (Weekday(d) != 1)
        PrevDay(d);
    DayDate stop = end;
    NextDay(stop);
    if (CompareDays(start, stop) >= 0)
        return d;

    bool started = SameDay(d, start);
    int spoke = ((layout.startWeek % kSpokes) + kSpokes) % kSpokes;
    do {
        for (int i = 0; i < kRings; ++i) {
            const int ring = layout.weekendInside ? i + 1 : kRings - i;
            if (started)
                visit(WalkDay{d, spoke, ring, IsWeekendRing(layout.weekendInside, ring)});
            NextDay(d);
            if (!started)
                started = SameDay(d, start);
            if (SameDay(d, stop))
                break;
        }
        spoke = layout.clockwise ? (spoke + 1) % kSpokes : (spoke + kSpokes - 1) % kSpokes;
    } while (!SameDay(d, stop));
    return d;
}

} // namespace gyrodex
