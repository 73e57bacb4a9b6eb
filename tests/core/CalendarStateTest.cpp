#include "CalendarState.h"

#include "../QtPrinters.h"
#include "FieldRanges.h"
#include "ProgramFolder.h"

#include <gtest/gtest.h>
#include <limits>
#include <stdexcept>

using namespace gyrodex;

TEST(FieldRange, HoldsAnyValueAtTheNearerLimit) {
    EXPECT_EQ(kRadiusRange.clamp(5000), 2048);
    EXPECT_EQ(kRadiusRange.clamp(59), 60);
    EXPECT_EQ(kRadiusRange.clamp(60), 60);
    EXPECT_EQ(kStartWeekRange.clamp(-1), 0);
    EXPECT_EQ(kStartWeekRange.clamp(52), 51);
    // Values beyond 32 bits must not wrap into the range.
    EXPECT_EQ(kDayHeightRange.clamp(std::numeric_limits<std::int64_t>::min()), 1);
    EXPECT_EQ(kPenWidthRange.clamp(std::numeric_limits<std::int64_t>::max()), 9);
    EXPECT_EQ(kPenWidthRange.clamp(0x100000005LL), 9);
    EXPECT_TRUE(kPenWidthRange.contains(9));
    EXPECT_FALSE(kPenWidthRange.contains(10));
    EXPECT_FALSE(kPenWidthRange.contains(0x100000005LL));
}

TEST(FieldRange, DefaultsLieInsideTheirRanges) {
    const CalendarState s;
    EXPECT_TRUE(kStartWeekRange.contains(s.StartWeek));
    EXPECT_TRUE(kRadiusRange.contains(s.Radius));
    EXPECT_EQ(s.Radius % kRadiusRange.step, 0);
    EXPECT_TRUE(kDayHeightRange.contains(s.DayHeight));
    EXPECT_TRUE(kPenWidthRange.contains(s.ThinWidth));
    EXPECT_TRUE(kPenWidthRange.contains(s.ThickWidth));
    EXPECT_EQ(s.Font.name, DayFont::defaultName());
    EXPECT_EQ(s.Font.size, DayFont::kDefaultSize);
}

TEST(SuspendRepaint, HoldsTheFlagForTheBatchAndRestoresItHoweverTheBatchEnds) {
    CalendarState s;
    try {
        const SuspendRepaint batch(s);
        EXPECT_TRUE(s.RepaintSuspended);
        {
            const SuspendRepaint inner(s); // a load inside a larger batch
        }
        EXPECT_TRUE(s.RepaintSuspended); // the outer batch is still running
        throw std::runtime_error("failed half way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(s.RepaintSuspended);
}

TEST(ProgramFolder, IsThePathUpToItsLastSlash) {
    EXPECT_EQ(ProgramFolder("/opt/gyrodex/bin/gyrodex"), "/opt/gyrodex/bin/");
    EXPECT_EQ(ProgramFolder("/gyrodex"), "/");
    EXPECT_EQ(ProgramFolder("gyrodex"), "");
    EXPECT_EQ(ProgramFolder(""), "");
}
