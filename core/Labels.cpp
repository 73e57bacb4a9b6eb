#include "Labels.h"

#include "Integer.h"
#include "Painter.h"
#include "PeriodWalk.h"

#include <QFont>
#include <QFontMetrics>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <optional>
#include <set>

namespace gyrodex {

const LabelTexts& LabelTexts::English() {
    static const LabelTexts english{
        {"January", "February", "March", "April", "May", "June", "July", "August", "September",
         "October", "November", "December"},
        {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
        [](const DayDate& d) {
            static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
            return QStringLiteral("%1 %2/%3/%4")
                .arg(QLatin1StringView(days[Weekday(d)]))
                .arg(d.Month)
                .arg(d.Day)
                .arg(d.Year);
        }};
    return english;
}

namespace {

constexpr qsizetype kDescriptionLength = 255;

// Days since the Monday on or before d.
int DaysSinceMonday(const DayDate& d) {
    return (Weekday(d) + 6) % 7;
}

DayDate MondayOf(const DayDate& d) {
    return AddDays(d, -DaysSinceMonday(d));
}

} // namespace

IsoWeek IsoWeekOf(const DayDate& d) {
    const DayDate thursday = AddDays(d, 3 - DaysSinceMonday(d));
    const std::int32_t firstOfYear = DayNumber(MakeDayDate(1, 1, thursday.Year));
    return {thursday.Year, (DayNumber(thursday) - firstOfYear) / 7 + 1};
}

std::array<QString, kSpokes> SpokeWeekLabels(const CalendarDesign& s) {
    std::array<std::vector<int>, kSpokes> weeks;
    DayDate lastMonday;
    WalkPeriod(s.StartDate, s.EndDate, LayoutOf(s), [&](const WalkDay& day) {
        const DayDate monday = MondayOf(day.date);
        if (monday == lastMonday)
            return;
        lastMonday = monday;
        weeks[static_cast<std::size_t>(day.spoke)].push_back(IsoWeekOf(monday).week);
    });
    std::array<QString, kSpokes> labels;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        QStringList parts;
        // The later week first: it is the one painted last on the spoke.
        for (auto it = weeks[i].rbegin(); it != weeks[i].rend(); ++it)
            parts << QString::number(*it);
        labels[i] = parts.join(u'/');
    }
    return labels;
}

std::vector<AgendaEntry> PeriodAgenda(const CalendarDesign& s, const HighlightList& highlights) {
    std::vector<AgendaEntry> agenda;
    if (highlights.isEmpty())
        return agenda;
    WalkPeriod(s.StartDate, s.EndDate, LayoutOf(s), [&](const WalkDay& day) {
        const auto [first, last] = highlights.matching(DateText(day.date));
        if (first == last)
            return;
        const QString& entry = highlights.at(last - 1);
        const auto colour = ParseDecimal(EntryColourField(entry));
        if (!colour)
            return;
        agenda.push_back(
            {day.date, static_cast<Colour>(*colour), EntryDescription(entry, kDescriptionLength)});
    });
    return agenda;
}

std::vector<LegendEntry> PeriodLegend(const LabelSettings& labels,
                                      const std::vector<AgendaEntry>& agenda) {
    std::vector<LegendEntry> legend;
    std::set<Colour> seen;
    for (const AgendaEntry& e : agenda) {
        if (!seen.insert(e.colour).second)
            continue;
        const auto named = labels.ColourNames.find(e.colour);
        const bool hasName = named != labels.ColourNames.end() && !named->second.isEmpty();
        legend.push_back({e.colour, hasName ? named->second : e.description});
    }
    return legend;
}

QString TitleLine(const CalendarDesign& s) {
    QString title = s.Labels.TitleText.simplified();
    if (s.Labels.TitleYears && IsRealDate(s.StartDate) && IsRealDate(s.EndDate)) {
        QString years = QString::number(s.StartDate.Year);
        if (s.EndDate.Year != s.StartDate.Year)
            years += QChar(0x2013) + QString::number(s.EndDate.Year);
        title = title.isEmpty() ? years : title + u' ' + years;
    }
    return title;
}

bool BoxesOverlap(const std::array<QPointF, 4>& a, const std::array<QPointF, 4>& b) {
    // Separating axes: the edge normals of both boxes. Touching edges do not count.
    const auto separated = [](const std::array<QPointF, 4>& p, const std::array<QPointF, 4>& q) {
        for (std::size_t i = 0; i < 4; ++i) {
            const QPointF edge = p[(i + 1) % 4] - p[i];
            const QPointF normal(-edge.y(), edge.x());
            if (normal.isNull())
                continue;
            double pMin = 1e300, pMax = -1e300, qMin = 1e300, qMax = -1e300;
            for (const QPointF& v : p) {
                const double d = QPointF::dotProduct(v, normal);
                pMin = std::min(pMin, d);
                pMax = std::max(pMax, d);
            }
            for (const QPointF& v : q) {
                const double d = QPointF::dotProduct(v, normal);
                qMin = std::min(qMin, d);
                qMax = std::max(qMax, d);
            }
            const double slack = 1e-6 * std::max(1.0, std::abs(pMax) + std::abs(qMax));
            if (pMax <= qMin + slack || qMax <= pMin + slack)
                return true;
        }
        return false;
    };
    return !separated(a, b) && !separated(b, a);
}

namespace {

constexpr double kPi = std::numbers::pi;

// Between an agenda entry's date and its description: a wider space than between words, which
// a line break takes away.
const QString kGapWord = QStringLiteral("\u00a0");
const QString kGap = u' ' + kGapWord;

// The label font as the canvases build it (see MakeFont): measured here once per text, since
// wrapping an agenda measures many candidate lines that are never drawn.
class LabelFont {
public:
    LabelFont(const QString& name, int points, unsigned style)
        : name_(name),
          points_(std::clamp(points, LabelSettings::kMinFontSize, LabelSettings::kMaxFontSize)),
          style_(style), metrics_(font(name, points_, style)) {}

