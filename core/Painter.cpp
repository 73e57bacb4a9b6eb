#include "Painter.h"

#include "Geometry.h"
#include "Integer.h"
#include "Labels.h"
#include "PeriodWalk.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace gyrodex {

QString CreditLine() {
    return QStringLiteral("Gyrodex v1.0 - calendar wheel designer");
}

namespace {

constexpr int kDescriptionLength = 40;

// The day number as text; the texts of 0 to 31 are made once and shared, without a copy a
// cell. Another number is written into `other`.
const QString& DayText(int day, QString& other) {
    static const QStringList texts = [] {
        QStringList list;
        for (int i = 0; i <= 31; ++i)
            list << QString::number(i);
        return list;
    }();
    if (day >= 0 && day <= 31)
        return texts.at(day);
    other = QString::number(day);
    return other;
}

// The highlight entries of each day of a period. An entry belongs to a day when it starts with
// the day's date text; the list is kept in order, so the entries of a day come in list order.
// Between real dates they are found in the list's index by day; otherwise each day searches
// the list. Single cells painted later look in the list itself, which a tool may have changed
// since.
class PeriodHighlights {
public:
    PeriodHighlights(const HighlightList& list, const DayDate& start, const DayDate& end)
        : list_(list), indexed_(IsRealDate(start) && IsRealDate(end)) {
        if (!indexed_)
            return;
        // Only the days of the period: an entry outside it colours nothing and stops nothing.
        const auto& all = list.byDay();
        from_ = std::lower_bound(all.begin(), all.end(), DayNumber(start), DayBefore);
        to_ = std::lower_bound(from_, all.end(), DayNumber(end) + 1, DayBefore);
    }

