#include "Painter.h"

#include "../QtPrinters.h"
#include "../RecordingHost.h"
#include "../TestDates.h"
#include "Error.h"
#include "Geometry.h"
#include "PeriodWalk.h"
#include "RecordingCanvas.h"

#include <QRegion>
#include <gtest/gtest.h>

using namespace gyrodex;
using gyrodex::test::D;
using gyrodex::test::RecordingCanvas;

namespace {

const DayDate kToday = D(10, 19, 1998);

CalendarState DefaultDesign() {
    CalendarState s;
    s.setDefaultPeriod(kToday); // 10/09/1998 (a Friday) to 06/26/1999
    return s;
}

// Records, for every cell polygon, the lines drawn after it.
class OrderCanvas : public RecordingCanvas {
public:
    void polygon(std::span<const QPoint> pts) override {
        RecordingCanvas::polygon(pts);
        cellLines.emplace_back();
    }
    void lineTo(QPoint p) override {
        const QPoint from = pos;
        RecordingCanvas::lineTo(p);
        if (!cellLines.empty())
            cellLines.back().push_back({from, p, pen, penWidth});
    }
    std::vector<std::vector<Line>> cellLines;
};

} // namespace

TEST(Painter, DefaultWheel) {
    CalendarState s = DefaultDesign();
    HighlightList none;
    RecordingCanvas c;
    RepaintCalendar(s, none, c, kToday);

    // The background covers the image exactly once and the credit runs up the right edge.
    QRegion covered;
    int area = 0;
    for (const auto& f : c.fills) {
        EXPECT_EQ(f.brush, s.BackColour);
        covered += f.rect;
        area += f.rect.width() * f.rect.height();
    }
    EXPECT_EQ(covered, QRegion(0, 0, 1024, 768));
    EXPECT_EQ(area, 1024 * 768);
    ASSERT_FALSE(c.texts.empty());
    EXPECT_EQ(c.texts[0].text, CreditLine());
    EXPECT_EQ(c.texts[0].escapement, 900);
    EXPECT_EQ(c.texts[0].at, QPoint(1024 - 13 - 2, 768 - 4));
    EXPECT_EQ(c.texts[0].colour, s.BackTextColour);

    // 261 days: 10 before today, today, 250 after.
    EXPECT_EQ(c.polygons.size(), 261u);
    // The first week lies on spoke 21, Monday on ring 1; days before the start stay empty.
    EXPECT_TRUE(s.Cells.at(21, 1).date.isNoDate());
    EXPECT_TRUE(s.Cells.at(21, 4).date.isNoDate());
    EXPECT_EQ(s.Cells.at(21, 5).date, D(10, 9, 1998));
    EXPECT_EQ(s.Cells.at(21, 5).fill, s.PastColour);
    EXPECT_EQ(s.Cells.at(22, 1).date, D(10, 12, 1998));
    EXPECT_EQ(s.Cells.at(23, 1).date, kToday);
    EXPECT_EQ(s.Cells.at(23, 1).fill, s.PastColour); // today counts as past
    EXPECT_EQ(s.Cells.at(23, 2).fill, s.DayColour);
    EXPECT_EQ(s.Cells.at(23, 6).fill, s.WeekendColour);
    EXPECT_EQ(s.Cells.at(23, 7).fill, s.WeekendColour);
    // The first cell's polygon and its day number, centred on its anchor.
    const auto corners = CellPolygon(s, 21, 5);
    EXPECT_EQ(c.polygons[0].points, std::vector<QPoint>(corners.begin(), corners.end()));
    const QPoint anchor = TextAnchor(s, 21, 5);
    EXPECT_EQ(c.texts[1].text, QStringLiteral("9"));
    EXPECT_EQ(c.texts[1].at, QPoint(anchor.x() - 3, anchor.y() - 6));
    EXPECT_EQ(c.texts[1].colour, s.PastTextColour);
    // After the repaint the walk stands on the day after the period.
    EXPECT_EQ(s.CurrentDate, D(6, 27, 1999));
    EXPECT_EQ(s.PaintEnd, D(6, 27, 1999));
    EXPECT_EQ(s.EndDate, D(6, 26, 1999));
}

