#include "ICalendar.h"

#include "Error.h"
#include "Highlights.h"
#include "SaveFile.h"
#include "TestFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gyrodex;

namespace {

QString Data(const char* name) {
    return QStringLiteral(GYRODEX_ICS_DATA "/") + QLatin1String(name);
}

// A school year as the tests' designs have it, read in New York time.
IcsImport SchoolYear() {
    IcsImport how;
    how.first = MakeDayDate(2, 8, 2027);
    how.last = MakeDayDate(30, 7, 2028);
    how.localZone = QTimeZone("America/New_York");
    return how;
}

QStringList Imported(const char* name, const IcsImport& how = SchoolYear()) {
    HighlightList list;
    ImportIcsFile(list, Data(name), how);
    return list.entries();
}

QStringList Sorted(QStringList list) {
    list.sort(Qt::CaseInsensitive);
    return list;
}

QString Entry(const char* date, Colour colour, const QString& description) {
    return MakeEntry(QLatin1String(date), colour, description);
}

const Colour kRed = Rgb(255, 0, 0);

} // namespace

TEST(ICalendarImport, AllDayEventsTakeTheirColourFromColorThenLegendThenTheChoice) {
    IcsImport how = SchoolYear();
    how.colour = 12345;
    how.legend = [](const QString& name) -> std::optional<Colour> {
        if (name == u"Holiday")
            return Rgb(255, 255, 0);
        return std::nullopt;
    };
    // DTEND is exclusive; no DTEND is one day; cancelled events and to-dos are left out.
    const QStringList expected = {
        Entry("09/06/2027", Rgb(0, 128, 0), "Labour Day"),
        Entry("10/11/2027", Rgb(0, 0, 255), "Open day"),
        Entry("12/30/2027", Rgb(255, 255, 0), "Winter break"),
        Entry("12/31/2027", Rgb(255, 255, 0), "Winter break"),
        Entry("01/01/2028", Rgb(255, 255, 0), "Winter break"),
        Entry("01/02/2028", Rgb(255, 255, 0), "Winter break"),
    };
    EXPECT_EQ(Imported("allday.ics", how), Sorted(expected));
    // Without a legend the category names no colour: the chosen one is taken.
    how.legend = {};
    EXPECT_TRUE(Imported("allday.ics", how).contains(Entry("12/31/2027", 12345, "Winter break")));
}

TEST(ICalendarImport, WeeklyRulesKeepTheirZoneAcrossTheClockChange) {
    const QStringList entries = Imported("weekly-dst.ics");
    QStringList expected;
    // 18:00 in New York every Monday, eight times, the third left out by EXDATE.
    for (const char* d : {"10/04/2027", "10/11/2027", "10/25/2027", "11/01/2027", "11/08/2027",
                          "11/15/2027", "11/22/2027"})
        expected << Entry(d, kRed, "Choir");
    // 04:30 UTC is 00:30 Monday in New York in summer time, 23:30 Sunday after 7 November.
    for (const char* d : {"10/04/2027", "10/11/2027", "10/18/2027", "10/25/2027", "11/01/2027",
                          "11/07/2027", "11/14/2027"})
        expected << Entry(d, kRed, "Night call");
    EXPECT_EQ(entries, Sorted(expected));
}

TEST(ICalendarImport, MonthlyYearlyAndExtraDatesWithinThePeriod) {
    const QStringList entries = Imported("monthly-yearly.ics");
    QStringList expected;
    // An endless "last Friday" rule from 2020: only the period's twelve.
    for (const char* d :
         {"08/27/2027", "09/24/2027", "10/29/2027", "11/26/2027", "12/31/2027", "01/28/2028",
          "02/25/2028", "03/31/2028", "04/28/2028", "05/26/2028", "06/30/2028", "07/28/2028"})
        expected << Entry(d, kRed, "Staff meeting");
    expected << Entry("03/14/2028", kRed, "Ada's birthday");
    for (const char* d : {"09/02/2027", "09/09/2027", "09/16/2027"})
        expected << Entry(d, kRed, "Extra lesson");
    EXPECT_EQ(entries, Sorted(expected));
}