    // Calls f with every entry of day d and its colour, in list order; `number` is DayNumber(d).
    template <typename F> void forEach(const DayDate& d, std::int32_t number, F&& f) const {
        if (!indexed_) {
            const auto [first, last] = list_.matching(DateText(d));
            for (qsizetype i = first; i < last; ++i)
                f(list_.at(i), EntryColour(list_.at(i)));
            return;
        }
        auto it = std::lower_bound(from_, to_, number, DayBefore);
        for (; it != to_ && it->day == number; ++it) {
            const QString& entry = list_.at(it->entry);
            // A bad colour is read again here, which raises the error at its cell.
            f(entry, it->colour ? static_cast<Colour>(*it->colour) : EntryColour(entry));
        }
    }

private:
    static bool DayBefore(const HighlightList::DayEntry& e, std::int32_t day) {
        return e.day < day;
    }
    using Iterator = std::vector<HighlightList::DayEntry>::const_iterator;
    const HighlightList& list_;
    bool indexed_;
    Iterator from_{}, to_{};
};

// The points of every cell of spokes 0..51: the same values CellPolygon, TextAnchor and
// SpokePoint give. They depend on the radius, the ring height and the centre only.
class WheelPoints {
public:
    explicit WheelPoints(const WheelGeometry& s) {
        long double innerBefore = 0;
        for (int ring = 1; ring <= kRings; ++ring) {
            const long double inner = RingInnerRadius(s, ring);
            const long double outer = inner + s.DayHeight;
            auto& r = rings_[static_cast<std::size_t>(ring - 1)];
            // A ring's outer edge is the inner edge of the ring outside it.
            if (ring > 1 && outer == innerBefore)
                r.outer = rings_[static_cast<std::size_t>(ring - 2)].inner;
            else
                for (int j = 0; j <= kSpokes; ++j)
                    r.outer[static_cast<std::size_t>(j)] = SpokePoint(s, outer, j);
            for (int j = 0; j <= kSpokes; ++j)
                r.inner[static_cast<std::size_t>(j)] = SpokePoint(s, inner, j);
            innerBefore = inner;
            for (int k = 0; k < kSpokes; ++k)
                r.anchor[static_cast<std::size_t>(k)] = TextAnchor(s, k, ring);
        }
    }
    std::array<QPoint, 4> corners(int spoke, int ring) const {
        const Ring& r = rings_[static_cast<std::size_t>(ring - 1)];
        const auto a = static_cast<std::size_t>(spoke);
        return {r.inner[a], r.outer[a], r.outer[a + 1], r.inner[a + 1]};
    }
    QPoint anchor(int spoke, int ring) const {
        return rings_[static_cast<std::size_t>(ring - 1)].anchor[static_cast<std::size_t>(spoke)];
    }
    QPoint inner(int ring, int j) const {
        return rings_[static_cast<std::size_t>(ring - 1)].inner[static_cast<std::size_t>(j)];
    }
    QPoint outer(int ring, int j) const {
        return rings_[static_cast<std::size_t>(ring - 1)].outer[static_cast<std::size_t>(j)];
    }

private:
    struct Ring {
        std::array<QPoint, kSpokes + 1> inner, outer;
        std::array<QPoint, kSpokes> anchor;
    };
    std::array<Ring, kRings> rings_;
};

// The points of a cell of any spoke, computed as asked.
struct DirectPoints {
    const WheelGeometry s;
    std::array<QPoint, 4> corners(int spoke, int ring) const { return CellPolygon(s, spoke, ring); }
    QPoint anchor(int spoke, int ring) const { return TextAnchor(s, spoke, ring); }
    QPoint inner(int ring, int j) const { return SpokePoint(s, RingInnerRadius(s, ring), j); }
    QPoint outer(int ring, int j) const {
        return SpokePoint(s, RingInnerRadius(s, ring) + s.DayHeight, j);
    }
};

// Sets `target` to the entry's description, keeping its text when that is already it: the
// descriptions of a repaint are mostly those of the one before.
void SetDescription(QString& target, const QString& entry) {
    const QStringView text = EntryDescriptionView(entry, kDescriptionLength);
    if (target != text)
        target = text.toString();
}

// The grid as a repaint rebuilds it: the cells the walk reaches are written over as it goes,
// and those it did not reach are emptied when it ends, however it ends.
class GridRebuild {
public:
    explicit GridRebuild(CellGrid& grid) : grid_(grid) {}
    ~GridRebuild() {
        for (int spoke = 0; spoke < kSpokes; ++spoke)
            for (int ring = 1; ring <= kRings; ++ring)
                if (!reached_[index(spoke, ring)])
                    grid_.at(spoke, ring) = DayCell{};
    }
    GridRebuild(const GridRebuild&) = delete;
    GridRebuild& operator=(const GridRebuild&) = delete;

