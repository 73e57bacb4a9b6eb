#include "Cli.h"

#include "Error.h"
#include "Geometry.h"
#include "ImageCanvas.h"
#include "Painter.h"

#include <QDate>
#include <QFileInfo>
#include <QRegularExpression>
#include <optional>

namespace gyrodex {

namespace {

constexpr int kMaxSide = 32767;
constexpr qint64 kMaxImageBytes = 512LL * 1024 * 1024;

const char* const kUsage =
    "usage: gyrodex-cli COMMAND [options]\n"
    "commands:\n"
    "  render --out FILE      paint the wheel and write it as .png or .bmp\n"
    "  cells                  print 'spoke ring MM/DD/YYYY fill description' per dated cell\n"
    "  hit X Y                print 'spoke ring MM/DD/YYYY' for an image point\n"
    "options:\n"
    "  --size WxH  --today MM/DD/YYYY  --start MM/DD/YYYY  --end MM/DD/YYYY\n"
    "  --start-week N  --radius N  --day-height N  --offset X,Y  --anticlockwise\n"
    "  --weekend-outside  --no-weekends  --no-past  --today-not-past  --no-repaint-all\n"
    "  --highlight ENTRY (repeatable)\n";

struct UsageError {
    QString message;
};

struct Options {
    QString command;
    QStringList positional;
    QSize size{1024, 768};
    std::optional<DayDate> today, start, end;
    QString out;
    CalendarState state;
    HighlightList highlights;
};

std::optional<DayDate> ParseDate(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^(\\d{2})/(\\d{2})/(\\d{4})$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const DayDate d = MakeDayDate(static_cast<std::uint16_t>(m.captured(2).toUInt()),
                                  static_cast<std::uint16_t>(m.captured(1).toUInt()),
                                  static_cast<std::uint16_t>(m.captured(3).toUInt()));
    if (!IsRealDate(d))
        return std::nullopt;
    return d;
}

std::optional<int> ParseInt(const QString& text) {
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    return ok ? std::optional<int>(v) : std::nullopt;
}

class ArgReader {
public:
    explicit ArgReader(const QStringList& args) : args_(args) {}
    bool atEnd() const { return i_ >= args_.size(); }
    QString next() { return args_.at(i_++); }
    QString value(const QString& option) {
        if (atEnd())
            throw UsageError{QStringLiteral("missing value for %1").arg(option)};
        return next();
    }
    int intValue(const QString& option, int lo, int hi) {
        const QString text = value(option);
        const auto v = ParseInt(text);
        if (!v || *v < lo || *v > hi)
            throw UsageError{QStringLiteral("invalid %1 '%2' (expected a whole number from %3 "
                                            "to %4)")
                                 .arg(option, text)
                                 .arg(lo)
                                 .arg(hi)};
        return *v;
    }
    DayDate dateValue(const QString& option) {
        const QString text = value(option);
        const auto d = ParseDate(text);
        if (!d)
            throw UsageError{QStringLiteral("invalid %1 '%2' (expected a real date MM/DD/YYYY)")
                                 .arg(option, text)};
        return *d;
    }

private:
    const QStringList& args_;
    qsizetype i_ = 0;
};

Options ParseArgs(const QStringList& args) {
    Options o;
    ArgReader r(args);
    if (r.atEnd())
        throw UsageError{QStringLiteral("missing command")};
    o.command = r.next();
    if (o.command != u"render" && o.command != u"cells" && o.command != u"hit")
        throw UsageError{QStringLiteral("unknown command '%1'").arg(o.command)};
    while (!r.atEnd()) {
        const QString a = r.next();
        CalendarState& s = o.state;
        if (a == u"--size") {
            const QString text = r.value(a);
            static const QRegularExpression re(QStringLiteral("^(\\d{1,9})x(\\d{1,9})$"));
            const auto m = re.match(text);
            const qint64 w = m.hasMatch() ? m.captured(1).toLongLong() : 0;
            const qint64 h = m.hasMatch() ? m.captured(2).toLongLong() : 0;
            if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide || w * h * 4 > kMaxImageBytes)
                throw UsageError{QStringLiteral("invalid --size '%1' (expected WxH, each side 1 to "
                                                "32767, at most 512 MiB)")
                                     .arg(text)};
            o.size = QSize(static_cast<int>(w), static_cast<int>(h));
        } else if (a == u"--today") {
            o.today = r.dateValue(a);
        } else if (a == u"--start") {
            o.start = r.dateValue(a);
        } else if (a == u"--end") {
            o.end = r.dateValue(a);
        } else if (a == u"--start-week") {
            s.StartWeek = r.intValue(a, 0, 51);
        } else if (a == u"--radius") {
            s.Radius = r.intValue(a, 60, 2048);
        } else if (a == u"--day-height") {
            s.DayHeight = r.intValue(a, 1, 128);
        } else if (a == u"--offset") {
            const QString text = r.value(a);
            const QStringList parts = text.split(u',');
            const auto x = parts.size() == 2 ? ParseInt(parts[0]) : std::nullopt;
            const auto y = parts.size() == 2 ? ParseInt(parts[1]) : std::nullopt;
            if (!x || !y)
                throw UsageError{QStringLiteral("invalid --offset '%1' (expected X,Y)").arg(text)};
            s.CentreOffsetX = *x;
            s.CentreOffsetY = *y;
        } else if (a == u"--anticlockwise") {
            s.Clockwise = false;
        } else if (a == u"--weekend-outside") {
            s.WeekendInside = false;
        } else if (a == u"--no-weekends") {
            s.PaintWeekends = false;
        } else if (a == u"--no-past") {
            s.PaintPast = false;
        } else if (a == u"--today-not-past") {
            s.TodayAsPast = false;
        } else if (a == u"--no-repaint-all") {
            s.RepaintAll = false;
        } else if (a == u"--highlight") {
            o.highlights.add(r.value(a));
        } else if (a == u"--out") {
            o.out = r.value(a);
        } else if (a.startsWith(u"--") || o.command != u"hit") {
            throw UsageError{QStringLiteral("unknown argument '%1'").arg(a)};
        } else {
            o.positional << a;
        }
    }
    if (o.command == u"render" && o.out.isEmpty())
        throw UsageError{QStringLiteral("render needs --out FILE")};
    if (o.command == u"hit") {
        if (o.positional.size() != 2)
            throw UsageError{QStringLiteral("hit needs the coordinates X Y")};
        for (const QString& p : o.positional)
            if (!ParseInt(p))
                throw UsageError{QStringLiteral("invalid coordinate '%1'").arg(p)};
    }
    if (!o.out.isEmpty()) {
        const QString suffix = QFileInfo(o.out).suffix().toLower();
        if (suffix != u"png" && suffix != u"bmp")
            throw UsageError{
                QStringLiteral("invalid --out '%1' (expected a .png or .bmp file)").arg(o.out)};
    }
    return o;
}

DayDate SystemToday() {
    const QDate q = QDate::currentDate();
    return MakeDayDate(static_cast<std::uint16_t>(q.day()), static_cast<std::uint16_t>(q.month()),
                       static_cast<std::uint16_t>(q.year()));
}

} // namespace