    const QString& name() const { return name_; }
    int points() const { return points_; }
    unsigned style() const { return style_; }
    int height() const { return metrics_.height(); }
    int width(const QString& text) const { return metrics_.horizontalAdvance(text); }

    // Greedy word wrap into lines no wider than `width`; a word wider than a line is broken
    // between characters. A word that is a lone no-break space (kGap) widens the space between
    // its neighbours, and goes where it would begin or end a line.
    QStringList wrap(const QString& text, int width) const {
        QStringList lines;
        QString line;
        const auto finish = [&lines](QString& l) {
            if (l.endsWith(kGap))
                l.chop(kGap.size());
            lines << l;
        };
        for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
            if (line.isEmpty() && word == kGapWord)
                continue;
            const QString candidate = line.isEmpty() ? word : line + u' ' + word;
            if (this->width(candidate) <= width) {
                line = candidate;
                continue;
            }
            if (!line.isEmpty())
                finish(line);
            line = word == kGapWord ? QString() : word;
            while (line.size() > 1 && this->width(line) > width) {
                qsizetype n = line.size() - 1;
                while (n > 1 && this->width(line.left(n)) > width)
                    --n;
                if (n < line.size() && line.at(n - 1).isHighSurrogate())
                    --n;
                n = std::max<qsizetype>(n, 1);
                lines << line.left(n);
                line = line.mid(n);
            }
        }
        if (!line.isEmpty() || lines.isEmpty())
            finish(line);
        return lines;
    }

private:
    static QFont font(const QString& name, int points, unsigned style) {
        QFont f(name);
        f.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))));
        f.setBold((style & Bold) != 0);
        f.setItalic((style & Italic) != 0);
        f.setStyleStrategy(QFont::NoAntialias);
        f.setHintingPreference(QFont::PreferFullHinting);
        return f;
    }
    QString name_;
    int points_;
    unsigned style_;
    QFontMetrics metrics_;
};