    void reach(int spoke, int ring) { reached_[index(spoke, ring)] = true; }

private:
    static std::size_t index(int spoke, int ring) {
        return static_cast<std::size_t>(spoke) * kRings + static_cast<std::size_t>(ring - 1);
    }
    CellGrid& grid_;
    std::array<bool, kSpokes * kRings> reached_{};
};

// The colours of a cell: week day, weekend, past (asked of `isPast` only when the past is
// painted), then every matching highlight in list order (each converted, so a bad colour among
// them stops the paint; the last one wins).
template <typename IsPast, typename ForEachEntry>
CellColours ColoursOf(const CalendarDesign& s, bool weekendRing, IsPast&& isPast,
                      ForEachEntry&& forEachEntry) {
    CellColours c{s.DayColour, s.DayTextColour, nullptr};
    if (s.PaintWeekends && weekendRing) {
        c.fill = s.WeekendColour;
        c.text = s.WeekendTextColour;
    }
    if (s.PaintPast && isPast()) {
        c.fill = s.PastColour;
        c.text = s.PastTextColour;
    }
    forEachEntry([&c](const QString& entry, Colour colour) {
        c.entry = &entry;
        c.fill = colour;
    });
    return c;
}

// Paints the cell of day `d` with the colours `chooseColours` gives at the points `points`
// gives, and records its fill and description in the grid of `result` when `record` is set. The
// record describes the day painted last: a cell reached again (a 53rd week paints over the first
// week's cells) takes the later day's description, or none when that day has no highlight.
template <typename ChooseColours, typename Points>
void PaintCellAt(const CalendarDesign& s, RepaintResult& result, const DayDate d,
                 ChooseColours&& chooseColours, const Points& points, RasterCanvas& canvas,
                 int spoke, int ring, bool record = true) {
    canvas.setPen(s.ThinColour, s.ThinWidth);
    const CellColours colours = chooseColours();
    if (record) {
        DayCell& cell = result.Cells.at(((spoke % kSpokes) + kSpokes) % kSpokes, ring);
        if (colours.entry)
            SetDescription(cell.description, *colours.entry);
        else
            cell.description.clear();
        cell.fill = colours.fill;
    }
    canvas.setBrush(colours.fill);
    canvas.setFontColour(colours.text);

    const auto corners = points.corners(spoke, ring);
    canvas.polygon(corners);

    QString other;
    const QString& number = DayText(d.Day, other);
    const QSize extent = canvas.textExtent(number);
    const QPoint anchor = points.anchor(spoke, ring);
    canvas.textOut(anchor.x() - extent.width() / 2, anchor.y() - extent.height() / 2, number);

    canvas.setPen(s.ThickColour, s.ThickWidth);
    const bool otherMonth = d.Month != result.PaintStart.Month;
    const int firstRing = s.WeekendInside ? 1 : kRings;
    if (d.Day == 1 && otherMonth && ring != firstRing) {
        // Along the ring's outer edge with the weekend inside, else along its inner edge.
        const auto edge = [&](int j) {
            return s.WeekendInside ? points.outer(ring, j) : points.inner(ring, j);
        };
        canvas.moveTo(edge(spoke));
        canvas.lineTo(edge(spoke + 1));
    }
    if (d.Day < 8 && otherMonth) {
        const int j = s.Clockwise ? spoke : spoke + 1;
        canvas.moveTo(points.inner(ring, j));
        canvas.lineTo(points.outer(ring, j));
    }
}

// "Repaint All": the background over the whole image and the credit line up its right edge.
void ClearToBackground(const CalendarDesign& s, RasterCanvas& canvas) {
    canvas.setBrush(s.BackColour);
    canvas.setPen(s.BackColour, 1);
    canvas.fillRect(QRect(0, 0, canvas.width(), canvas.height()));
    canvas.setFont(QStringLiteral("Arial"), 8, 0, s.BackTextColour, 900);
    const int h = canvas.textExtent(CreditLine()).height();
    canvas.textOut(canvas.width() - h - 2, canvas.height() - 4, CreditLine());
}

// The wheel painted into `canvas`; the grid of cells in `r` is rebuilt only when `recordCells`
// is set (a band painted beside another needs just the pixels).
void PaintWheel(const CalendarDesign& s, const HighlightList& highlights, RasterCanvas& canvas,
                const DayDate& today, RepaintResult& r, Host* host, const LabelTexts& words,
                bool recordCells) {
    const BusyGuard busy(host);

    r.updateCentre(s, canvas.width(), canvas.height());
    r.PaintStart = s.StartDate;
    r.PaintEnd = s.EndDate;
    r.Today = today;
    NextDay(r.PaintEnd);

    if (s.RepaintAll)
        ClearToBackground(s, canvas);

    canvas.setPen(s.ThickColour, s.ThickWidth);
    canvas.setFont(s.Font.name, s.Font.size, s.Font.style, s.Font.colour, 0);

    std::optional<GridRebuild> grid;
    if (recordCells)
        grid.emplace(r.Cells);
    // A period that ends before it starts (possible from a hand-edited file) paints no day.
    // StopDay follows the walk, so a paint stopped by an error names the day it stopped on.
    const PeriodHighlights periodHighlights(highlights, s.StartDate, s.EndDate);
    const WheelPoints points(GeometryOf(s, r));
    // The walk's days follow one another from the start date, so between real dates their day
    // numbers count up from the start's; other dates are numbered one by one.
    const bool counted = IsRealDate(s.StartDate) && IsRealDate(s.EndDate);
    std::int32_t next = counted ? DayNumber(s.StartDate) : 0;
    const std::int32_t todayNumber = DayNumber(r.Today);
    r.StopDay = WalkPeriod(s.StartDate, s.EndDate, LayoutOf(s), [&](const WalkDay& day) {
        r.StopDay = day.date;
        const std::int32_t number = counted ? next++ : DayNumber(day.date);
        const auto colours = [&] {
            return ColoursOf(
                s, day.weekendRing,
                [&] {
                    return number < todayNumber || (SameDay(day.date, r.Today) && s.TodayAsPast);
                },
                [&](auto&& f) { periodHighlights.forEach(day.date, number, f); });
        };
        PaintCellAt(s, r, day.date, colours, points, canvas, day.spoke, day.ring, recordCells);
        if (recordCells) {
            grid->reach(day.spoke, day.ring);
            r.Cells.at(day.spoke, day.ring).date = day.date;
        }
    });
    PaintLabels(s, highlights, r, words, canvas);
}

} // namespace

