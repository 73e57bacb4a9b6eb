#include "CalendarFile.h"

#include "../QtPrinters.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gyrodex;

namespace {

class CalendarFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file = dir.filePath("design.cal");
    CalendarState state;
    HighlightList list;
    CalendarLoadResult result;

    void load(const QByteArray& bytes) {
        WriteBytes(file, bytes);
        result = LoadCalendarFile(state, list, file);
    }
    QString loadMessage(const QByteArray& bytes) {
        load(bytes);
        return result.message;
    }
};

// A design that differs from the defaults in every field a file holds.
CalendarState SampleDesign() {
    CalendarState s;
    s.BackColour = 1;
    s.BackTextColour = 2;
    s.DayColour = 3;
    s.DayTextColour = kWindowText;
    s.WeekendColour = 5;
    s.WeekendTextColour = 6;
    s.PastColour = 7;
    s.PastTextColour = 0x80000005;
    s.ThinColour = 9;
    s.ThickColour = 10;
    s.RepaintAll = false;
    s.PaintWeekends = false;
    s.PaintPast = true;
    s.TodayAsPast = false;
    s.ThickWidth = 9;
    s.ThinWidth = 2;
    s.StartWeek = 51;
    s.Radius = 2048;
    s.DayHeight = 1;
    s.CentreOffsetX = -40;
    s.CentreOffsetY = 123456;
    s.StartDate = MakeDayDate(5, 1, 999);
    s.EndDate = MakeDayDate(31, 12, 2001);
    s.Font.name = QStringLiteral("Liberation Sans");
    s.Font.size = 12;
    return s;
}

} // namespace

TEST_F(CalendarFile, SaveWritesTheFixedLayout) {
    CalendarState s = SampleDesign();
    list.add("12/25/1999$255#Christmas");
    list.add("01/01/2000$-2147483640#New $ year #1");
    SaveCalendarFile(s, list, file);
    EXPECT_EQ(s.CalendarFileName, file);
    EXPECT_EQ(ReadBytes(file), "[Colors]\r\nBackground=1\r\nBackFont=2\r\nDay=3\r\n"
                               "DayFont=-2147483640\r\nWeekend=5\r\nWeekendFont=6\r\nPast=7\r\n"
                               "PastFont=-2147483643\r\nThin=9\r\nThick=10\r\n\r\n"
                               "[Flags]\r\nBackground=0\r\nWeekend=0\r\nPastDays=1\r\n"
                               "TodayPast=0\r\n\r\n"
                               "[Misc]\r\nThick=9\r\nNormal=2\r\nStartWeek=51\r\nRadius=2048\r\n"
                               "DayHeight=1\r\nCXOffset=-40\r\nCYOffset=123456\r\n"
                               "StartDate=01/05/0999\r\nEndDate=12/31/2001\r\n\r\n"
                               "[Font]\r\nName=Liberation Sans\r\nSize=12\r\n\r\n"
                               "[Highlights]\r\nCount=2\r\n"
                               "H0=01/01/2000$-2147483640#New $ year #1\r\n"
                               "H1=12/25/1999$255#Christmas\r\n");
}

TEST_F(CalendarFile, RoundTripGivesBackEveryStoredSetting) {
    CalendarState saved = SampleDesign();
    HighlightList savedList;
    savedList.add("03/07/1999$16744576#Tea #2 $5");
    savedList.add("03/07/1999$1#");
    SaveCalendarFile(saved, savedList, file);

    state.Clockwise = false;
    state.WeekendInside = false;
    state.AutoPreview = false;
    list.add("leftover");
    result = LoadCalendarFile(state, list, file);
    EXPECT_EQ(result.outcome, LoadOutcome::Loaded);
    EXPECT_EQ(result.message, "");
    CalendarState expected = saved;
    expected.Clockwise = false;
    expected.WeekendInside = false;
    expected.AutoPreview = false;
    IniFile a, b;
    WriteCalendar(a, state, list);
    WriteCalendar(b, expected, savedList);
    EXPECT_EQ(a.text(), b.text());
    EXPECT_FALSE(state.Clockwise);
    EXPECT_FALSE(state.WeekendInside);
    EXPECT_FALSE(state.AutoPreview);
    EXPECT_FALSE(state.RepaintSuspended);
}