// A text of size w x h centred on `centre` and turned by `escapement`: where textOut's corner
// goes and the corners it covers.
PlacedLabel TurnedText(PlacedLabel::Kind kind, const QString& text, const LabelFont& font,
                       QPointF centre, int escapement) {
    const double w = font.width(text);
    const double h = font.height();
    const double a = escapement / 10.0 * kPi / 180.0;
    const QPointF ex(std::cos(a), -std::sin(a)); // along the text
    const QPointF ey(std::sin(a), std::cos(a));  // down the text
    const QPointF corner = centre - ex * (w / 2) - ey * (h / 2);
    PlacedLabel label{kind, text, corner.toPoint(), escapement, font.points(), font.style()};
    const QPointF o = label.origin;
    label.box = {o, o + ex * w, o + ex * w + ey * h, o + ey * h};
    return label;
}

PlacedLabel FlatText(PlacedLabel::Kind kind, const QString& text, const LabelFont& font,
                     QPoint origin) {
    PlacedLabel label{kind, text, origin, 0, font.points(), font.style()};
    const QRectF r(origin, QSizeF(font.width(text), font.height()));
    label.box = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
    return label;
}

// Escapement, in tenths of a degree, of text that runs along `degrees` (clockwise on the
// image from the +x axis), turned half round where it would read upside down.
int UprightEscapement(double degrees) {
    double a = std::fmod(-degrees, 360.0);
    if (a <= -180)
        a += 360;
    if (a > 180)
        a -= 360;
    if (a > 90.5 || a < -89.5)
        a += a > 0 ? -180 : 180;
    return static_cast<int>(std::lround(a * 10));
}

// The angle, clockwise from +x in degrees, of the middle of a spoke position (fractional spokes
// lie between spokes).
double SpokeDegrees(double spoke) {
    return (spoke + 0.5) * 360.0 / kSpokes;
}

bool OverlapsAny(const PlacedLabel& label, const std::vector<PlacedLabel>& placed) {
    return std::any_of(placed.begin(), placed.end(),
                       [&](const PlacedLabel& p) { return BoxesOverlap(label.box, p.box); });
}

// Whether a rectangle reaches into the disc of radius r round c.
bool ReachesDisc(const QRectF& rect, QPointF c, double r) {
    const double dx = std::max({rect.left() - c.x(), 0.0, c.x() - rect.right()});
    const double dy = std::max({rect.top() - c.y(), 0.0, c.y() - rect.bottom()});
    return dx * dx + dy * dy < r * r;
}

// Month names along the outside of the outer ring, each centred on the spokes holding the
// month's days. Returns how far out they reach.
double PlaceMonths(const CalendarDesign& s, const LabelTexts& words, const LabelFont& font,
                   QPointF centre, double ringEdge, std::vector<PlacedLabel>& out) {
    struct Span {
        int year, month;
        int firstWeek, lastWeek;
    };
    std::vector<Span> spans;
    const std::int32_t firstMonday = DayNumber(MondayOf(s.StartDate));
    WalkPeriod(s.StartDate, s.EndDate, LayoutOf(s), [&](const WalkDay& day) {
        const int week = (DayNumber(day.date) - firstMonday) / 7;
        if (spans.empty() || spans.back().month != day.date.Month ||
            spans.back().year != day.date.Year)
            spans.push_back({day.date.Year, day.date.Month, week, week});
        spans.back().lastWeek = week;
    });
    const double gap = std::max(3, font.height() / 4);
    const double rho = ringEdge + gap + font.height() / 2.0;
    std::vector<PlacedLabel> months;
    const int direction = s.Clockwise ? 1 : -1;
    for (const Span& m : spans) {
        const double spoke = s.StartWeek + direction * (m.firstWeek + m.lastWeek) / 2.0;
        const double degrees = SpokeDegrees(spoke);
        const double rad = degrees * kPi / 180.0;
        const QPointF at = centre + QPointF(std::cos(rad), std::sin(rad)) * rho;
        const auto index = static_cast<std::size_t>(std::clamp(m.month, 1, 12) - 1);
        for (const QString& name : {words.longMonthNames[index], words.shortMonthNames[index]}) {
            const PlacedLabel label = TurnedText(PlacedLabel::Kind::Month, name, font, at,
                                                 UprightEscapement(degrees + 90));
            if (!OverlapsAny(label, months)) {
                months.push_back(label);
                break;
            }
        }
    }
    out.insert(out.end(), months.begin(), months.end());
    return ringEdge + gap + font.height();
}