TEST(ICalendarImport, AnOverrideReplacesItsOccurrenceAndACancelledOneRemovesIt) {
    const QStringList expected = {
        Entry("09/07/2027", kRed, "Chess club"),
        Entry("09/16/2027", kRed, "Chess club (moved)"),
        Entry("09/28/2027", kRed, "Chess club"),
    };
    EXPECT_EQ(Imported("override.ics"), Sorted(expected));
}

TEST(ICalendarImport, TimedEventsCoverTheDaysTheyTouchInTheirOwnZone) {
    const QStringList expected = {
        // 23:30 to 00:30 in Tokyo: both Tokyo days, whatever the local zone.
        Entry("11/05/2027", kRed, "Call with Tokyo"),
        Entry("11/06/2027", kRed, "Call with Tokyo"),
        // Ends at midnight: the next day is not touched.
        Entry("11/10/2027", kRed, "Late show"),
        // Floating: its own wall clock, two hours over midnight.
        Entry("11/12/2027", kRed, "Floating night"),
        Entry("11/13/2027", kRed, "Floating night"),
        // 02:30 UTC on the 14th is the evening of the 13th in New York.
        Entry("11/13/2027", kRed, "UTC early"),
    };
    EXPECT_EQ(Imported("zones.ics"), Sorted(expected));
    // The same file read in Tokyo: only the UTC event moves.
    IcsImport tokyo = SchoolYear();
    tokyo.localZone = QTimeZone("Asia/Tokyo");
    EXPECT_TRUE(Imported("zones.ics", tokyo).contains(Entry("11/14/2027", kRed, "UTC early")));
}

TEST(ICalendarImport, CrLfFoldedLinesAndUtf8Summary) {
    const QString summary = QStringLiteral("Schulfest \u2013 Gr\u00fc\u00dfe an alle, mit Musik; "
                                           "Essen und Spielen ab 14 Uhr \U0001F389");
    EXPECT_EQ(Imported("crlf-folded.ics"),
              QStringList{Entry("05/12/2028", Rgb(255, 215, 0), summary)});
}