TEST(Painter, StartOnMondayAndDirection) {
    CalendarState s;
    s.StartDate = D(10, 5, 1998);
    s.EndDate = D(10, 20, 1998);
    s.WeekendInside = false;
    s.Clockwise = false;
    HighlightList none;
    RecordingCanvas c;
    RepaintCalendar(s, none, c, kToday);
    const auto first = CellPolygon(s, 21, 7);
    EXPECT_EQ(c.polygons[0].points, std::vector<QPoint>(first.begin(), first.end()));
    EXPECT_EQ(s.Cells.at(21, 7).date, D(10, 5, 1998));
    EXPECT_EQ(s.Cells.at(21, 1).date, D(10, 11, 1998));
    EXPECT_EQ(s.Cells.at(20, 7).date, D(10, 12, 1998));
    EXPECT_EQ(s.Cells.at(19, 6).date, D(10, 20, 1998));
    // Weekend outside: Saturday and Sunday on rings 2 and 1.
    EXPECT_EQ(s.Cells.at(20, 1).fill, s.PastColour);
    EXPECT_EQ(s.Cells.at(19, 7).fill, s.PastColour);
    EXPECT_EQ(s.Cells.at(19, 6).fill, s.DayColour);
}

TEST(Painter, OneDayAndEmptyPeriods) {
    CalendarState s;
    s.StartDate = s.EndDate = D(3, 3, 1999);
    HighlightList none;
    RecordingCanvas c;
    RepaintCalendar(s, none, c, kToday);
    EXPECT_EQ(c.polygons.size(), 1u);
    EXPECT_EQ(s.Cells.at(21, 3).date, D(3, 3, 1999));

    // A period that ends before it starts paints the background and no day.
    s.StartDate = D(3, 3, 1999);
    s.EndDate = D(3, 1, 1999);
    RecordingCanvas c2;
    RepaintCalendar(s, none, c2, kToday);
    EXPECT_FALSE(c2.fills.empty());
    EXPECT_TRUE(c2.polygons.empty());
    EXPECT_TRUE(s.Cells.at(21, 3).date.isNoDate());
}

TEST(Painter, FiftyThirdWeekWrapsOntoTheFirstSpoke) {
    CalendarState s;
    s.StartDate = D(1, 6, 1999); // a Wednesday
    s.EndDate = D(1, 5, 2000);
    HighlightList none;
    RecordingCanvas c;
    RepaintCalendar(s, none, c, D(1, 1, 1990));
    EXPECT_EQ(c.polygons.size(), 365u);
    EXPECT_EQ(s.Cells.at(21, 1).date, D(1, 3, 2000));
    EXPECT_EQ(s.Cells.at(21, 2).date, D(1, 4, 2000));
    EXPECT_EQ(s.Cells.at(21, 3).date, D(1, 5, 2000));
    EXPECT_EQ(s.Cells.at(21, 4).date, D(1, 7, 1999));
    EXPECT_EQ(s.Cells.at(20, 7).date, D(1, 2, 2000));
}

// A cell painted twice (the last day of a 365-day period lands on the first day's cell) records
// exactly the day painted last: its date, fill and description, or no description at all.
TEST(Painter, AWrappedCellDescribesTheDayPaintedOnIt) {
    CalendarState s;
    s.StartDate = D(8, 2, 2027); // a Monday
    s.EndDate = D(7, 31, 2028);
    HighlightList h;
    h.add(QStringLiteral("08/02/2027$255#First day of school"));
    RecordingCanvas c;
    RepaintCalendar(s, h, c, D(1, 1, 2027));
    const DayCell& wrapped = s.Cells.at(21, 1);
    EXPECT_EQ(wrapped.date, D(7, 31, 2028));
    EXPECT_EQ(wrapped.fill, s.DayColour);
    EXPECT_EQ(wrapped.description, QString());

    h.add(QStringLiteral("07/31/2028$65280#Last day"));
    RepaintCalendar(s, h, c, D(1, 1, 2027));
    EXPECT_EQ(wrapped.fill, 65280u);
    EXPECT_EQ(wrapped.description, QStringLiteral("Last day"));

    // A single cell painted again for a day without a highlight drops what the cell said.
    h.clear();
    h.add(QStringLiteral("08/02/2027$255#First day of school"));
    s.CurrentDate = D(7, 31, 2028);
    PaintCell(s, h, c, 21, 1);
    EXPECT_EQ(wrapped.fill, s.DayColour);
    EXPECT_EQ(wrapped.description, QString());
}

