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

// Whether c is an ASCII digit, and its value.
int DigitValue(QChar c) {
    return c >= u'0' && c <= u'9' ? c.unicode() - u'0' : -1;
}

// Entries per day of the period up to which the table reads the whole list.
constexpr long long kWholeListReadPerDay = 16;

// The highlight entries of each day of a period. An entry belongs to a day when it starts with
// the day's date text; the list is kept in order, so the entries of a day come in list order.
// Only the days of the period are kept: an entry outside it colours nothing and stops nothing.
// The table is worked out for each repaint, unless the list is far longer than the period; then,
// as for a period that is not a real date range, each day searches the list. Single cells
// painted later look in the list itself, which a tool may have changed since.
class PeriodHighlights {
public:
    PeriodHighlights(const HighlightList& list, const DayDate& start, const DayDate& end)
        : list_(list), table_(list, start, end) {}

    // Calls f with every entry of day d and its colour, in list order; `number` is DayNumber(d).
    template <typename F> void forEach(const DayDate& d, std::int32_t number, F&& f) const {
        if (!table_.usable) {
            const auto [from, to] = list_.matching(DateText(d));
            for (qsizetype i = from; i < to; ++i)
                f(list_.at(i), EntryColour(list_.at(i)));
            return;
        }
        const std::int32_t day = number - table_.first;
        const auto& matches = table_.matches;
        auto it = std::lower_bound(matches.begin(), matches.end(), day,
                                   [](const Match& m, std::int32_t v) { return m.day < v; });
        for (; it != matches.end() && it->day == day; ++it) {
            const QString& entry = list_.at(it->entry);
            f(entry, it->colour ? static_cast<Colour>(*it->colour) : EntryColour(entry));
        }
    }

private:
    struct Match {
        std::int32_t day; // days after the period's first
        qsizetype entry;
        std::optional<std::int32_t> colour; // none when the entry's colour is bad
    };
    struct Table {
        Table(const HighlightList& list, const DayDate& start, const DayDate& end);
        bool usable;
        std::int32_t first = 0;
        std::vector<Match> matches;
    };
    const HighlightList& list_;
    Table table_;
};

PeriodHighlights::Table::Table(const HighlightList& list, const DayDate& start, const DayDate& end)
    : usable(IsRealDate(start) && IsRealDate(end)) {
    if (!usable)
        return;
    first = DayNumber(start);
    const std::int32_t last = DayNumber(end);
    // A list far longer than the period is searched day by day instead: reading all of it at
    // every repaint would cost more than a search per day.
    const long long days = std::max(static_cast<long long>(last) - first + 1, 1LL);
    if (list.size() > kWholeListReadPerDay * days) {
        usable = false;
        return;
    }
    const auto keep = [&](qsizetype entry, int month, int day, int year) {
        const DayDate d =
            MakeDayDate(static_cast<std::uint16_t>(day), static_cast<std::uint16_t>(month),
                        static_cast<std::uint16_t>(year));
        if (!IsRealDate(d))
            return;
        const std::int32_t n = DayNumber(d);
        if (n >= first && n <= last) {
            // The colour is read once here; a bad one is read again at its cell, which raises
            // the error there.
            matches.push_back({n - first, entry, ParseDecimal(EntryColourField(list.at(entry)))});
        }
    };
    for (qsizetype i = 0; i < list.size(); ++i) {
        // Date texts are "mm/dd/yyyy", with years past 9999 in five digits: an entry may start
        // with the text of a day in both forms.
        const QString& e = list.at(i);
        if (e.size() < 10 || e[2] != u'/' || e[5] != u'/')
            continue;
        int digits[11];
        bool ok = true;
        for (const int k : {0, 1, 3, 4, 6, 7, 8, 9})
            ok = ok && (digits[k] = DigitValue(e[k])) >= 0;
        if (!ok)
            continue;
        const int month = digits[0] * 10 + digits[1];
        const int day = digits[3] * 10 + digits[4];
        const int year = ((digits[6] * 10 + digits[7]) * 10 + digits[8]) * 10 + digits[9];
        keep(i, month, day, year);
        if (e.size() > 10 && (digits[10] = DigitValue(e[10])) >= 0 &&
            year * 10 + digits[10] > 9999 && year * 10 + digits[10] <= 65535)
            keep(i, month, day, year * 10 + digits[10]);
    }
    std::stable_sort(matches.begin(), matches.end(),
                     [](const Match& a, const Match& b) { return a.day < b.day; });
}

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
