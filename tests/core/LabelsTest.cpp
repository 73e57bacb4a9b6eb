#include "Labels.h"

#include "../TestDates.h"
#include "Geometry.h"
#include "Painter.h"
#include "RecordingCanvas.h"

#include <QDate>
#include <gtest/gtest.h>

using namespace gyrodex;
using gyrodex::test::D;
using gyrodex::test::RecordingCanvas;

namespace {

QString Entry(const DayDate& d, Colour colour, const QString& description) {
    return MakeEntry(DateText(d), colour, description);
}

// A school year on an A4 page at 300 dots per inch, every label on.
CalendarState SchoolYear() {
    CalendarState s;
    s.StartDate = D(8, 30, 2027);
    s.EndDate = D(7, 21, 2028);
    s.StartWeek = 39;
    s.Radius = 1100;
    s.DayHeight = 70;
    s.CentreOffsetY = -500;
    s.Labels.Months = s.Labels.Weeks = s.Labels.Title = s.Labels.TitleYears = true;
    s.Labels.Legend = s.Labels.Agenda = true;
    s.Labels.TitleText = QStringLiteral("Riverside School");
    s.Labels.FontSize = 24;
    return s;
}

std::array<QPointF, 4> Quad(const std::array<QPoint, 4>& p) {
    return {QPointF(p[0]), QPointF(p[1]), QPointF(p[2]), QPointF(p[3])};
}

} // namespace

TEST(IsoWeek, AgreesWithQDateOnEveryDayFrom1980To2100) {
    for (QDate q(1980, 1, 1); q.year() <= 2100; q = q.addDays(1)) {
        int year = 0;
        const int week = q.weekNumber(&year);
        const IsoWeek w = IsoWeekOf(FromQDate(q));
        ASSERT_EQ(w.week, week) << q.toString(Qt::ISODate).toStdString();
        ASSERT_EQ(w.year, year) << q.toString(Qt::ISODate).toStdString();
    }
}

TEST(IsoWeek, SpokesOfPeriodsIn53WeekYears) {
    // 2026 has 53 weeks; the calendar year touches 53 Monday-to-Sunday weeks, the last of which
    // comes back to the first spoke.
    CalendarDesign s;
    s.StartDate = D(1, 1, 2026);
    s.EndDate = D(12, 31, 2026);
    s.StartWeek = 10;
    auto labels = SpokeWeekLabels(s);
    EXPECT_EQ(labels[10], QStringLiteral("53/1"));
    EXPECT_EQ(labels[11], QStringLiteral("2"));
    EXPECT_EQ(labels[9], QStringLiteral("52"));

    // Anticlockwise, the weeks go down the spokes.
    s.Clockwise = false;
    labels = SpokeWeekLabels(s);
    EXPECT_EQ(labels[10], QStringLiteral("53/1"));
    EXPECT_EQ(labels[9], QStringLiteral("2"));

    // A school year across the 53rd week of 2020 and 2032: week 53, then week 1, one spoke each.
    for (const int year : {2020, 2032}) {
        CalendarDesign y;
        y.StartDate = D(9, 1, year);
        y.EndDate = D(6, 30, year + 1);
        y.StartWeek = 0;
        const DayDate monday53 = AddDays(D(12, 31, year), -((Weekday(D(12, 31, year)) + 6) % 7));
        const int spoke53 = (DayNumber(monday53) - DayNumber(D(9, 1, year)) + 6) / 7;
        const auto l = SpokeWeekLabels(y);
        EXPECT_EQ(l[static_cast<std::size_t>(spoke53)], QStringLiteral("53")) << year;
        EXPECT_EQ(l[static_cast<std::size_t>(spoke53 + 1)], QStringLiteral("1")) << year;
        EXPECT_EQ(l[51], QString()) << year; // the period holds fewer than 52 weeks
    }
}

