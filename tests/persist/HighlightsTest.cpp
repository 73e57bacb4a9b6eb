#include "Highlights.h"

#include "../QtPrinters.h"
#include "CalendarFile.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gyrodex;

TEST(Highlights, AddDaysStepsOverMonthAndYearEnds) {
    HighlightList list;
    EXPECT_EQ(AddDays(list, MakeDayDate(30, 12, 1999), 3, 255, "x", true), MakeDayDate(2, 1, 2000));
    EXPECT_EQ(list.entries(),
              (QStringList{"01/01/2000$255#x", "12/30/1999$255#x", "12/31/1999$255#x"}));
    list.clear();
    EXPECT_EQ(AddDays(list, MakeDayDate(28, 2, 2000), 2, 1, "", false), MakeDayDate(28, 2, 2000));
    AddDays(list, MakeDayDate(28, 2, 1999), 2, 1, "", false);
    EXPECT_EQ(list.entries(),
              (QStringList{"02/28/1999$1#", "02/28/2000$1#", "02/29/2000$1#", "03/01/1999$1#"}));
}

TEST(Highlights, DeleteEntrySelectsTheNextRow) {
    HighlightList list;
    for (const char* e : {"a", "b", "c"})
        list.add(e);
    EXPECT_EQ(DeleteEntry(list, -1), -1);
    EXPECT_EQ(DeleteEntry(list, 7), -1);
    EXPECT_EQ(list.size(), 3);
    EXPECT_EQ(DeleteEntry(list, 0), 0); // "b" moves up into the selection
    EXPECT_EQ(DeleteEntry(list, 1), 0); // the last row went: the new last row
    EXPECT_EQ(DeleteEntry(list, 0), -1);
    EXPECT_TRUE(list.isEmpty());
}

TEST(Highlights, ReadOutAndRowsNeverFailOnMalformedLines) {
    HighlightList list;
    list.add("03/07/1999$16744576#Tea #2 $5");
    list.add("garbage");
    list.add("01/01/2000$12x#note");
    const EntrySelection ok = SelectionReadOut(list, 1);
    EXPECT_EQ(ok.colour, 16744576u);
    EXPECT_EQ(ok.description, "Tea #2 $5");
    EXPECT_EQ(SelectionReadOut(list, 0).colour, std::nullopt);
    EXPECT_EQ(SelectionReadOut(list, 0).description, "note");
    EXPECT_EQ(SelectionReadOut(list, 9).description, "");

    const HighlightRow row = RowDrawing(list.at(1), QRect(0, 32, 200, 16));
    EXPECT_EQ(row.square, QRect(1, 33, 14, 14));
    EXPECT_EQ(row.textPos, QPoint(16, 34));
    EXPECT_EQ(row.text, "03/07/1999, Tea #2 $5");
    EXPECT_EQ(RowDrawing("garbage", {}).text, "garbage, ");
    EXPECT_EQ(RowDrawing("garbage", {}).fill, std::nullopt);
    EXPECT_EQ(RowDrawing("12/25/1999$255#", {}).text, "12/25/1999, ");
    EXPECT_EQ(RowDrawing("x$1#" + QString(300, u'd'), {}).text.size(), 3 + 255);
}

TEST(Highlights, ExportAndImportRoundTrip) {
    QTemporaryDir dir;
    const QString file = dir.filePath("days.txt");
    HighlightList list;
    list.add("12/25/1999$255#Gifts $ and # signs");
    list.add("01/01/2000$0#");
    ExportToFile(list, file);
    EXPECT_EQ(ReadBytes(file), "01/01/2000$0#\r\n12/25/1999$255#Gifts $ and # signs\r\n");

    HighlightList other;
    ImportFromFile(other, file);
    EXPECT_EQ(other.entries(), list.entries());
    ImportFromFile(list, file);
    EXPECT_EQ(list.size(), 4);
    EXPECT_EQ(list.at(0), list.at(1));

    // Lines end with CR LF, LF or CR; a Ctrl-Z ends the text; inner empty lines are entries.
    EXPECT_EQ(HighlightLines("a\r\n\nb\rc\n\x1a"
                             "d\n"),
              (QStringList{"a", "", "b", "c"}));
    EXPECT_EQ(HighlightLines("a\r\n"), QStringList{"a"});
    EXPECT_EQ(HighlightLines(""), QStringList{});
}

TEST(Highlights, ExportAndImportFailuresAreReported) {
    QTemporaryDir dir;
    HighlightList list;
    list.add("01/01/2000$0#");
    const QString cannotWrite = dir.filePath("missing/days.txt");
    EXPECT_EQ(MessageOf([&] { ExportToFile(list, cannotWrite); }),
              "Unable to write to " + cannotWrite);
    const QString cannotRead = dir.filePath("absent.txt");
    EXPECT_EQ(MessageOf([&] { ImportFromFile(list, cannotRead); }), "Unable to read " + cannotRead);
    EXPECT_EQ(list.size(), 1);

    const QString huge = dir.filePath("huge.txt");
    WriteBytes(huge, QByteArray(kMaxHighlights + 5, '\n'));
    EXPECT_EQ(MessageOf([&] { ImportFromFile(list, huge); }), "Too many highlights in " + huge);
    EXPECT_EQ(list.size(), 1); // a file that would pass the limit adds nothing
}