TEST(ICalendarImport, ControlCharactersBecomeSpacesBothWays) {
    // libical writes no backspace or form feed and drops blanks at either end of a value: an
    // entry with them would not come back from an export as it went.
    const QTemporaryDir dir;
    const QString file = dir.filePath("ctl.ics");
    WriteBytes(file, "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:x\r\nDTSTART;VALUE=DATE:20271001\r\n"
                     "SUMMARY:a\bb\fc\x01"
                     "d\te\\nf\x7Fg\x15\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    HighlightList list;
    ImportIcsFile(list, file, SchoolYear());
    EXPECT_EQ(list.entries(), QStringList{"10/01/2027$255#a b c d\te f g"});
    ExportIcsFile(list, file, MakeDayDate(2, 8, 2027), MakeDayDate(30, 7, 2028));
    HighlightList back;
    ImportIcsFile(back, file, SchoolYear());
    EXPECT_EQ(back.entries(), list.entries());

    HighlightList typed;
    typed.add(QStringLiteral("10/02/2027$255#x\by"));
    EXPECT_TRUE(IcsText(typed, MakeDayDate(2, 8, 2027), MakeDayDate(30, 7, 2028))
                    .contains("SUMMARY:x y\r\n"));
}

TEST(ICalendarImport, ImportingTwiceAddsNothingAndKeepsWhatWasThere) {
    HighlightList list;
    list.add(QStringLiteral("09/06/2027$32768#Labour Day"));
    list.add(QStringLiteral("01/01/1999$1#mine"));
    ImportIcsFile(list, Data("allday.ics"), SchoolYear());
    const QStringList once = list.entries();
    EXPECT_EQ(once.size(), 2 + 5); // Labour Day was there already
    ImportIcsFile(list, Data("allday.ics"), SchoolYear());
    EXPECT_EQ(list.entries(), once);
}

TEST(ICalendarImport, EndlessAndHugeRulesStayWithinBounds) {
    const QTemporaryDir dir;
    const QString file = dir.filePath("rules.ics");
    const auto calendar = [](const QByteArray& events) {
        return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n" + events +
               "END:VCALENDAR\r\n";
    };
    const auto event = [](const QByteArray& uid, const QByteArray& lines) {
        return "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:19700101T000000Z\r\n" + lines +
               "END:VEVENT\r\n";
    };
    // Every day since 1970, endless: every day of the period once.
    WriteBytes(file, calendar(event("daily", "DTSTART:19700101T120000\r\nRRULE:FREQ=DAILY\r\n"
                                             "SUMMARY:Daily\r\n")));
    HighlightList list;
    QElapsedTimer timer;
    timer.start();
    ImportIcsFile(list, file, SchoolYear());
    EXPECT_EQ(list.size(), 364);
    EXPECT_EQ(list.at(0), "01/01/2028$255#Daily");

    // Every second of the period: refused with the reason, quickly, the list unchanged.
    WriteBytes(file, calendar(event("secondly", "DTSTART:20270801T000000\r\nRRULE:FREQ=SECONDLY\r\n"
                                                "SUMMARY:Tick\r\n")));
    EXPECT_EQ(MessageOf([&] { ImportIcsFile(list, file, SchoolYear()); }),
              "Unable to read " + file + ": the recurrence rules give more than 1000000 dates");
    EXPECT_EQ(list.size(), 364);
    EXPECT_LT(timer.elapsed(), 20000);

    // 10,000 events, one entry each.
    QByteArray many;
    for (int i = 0; i < 10000; ++i)
        many += event("e" + QByteArray::number(i), "DTSTART;VALUE=DATE:20271001\r\nSUMMARY:Event " +
                                                       QByteArray::number(i) + "\r\n");
    WriteBytes(file, calendar(many));
    ImportIcsFile(list, file, SchoolYear());
    EXPECT_EQ(list.size(), 364 + 10000);
}

TEST(ICalendarImport, UnreadableFilesChangeNothing) {
    const QTemporaryDir dir;
    const QString file = dir.filePath("bad.ics");
    HighlightList list;
    list.add(QStringLiteral("01/01/2028$1#kept"));
    const QStringList before = list.entries();
    const QByteArray whole = ReadBytes(Data("allday.ics"));
    for (const QByteArray& bytes :
         {whole.left(whole.indexOf("SUMMARY:Winter")), QByteArray("not a calendar\n"), QByteArray(),
          QByteArray("BEGIN:VTODO\r\nEND:VTODO\r\n")}) {
        WriteBytes(file, bytes);
        const QString message = MessageOf([&] { ImportIcsFile(list, file, SchoolYear()); });
        EXPECT_TRUE(message.startsWith("Unable to read " + file + ": ")) << message.toStdString();
        EXPECT_GT(message.size(), QString("Unable to read " + file + ": ").size());
        EXPECT_EQ(list.entries(), before);
    }
    EXPECT_EQ(MessageOf([&] { ImportIcsFile(list, dir.filePath("none.ics"), SchoolYear()); }),
              "Unable to read " + dir.filePath("none.ics") + ": there is no such file");

    // Over the read limit (a sparse file, nothing is read).
    QFile big(file);
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(kMaxTextFileBytes + 1));
    big.close();
    EXPECT_EQ(MessageOf([&] { ImportIcsFile(list, file, SchoolYear()); }),
              "Unable to read " + file + ": the file is larger than 256 MiB");
    EXPECT_EQ(list.entries(), before);
}