TEST(Painter, HighlightsColourAndDescribeCells) {
    CalendarState s = DefaultDesign();
    HighlightList h;
    h.add(QStringLiteral("10/20/1998$255#first"));
    h.add(QStringLiteral("10/20/1998$65280#second"));
    h.add(QStringLiteral("10/21/1998$16711680#") + QString(50, u'x'));
    h.add(QStringLiteral("10/10/1998$123#past day"));
    RecordingCanvas c;
    RepaintCalendar(s, h, c, kToday);
    EXPECT_EQ(s.Cells.at(23, 2).fill, 65280u);
    EXPECT_EQ(s.Cells.at(23, 2).description, QStringLiteral("second"));
    EXPECT_EQ(s.Cells.at(23, 3).description, QString(40, u'x'));
    // A highlight sets only the fill; the text keeps the colour of the past rule.
    EXPECT_EQ(s.Cells.at(21, 6).fill, 123u);
    EXPECT_EQ(s.Cells.at(21, 6).description, QStringLiteral("past day"));
}

TEST(Painter, SwitchesAndTodayAsPast) {
    CalendarState s = DefaultDesign();
    s.TodayAsPast = false;
    s.RepaintAll = false;
    HighlightList none;
    RecordingCanvas c;
    RepaintCalendar(s, none, c, kToday);
    EXPECT_TRUE(c.fills.empty());
    for (const auto& t : c.texts)
        EXPECT_EQ(t.escapement, 0);
    EXPECT_EQ(s.Cells.at(23, 1).fill, s.DayColour);
    EXPECT_EQ(s.Cells.at(22, 7).fill, s.PastColour);

    s.PaintPast = false;
    s.PaintWeekends = false;
    RepaintCalendar(s, none, c, kToday);
    EXPECT_EQ(s.Cells.at(22, 7).fill, s.DayColour);
    EXPECT_EQ(s.Cells.at(21, 5).fill, s.DayColour);
}

TEST(Painter, MonthBordersSkipTheStartMonth) {
    CalendarState s;
    s.StartDate = D(10, 9, 1998);
    s.EndDate = D(10, 8, 1999);
    HighlightList none;
    OrderCanvas c;
    RepaintCalendar(s, none, c, D(1, 1, 1990));
    DayDate d = s.StartDate;
    int chords = 0;
    int radials = 0;
    for (const auto& lines : c.cellLines) {
        const bool otherMonth = d.Month != 10;
        const int expected = (otherMonth && d.Day < 8 ? 1 : 0) +
                             (otherMonth && d.Day == 1 && Weekday(d) != 1 ? 1 : 0);
        EXPECT_EQ(static_cast<int>(lines.size()), expected) << DateText(d).toStdString();
        for (const auto& l : lines)
            EXPECT_EQ(l.width, 3);
        radials += otherMonth && d.Day < 8 ? 1 : 0;
        chords += otherMonth && d.Day == 1 && Weekday(d) != 1 ? 1 : 0;
        NextDay(d);
    }
    EXPECT_EQ(radials, 11 * 7);
    EXPECT_GT(chords, 8);
}