TEST(Highlights, EveryWayOfAddingStopsAtTheLimitAndAddsNothing) {
    QTemporaryDir dir;
    HighlightList list;
    QStringList entries;
    for (qsizetype i = 0; i < kMaxHighlights - 5; ++i)
        entries << "01/01/2000$" + QString::number(i) + "#";
    list.addAll(entries);
    const DayDate day = MakeDayDate(25, 12, 1998);
    EXPECT_EQ(MessageOf([&] { AddDays(list, day, 6, 1, "x", true); }), "Too many highlights");
    EXPECT_EQ(list.size(), kMaxHighlights - 5);
    const QString six = dir.filePath("six.txt");
    WriteBytes(six, "a\nb\nc\nd\ne\nf\n");
    EXPECT_EQ(MessageOf([&] { ImportFromFile(list, six); }), "Too many highlights in " + six);
    EXPECT_EQ(MessageOf([&] { list.addAll(QStringList(6, "x")); }), "Too many highlights");
    EXPECT_EQ(list.size(), kMaxHighlights - 5);

    AddDays(list, day, 5, 1, "x", true); // exactly up to the limit
    EXPECT_EQ(list.size(), kMaxHighlights);
    const DayDate other = MakeDayDate(1, 5, 1999);
    EXPECT_EQ(MessageOf([&] { SetDayColour(list, other, 3); }), "Too many highlights");
    EXPECT_EQ(MessageOf([&] { ReplaceDay(list, other, 3, "y"); }), "Too many highlights");
    EXPECT_EQ(MessageOf([&] { list.add("z"); }), "Too many highlights");
    // Changing a day that has an entry replaces it, also in a full list.
    SetDayColour(list, day, 9);
    ReplaceDay(list, day, 8, "new");
    EXPECT_EQ(list.size(), kMaxHighlights);
    EXPECT_EQ(list.at(FindEntryContaining(list, "12/25/1998")), "12/25/1998$8#new");
}

TEST(Highlights, CutsNeverSplitACharacter) {
    // An emoji is two UTF-16 units; the fill tool keeps "#" and 254 units of the description.
    HighlightList list;
    const QString description = QString(253, u'a') + QString::fromUtf8("\xF0\x9F\x8E\x84") + "b";
    list.add("12/25/1998$1#" + description);
    SetDayColour(list, MakeDayDate(25, 12, 1998), 2);
    EXPECT_EQ(list.at(0), "12/25/1998$2#" + QString(253, u'a'));
    list.clear();
    list.add("12/25/1998$1#" + QString(252, u'a') + QString::fromUtf8("\xF0\x9F\x8E\x84") + "b");
    SetDayColour(list, MakeDayDate(25, 12, 1998), 2);
    EXPECT_EQ(list.at(0),
              "12/25/1998$2#" + QString(252, u'a') + QString::fromUtf8("\xF0\x9F\x8E\x84"));
    // The editor's read-out at 255 units.
    list.clear();
    list.add("x$1#" + QString(254, u'a') + QString::fromUtf8("\xF0\x9F\x8E\x84"));
    EXPECT_EQ(SelectionReadOut(list, 0).description, QString(254, u'a'));
}

TEST(Highlights, ToolsActOnTheFirstEntryContainingTheDay) {
    const DayDate xmas = MakeDayDate(25, 12, 1999);
    HighlightList list;
    list.add("12/24/1999$1#see 12/25/1999");
    list.add("12/25/1999$2#first");
    list.add("12/25/1999$3#second");
    EXPECT_EQ(FindEntryContaining(list, "12/25/1999"), 0);
    EXPECT_EQ(FindEntryContaining(list, "01/01/2000"), -1);

    SetDayColour(list, xmas, 99); // recolours the note of the 24th, which mentions the 25th
    EXPECT_EQ(list.at(0), "12/24/1999$99#see 12/25/1999");
    RemoveDay(list, xmas);
    EXPECT_EQ(list.entries(), (QStringList{"12/25/1999$2#first", "12/25/1999$3#second"}));
    ReplaceDay(list, xmas, 7, "new");
    EXPECT_EQ(list.entries(), (QStringList{"12/25/1999$3#second", "12/25/1999$7#new"}));

    HighlightList fill;
    SetDayColour(fill, xmas, 5);
    EXPECT_EQ(fill.at(0), "12/25/1999$5#");
    fill.clear();
    fill.add("12/25/1999$1#a $ and a #hash");
    SetDayColour(fill, xmas, 6);
    EXPECT_EQ(fill.at(0), "12/25/1999$6#a $ and a #hash");
    fill.clear();
    fill.add("12/25/1999 no separators");
    SetDayColour(fill, xmas, 6);
    EXPECT_EQ(fill.at(0), "12/25/1999$6#");
    fill.clear();
    fill.add("12/25/1999$1#" + QString(300, u'x'));
    SetDayColour(fill, xmas, 2);
    EXPECT_EQ(fill.at(0).size(), 11 + 1 + 254 + 1);
}
