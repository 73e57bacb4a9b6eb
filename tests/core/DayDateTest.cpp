#include "DayDate.h"

#include "../QtPrinters.h"
#include "../TestDates.h"

#include <gtest/gtest.h>

using namespace gyrodex;
using gyrodex::test::D;

namespace {

DayDate Next(DayDate d) {
    NextDay(d);
    return d;
}

DayDate Prev(DayDate d) {
    PrevDay(d);
    return d;
}

} // namespace

TEST(DayDate, StepsOverMonthAndYearEnds) {
    EXPECT_EQ(Next(D(2, 28, 2000)), D(2, 29, 2000));
    EXPECT_EQ(Next(D(2, 29, 2000)), D(3, 1, 2000));
    EXPECT_EQ(Next(D(2, 28, 1999)), D(3, 1, 1999));
    EXPECT_EQ(Next(D(12, 31, 1999)), D(1, 1, 2000));
    EXPECT_EQ(Prev(D(1, 1, 2000)), D(12, 31, 1999));
    EXPECT_EQ(Prev(D(3, 1, 2000)), D(2, 29, 2000));
    EXPECT_EQ(Prev(D(3, 1, 1999)), D(2, 28, 1999));
    EXPECT_EQ(Prev(D(5, 1, 2001)), D(4, 30, 2001));
}

TEST(DayDate, CenturiesFollowTheGregorianLeapRule) {
    EXPECT_EQ(Next(D(2, 28, 2100)), D(3, 1, 2100));
    EXPECT_EQ(Next(D(2, 28, 1900)), D(3, 1, 1900));
    EXPECT_EQ(Prev(D(3, 1, 2100)), D(2, 28, 2100));
    EXPECT_EQ(Next(D(2, 28, 2400)), D(2, 29, 2400));
    EXPECT_FALSE(IsRealDate(D(2, 29, 2100)));
    EXPECT_TRUE(IsRealDate(D(2, 29, 2000)));
    // 1 March 2100 is a Monday in the real calendar.
    EXPECT_EQ(Weekday(D(3, 1, 2100)), 1);
    EXPECT_EQ(CompareDays(D(3, 1, 2100), D(2, 28, 2100)), 1);
}

TEST(DayDate, DayNumbersAndWeekdays) {
    EXPECT_EQ(DayNumber(D(1, 1, 1980)), 1);
    EXPECT_EQ(DayNumber(D(10, 19, 1998)), 6867);
    EXPECT_EQ(DayNumber(D(1, 1, 2000)), 7306);
    EXPECT_EQ(Weekday(D(1, 1, 1980)), 2);
    EXPECT_EQ(Weekday(D(10, 19, 1998)), 1);
    EXPECT_EQ(Weekday(D(12, 25, 2026)), 5);
}

TEST(DayDate, DaysBefore1980CountBackwards) {
    EXPECT_EQ(DayNumber(D(12, 31, 1979)), 0);
    EXPECT_EQ(DayNumber(D(1, 1, 1979)), -364);
    EXPECT_EQ(CompareDays(D(1, 1, 1980), D(12, 31, 1979)), 1);
    EXPECT_EQ(CompareDays(D(3, 1, 1900), D(2, 28, 1900)), 1);
    // 20 July 1969 was a Sunday, 1 January 1900 a Monday.
    EXPECT_EQ(Weekday(D(7, 20, 1969)), 0);
    EXPECT_EQ(Weekday(D(1, 1, 1900)), 1);
    EXPECT_EQ(Weekday(D(1, 1, 1)), 1);
}

TEST(DayDate, CompareAndSame) {
    EXPECT_EQ(CompareDays(D(3, 1, 2000), D(2, 28, 2000)), 2);
    EXPECT_EQ(CompareDays(D(2, 28, 2000), D(3, 1, 2000)), -2);
    EXPECT_EQ(CompareDays(D(7, 4, 1999), D(7, 4, 1999)), 0);
    EXPECT_TRUE(SameDay(DayDate{}, DayDate{}));
    EXPECT_FALSE(SameDay(D(7, 4, 1999), D(7, 4, 2000)));
}

TEST(DayDate, TextForms) {
    EXPECT_EQ(DateText(D(1, 5, 1999)), QStringLiteral("01/05/1999"));
    EXPECT_EQ(DateText(D(10, 19, 1998)), QStringLiteral("10/19/1998"));
    EXPECT_EQ(DateText(DayDate{}), QStringLiteral("00/00/0000"));
    EXPECT_EQ(PaddedNumber(7, 2), QStringLiteral("07"));
    EXPECT_EQ(PaddedNumber(12345, 2), QStringLiteral("12345"));
}

TEST(DayDate, DateTimeRoundTrip) {
    EXPECT_EQ(FromDateTime(0.0), D(12, 30, 1899));
    EXPECT_EQ(FromDateTime(36526.75), D(1, 1, 2000));
    EXPECT_DOUBLE_EQ(ToDateTime(D(1, 1, 2000)), 36526.0);
    EXPECT_EQ(AddDays(D(10, 19, 1998), -10), D(10, 9, 1998));
    EXPECT_EQ(AddDays(D(10, 19, 1998), 250), D(6, 26, 1999));
}

TEST(DayDate, MalformedDatesStayDefined) {
    DayDate bad = D(13, 40, 2000);
    NextDay(bad);
    EXPECT_EQ(bad, D(1, 1, 2001));
    DayDate none;
    PrevDay(none);
    EXPECT_EQ(none.Month, 12);
    (void)DayNumber(D(0, 0, 0));
}

TEST(DayDate, QDateConversionKeepsTheDayAndMapsNoDateToInvalid) {
    EXPECT_EQ(ToQDate(MakeDayDate(29, 2, 2000)), QDate(2000, 2, 29));
    EXPECT_EQ(FromQDate(QDate(2000, 2, 29)), MakeDayDate(29, 2, 2000));
    EXPECT_EQ(FromQDate(QDate(1, 1, 1)), MakeDayDate(1, 1, 1));
    EXPECT_EQ(FromQDate(ToQDate(MakeDayDate(31, 12, 65535))), MakeDayDate(31, 12, 65535));
    EXPECT_FALSE(ToQDate(DayDate{}).isValid());
    EXPECT_FALSE(ToQDate(MakeDayDate(29, 2, 1999)).isValid());
    EXPECT_FALSE(ToQDate(MakeDayDate(1, 13, 1999)).isValid());
    // Days a DayDate can't hold give the no-date value rather than a wrapped year.
    EXPECT_TRUE(FromQDate(QDate()).isNoDate());
    EXPECT_TRUE(FromQDate(QDate(-1, 12, 31)).isNoDate());
    EXPECT_TRUE(FromQDate(QDate(65536, 1, 1)).isNoDate());
}