TEST(Labels, AgendaInDateOrderWithTheCellsColourAndWholeDescription) {
    CalendarDesign s = SchoolYear();
    HighlightList h;
    const QString longText = QString(200, u'x') + QStringLiteral(" end");
    h.add(Entry(D(1, 10, 2028), 255, QStringLiteral("Term starts")));
    h.add(Entry(D(9, 1, 2027), 255, QStringLiteral("First day")));
    h.add(Entry(D(9, 1, 2027), 65280, QStringLiteral("Assembly"))); // later entry wins
    h.add(Entry(D(10, 5, 2027), 16711680, longText));
    h.add(Entry(D(8, 1, 2027), 255, QStringLiteral("Before the period")));
    h.add(QStringLiteral("10/06/2027$red#Bad colour"));

    const auto agenda = PeriodAgenda(s, h);
    ASSERT_EQ(agenda.size(), 3u);
    EXPECT_EQ(agenda[0].date, D(9, 1, 2027));
    EXPECT_EQ(agenda[0].colour, 65280u);
    EXPECT_EQ(agenda[0].description, QStringLiteral("Assembly"));
    EXPECT_EQ(agenda[1].description, longText);
    EXPECT_EQ(agenda[2].date, D(1, 10, 2028));

    // Each colour once; a named colour by its name, another by its first day's description.
    s.Labels.ColourNames[255] = QStringLiteral("Holidays");
    const auto legend = PeriodLegend(s.Labels, agenda);
    ASSERT_EQ(legend.size(), 3u);
    EXPECT_EQ(legend[0].name, QStringLiteral("Assembly"));
    EXPECT_EQ(legend[2].name, QStringLiteral("Holidays"));

    EXPECT_EQ(TitleLine(s), QStringLiteral("Riverside School 2027\u20132028"));
    s.EndDate = D(12, 31, 2027);
    s.Labels.TitleText = QStringLiteral("  Year  ");
    EXPECT_EQ(TitleLine(s), QStringLiteral("Year 2027"));
}

TEST(Labels, PlacedLabelsOverlapNeitherEachOtherNorTheCellsAndStayOnTheImage) {
    CalendarState s = SchoolYear();
    HighlightList h;
    for (int i = 0; i < 16; ++i)
        h.add(Entry(AddDays(s.StartDate, i * 20), static_cast<Colour>(0x1000 * (i % 5)),
                    QStringLiteral("Event number %1 with a description long enough to wrap "
                                   "onto a second line of its column")
                        .arg(i)));
    RecordingCanvas canvas(2480, 3508);
    RepaintCalendar(s, h, canvas, D(1, 1, 2027));
    const auto labels = LayoutLabels(s, h, s, s.LabelWords, QSize(canvas.width(), canvas.height()));

    std::map<PlacedLabel::Kind, int> counts;
    for (const PlacedLabel& l : labels)
        ++counts[l.kind];
    EXPECT_EQ(counts[PlacedLabel::Kind::Month], 12);
    int weeks = 0;
    for (const QString& w : SpokeWeekLabels(s))
        weeks += w.isEmpty() ? 0 : 1;
    EXPECT_EQ(weeks, 47);
    EXPECT_EQ(counts[PlacedLabel::Kind::Week], weeks);
    EXPECT_EQ(counts[PlacedLabel::Kind::Title], 1);
    EXPECT_EQ(counts[PlacedLabel::Kind::Swatch], 21); // 5 colours and 16 days
    EXPECT_EQ(counts[PlacedLabel::Kind::More], 0);

    std::vector<std::array<QPointF, 4>> cells;
    for (int spoke = 0; spoke < kSpokes; ++spoke)
        for (int ring = 1; ring <= kRings; ++ring)
            cells.push_back(Quad(CellPolygon(s, spoke, ring)));
    const QRectF image(0, 0, canvas.width(), canvas.height());
    for (std::size_t i = 0; i < labels.size(); ++i) {
        for (const QPointF& p : labels[i].box)
            EXPECT_TRUE(image.contains(p)) << labels[i].text.toStdString();
        for (std::size_t j = i + 1; j < labels.size(); ++j)
            EXPECT_FALSE(BoxesOverlap(labels[i].box, labels[j].box))
                << labels[i].text.toStdString() << " / " << labels[j].text.toStdString();
        for (const auto& cell : cells)
            EXPECT_FALSE(BoxesOverlap(labels[i].box, cell)) << labels[i].text.toStdString();
    }
}