// Week numbers along the spokes, inside the inner ring when they fit there side by side, else
// outside `outsideEdge`. Returns how far out they reach (outsideEdge when inside).
double PlaceWeeks(const CalendarDesign& s, const LabelFont& font, QPointF centre, double innerEdge,
                  double outsideEdge, std::vector<PlacedLabel>& out) {
    const std::array<QString, kSpokes> labels = SpokeWeekLabels(s);
    int widest = 0;
    for (const QString& l : labels)
        widest = std::max(widest, font.width(l));
    const double gap = std::max(3, font.height() / 4);
    // Neighbouring labels are one spoke apart: at the inner end of the widest they must still
    // clear each other by a pixel.
    const double innerEnd = innerEdge - gap - widest;
    const bool inside = innerEnd * 2 * std::sin(kPi / kSpokes) >= font.height() + 1;
    for (int spoke = 0; spoke < kSpokes; ++spoke) {
        const QString& text = labels[static_cast<std::size_t>(spoke)];
        if (text.isEmpty())
            continue;
        const double w = font.width(text);
        const double rho = inside ? innerEdge - gap - w / 2 : outsideEdge + gap + w / 2;
        const double degrees = SpokeDegrees(spoke);
        const double rad = degrees * kPi / 180.0;
        const QPointF at = centre + QPointF(std::cos(rad), std::sin(rad)) * rho;
        out.push_back(
            TurnedText(PlacedLabel::Kind::Week, text, font, at, UprightEscapement(degrees)));
    }
    return inside ? outsideEdge : outsideEdge + gap + widest;
}

// The text of the credit line, which runs up the image's right edge, is kept clear of.
int CreditStripWidth() {
    const LabelFont credit(QStringLiteral("Arial"), 8, 0);
    return credit.height() + 4;
}

// Columns the colour key and the agenda flow into, top to bottom, then left to right.
class Columns {
public:
    // Columns of about `targetWidth` across the region; none in a region narrower than
    // `minWidth`.
    void add(const QRect& region, int targetWidth, int minWidth, int gap) {
        if (region.width() < minWidth || region.height() <= 0)
            return;
        const int n = std::max(1, (region.width() + gap) / (targetWidth + gap));
        const int width = (region.width() - (n - 1) * gap) / n;
        for (int i = 0; i < n; ++i)
            columns_.push_back(
                QRect(region.left() + i * (width + gap), region.top(), width, region.height()));
    }
    bool empty() const { return columns_.empty(); }
    const QRect& current() const { return columns_[index_]; }
    bool isLast() const { return index_ + 1 >= columns_.size(); }
    int y() const { return y_; }
    void start() { y_ = columns_.empty() ? 0 : columns_.front().top(); }
    void advance(int height) { y_ += height; }
    bool next() {
        if (isLast())
            return false;
        ++index_;
        y_ = columns_[index_].top();
        return true;
    }

private:
    std::vector<QRect> columns_;
    std::size_t index_ = 0;
    int y_ = 0;
};

// One entry of the key or the agenda: a swatch and wrapped text.
struct FlowEntry {
    Colour colour;
    QString text;
    bool agenda;
};

