#include "HighlightList.h"

#include "../QtPrinters.h"
#include "DayDate.h"
#include "Error.h"
#include "TestRandom.h"

#include <gtest/gtest.h>

using namespace gyrodex;

TEST(HighlightList, KeepsCaseInsensitiveTextOrderWithDuplicates) {
    HighlightList list;
    list.add(QStringLiteral("12/31/1999$255#b"));
    list.add(QStringLiteral("01/01/2000$255#x"));
    list.add(QStringLiteral("12/31/1999$255#B"));
    list.add(QStringLiteral("12/31/1999$255#a"));
    list.add(QStringLiteral("12/31/1999$255#b"));
    ASSERT_EQ(list.size(), 5);
    EXPECT_EQ(list.at(0), QStringLiteral("01/01/2000$255#x"));
    EXPECT_EQ(list.at(1), QStringLiteral("12/31/1999$255#a"));
    // Entries equal without regard to case keep the order in which they came.
    EXPECT_EQ(list.at(2), QStringLiteral("12/31/1999$255#b"));
    EXPECT_EQ(list.at(3), QStringLiteral("12/31/1999$255#B"));
    EXPECT_EQ(list.at(4), QStringLiteral("12/31/1999$255#b"));

    // Letters beyond ASCII fold too: these two compare equal and keep their order.
    HighlightList accents;
    accents.add(QStringLiteral("01/01/2000$1#\u00c9cole"));
    accents.add(QStringLiteral("01/01/2000$1#Zoo"));
    accents.add(QStringLiteral("01/01/2000$1#\u00e9cole"));
    EXPECT_EQ(accents.at(0), QStringLiteral("01/01/2000$1#Zoo"));
    EXPECT_EQ(accents.at(1), QStringLiteral("01/01/2000$1#\u00c9cole"));
    EXPECT_EQ(accents.at(2), QStringLiteral("01/01/2000$1#\u00e9cole"));
}

TEST(HighlightList, MatchingTakesEntriesStartingWithTheDateOnly) {
    HighlightList list;
    list.add(QStringLiteral("12/25/1999$255#Christmas"));
    list.add(QStringLiteral("12/24/1999$1#note about 12/25/1999"));
    list.add(QStringLiteral("12/25/1999$0#"));
    list.add(QStringLiteral("12/25/19999$7#longer year"));
    list.add(QStringLiteral("12/26/1999$2#"));
    const auto [first, last] = list.matching(QStringLiteral("12/25/1999"));
    ASSERT_EQ(last - first, 3);
    EXPECT_EQ(list.at(first), QStringLiteral("12/25/1999$0#"));
    const auto none = list.matching(QStringLiteral("01/01/2000"));
    EXPECT_EQ(none.first, none.second);
}

TEST(HighlightList, FieldExtraction) {
    const QString e = QStringLiteral("03/07/1999$16744576#Tea $5 #1 party");
    EXPECT_EQ(EntryDatePart(e), QStringLiteral("03/07/1999"));
    EXPECT_EQ(EntryColour(e), 16744576u);
    EXPECT_EQ(EntryDescription(e, 40), QStringLiteral("Tea $5 #1 party"));
    EXPECT_EQ(EntryDescription(e, 3), QStringLiteral("Tea"));
    EXPECT_EQ(EntryColour(QStringLiteral("01/01/2000$-2147483640#")), kWindowText);
    EXPECT_EQ(EntryDescription(QStringLiteral("no separators"), 40), QString());
    EXPECT_EQ(EntryDatePart(QStringLiteral("no separators")), QStringLiteral("no separators"));
    EXPECT_EQ(MakeEntry(QStringLiteral("12/25/1999"), 255, QStringLiteral("Christmas")),
              QStringLiteral("12/25/1999$255#Christmas"));
    EXPECT_EQ(MakeEntry(QStringLiteral("12/25/1999"), kWindowText, {}),
              QStringLiteral("12/25/1999$-2147483640#"));
}

TEST(HighlightList, BadColourFieldsRaiseTheConversionError) {
    auto message = [](const QString& entry) {
        try {
            EntryColour(entry);
        } catch (const Error& e) {
            return e.message();
        }
        return QStringLiteral("no error");
    };
    EXPECT_EQ(message(QStringLiteral("01/01/2000$red#x")),
              QStringLiteral("'red' is not a valid integer value"));
    EXPECT_EQ(message(QStringLiteral("01/01/2000$#x")),
              QStringLiteral("'' is not a valid integer value"));
    EXPECT_EQ(message(QStringLiteral("01/01/2000#x$5")),
              QStringLiteral("'' is not a valid integer value"));
    EXPECT_EQ(message(QStringLiteral("01/01/2000$99999999999#")),
              QStringLiteral("'99999999999' is not a valid integer value"));
    EXPECT_EQ(message(QStringLiteral("01/01/2000$2147483648#")),
              QStringLiteral("'2147483648' is not a valid integer value"));
    EXPECT_EQ(message(QStringLiteral("01/01/2000$-#")),
              QStringLiteral("'-' is not a valid integer value"));
    EXPECT_EQ(EntryColour(QStringLiteral("01/01/2000$-2147483648#")), 0x80000000u);
}