TEST(Labels, WhatDoesNotFitIsCountedAndSmallWheelsTakeWeeksOutside) {
    CalendarState s = SchoolYear();
    s.Radius = 250;
    s.DayHeight = 24;
    s.CentreOffsetY = 0;
    s.Labels.FontSize = 10;
    HighlightList h;
    for (int i = 0; i < 200; ++i)
        h.add(Entry(AddDays(s.StartDate, i), 255, QStringLiteral("Day %1").arg(i)));
    RecordingCanvas canvas(1024, 768);
    s.updateCentre(canvas.width(), canvas.height());
    const auto labels = LayoutLabels(s, h, s, LabelTexts::English(), QSize(1024, 768));

    int agendaLines = 0;
    QString more;
    double weekDistance = 0;
    for (const PlacedLabel& l : labels) {
        if (l.kind == PlacedLabel::Kind::Text && l.text.contains(QStringLiteral("\u00a0 Day ")))
            ++agendaLines;
        if (l.kind == PlacedLabel::Kind::More)
            more = l.text;
        if (l.kind == PlacedLabel::Kind::Week) {
            const QPointF mid = (l.box[0] + l.box[2]) / 2 - QPointF(s.CentreX, s.CentreY);
            weekDistance = std::hypot(mid.x(), mid.y());
        }
    }
    ASSERT_GT(agendaLines, 0);
    EXPECT_LT(agendaLines, 200);
    EXPECT_EQ(more, QStringLiteral("\u2026 and %1 more").arg(200 - agendaLines));
    // The inner ring's 82 pixels hold no 52 labels side by side: they go outside the months.
    EXPECT_GT(weekDistance, s.Radius);
}

TEST(Labels, TheDefaultWheelKeepsItsKeyAndAgendaInTheStripsBesideIt) {
    // 1024 x 768 with the default radius: the wheel fills the height.
    CalendarState s;
    s.setDefaultPeriod(D(12, 8, 2026));
    s.Labels.Months = s.Labels.Title = s.Labels.Legend = s.Labels.Agenda = true;
    s.Labels.TitleText = QStringLiteral("Family");
    HighlightList h;
    h.add(Entry(D(12, 24, 2026), 255, QStringLiteral("Christmas Eve at grandma's")));
    h.add(Entry(D(1, 15, 2027), 65280, QStringLiteral("Dentist")));
    s.updateCentre(1024, 768);
    const auto labels = LayoutLabels(s, h, s, LabelTexts::English(), QSize(1024, 768));
    int swatches = 0;
    for (const PlacedLabel& l : labels) {
        swatches += l.kind == PlacedLabel::Kind::Swatch ? 1 : 0;
        for (const PlacedLabel& other : labels)
            EXPECT_TRUE(&l == &other || !BoxesOverlap(l.box, other.box)) << l.text.toStdString();
    }
    EXPECT_EQ(swatches, 4);
}

TEST(Labels, NothingIsDrawnWhenOffAndTheDayFontIsBackAfterwards) {
    CalendarState s = SchoolYear();
    HighlightList h;
    RecordingCanvas on(2480, 3508);
    RepaintCalendar(s, h, on, D(1, 1, 2027));
    EXPECT_EQ(on.fontName, s.Font.name);
    EXPECT_EQ(on.escapement, 0);
    EXPECT_EQ(on.pen, s.ThickColour);

    s.Labels.Months = s.Labels.Weeks = s.Labels.Title = s.Labels.Legend = s.Labels.Agenda = false;
    RecordingCanvas off(2480, 3508);
    RepaintCalendar(s, h, off, D(1, 1, 2027));
    EXPECT_LT(off.texts.size(), on.texts.size());
    for (const auto& t : off.texts)
        EXPECT_TRUE(t.text == CreditLine() || t.text.toInt() > 0) << t.text.toStdString();
}
