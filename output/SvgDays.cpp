#include "SvgDays.h"

#include "Geometry.h"
#include "Labels.h"
#include "PeriodWalk.h"

#include <QHash>
#include <vector>

namespace gyrodex {

namespace {

// The outline of a cell as the SVG writer gives a polygon's path.
QByteArray PathOf(const std::array<QPoint, 4>& corners) {
    QByteArray d;
    for (std::size_t i = 0; i <= corners.size(); ++i) {
        const QPoint& p = corners[i % corners.size()];
        d += (i == 0 ? "M" : " L") + QByteArray::number(p.x()) + ',' + QByteArray::number(p.y());
    }
    return d;
}

QByteArray Escaped(const QString& text) {
    return text.toHtmlEscaped().toUtf8();
}

} // namespace

QByteArray MarkSvgDays(const QByteArray& svg, const CalendarState& s,
                       const HighlightList& highlights) {
    struct Day {
        QByteArray path;
        DayDate date;
    };
    std::vector<Day> days;
    const WheelGeometry geometry = GeometryOf(s);
    WalkPeriod(s.StartDate, s.EndDate, LayoutOf(s), [&](const WalkDay& day) {
        days.push_back({PathOf(CellPolygon(geometry, day.spoke, day.ring)), day.date});
    });
    QHash<std::int32_t, QString> descriptions;
    for (const AgendaEntry& e : PeriodAgenda(s, highlights))
        descriptions.insert(DayNumber(e.date), e.description);
    const auto& dateText =
        s.LabelWords.agendaDate ? s.LabelWords.agendaDate : LabelTexts::English().agendaDate;

    static const QByteArray kPath = "<path vector-effect=\"none\" fill-rule=\"evenodd\" d=\"";
    QByteArray out;
    out.reserve(svg.size() + static_cast<qsizetype>(days.size()) * 96);
    std::size_t next = 0;
    qsizetype from = 0;
    while (next < days.size()) {
        const qsizetype at = svg.indexOf(kPath, from);
        if (at < 0)
            break;
        const qsizetype dStart = at + kPath.size();
        const qsizetype dEnd = svg.indexOf('"', dStart);
        const qsizetype close = svg.indexOf("/>", dEnd);
        if (dEnd < 0 || close < 0)
            break;
        out += svg.mid(from, close - from);
        from = close + 2;
        const Day& day = days[next];
        if (QByteArrayView(svg).sliced(dStart, dEnd - dStart) != day.path) {
            out += "/>";
            continue;
        }
        ++next;
        const QString iso = QStringLiteral("%1-%2-%3")
                                .arg(day.date.Year, 4, 10, QLatin1Char('0'))
                                .arg(day.date.Month, 2, 10, QLatin1Char('0'))
                                .arg(day.date.Day, 2, 10, QLatin1Char('0'));
        QString title = dateText(day.date);
        if (const auto it = descriptions.constFind(DayNumber(day.date));
            it != descriptions.constEnd() && !it->isEmpty())
            title += QStringLiteral(": ") + *it;
        out += " data-date=\"" + iso.toLatin1() + "\"><title>" + Escaped(title) + "</title></path>";
    }
    out += svg.mid(from);
    return out;
}

} // namespace gyrodex