TEST(HighlightList, AddingAllAtOnceGivesTheOrderOfAddingOneByOne) {
    // Entries equal without regard to case keep their order of arrival, after those already in.
    const QStringList before = {"01/02/1999$1#b", "01/02/1999$1#B", "$0#"};
    const QStringList added = {"01/02/1999$1#B", "$0#",           "12/31/1998$5#x",
                               "01/02/1999$1#b", "01/01/2000$2#", "$0#"};
    HighlightList one, all;
    for (const QString& e : before) {
        one.add(e);
        all.add(e);
    }
    for (const QString& e : added)
        one.add(e);
    all.addAll(added);
    EXPECT_EQ(all.entries(), one.entries());
    EXPECT_EQ(all.entries().first(), "$0#");
    EXPECT_EQ(all.entries().at(4), "01/02/1999$1#b"); // the first one there before
}

TEST(HighlightList, CutsKeepWholeCharacters) {
    const QString tree = QString::fromUtf8("\xF0\x9F\x8E\x84"); // two UTF-16 units
    EXPECT_EQ(LeftWhole(QString("ab") + tree, 3), QString("ab"));
    EXPECT_EQ(LeftWhole(QString("ab") + tree, 4), QString("ab") + tree);
    EXPECT_EQ(LeftWhole(QString("ab") + tree, 2), QString("ab"));
    EXPECT_TRUE(LeftWhole(tree, 1).isEmpty());
    EXPECT_TRUE(LeftWhole(u"abc", -1).isEmpty());
    EXPECT_EQ(EntryDescription("d$1#" + QString(39, u'x') + tree, 40), QString(39, u'x'));
    EXPECT_EQ(EntryDescription("d$1#" + QString(38, u'x') + tree, 40), QString(38, u'x') + tree);
}

namespace {

bool SameIndex(const HighlightList& a, const HighlightList& b) {
    const auto& x = a.byDay();
    const auto& y = b.byDay();
    if (x.size() != y.size())
        return false;
    for (std::size_t i = 0; i < x.size(); ++i)
        if (x[i].day != y[i].day || x[i].entry != y[i].entry || x[i].colour != y[i].colour)
            return false;
    return true;
}

} // namespace

// The index by day names the days an entry's text starts with, as the repaint matches them.
TEST(HighlightList, TheIndexByDayNamesEachEntrysDays) {
    HighlightList list;
    list.add(QStringLiteral("10/21/1998$255#a"));
    list.add(QStringLiteral("10/21/19981$x#five digits, bad colour"));
    list.add(QStringLiteral("1/5/1998$1#not padded"));
    list.add(QStringLiteral("02/30/1998$1#no such day"));
    list.add(QStringLiteral("10/2a/1998$1#not a date"));
    const std::int32_t day = DayNumber(MakeDayDate(21, 10, 1998));
    const std::int32_t far = DayNumber(MakeDayDate(21, 10, 19981));
    const auto& index = list.byDay();
    ASSERT_EQ(index.size(), 3u);
    // Ordered by day, then by place in the list; a bad colour is kept as none.
    EXPECT_EQ(index[0].day, day);
    EXPECT_EQ(list.at(index[0].entry), QStringLiteral("10/21/1998$255#a"));
    EXPECT_EQ(index[0].colour, std::optional<std::int32_t>(255));
    EXPECT_EQ(index[1].day, day);
    EXPECT_EQ(list.at(index[1].entry), QStringLiteral("10/21/19981$x#five digits, bad colour"));
    EXPECT_FALSE(index[1].colour);
    EXPECT_EQ(index[2].day, far);
    EXPECT_EQ(index[2].entry, index[1].entry);
}

// However the list changed, one entry at a time or many, its index is the one a list built in
// one go from the same entries has.
TEST(HighlightList, TheIndexByDayFollowsEveryChange) {
    gyrodex::test::TestRandom random(42);
    HighlightList list;
    const auto entry = [&] {
        const QString date = QStringLiteral("%1/%2/%3")
                                 .arg(1 + random(12), 2, 10, QLatin1Char('0'))
                                 .arg(1 + random(31), 2, 10, QLatin1Char('0'))
                                 .arg(1995 + random(5));
        return date + (random(9) == 0 ? QStringLiteral("7") : QString()) + QStringLiteral("$") +
               (random(7) == 0 ? QStringLiteral("x") : QString::number(random(1000))) +
               QStringLiteral("#d");
    };
    for (int step = 0; step < 400; ++step) {
        const int what = random(20);
        if (what < 12) {
            list.add(entry());
        } else if (what < 17 && !list.isEmpty()) {
            list.removeAt(random(static_cast<int>(list.size())));
        } else if (what < 19) {
            QStringList more;
            for (int i = random(20); i > 0; --i)
                more.append(entry());
            list.addAll(more);
        } else if (random(4) == 0) {
            list.clear();
        }
        HighlightList fresh;
        fresh.addAll(list.entries());
        ASSERT_EQ(fresh.entries(), list.entries()) << step;
        ASSERT_TRUE(SameIndex(list, fresh)) << step;
        // An entry's days are the days whose text starts it.
        for (const auto& d : list.byDay())
            ASSERT_TRUE(list.at(d.entry).startsWith(DateText(
                AddDays(MakeDayDate(1, 1, 1995), d.day - DayNumber(MakeDayDate(1, 1, 1995))))))
                << step;
    }
}
