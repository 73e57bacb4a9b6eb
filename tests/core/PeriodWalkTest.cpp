#include "PeriodWalk.h"

#include "../QtPrinters.h"

#include <gtest/gtest.h>
#include <vector>

using namespace gyrodex;

namespace {

DayDate D(int day, int month, int year) {
    return MakeDayDate(static_cast<std::uint16_t>(day), static_cast<std::uint16_t>(month),
                       static_cast<std::uint16_t>(year));
}

struct Walk {
    std::vector<WalkDay> days;
    DayDate end;
};

Walk Collect(const DayDate& start, const DayDate& last, const WheelLayout& layout = {}) {
    Walk w;
    w.end = WalkPeriod(start, last, layout, [&](const WalkDay& d) { w.days.push_back(d); });
    return w;
}

} // namespace

// 12 October 1998 is a Monday, 18 October a Sunday.
TEST(PeriodWalk, FirstWeekStartsOnTheStartDatesRing) {
    Walk w = Collect(D(12, 10, 1998), D(12, 10, 1998));
    ASSERT_EQ(w.days.size(), 1u); // a one-day period
    EXPECT_EQ(w.days[0].date, D(12, 10, 1998));
    EXPECT_EQ(w.days[0].spoke, 21);
    EXPECT_EQ(w.days[0].ring, 1);
    EXPECT_EQ(w.end, D(13, 10, 1998));

    // Starting on a Sunday skips Monday to Saturday of the first week.
    w = Collect(D(18, 10, 1998), D(19, 10, 1998));
    ASSERT_EQ(w.days.size(), 2u);
    EXPECT_EQ(w.days[0].spoke, 21);
    EXPECT_EQ(w.days[0].ring, 7);
    EXPECT_TRUE(w.days[0].weekendRing);
    // An end date on a Monday gives a last spoke with ring 1 only.
    EXPECT_EQ(w.days[1].spoke, 22);
    EXPECT_EQ(w.days[1].ring, 1);
    EXPECT_FALSE(w.days[1].weekendRing);
}

TEST(PeriodWalk, LayoutDecidesRingOrderAndDirection) {
    const WheelLayout mirrored{0, false, false};
    const Walk w = Collect(D(12, 10, 1998), D(19, 10, 1998), mirrored);
    ASSERT_EQ(w.days.size(), 8u);
    EXPECT_EQ(w.days[0].ring, 7); // Monday innermost
    EXPECT_EQ(w.days[6].ring, 1); // Sunday outermost
    EXPECT_FALSE(w.days[4].weekendRing);
    EXPECT_TRUE(w.days[5].weekendRing);
    EXPECT_TRUE(w.days[6].weekendRing);
    EXPECT_EQ(w.days[0].spoke, 0);
    EXPECT_EQ(w.days[7].spoke, 51); // anti-clockwise from spoke 0

    // Clockwise from the last spoke the next week is spoke 0; a start week outside 0..51 is
    // taken modulo 52, so every spoke is a cell of the grid.
    EXPECT_EQ(Collect(D(18, 10, 1998), D(19, 10, 1998), {51}).days[1].spoke, 0);
    EXPECT_EQ(Collect(D(12, 10, 1998), D(12, 10, 1998), {-1}).days[0].spoke, 51);
    EXPECT_EQ(Collect(D(12, 10, 1998), D(12, 10, 1998), {2147483647}).days[0].spoke,
              2147483647 % 52);
}

TEST(PeriodWalk, FiftyThirdWeekComesBackToTheFirstSpoke) {
    // 365 days from Wednesday 14 October 1998.
    const Walk w = Collect(D(14, 10, 1998), D(13, 10, 1999));
    ASSERT_EQ(w.days.size(), 365u);
    EXPECT_EQ(w.days.front().spoke, 21);
    EXPECT_EQ(w.days.front().ring, 3);
    EXPECT_EQ(w.days.back().date, D(13, 10, 1999));
    EXPECT_EQ(w.days.back().spoke, 21);
    EXPECT_EQ(w.days.back().ring, 3);
    EXPECT_EQ(w.end, D(14, 10, 1999));
    for (std::size_t i = 1; i < w.days.size(); ++i)
        ASSERT_EQ(CompareDays(w.days[i].date, w.days[i - 1].date), 1) << i;
}

TEST(PeriodWalk, PeriodEndingBeforeItStartsHasNoDay) {
    // Possible from a hand-edited calendar file; the walk must still end.
    const Walk w = Collect(D(14, 10, 1998), D(1, 1, 1990));
    EXPECT_TRUE(w.days.empty());
    EXPECT_EQ(w.end, D(12, 10, 1998));
}