int RunCli(const QStringList& args, QTextStream& out, QTextStream& err) {
    Options o;
    try {
        o = ParseArgs(args);
    } catch (const UsageError& e) {
        err << "gyrodex-cli: " << e.message << "\n" << kUsage;
        err.flush();
        return 2;
    }
    try {
        const DayDate today = o.today.value_or(SystemToday());
        CalendarState& s = o.state;
        s.setDefaultPeriod(today);
        if (o.start)
            s.StartDate = *o.start;
        if (o.end)
            s.EndDate = *o.end;

        ImageCanvas canvas(o.size);
        RepaintCalendar(s, o.highlights, canvas, today);

        if (o.command == u"render") {
            const QString format = QFileInfo(o.out).suffix().toLower() == u"bmp" ? "BMP" : "PNG";
            if (!canvas.image().save(o.out, format.toLatin1().constData()))
                throw Error(QStringLiteral("Unable to write to %1").arg(o.out));
        } else if (o.command == u"cells") {
            for (int spoke = 0; spoke < kSpokes; ++spoke)
                for (int ring = 1; ring <= kRings; ++ring) {
                    const DayCell& c = s.Cells.at(spoke, ring);
                    if (c.date.isNoDate())
                        continue;
                    out << spoke << ' ' << ring << ' ' << DateText(c.date) << ' '
                        << static_cast<std::int32_t>(c.fill) << ' ' << c.description << '\n';
                }
        } else {
            const HitResult h = HitTest(s, o.positional[0].toInt(), o.positional[1].toInt());
            out << h.spoke << ' ' << h.ring << ' ' << DateText(h.date) << '\n';
        }
    } catch (const Error& e) {
        err << e.message() << '\n';
        err.flush();
        out.flush();
        return 1;
    }
    out.flush();
    return 0;
}

} // namespace gyrodex