void RepaintCalendar(const CalendarDesign& s, const HighlightList& highlights, RasterCanvas& canvas,
                     const DayDate& today, RepaintResult& r, Host* host, const LabelTexts& words) {
    PaintWheel(s, highlights, canvas, today, r, host, words, true);
}

void RepaintCalendar(CalendarState& s, const HighlightList& highlights, RasterCanvas& canvas,
                     const DayDate& today, Host* host) {
    if (s.RepaintSuspended)
        return;
    // The tools take the day the walk stopped on as the current day, however the paint ended.
    struct Stop {
        CalendarState& s;
        ~Stop() { s.CurrentDate = s.StopDay; }
    } stop{s};
    RepaintCalendar(static_cast<const CalendarDesign&>(s), highlights, canvas, today,
                    static_cast<RepaintResult&>(s), host, s.LabelWords);
}

void RepaintCalendar(CalendarState& s, const HighlightList& highlights, ImageCanvas& canvas,
                     const DayDate& today, Host* host) {
    if (s.RepaintSuspended)
        return;
    RepaintResult centre;
    centre.updateCentre(s, canvas.width(), canvas.height());
    // The second band reads the design, which the first leaves alone, and its own copy of the
    // label words (their date format may hold a locale); it keeps no grid of cells.
    const LabelTexts words = s.LabelWords;
    canvas.paintInBands(centre.CentreY, [&](RasterCanvas& band, bool primary) {
        if (primary) {
            RepaintCalendar(s, highlights, band, today, host);
            return;
        }
        RepaintResult unused;
        PaintWheel(static_cast<const CalendarDesign&>(s), highlights, band, today, unused, nullptr,
                   words, false);
    });
}

CellColours ChooseCellColours(const CalendarDesign& s, const HighlightList& highlights,
                              const DayDate& d, const DayDate& today, bool weekendRing) {
    const auto isPast = [&] {
        return CompareDays(d, today) < 0 || (SameDay(d, today) && s.TodayAsPast);
    };
    return ColoursOf(s, weekendRing, isPast, [&](auto&& f) {
        const auto [first, last] = highlights.matching(DateText(d));
        for (qsizetype i = first; i < last; ++i)
            f(highlights.at(i), EntryColour(highlights.at(i)));
    });
}

void PaintCell(CalendarState& s, const HighlightList& highlights, RasterCanvas& canvas, int spoke,
               int ring) {
    const auto colours = [&] {
        return ChooseCellColours(s, highlights, s.CurrentDate, s.Today,
                                 IsWeekendRing(s.WeekendInside, ring));
    };
    PaintCellAt(s, s, s.CurrentDate, colours, DirectPoints{GeometryOf(s)}, canvas, spoke, ring);
}

} // namespace gyrodex