TEST_F(CalendarFile, MissingFileLoadsDefaultsButKeepsThePastSwatch) {
    state.PastColour = 42;
    state.PastTextColour = 43;
    list.add("01/01/2000$1#x");
    const QString missing = dir.filePath("none.cal");
    result = LoadCalendarFile(state, list, missing);
    EXPECT_TRUE(result.applied()); // so the name still goes to the recent list
    EXPECT_EQ(result.message, "");
    EXPECT_EQ(state.CalendarFileName, missing);
    EXPECT_EQ(state.BackColour, 16744576u);
    EXPECT_EQ(state.DayTextColour, 0u);
    EXPECT_EQ(state.PastColour, 42u);
    EXPECT_EQ(state.PastTextColour, 43u);
    EXPECT_EQ(state.StartWeek, 22);
    EXPECT_EQ(state.StartDate, MakeDayDate(19, 10, 1998));
    EXPECT_EQ(state.EndDate, MakeDayDate(16, 9, 1999));
    EXPECT_EQ(state.Font.name, "MS Sans Serif");
    EXPECT_TRUE(list.isEmpty());

    // A file that is there but can't be read is no missing file.
    const QString folder = dir.filePath("folder.cal");
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.cal"));
    state.Radius = 100;
    result = LoadCalendarFile(state, list, folder);
    EXPECT_EQ(result.outcome, LoadOutcome::Failed);
    EXPECT_EQ(result.message, "Unable to read " + folder);
    EXPECT_EQ(state.Radius, 100);
    EXPECT_EQ(state.CalendarFileName, folder);
}

TEST_F(CalendarFile, ValuesAreHeldInTheirFieldsAndHexColoursRead) {
    load("[colors]\nbackground=$FF8080\nDay=0xFF8080\nWeekend=junk\n"
         "[MISC]\nRadius=5000\nDayHeight=0\nStartWeek=-1\nThick=10\nNormal=x\n"
         "CXOffset=-99999\nStartDate=10-19-1998\nEndDate=01/01/1990\n");
    EXPECT_EQ(state.BackColour, 16744576u);
    EXPECT_EQ(state.DayColour, 16744576u);
    EXPECT_EQ(state.WeekendColour, 33023u);
    EXPECT_EQ(state.Radius, 2048);
    EXPECT_EQ(state.DayHeight, 1);
    EXPECT_EQ(state.StartWeek, 0);
    EXPECT_EQ(state.ThickWidth, 9);
    EXPECT_EQ(state.ThinWidth, 1);
    EXPECT_EQ(state.CentreOffsetX, -99999);
    // Separators are not looked at, and a period ending before it starts is taken as it is.
    EXPECT_EQ(state.StartDate, MakeDayDate(19, 10, 1998));
    EXPECT_EQ(state.EndDate, MakeDayDate(1, 1, 1990));
}

TEST_F(CalendarFile, PastDaysOffClearsAndDisablesTodayAsPastBeforeItIsRead) {
    load("[Flags]\nPastDays=0\nTodayPast=1\n");
    EXPECT_FALSE(state.PaintPast);
    EXPECT_TRUE(state.TodayAsPast);
    EXPECT_FALSE(state.TodayAsPastEnabled);
    load("[Flags]\nPastDays=0\n");
    EXPECT_TRUE(state.TodayAsPast); // the default of the key, though still disabled
    EXPECT_FALSE(state.TodayAsPastEnabled);
    load("[Flags]\nPastDays=1\nTodayPast=0\n");
    EXPECT_TRUE(state.TodayAsPastEnabled);
    EXPECT_FALSE(state.TodayAsPast);
}

TEST_F(CalendarFile, BadDatesStopTheLoadWhereTheyAre) {
    state.Font.name = "Before";
    EXPECT_EQ(loadMessage("[Misc]\nRadius=100\nStartDate=1/19/1998\n"),
              "'9/' is not a valid integer value");
    EXPECT_EQ(state.Radius, 100);         // applied before the failing key
    EXPECT_EQ(state.Font.name, "Before"); // never reached
    EXPECT_FALSE(state.RepaintSuspended);
    EXPECT_EQ(state.CalendarFileName, file);
    EXPECT_EQ(result.outcome, LoadOutcome::Failed);
    EXPECT_FALSE(result.applied()); // no recent entry, no repaint

    EXPECT_EQ(loadMessage("[Misc]\nStartDate=\n"), "'' is not a valid integer value");
    EXPECT_EQ(loadMessage("[Misc]\nStartDate=aa/bb/cccc\n"), "'cccc' is not a valid integer value");
    EXPECT_EQ(loadMessage("[Misc]\nStartDate=aa/bb/1999\n"), "'bb' is not a valid integer value");
    EXPECT_EQ(loadMessage("[Misc]\nEndDate=13/01/1999\n"), "Invalid argument to date encode");
    EXPECT_EQ(state.StartDate, MakeDayDate(19, 10, 1998)); // the start date was applied
    EXPECT_EQ(loadMessage("[Misc]\nEndDate=02/29/1999\n"), "Invalid argument to date encode");
    EXPECT_EQ(loadMessage("[Misc]\nEndDate=01/01/0000\n"), "Invalid argument to date encode");
    EXPECT_EQ(loadMessage("[Misc]\nEndDate=02/29/2000 and more\n"), "");
    EXPECT_EQ(result.outcome, LoadOutcome::Loaded);
    EXPECT_EQ(state.EndDate, MakeDayDate(29, 2, 2000));
}

