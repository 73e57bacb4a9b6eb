#include "CalendarFile.h"
#include "LabelWords.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gyrodex;

namespace {

// A file as an older version wrote it: its own line ends, spacing and a foreign entry.
const QByteArray kOlderFile =
    "[Colors]\r\nBackground=255\r\nDay = 8454143\r\n\r\n[Flags]\r\n"
    "Weekend=0\r\n[Misc]\r\nStartDate=09/01/2027\r\nEndDate=07/21/2028\r\n"
    "Radius=500\r\nMine=kept\r\n[Font]\r\nName=Arial\r\nSize=9\r\n"
    "[Highlights]\r\nCount=1\r\nH0=09/17/2027$65280#Sports day\r\n";

LabelSettings AllLabels() {
    LabelSettings l;
    l.Months = l.Weeks = l.Title = l.TitleYears = l.Legend = l.Agenda = true;
    l.TitleText = QStringLiteral("Riverside School = \u00e9cole");
    l.FontName = QStringLiteral("DejaVu Serif");
    l.FontSize = 14;
    l.ColourNames = {{255, QStringLiteral("Holidays")},
                     {0x80000008u, QStringLiteral("System text colour")}};
    return l;
}

} // namespace

TEST(LabelsFile, RoundTripAndFilesWithoutTheSectionsShowNoLabels) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("design.cal"));
    CalendarState s;
    s.StartDate = MakeDayDate(1, 9, 2027);
    s.EndDate = MakeDayDate(21, 7, 2028);
    s.Labels = AllLabels();
    HighlightList list;
    SaveCalendarFile(s, list, file);

    CalendarState back;
    HighlightList backList;
    ASSERT_TRUE(LoadCalendarFile(back, backList, file).applied());
    EXPECT_EQ(back.Labels, s.Labels);

    // Each switch by itself, and a title on one line.
    for (bool LabelSettings::*flag :
         {&LabelSettings::Months, &LabelSettings::Weeks, &LabelSettings::Title,
          &LabelSettings::TitleYears, &LabelSettings::Legend, &LabelSettings::Agenda}) {
        s.Labels = LabelSettings{};
        s.Labels.*flag = true;
        s.Labels.TitleText = QStringLiteral("two\r\nlines");
        SaveCalendarFile(s, list, file);
        ASSERT_TRUE(LoadCalendarFile(back, backList, file).applied());
        EXPECT_TRUE(back.Labels.*flag);
        EXPECT_EQ(back.Labels.TitleText, QStringLiteral("two  lines"));
    }

    // An older file loaded over a design with labels shows none; sizes are held in range.
    back.Labels = AllLabels();
    WriteBytes(file, kOlderFile);
    ASSERT_TRUE(LoadCalendarFile(back, backList, file).applied());
    EXPECT_EQ(back.Labels, LabelSettings{});
    WriteBytes(file, kOlderFile + "[Labels]\r\nFontSize=100000\r\nFontName=\r\n[Legend]\r\n"
                                  "red=x\r\n255=\r\n16711680= Sea \r\n");
    ASSERT_TRUE(LoadCalendarFile(back, backList, file).applied());
    EXPECT_EQ(back.Labels.FontSize, LabelSettings::kMaxFontSize);
    EXPECT_EQ(back.Labels.FontName, LabelSettings::defaultFontName());
    EXPECT_EQ(back.Labels.ColourNames, (std::map<Colour, QString>{{16711680, "Sea"}}));
}

TEST(LabelsFile, SavingAnOlderFileInPlaceAddsOnlyTheNewSectionsAtTheEnd) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("older.cal"));
    WriteBytes(file, kOlderFile);
    CalendarState s;
    HighlightList list;
    ASSERT_TRUE(LoadCalendarFile(s, list, file).applied());

    // Without labels the file is written back as it was.
    SaveCalendarFile(s, list, file);
    const QByteArray unchanged = ReadBytes(file);
    EXPECT_FALSE(unchanged.contains("[Labels]"));
    EXPECT_FALSE(unchanged.contains("[Legend]"));

    s.Labels.Months = true;
    s.Labels.ColourNames[65280] = QStringLiteral("Events");
    SaveCalendarFile(s, list, file);
    const QByteArray labelled = ReadBytes(file);
    ASSERT_TRUE(labelled.startsWith(unchanged));
    EXPECT_EQ(
        labelled.mid(unchanged.size()).toStdString(),
        "\r\n[Labels]\r\nMonths=1\r\nWeeks=0\r\nTitle=0\r\nYears=0\r\nLegend=0\r\nAgenda=0\r\n"
        "Text=\r\nFontName=Arial\r\nFontSize=10\r\n\r\n[Legend]\r\n65280=Events\r\n");

    // Labels switched off again keep their section; a name taken away reads as none.
    s.Labels = LabelSettings{};
    SaveCalendarFile(s, list, file);
    const QByteArray off = ReadBytes(file);
    EXPECT_TRUE(off.startsWith(unchanged));
    EXPECT_TRUE(off.contains("Months=0\r\n"));
    EXPECT_TRUE(off.endsWith("[Legend]\r\n65280=\r\n"));
    ASSERT_TRUE(LoadCalendarFile(s, list, file).applied());
    EXPECT_EQ(s.Labels, LabelSettings{});
}

TEST(LabelWords, AgendaDatesFollowTheHintFormatAndAlwaysNameTheDay) {
    const DayDate d = MakeDayDate(7, 9, 2027); // a Tuesday
    const DateFormatLocale& us = DateFormatLocale::UsEnglish();
    EXPECT_EQ(MakeLabelWords(QStringLiteral("dd/mm/yyyy"), us).agendaDate(d),
              QStringLiteral("07/09/2027"));
    EXPECT_EQ(MakeLabelWords(QStringLiteral("ddd"), us).agendaDate(d),
              QStringLiteral("Tue 9/7/2027"));
    EXPECT_EQ(MakeLabelWords(QStringLiteral("'d' dddd"), us).agendaDate(d),
              QStringLiteral("d Tuesday 9/7/2027"));
    EXPECT_EQ(MakeLabelWords(QString(), us).agendaDate(d), QStringLiteral("9/7/2027"));
    const LabelTexts german =
        MakeLabelWords(QStringLiteral("d. mmmm"), DateFormatLocale::FromLocale(QLocale::German));
    EXPECT_EQ(german.longMonthNames[2], QStringLiteral("M\u00e4rz"));
    EXPECT_EQ(german.agendaDate(d), QStringLiteral("7. September"));
}