void PlaceFlow(const std::vector<FlowEntry>& entries, int agendaCount, const LabelFont& font,
               Columns& columns, std::vector<PlacedLabel>& out) {
    const int h = font.height();
    const int swatch = std::max(3, h - 4);
    const int indent = h + std::max(3, h / 3);
    const int spacing = std::max(2, h / 4);
    columns.start();
    int placedAgenda = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const FlowEntry& e = entries[i];
        const bool last = i + 1 == entries.size();
        // A line's room between the colour key and the agenda.
        if (i > 0 && e.agenda && !entries[i - 1].agenda)
            columns.advance(h);
        bool placed = false;
        while (!placed) {
            const QRect& column = columns.current();
            const QStringList lines = font.wrap(e.text, column.width() - indent);
            const int height = static_cast<int>(lines.size()) * h;
            // In the last column, room is kept for the line that counts what is left out.
            const int need = height + (columns.isLast() && !last ? spacing + h : 0);
            if (columns.y() + need <= column.bottom() + 1) {
                const int y = columns.y();
                PlacedLabel box{
                    PlacedLabel::Kind::Swatch, {}, QPoint(column.left(), y + (h - swatch) / 2)};
                box.colour = e.colour;
                const QRectF r(box.origin, QSizeF(swatch, swatch));
                box.box = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
                out.push_back(box);
                for (qsizetype k = 0; k < lines.size(); ++k)
                    out.push_back(
                        FlatText(PlacedLabel::Kind::Text, lines[k], font,
                                 QPoint(column.left() + indent, y + static_cast<int>(k) * h)));
                columns.advance(height + spacing);
                placed = true;
                placedAgenda += e.agenda ? 1 : 0;
            } else if (!columns.next()) {
                const int left = agendaCount - placedAgenda;
                const int y = columns.y();
                if (left > 0 && y + h <= columns.current().bottom() + 1)
                    out.push_back(
                        FlatText(PlacedLabel::Kind::More,
                                 QStringLiteral("%1 and %2 more").arg(QChar(0x2026)).arg(left),
                                 font, QPoint(columns.current().left(), y)));
                return;
            }
        }
    }
}

} // namespace

