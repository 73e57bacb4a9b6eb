#include "Painter.h"

#include "Geometry.h"
#include "PeriodWalk.h"

#include <algorithm>

namespace gyrodex {

QString CreditLine() {
    return QStringLiteral("Gyrodex v1.0 - calendar wheel designer");
}

namespace {

constexpr int kDescriptionLength = 40;

// The day number as text; the texts of 0 to 31 are made once and shared.
QString DayText(int day) {
    static const QStringList texts = [] {
        QStringList list;
        for (int i = 0; i <= 31; ++i)
            list << QString::number(i);
        return list;
    }();
    return day >= 0 && day <= 31 ? texts.at(day) : QString::number(day);
}

// "Repaint All": the background over the whole image and the credit line up its right edge.
void ClearToBackground(const CalendarState& s, RasterCanvas& canvas) {
    canvas.setBrush(s.BackColour);
    canvas.setPen(s.BackColour, 1);
    // The background goes above and below the wheel's rows first and into them last, so the
    // rows the cells are drawn into next are still in the cache: same picture, faster repaint.
    const QRect image(0, 0, canvas.width(), canvas.height());
    // The wheel's rows, in 64 bits: the centre may lie anywhere a 32-bit offset puts it.
    const long long reach = static_cast<long long>(s.Radius) + s.ThickWidth;
    const long long top = std::max(static_cast<long long>(s.CentreY) - reach, -1LL);
    const long long bottom =
        std::min(static_cast<long long>(s.CentreY) + reach, 1LL + image.height());
    const QRect band = top > bottom ? QRect()
                                    : QRect(0, static_cast<int>(top), image.width(),
                                            static_cast<int>(bottom - top + 1))
                                          .intersected(image);
    if (band.isEmpty()) {
        canvas.fillRect(image);
    } else {
        canvas.fillRect(QRect(0, 0, image.width(), band.top()));
        canvas.fillRect(
            QRect(0, band.bottom() + 1, image.width(), image.height() - band.bottom() - 1));
        canvas.fillRect(band);
    }
    canvas.setFont(QStringLiteral("Arial"), 8, 0, s.BackTextColour, 900);
    const int h = canvas.textExtent(CreditLine()).height();
    canvas.textOut(canvas.width() - h - 2, canvas.height() - 4, CreditLine());
}

} // namespace

void RepaintCalendar(CalendarState& s, const HighlightList& highlights, RasterCanvas& canvas,
                     const DayDate& today, Host* host) {
    if (s.RepaintSuspended)
        return;
    const BusyGuard busy(host);

    s.updateCentre(canvas.width(), canvas.height());
    s.PaintStart = s.StartDate;
    s.PaintEnd = s.EndDate;
    s.Today = today;
    NextDay(s.PaintEnd);

    if (s.RepaintAll)
        ClearToBackground(s, canvas);

    canvas.setPen(s.ThickColour, s.ThickWidth);
    canvas.setFont(s.Font.name, s.Font.size, s.Font.style, s.Font.colour, 0);

    s.Cells.clear();
    // A period that ends before it starts (possible from a hand-edited file) paints no day.
    // CurrentDate follows the walk, so a paint stopped by an error names the day it stopped on.
    s.CurrentDate = WalkPeriod(s.StartDate, s.EndDate, LayoutOf(s), [&](const WalkDay& day) {
        s.CurrentDate = day.date;
        PaintCell(s, highlights, canvas, day.spoke, day.ring);
        s.Cells.at(day.spoke, day.ring).date = day.date;
    });
}

CellColours ChooseCellColours(const CalendarState& s, const HighlightList& highlights,
                              const DayDate& d, const DayDate& today, bool weekendRing) {
    CellColours c{s.DayColour, s.DayTextColour, nullptr};
    if (s.PaintWeekends && weekendRing) {
        c.fill = s.WeekendColour;
        c.text = s.WeekendTextColour;
    }
    if (s.PaintPast && (CompareDays(d, today) < 0 || (SameDay(d, today) && s.TodayAsPast))) {
        c.fill = s.PastColour;
        c.text = s.PastTextColour;
    }
    // Every matching entry is converted in list order, so a bad colour anywhere among them
    // stops the paint; the last one wins.
    const auto [first, last] = highlights.matching(DateText(d));
    for (qsizetype i = first; i < last; ++i) {
        c.entry = &highlights.at(i);
        c.fill = EntryColour(*c.entry);
    }
    return c;
}

void PaintCell(CalendarState& s, const HighlightList& highlights, RasterCanvas& canvas, int spoke,
               int ring) {
    const DayDate d = s.CurrentDate;
    DayCell& cell = s.Cells.at(((spoke % kSpokes) + kSpokes) % kSpokes, ring);

    canvas.setPen(s.ThinColour, s.ThinWidth);
    const bool weekendRing = IsWeekendRing(s.WeekendInside, ring);
    const CellColours colours = ChooseCellColours(s, highlights, d, s.Today, weekendRing);
    if (colours.entry)
        cell.description = EntryDescription(*colours.entry, kDescriptionLength);
    const Colour brush = colours.fill;
    const Colour text = colours.text;
    cell.fill = brush;
    canvas.setBrush(brush);
    canvas.setFontColour(text);

    const int inner = RingInnerRadius(s, ring);
    const int outer = inner + s.DayHeight;
    const auto corners = CellPolygon(s, spoke, ring);
    canvas.polygon(corners);

    const QString number = DayText(d.Day);
    const QSize extent = canvas.textExtent(number);
    const QPoint anchor = TextAnchor(s, spoke, ring);
    canvas.textOut(anchor.x() - extent.width() / 2, anchor.y() - extent.height() / 2, number);

    canvas.setPen(s.ThickColour, s.ThickWidth);
    const bool otherMonth = d.Month != s.PaintStart.Month;
    const int firstRing = s.WeekendInside ? 1 : kRings;
    if (d.Day == 1 && otherMonth && ring != firstRing) {
        const int rho = s.WeekendInside ? outer : inner;
        canvas.moveTo(SpokePoint(s, rho, spoke));
        canvas.lineTo(SpokePoint(s, rho, spoke + 1));
    }
    if (d.Day < 8 && otherMonth) {
        const int j = s.Clockwise ? spoke : spoke + 1;
        canvas.moveTo(SpokePoint(s, inner, j));
        canvas.lineTo(SpokePoint(s, outer, j));
    }
}

} // namespace gyrodex