TEST(ICalendarImport, LongSummariesAreCutAndTheLimitHolds) {
    const QTemporaryDir dir;
    const QString file = dir.filePath("long.ics");
    WriteBytes(file, "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:x\r\nDTSTART;VALUE=DATE:20271001\r\n"
                     "DTEND;VALUE=DATE:20271003\r\nSUMMARY:" +
                         QByteArray(1 << 20, 'a') + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    HighlightList list;
    ImportIcsFile(list, file, SchoolYear());
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(EntryDescription(list.at(0), 1 << 21).size(), kShownDescription);

    // Room for one more entry, two would come: none are added.
    QStringList fill;
    for (qsizetype i = list.size(); i < kMaxHighlights - 1; ++i)
        fill << QStringLiteral("01/01/1990$0#%1").arg(i);
    list.addAll(fill);
    EXPECT_EQ(MessageOf([&] { ImportIcsFile(list, Data("override.ics"), SchoolYear()); }),
              "Too many highlights in " + Data("override.ics"));
    EXPECT_EQ(list.size(), kMaxHighlights - 1);
}

TEST(ICalendarExport, RunsOfDaysBecomeStableAllDayEventsThatComeBackExactly) {
    HighlightList list;
    // A 12-day break, a day with two entries, a colour without a name, a system colour.
    for (int day = 20; day <= 31; ++day)
        list.add(QStringLiteral("12/%1/2027$65535#Winter break").arg(day));
    list.add(QStringLiteral("10/11/2027$255#Open day"));
    list.add(QStringLiteral("10/11/2027$16711680#Parents' evening, 18:00; \u00e9t\u00e9"));
    list.add(QStringLiteral("10/12/2027$255#Open day"));
    list.add(QStringLiteral("10/14/2027$255#Open day"));
    list.add(QStringLiteral("11/01/2027$-2147483640#"));
    const QStringList exported = list.entries();
    // Not exported: outside the period, or not of the entry form.
    list.add(QStringLiteral("12/31/2028$255#Later"));
    list.add(QStringLiteral("10/01/2027$red#Odd colour"));
    list.add(QStringLiteral("10/02/2027$255"));

    const LegendName legend = [](Colour c) -> std::optional<QString> {
        if (c == 65535)
            return QStringLiteral("Holiday");
        return std::nullopt;
    };
    const QByteArray text =
        IcsText(list, MakeDayDate(2, 8, 2027), MakeDayDate(30, 7, 2028), legend);
    EXPECT_EQ(text.count("BEGIN:VEVENT"), 5);
    EXPECT_TRUE(text.contains("DTSTART;VALUE=DATE:20271220\r\nDTEND;VALUE=DATE:20280101\r\n"));
    EXPECT_TRUE(text.contains("COLOR:yellow\r\nX-GYRODEX-COLOR:65535\r\nCATEGORIES:Holiday\r\n"));
    EXPECT_TRUE(text.contains("COLOR:blue\r\nX-GYRODEX-COLOR:16711680\r\n"));
    EXPECT_TRUE(text.contains("X-GYRODEX-COLOR:-2147483640\r\n"));
    EXPECT_TRUE(text.contains("SUMMARY:Parents' evening\\, 18:00\\; "));
    EXPECT_TRUE(text.contains("UID:20271220-"));
    EXPECT_EQ(IcsText(list, MakeDayDate(2, 8, 2027), MakeDayDate(30, 7, 2028), legend), text);

    const QTemporaryDir dir;
    const QString file = dir.filePath("out.ics");
    ExportIcsFile(list, file, MakeDayDate(2, 8, 2027), MakeDayDate(30, 7, 2028), legend);
    EXPECT_EQ(ReadBytes(file), text);
    // Back into an empty list: exactly what was exported; into the same list: nothing more.
    HighlightList back;
    ImportIcsFile(back, file, SchoolYear());
    EXPECT_EQ(back.entries(), exported);
    const QStringList all = list.entries();
    ImportIcsFile(list, file, SchoolYear());
    EXPECT_EQ(list.entries(), all);
}

TEST(ICalendarColours, CssNamesBothWays) {
    EXPECT_EQ(CssColour(u"Red"), Rgb(255, 0, 0));
    EXPECT_EQ(CssColour(u"rebeccapurple"), Rgb(0x66, 0x33, 0x99));
    EXPECT_EQ(CssColour(u"#0a0B0c"), Rgb(10, 11, 12));
    EXPECT_EQ(CssColour(u"#fa0"), Rgb(255, 170, 0));
    for (const char16_t* bad : {u"", u"#", u"#12345", u"#-12345", u"redd", u"#gggggg"})
        EXPECT_FALSE(CssColour(bad).has_value());
    EXPECT_EQ(NearestCssName(Rgb(250, 5, 5)), "red");
    EXPECT_EQ(NearestCssName(Rgb(0, 255, 255)), "aqua");
    EXPECT_EQ(NearestCssName(kWindowText), "black");
    EXPECT_TRUE(IsIcsFileName("a/b.ICS"));
    EXPECT_FALSE(IsIcsFileName("a.ics.txt"));
}
