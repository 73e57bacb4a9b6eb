#include "HighlightList.h"

#include "../QtPrinters.h"
#include "Error.h"

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