TEST(Painter, BorderSegmentsFollowRingOrderAndDirection) {
    CalendarState s;
    s.updateCentre(1024, 768);
    s.StartDate = D(10, 26, 1998);
    s.EndDate = D(11, 1, 1998); // Sunday 1 November, ring 7
    HighlightList none;
    OrderCanvas c;
    RepaintCalendar(s, none, c, D(1, 1, 1990));
    ASSERT_EQ(c.cellLines.size(), 7u);
    const auto& last = c.cellLines[6];
    ASSERT_EQ(last.size(), 2u);
    const int inner = RingInnerRadius(s, 7);
    // Chord on the outer edge (toward Saturday), radial at the spoke's start (clockwise).
    EXPECT_EQ(last[0].from, SpokePoint(s, inner + 24, 21));
    EXPECT_EQ(last[0].to, SpokePoint(s, inner + 24, 22));
    EXPECT_EQ(last[1].from, SpokePoint(s, inner, 21));
    EXPECT_EQ(last[1].to, SpokePoint(s, inner + 24, 21));
}

// Each repaint rebuilds the grid over the one before: what the earlier repaint wrote stays only
// where the new one writes the same.
TEST(Painter, ARepaintLeavesNothingOfTheGridBeforeIt) {
    CalendarState s = DefaultDesign();
    HighlightList h;
    h.add(QStringLiteral("10/20/1998$255#first"));
    h.add(QStringLiteral("10/21/1998$255#second"));
    RecordingCanvas c;
    RepaintCalendar(s, h, c, kToday);
    ASSERT_EQ(s.Cells.at(23, 2).description, QStringLiteral("first"));
    const DayCell before = s.Cells.at(30, 1);
    ASSERT_TRUE(IsRealDate(before.date));

    // One highlight gone, one changed, and a shorter period.
    h.clear();
    h.add(QStringLiteral("10/21/1998$65280#changed"));
    s.EndDate = D(10, 31, 1998);
    RepaintCalendar(s, h, c, kToday);
    EXPECT_EQ(s.Cells.at(23, 2).description, QString());
    EXPECT_EQ(s.Cells.at(23, 3).description, QStringLiteral("changed"));
    EXPECT_EQ(s.Cells.at(23, 3).fill, 65280u);
    EXPECT_FALSE(IsRealDate(s.Cells.at(30, 1).date));
    EXPECT_EQ(s.Cells.at(30, 1).fill, 0u);

    // A 53rd week's day without a highlight takes the cell of a first week's day and leaves
    // no description on it; one with a bad colour stops the paint and empties the cells after
    // it.
    s.StartDate = D(1, 6, 1999);
    s.EndDate = D(1, 5, 2000);
    h.clear();
    h.add(QStringLiteral("01/06/1999$255#first week"));
    RepaintCalendar(s, h, c, D(1, 1, 1990));
    EXPECT_EQ(s.Cells.at(21, 3).date, D(1, 5, 2000));
    EXPECT_EQ(s.Cells.at(21, 3).description, QString());
    h.add(QStringLiteral("01/07/1999$oops#"));
    EXPECT_THROW(RepaintCalendar(s, h, c, D(1, 1, 1990)), Error);
    EXPECT_EQ(s.Cells.at(21, 3).description, QStringLiteral("first week"));
    EXPECT_FALSE(IsRealDate(s.Cells.at(21, 4).date));
    EXPECT_FALSE(IsRealDate(s.Cells.at(22, 1).date));
}

// The period's highlight table is kept between repaints while the list and the period stay the
// same; every change of the list, and another list, must be seen by the next repaint.
TEST(Painter, EveryChangeOfTheListReachesTheNextRepaint) {
    CalendarState s = DefaultDesign();
    RecordingCanvas c;
    const auto fillOn20th = [&](const HighlightList& list) {
        RepaintCalendar(s, list, c, kToday);
        return s.Cells.at(23, 2).fill;
    };
    HighlightList h;
    h.add(QStringLiteral("10/20/1998$255#red"));
    EXPECT_EQ(fillOn20th(h), 255u);
    h.removeAt(0);
    EXPECT_EQ(fillOn20th(h), s.DayColour);
    h.addAll({QStringLiteral("10/20/1998$65280#green")});
    EXPECT_EQ(fillOn20th(h), 65280u);

    const HighlightList copy = h; // the same entries
    EXPECT_EQ(fillOn20th(copy), 65280u);
    h.clear();
    EXPECT_EQ(fillOn20th(h), s.DayColour);
    EXPECT_EQ(fillOn20th(copy), 65280u);
    EXPECT_EQ(fillOn20th(HighlightList()), s.DayColour);
    h.add(QStringLiteral("10/20/1998$16711680#blue"));
    EXPECT_EQ(fillOn20th(h), 16711680u);
    EXPECT_EQ(s.Cells.at(23, 2).description, QStringLiteral("blue"));
}