std::vector<PlacedLabel> LayoutLabels(const CalendarDesign& s, const HighlightList& highlights,
                                      const RepaintResult& r, const LabelTexts& words,
                                      QSize image) {
    std::vector<PlacedLabel> out;
    const LabelSettings& labels = s.Labels;
    if (!labels.anyShown())
        return out;
    const LabelFont font(labels.FontName, labels.FontSize, 0);
    const QPointF centre(r.CentreX, r.CentreY);
    const double pen = s.ThickWidth / 2.0 + 1;
    double reach = s.Radius + pen; // how far out the wheel and its ring labels go
    if (labels.Months)
        reach = PlaceMonths(s, words, font, centre, reach, out);
    if (labels.Weeks) {
        const double innerEdge = s.Radius - static_cast<double>(kRings) * s.DayHeight - pen;
        reach = PlaceWeeks(s, font, centre, innerEdge, reach, out);
    }
    const int h = font.height();
    const int margin = std::max(4, h / 2);
    reach += margin;
    const QRect page(margin, margin, image.width() - CreditStripWidth() - 2 * margin,
                     image.height() - 2 * margin);
    int top = page.top();

    if (labels.Title) {
        const QString title = TitleLine(s);
        if (!title.isEmpty()) {
            // Twice the label size, smaller when that is wider than the page; at the top centre
            // or, where the wheel comes up to the top, in a corner clear of it.
            int points = std::min(2 * font.points(), LabelSettings::kMaxFontSize);
            std::optional<PlacedLabel> chosen;
            while (!chosen) {
                const LabelFont titleFont(labels.FontName, points, Bold);
                const int w = titleFont.width(title);
                const bool smallest = points <= std::max(1, font.points() / 2);
                if (w <= page.width() || smallest) {
                    for (const int x : {page.left() + (page.width() - w) / 2, page.left(),
                                        page.right() + 1 - w}) {
                        const PlacedLabel label = FlatText(PlacedLabel::Kind::Title, title,
                                                           titleFont, QPoint(x, page.top()));
                        if (!ReachesDisc(QRectF(label.box[0], label.box[2]), centre, reach)) {
                            chosen = label;
                            break;
                        }
                    }
                    if (!chosen && smallest)
                        chosen = FlatText(PlacedLabel::Kind::Title, title, titleFont,
                                          QPoint(page.left() + (page.width() - w) / 2, page.top()));
                }
                points = std::max(1, points * 5 / 6);
            }
            out.push_back(*chosen);
            top = static_cast<int>(std::ceil(chosen->box[2].y())) + margin;
        }
    }

    if (labels.Legend || labels.Agenda) {
        const std::vector<AgendaEntry> agenda = PeriodAgenda(s, highlights);
        std::vector<FlowEntry> entries;
        if (labels.Legend)
            for (const LegendEntry& e : PeriodLegend(labels, agenda))
                entries.push_back({e.colour, e.name, false});
        int agendaCount = 0;
        if (labels.Agenda) {
            const auto& date =
                words.agendaDate ? words.agendaDate : LabelTexts::English().agendaDate;
            for (const AgendaEntry& e : agenda)
                entries.push_back({e.colour, date(e.date) + kGap + u' ' + e.description, true});
            agendaCount = static_cast<int>(agenda.size());
        }
        // Beside the wheel (left and right of it) or above and below it, whichever leaves
        // more room; the larger region of the two first.
        const QRect area(page.left(), top, page.width(), page.bottom() + 1 - top);
        const QRect disc(static_cast<int>(std::floor(centre.x() - reach)),
                         static_cast<int>(std::floor(centre.y() - reach)),
                         static_cast<int>(std::ceil(2 * reach)) + 1,
                         static_cast<int>(std::ceil(2 * reach)) + 1);
        const QRect right = QRect(QPoint(disc.right() + 1, area.top()), area.bottomRight());
        const QRect left = QRect(area.topLeft(), QPoint(disc.left() - 1, area.bottom()));
        const QRect below = QRect(QPoint(area.left(), disc.bottom() + 1), area.bottomRight());
        const QRect above = QRect(area.topLeft(), QPoint(area.right(), disc.top() - 1));
        const auto size = [](const QRect& q) {
            return q.isValid() ? static_cast<long long>(q.width()) * q.height() : 0LL;
        };
        std::array<QRect, 2> regions = size(left) + size(right) >= size(above) + size(below)
                                           ? std::array<QRect, 2>{right, left}
                                           : std::array<QRect, 2>{below, above};
        if (size(regions[1]) > size(regions[0]))
            std::swap(regions[0], regions[1]);
        Columns columns;
        const int columnWidth = 22 * h;
        const int gap = 2 * h;
        // The strips beside a wheel that fills the image's height are narrow, but still hold a
        // date and a few words a line.
        for (const QRect& region : regions)
            if (region.isValid())
                columns.add(region, columnWidth, 6 * h, gap);
        if (!columns.empty() && !entries.empty())
            PlaceFlow(entries, agendaCount, font, columns, out);
    }
    return out;
}

void PaintLabels(const CalendarDesign& s, const HighlightList& highlights, const RepaintResult& r,
                 const LabelTexts& words, RasterCanvas& canvas) {
    if (!s.Labels.anyShown())
        return;
    for (const PlacedLabel& label :
         LayoutLabels(s, highlights, r, words, QSize(canvas.width(), canvas.height()))) {
        if (label.kind == PlacedLabel::Kind::Swatch) {
            canvas.setPen(s.BackTextColour, 1);
            canvas.setBrush(label.colour);
            const std::array<QPoint, 4> corners = {label.box[0].toPoint(), label.box[1].toPoint(),
                                                   label.box[2].toPoint(), label.box[3].toPoint()};
            canvas.polygon(corners);
            continue;
        }
        canvas.setFont(s.Labels.FontName, label.points, label.style, s.BackTextColour,
                       label.escapement);
        canvas.textOut(label.origin.x(), label.origin.y(), label.text);
    }
    // The day font and the thick pen, as the walk left them, for the single cells the tools
    // paint afterwards.
    canvas.setFont(s.Font.name, s.Font.size, s.Font.style, s.Font.colour, 0);
    canvas.setPen(s.ThickColour, s.ThickWidth);
}

} // namespace gyrodex