TEST_F(CalendarFile, HighlightCountDecidesTheEntries) {
    load("[Highlights]\nCount=3\nH0=01/01/2000$1#one\nH7=never read\n");
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.entries(), (QStringList{"$0#", "$0#", "01/01/2000$1#one"}));
    load("[Highlights]\nCount=-5\nH0=x\n");
    EXPECT_TRUE(list.isEmpty());

    // Saving two entries over a file with five leaves the stale keys behind, unread.
    load("[Highlights]\nCount=5\nH0=a\nH1=b\nH2=c\nH3=d\nH4=e\n");
    list.clear();
    list.add("x");
    list.add("y");
    SaveCalendarFile(state, list, file);
    const QByteArray bytes = ReadBytes(file);
    EXPECT_TRUE(bytes.contains("Count=2\r\nH0=x\r\nH1=y\r\nH2=c\r\nH3=d\r\nH4=e\r\n"));
    load(bytes);
    EXPECT_EQ(list.entries(), (QStringList{"x", "y"}));
}

TEST_F(CalendarFile, CorruptCountIsCutAfterTheRestHasLoaded) {
    EXPECT_EQ(loadMessage("[Font]\nName=Loaded\n[Highlights]\nCount=2000000000\n"),
              "Too many highlights in " + file);
    // A made-up Count reads no more entries than the section holds.
    EXPECT_EQ(list.size(), 0);
    EXPECT_EQ(state.Font.name, "Loaded");
    EXPECT_FALSE(state.RepaintSuspended);
    EXPECT_EQ(result.outcome, LoadOutcome::TooManyHighlights);
    EXPECT_TRUE(result.applied()); // added to the recent list and repainted, then the message
}

TEST_F(CalendarFile, CorruptCountReadsTheEntriesPresentAndAValidCountStillFillsGaps) {
    EXPECT_EQ(loadMessage("[Highlights]\nCount=100001\nH0=01/01/1999$1#a\nH2=01/03/1999$3#c\n"),
              "Too many highlights in " + file);
    EXPECT_EQ(list.entries(), (QStringList{"$0#", "01/01/1999$1#a"}));
    load("[Highlights]\nCount=3\nH0=01/01/1999$1#a\nH2=01/03/1999$3#c\n");
    EXPECT_EQ(list.entries(), (QStringList{"$0#", "01/01/1999$1#a", "01/03/1999$3#c"}));
}

TEST_F(CalendarFile, AFullListSavesAndLoadsWholeAndNothingAddsPastIt) {
    QStringList entries;
    for (qsizetype i = 0; i < kMaxHighlights; ++i)
        entries << "$" + QString::number(i) + "#";
    list.addAll(entries);
    EXPECT_EQ(MessageOf([&] { list.add("12/25/1998$255#Xmas"); }), "Too many highlights");
    state.setDefaultPeriod(MakeDayDate(1, 1, 2000));
    SaveCalendarFile(state, list, file);
    HighlightList again;
    EXPECT_EQ(LoadCalendarFile(state, again, file).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(again.entries(), list.entries());
}

TEST_F(CalendarFile, LoadInsideABatchLeavesTheBatchSuspended) {
    const SuspendRepaint batch(state);
    load("[Misc]\nRadius=100\n");
    EXPECT_TRUE(state.RepaintSuspended);
    load("[Misc]\nStartDate=x\n");
    EXPECT_EQ(result.outcome, LoadOutcome::Failed);
    EXPECT_TRUE(state.RepaintSuspended);
}

TEST_F(CalendarFile, SaveKeepsForeignEntriesAndFailsWithoutTouchingTheFile) {
    WriteBytes(file, "[Misc]\nRadius=100\nMine=keep\n[Extra]\nA=1\n");
    state.setDefaultPeriod(MakeDayDate(1, 1, 2000));
    SaveCalendarFile(state, list, file);
    const QByteArray bytes = ReadBytes(file);
    EXPECT_TRUE(bytes.startsWith("[Misc]\r\nRadius=360\r\nMine=keep\r\nThick=3\r\n"));
    EXPECT_TRUE(bytes.contains("[Extra]\r\nA=1\r\n\r\n[Colors]\r\n"));

    QFile::setPermissions(file, QFileDevice::ReadOwner);
    state.Radius = 500;
    EXPECT_EQ(MessageOf([&] { SaveCalendarFile(state, list, file); }),
              "Unable to write to " + file);
    EXPECT_EQ(ReadBytes(file), bytes);
    const QString elsewhere = dir.filePath("missing/x.cal");
    EXPECT_EQ(MessageOf([&] { SaveCalendarFile(state, list, elsewhere); }),
              "Unable to write to " + elsewhere);
    EXPECT_EQ(state.CalendarFileName, elsewhere);
}