TEST(Painter, BadHighlightStopsThePaintAndRestoresThePointer) {
    CalendarState s = DefaultDesign();
    HighlightList h;
    h.add(QStringLiteral("10/12/1998$oops#"));
    RecordingCanvas c;
    RecordingHost host;
    try {
        RepaintCalendar(s, h, c, kToday, &host);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'oops' is not a valid integer value"));
    }
    EXPECT_EQ(host.busy, (std::vector<bool>{true, false}));
    EXPECT_EQ(c.polygons.size(), 3u); // 9, 10 and 11 October were painted
    EXPECT_EQ(s.Cells.at(21, 7).date, D(10, 11, 1998));
}

TEST(Painter, SuspendedRepaintDoesNothing) {
    CalendarState s = DefaultDesign();
    s.RepaintSuspended = true;
    HighlightList none;
    RecordingCanvas c;
    RecordingHost host;
    RepaintCalendar(s, none, c, kToday, &host);
    EXPECT_TRUE(host.busy.empty());
    EXPECT_TRUE(c.fills.empty());
    EXPECT_TRUE(c.polygons.empty());
}

TEST(Painter, RepaintColoursEveryCellAsASingleCellPaintWould) {
    // Entries that start with a day's text in either year form, entries that only look like
    // dates, and duplicates: the repaint's per-period look-up must pick what the list's own
    // look-up picks for every cell.
    const QStringList entries = {"01/03/1000$255#four digits",
                                 "01/03/10000$65280#five digits",
                                 "01/04/10000$777#",
                                 "01/05/1000x$123#",
                                 "1/06/1000$1#short",
                                 "01/07/1000$99#",
                                 "01/07/1000$98#later",
                                 "O1/08/1000$5#letter",
                                 "01/09/1000$-1#negative",
                                 "02/30/1000$4#no such day",
                                 "01/10/65535$3#",
                                 "12/31/9999$6#last four-digit"};
    // With thousands of entries outside the period as well, the repaint searches the list day
    // by day instead of reading all of it: the cells come out the same.
    for (const int outside : {0, 3000}) {
        for (const DayDate& start : {D(12, 28, 999), D(12, 20, 9999)}) {
            CalendarState s;
            s.StartDate = start;
            s.EndDate = AddDays(start, 30);
            HighlightList h;
            for (const QString& e : entries)
                h.add(e);
            for (int i = 0; i < outside; ++i)
                h.add(MakeEntry(DateText(AddDays(D(1, 1, 5000), i)), 42, QStringLiteral("far")));
            RecordingCanvas c;
            RepaintCalendar(s, h, c, kToday);
            int highlighted = 0;
            for (int spoke = 0; spoke < kSpokes; ++spoke)
                for (int ring = 1; ring <= kRings; ++ring) {
                    const DayCell& cell = s.Cells.at(spoke, ring);
                    if (cell.date.isNoDate())
                        continue;
                    const CellColours expected = ChooseCellColours(
                        s, h, cell.date, kToday, IsWeekendRing(s.WeekendInside, ring));
                    EXPECT_EQ(cell.fill, expected.fill) << DateText(cell.date).toStdString();
                    EXPECT_EQ(cell.description,
                              expected.entry ? EntryDescriptionView(*expected.entry, 40).toString()
                                             : QString());
                    highlighted += expected.entry ? 1 : 0;
                }
            EXPECT_GE(highlighted, 1);
        }
    }
}
