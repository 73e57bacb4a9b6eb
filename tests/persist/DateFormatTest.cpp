#include "DateFormat.h"

#include "../QtPrinters.h"

#include <gtest/gtest.h>

using namespace gyrodex;

TEST(DateFormat, EveryPatternElement) {
    const DayDate d = MakeDayDate(5, 3, 2004); // a Friday
    const auto f = [&](const char* p) { return FormatDate(QString::fromUtf8(p), d); };
    EXPECT_EQ(f("d dd ddd dddd"), "5 05 Fri Friday");
    EXPECT_EQ(f("ddddd"), "3/5/2004");
    EXPECT_EQ(f("dddddd"), "Friday, March 5, 2004");
    EXPECT_EQ(f("m mm mmm mmmm"), "3 03 Mar March");
    EXPECT_EQ(f("yy yyyy y yyy"), "04 2004 04 2004");
    EXPECT_EQ(f("dd/mm/yyyy"), "05/03/2004");
    EXPECT_EQ(f("DD-MMM-YY"), "05-Mar-04");
    EXPECT_EQ(f("'day' d \"of\" mmmm"), "day 5 of March");
    EXPECT_EQ(f("'d/m"), "d/m"); // an open quote runs to the end
    EXPECT_EQ(f("h:n [x] %"), "h:n [x] %");
    EXPECT_EQ(f(""), "3/5/2004");
    EXPECT_EQ(FormatDate("ddd yy", MakeDayDate(1, 1, 5)), "Sat 05");
    EXPECT_EQ(FormatDate("dddd mmmm", DayDate{}), " "); // no day: no names, no failure
}

TEST(DateFormat, OtherLocalesGiveTheirNamesAndSeparator) {
    const DateFormatLocale de = DateFormatLocale::FromLocale(QLocale(QLocale::German));
    EXPECT_EQ(FormatDate("dddd d/mmmm", MakeDayDate(5, 3, 2004), de), "Freitag 5.März");
}

TEST(DateHint, TextByHintTypeAndDescription) {
    const DayDate d = MakeDayDate(5, 3, 2004);
    using K = DateHint::Kind;
    EXPECT_EQ(MakeDateHint(DayDate{}, "x", 1, "ddd").kind, K::Hidden);
    EXPECT_EQ(MakeDateHint(d, "", 0, "ddd").kind, K::Hidden);
    const DateHint described = MakeDateHint(d, "Party", 0, "ddd");
    EXPECT_EQ(described.kind, K::Text);
    EXPECT_EQ(described.text, "  Party  ");
    EXPECT_EQ(MakeDateHint(d, "Party", 1, "ddd").text, "  Party,  Fri  ");
    EXPECT_EQ(MakeDateHint(d, "", 1, "dd/mm").text, "  05/03  ");
    EXPECT_EQ(MakeDateHint(d, "", 1, "").text, "  3/5/2004  ");
    EXPECT_EQ(MakeDateHint(d, "", 2, "ddd").kind, K::Unchanged);
    EXPECT_EQ(MakeDateHint(d, "Party", -1, "ddd").kind, K::Unchanged);
}
