#include "ICalendar.h"

#include "Error.h"
#include "Highlights.h"
#include "SaveFile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cstdlib>
#include <libical/ical.h>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace gyrodex {

namespace {

struct CssName {
    const char* name;
    std::uint32_t rgb; // 0xRRGGBB
};

constexpr CssName kCssColours[] = {
#include "CssColours.inc"
};

Colour FromRgb(std::uint32_t rgb) {
    return Rgb((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// The property our export writes with the exact colour field of the entries.
constexpr const char* kExactColour = "X-GYRODEX-COLOR";

// A colour field our export writes and our import takes back as it is: a decimal number that
// fits the 32 bits of a colour.
bool IsColourField(const QString& field) {
    static const QRegularExpression re(QStringLiteral("^-?[0-9]{1,10}$"));
    bool ok = false;
    (void)field.toInt(&ok, 10);
    return ok && re.match(field).hasMatch();
}

// A description as one line of plain text: a line break (CR LF, CR or LF) and any other
// control character but the tab become a space. libical writes no backspace or form feed, so
// only text of this kind comes back from a file as it went in.
QString PlainText(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (QChar& c : text)
        if ((c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7F)
            c = u' ';
    return text;
}

// libical drops the blanks (spaces and tabs) at either end of a value it reads, so a
// description gets none there: what is imported then comes back the same from an export.
QString WithoutEdgeBlanks(const QString& text) {
    qsizetype from = 0, to = text.size();
    while (from < to && (text[from] == u' ' || text[from] == u'\t'))
        ++from;
    while (to > from && (text[to - 1] == u' ' || text[to - 1] == u'\t'))
        --to;
    return text.mid(from, to - from);
}

struct ComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

struct IteratorFree {
    void operator()(icalrecur_iterator* i) const { icalrecur_iterator_free(i); }
};

// Seconds of a time's own fields (its wall clock), or nothing for fields that name no day.
std::optional<qint64> WallSeconds(const icaltimetype& t) {
    const QDate d(t.year, t.month, t.day);
    if (!d.isValid())
        return std::nullopt;
    const qint64 seconds = t.is_date ? 0 : t.hour * 3600LL + t.minute * 60LL + t.second;
    return d.toJulianDay() * 86400 + seconds;
}

// The time expressed in the frame of an event's start: the start's zone when both have one.
icaltimetype InFrame(icaltimetype t, const icaltimetype& frame) {
    if (!frame.is_date && !t.is_date && t.zone && frame.zone && t.zone != frame.zone)
        return icaltime_convert_to_zone(t, const_cast<icaltimezone*>(frame.zone));
    return t;
}

// The zone a property's TZID names: the calendar's own VTIMEZONE, else libical's zone of
// that name.
const icaltimezone* ZoneOf(icalproperty* p, icalcomponent* calendar) {
    icalparameter* param = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER);
    const char* tzid = param ? icalparameter_get_tzid(param) : nullptr;
    if (!tzid || !*tzid)
        return nullptr;
    if (calendar)
        if (icaltimezone* z = icalcomponent_get_timezone(calendar, tzid))
            return z;
    return icaltimezone_get_builtin_timezone(tzid);
}

icaltimetype WithZone(icaltimetype t, icalproperty* p, icalcomponent* calendar) {
    if (!t.is_date && !icaltime_is_utc(t))
        if (const icaltimezone* z = ZoneOf(p, calendar))
            t.zone = z;
    return t;
}

// The dates to leave out of a recurrence (EXDATE) or that an override replaces
// (RECURRENCE-ID): exact times, and whole days for date values.
struct Exclusions {
    std::set<qint64> times;
    std::set<qint64> days; // Julian days
    void add(const icaltimetype& t, const icaltimetype& frame) {
        const icaltimetype f = InFrame(t, frame);
        const auto s = WallSeconds(f);
        if (!s)
            return;
        if (t.is_date || frame.is_date)
            days.insert(*s / 86400);
        else
            times.insert(*s);
    }
    bool contains(qint64 seconds) const {
        return times.count(seconds) || days.count(seconds / 86400);
    }
};

// The recurrence ids of the overrides, by the UID of the event they change.
using Overrides = std::map<QByteArray, std::vector<icaltimetype>>;

struct Full {}; // more new entries than the list has room for

class Importer {
public:
    Importer(const IcsImport& how, const QSet<QString>& existing, qsizetype room)
        : how_(how), existing_(existing), room_(room), first_(ToQDate(how.first)),
          last_(ToQDate(how.last)) {}

    void calendar(icalcomponent* calendar) {
        Overrides overrides;
        for (icalcomponent* e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
             e; e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
            icalproperty* rid = icalcomponent_get_first_property(e, ICAL_RECURRENCEID_PROPERTY);
            const char* uid = icalcomponent_get_uid(e);
            if (rid && uid)
                overrides[QByteArray(uid)].push_back(
                    WithZone(icalproperty_get_recurrenceid(rid), rid, calendar));
        }
        for (icalcomponent* e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
             e; e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
            event(calendar, e, overrides);
    }

    QStringList entries() const {
        QStringList list(found_.begin(), found_.end());
        list.sort();
        return list;
    }

private:
    void event(icalcomponent* calendar, icalcomponent* e, const Overrides& overrides) {
        if (!first_.isValid() || !last_.isValid() || first_ > last_)
            return;
        if (icalcomponent_get_status(e) == ICAL_STATUS_CANCELLED)
            return;
        const icaltimetype start = icalcomponent_get_dtstart(e);
        const auto startSeconds = WallSeconds(start);
        if (icaltime_is_null_time(start) || !startSeconds)
            return;
        const QString tail = entryTail(e);

        // How long each occurrence lasts: whole days for a date, seconds of its wall clock for
        // a time (an event longer than the period is cut to it below anyway).
        constexpr qint64 kLongest = 200LL * 366 * 86400;
        const icaltimetype end = icalcomponent_get_dtend(e);
        const auto endSeconds =
            icaltime_is_null_time(end) ? std::nullopt : WallSeconds(InFrame(end, start));
        qint64 length = endSeconds ? std::clamp(*endSeconds - *startSeconds, 0LL, kLongest) : 0;
        if (start.is_date)
            length = std::max<qint64>(length, 86400);

        const bool isOverride = icalcomponent_get_first_property(e, ICAL_RECURRENCEID_PROPERTY);
        std::set<qint64> starts{*startSeconds};
        if (!isOverride) {
            Exclusions excluded;
            for (icalproperty* p = icalcomponent_get_first_property(e, ICAL_EXDATE_PROPERTY); p;
                 p = icalcomponent_get_next_property(e, ICAL_EXDATE_PROPERTY))
                excluded.add(WithZone(icalproperty_get_exdate(p), p, calendar), start);
            if (const char* uid = icalcomponent_get_uid(e))
                if (const auto o = overrides.find(QByteArray(uid)); o != overrides.end())
                    for (const icaltimetype& t : o->second)
                        excluded.add(t, start);
            recurrences(e, start, length, starts);
            for (icalproperty* p = icalcomponent_get_first_property(e, ICAL_RDATE_PROPERTY); p;
                 p = icalcomponent_get_next_property(e, ICAL_RDATE_PROPERTY)) {
                const icaldatetimeperiodtype r = icalproperty_get_rdate(p);
                const icaltimetype t = icaltime_is_null_time(r.time) ? r.period.start : r.time;
                if (const auto s = WallSeconds(InFrame(WithZone(t, p, calendar), start)))
                    starts.insert(start.is_date ? *s / 86400 * 86400 : *s);
            }
            std::erase_if(starts, [&excluded](qint64 s) { return excluded.contains(s); });
        }

        const bool utc = !start.is_date && icaltime_is_utc(start);
        for (const qint64 s : starts) {
            const QDateTime wall =
                QDateTime(QDate::fromJulianDay(s / 86400), QTime(0, 0), QTimeZone::utc())
                    .addSecs(s % 86400);
            if (start.is_date) {
                cover(wall.date(), wall.date().addDays(length / 86400 - 1), tail);
                continue;
            }
            // A UTC time is shown in the local zone; a zoned or floating one is its own wall
            // clock already.
            QDateTime from = wall, to = wall.addSecs(length);
            if (utc) {
                from = from.toTimeZone(how_.localZone);
                to = to.toTimeZone(how_.localZone);
            }
            QDate lastDay = to.date();
            // An event that ends at midnight does not touch the day that begins then.
            if (to > from && to.time() == QTime(0, 0))
                lastDay = lastDay.addDays(-1);
            cover(from.date(), std::max(lastDay, from.date()), tail);
        }
    }

    // Adds the starts of the event's recurrence rules that can touch the period.
    void recurrences(icalcomponent* e, const icaltimetype& start, qint64 length,
                     std::set<qint64>& starts) {
        // A rule is followed from the first start that can reach the period to the last one
        // that begins in it, a day of margin either side for the shift to the local zone.
        const qint64 from = first_.toJulianDay() * 86400 - length - 2 * 86400;
        const qint64 to = (last_.toJulianDay() + 2) * 86400;
        for (icalproperty* p = icalcomponent_get_first_property(e, ICAL_RRULE_PROPERTY); p;
             p = icalcomponent_get_next_property(e, ICAL_RRULE_PROPERTY)) {
            const icalrecurrencetype rule = icalproperty_get_rrule(p);
            if (rule.freq == ICAL_NO_RECURRENCE)
                continue;
            std::unique_ptr<icalrecur_iterator, IteratorFree> it(
                icalrecur_iterator_new(rule, start));
            if (!it)
                continue;
            // An endless rule that began long ago starts at the period (a rule with a COUNT
            // has to be counted from its first date).
            const QDate jump = QDate::fromJulianDay(from / 86400);
            if (rule.count == 0 && from > *WallSeconds(start) && jump.isValid()) {
                icaltimetype t = start;
                t.year = jump.year();
                t.month = jump.month();
                t.day = jump.day();
                (void)icalrecur_iterator_set_start(it.get(), t);
            }
            for (icaltimetype t = icalrecur_iterator_next(it.get()); !icaltime_is_null_time(t);
                 t = icalrecur_iterator_next(it.get())) {
                if (++steps_ > how_.maxSteps)
                    throw Error(QStringLiteral("the recurrence rules give more than %1 dates")
                                    .arg(how_.maxSteps));
                const auto s = WallSeconds(t);
                if (!s || *s > to)
                    break;
                if (*s >= from)
                    starts.insert(*s);
            }
        }
    }

    // "$colour#description" for the event's entries.
    QString entryTail(icalcomponent* e) const {
        QString field;
        bool exact = false;
        for (icalproperty* p = icalcomponent_get_first_property(e, ICAL_X_PROPERTY); p;
             p = icalcomponent_get_next_property(e, ICAL_X_PROPERTY)) {
            const char* name = icalproperty_get_x_name(p);
            const char* value = icalproperty_get_x(p);
            if (name && value && qstricmp(name, kExactColour) == 0 &&
                IsColourField(QString::fromLatin1(value))) {
                field = QString::fromLatin1(value);
                exact = true;
                break;
            }
        }
        if (field.isEmpty()) {
            std::optional<Colour> colour;
            if (icalproperty* p = icalcomponent_get_first_property(e, ICAL_COLOR_PROPERTY))
                if (const char* name = icalproperty_get_color(p))
                    colour = CssColour(QString::fromUtf8(name).trimmed());
            if (!colour && how_.legend)
                if (icalproperty* p = icalcomponent_get_first_property(e, ICAL_CATEGORIES_PROPERTY))
                    if (const char* names = icalproperty_get_categories(p))
                        colour =
                            how_.legend(QString::fromUtf8(names).section(u',', 0, 0).trimmed());
            field = QString::number(static_cast<std::int32_t>(colour.value_or(how_.colour)));
        }
        const char* summary = icalcomponent_get_summary(e);
        QString description = summary ? DecodeLine(QByteArrayView(summary)) : QString();
        description = PlainText(description);
        // Our own events carry their description whole, so that they come back exactly.
        if (!exact)
            description = LeftWhole(description, kShownDescription).toString();
        description = WithoutEdgeBlanks(description);
        return QLatin1Char('$') + field + QLatin1Char('#') + description;
    }

    void cover(QDate from, QDate to, const QString& tail) {
        from = std::max(from, first_);
        to = std::min(to, last_);
        for (QDate d = from; d.isValid() && d <= to; d = d.addDays(1)) {
            const QString entry = DateText(FromQDate(d)) + tail;
            if (existing_.contains(entry) || found_.contains(entry))
                continue;
            if (found_.size() >= room_)
                throw Full{};
            found_.insert(entry);
        }
    }

    const IcsImport& how_;
    const QSet<QString>& existing_;
    qsizetype room_;
    QDate first_, last_;
    qint64 steps_ = 0;
    QSet<QString> found_;
};

// The reason libical gives for a text it can't read, or ours when it gives none.
QString ParseFailure() {
    if (icalerrno != ICAL_NO_ERROR)
        return QString::fromUtf8(icalerror_strerror(icalerrno));
    return QStringLiteral("no complete iCalendar object (BEGIN:VCALENDAR ... END:VCALENDAR)");
}

} // namespace

IcsEntriesResult IcsEntries(const QByteArray& text, const IcsImport& how,
                            const QSet<QString>& existing, qsizetype room) {
    // libical reports a problem through icalerrno; it must never stop the program for one.
    icalerror_set_errors_are_fatal(0);
    icalerror_clear_errno();
    // The parser reads a C string: a NUL ends the text.
    const Component root(icalparser_parse_string(text.constData()));
    if (!root)
        throw Error(ParseFailure());
    std::vector<icalcomponent*> calendars;
    if (icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT)
        calendars.push_back(root.get());
    else
        for (icalcomponent* c =
                 icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT);
             c; c = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT))
            calendars.push_back(c);
    if (calendars.empty())
        throw Error(ParseFailure());

    Importer importer(how, existing, room);
    IcsEntriesResult result;
    try {
        for (icalcomponent* c : calendars)
            importer.calendar(c);
    } catch (const Full&) {
        result.tooMany = true;
    }
    result.entries = importer.entries();
    return result;
}

void ImportIcsFile(HighlightList& list, const QString& fileName, const IcsImport& how) {
    const auto fail = [&fileName](const QString& reason) {
        throw Error(QStringLiteral("Unable to read %1: %2").arg(fileName, reason));
    };
    const QFileInfo info(fileName);
    if (info.exists() && info.isFile() && info.size() > kMaxTextFileBytes)
        fail(QStringLiteral("the file is larger than %1 MiB").arg(kMaxTextFileBytes >> 20));
    std::optional<QByteArray> bytes;
    try {
        bytes = ReadFileWhole(fileName);
    } catch (const Error&) {
        fail(QStringLiteral("the file can't be read"));
    }
    if (!bytes)
        fail(QStringLiteral("there is no such file"));

    const QSet<QString> existing(list.entries().begin(), list.entries().end());
    IcsEntriesResult result;
    try {
        result = IcsEntries(*bytes, how, existing, kMaxHighlights - list.size());
    } catch (const Error& e) {
        fail(e.message());
    }
    // All or nothing, as for a text file.
    if (result.tooMany)
        throw Error(QStringLiteral("Too many highlights in %1").arg(fileName));
    list.addAll(std::move(result.entries));
}

QByteArray IcsText(const HighlightList& list, const DayDate& first, const DayDate& last,
                   const LegendName& legend) {
    static const QRegularExpression date(QStringLiteral("^(\\d{2})/(\\d{2})/(\\d{4})$"));
    const QDate from = ToQDate(first), to = ToQDate(last);
    // The days of each colour field and description.
    std::map<std::pair<QString, QString>, std::set<qint64>> days;
    for (const QString& entry : list.entries()) {
        const qsizetype hash = entry.indexOf(u'#');
        if (entry.size() < 11 || entry[10] != u'$' || hash < 0)
            continue;
        const auto m = date.match(QStringView(entry).left(10));
        if (!m.hasMatch())
            continue;
        const QDate d(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
        const QString field = entry.mid(11, hash - 11);
        if (!d.isValid() || d < from || d > to || !IsColourField(field))
            continue;
        days[{field, entry.mid(hash + 1)}].insert(d.toJulianDay());
    }

    struct Run {
        qint64 first, last;
        QString field, description;
    };
    std::vector<Run> runs;
    for (const auto& [key, set] : days)
        for (auto it = set.begin(); it != set.end();) {
            Run run{*it, *it, key.first, key.second};
            for (++it; it != set.end() && *it == run.last + 1; ++it)
                run.last = *it;
            runs.push_back(run);
        }
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) {
        return std::tie(a.first, a.field, a.description) <
               std::tie(b.first, b.field, b.description);
    });

    const auto dateValue = [](qint64 julian) {
        const QDate d = QDate::fromJulianDay(julian);
        icaltimetype t = icaltime_null_date();
        t.year = d.year();
        t.month = d.month();
        t.day = d.day();
        return t;
    };
    const Component calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Gyrodex//Gyrodex//EN"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    for (const Run& run : runs) {
        const QString firstText = DateText(FromQDate(QDate::fromJulianDay(run.first)));
        const QByteArray hashed = QCryptographicHash::hash(
            (firstText + u'$' + run.field + u'#' + run.description).toUtf8(),
            QCryptographicHash::Sha1);
        const icaltimetype start = dateValue(run.first);
        const QByteArray uid =
            QByteArray::number(start.year * 10000 + start.month * 100 + start.day) + '-' +
            hashed.toHex() + "@gyrodex";
        // The stamp is the first day too, so that the same highlights give the same file.
        icaltimetype stamp = icaltime_null_time();
        stamp.year = start.year;
        stamp.month = start.month;
        stamp.day = start.day;
        stamp.zone = icaltimezone_get_utc_timezone();
        const Colour colour = static_cast<Colour>(run.field.toInt());

        icalcomponent* e = icalcomponent_new(ICAL_VEVENT_COMPONENT);
        icalcomponent_add_property(e, icalproperty_new_uid(uid.constData()));
        icalcomponent_add_property(e, icalproperty_new_dtstamp(stamp));
        icalcomponent_add_property(e, icalproperty_new_dtstart(start));
        icalcomponent_add_property(e, icalproperty_new_dtend(dateValue(run.last + 1)));
        if (!run.description.isEmpty())
            icalcomponent_add_property(
                e, icalproperty_new_summary(PlainText(run.description).toUtf8().constData()));
        icalcomponent_add_property(
            e, icalproperty_new_color(NearestCssName(colour).toLatin1().constData()));
        icalproperty* exact = icalproperty_new_x(run.field.toLatin1().constData());
        icalproperty_set_x_name(exact, kExactColour);
        icalcomponent_add_property(e, exact);
        if (legend)
            if (const auto name = legend(colour); name && !name->isEmpty())
                icalcomponent_add_property(e,
                                           icalproperty_new_categories(name->toUtf8().constData()));
        icalcomponent_add_property(e, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
        icalcomponent_add_component(calendar.get(), e);
    }
    char* text = icalcomponent_as_ical_string_r(calendar.get());
    const QByteArray bytes(text);
    icalmemory_free_buffer(text);
    return bytes;
}

void ExportIcsFile(const HighlightList& list, const QString& fileName, const DayDate& first,
                   const DayDate& last, const LegendName& legend) {
    SaveFileWhole(fileName, IcsText(list, first, last, legend));
}

std::optional<Colour> CssColour(QStringView text) {
    if (text.startsWith(u'#')) {
        const QStringView hex = text.mid(1);
        bool ok = false;
        const uint v = hex.toUInt(&ok, 16);
        if (!ok || hex.startsWith(u'+') || hex.startsWith(u'-'))
            return std::nullopt;
        if (hex.size() == 6)
            return FromRgb(v);
        if (hex.size() == 3)
            return Rgb(((v >> 8) & 0xF) * 17, ((v >> 4) & 0xF) * 17, (v & 0xF) * 17);
        return std::nullopt;
    }
    for (const CssName& c : kCssColours)
        if (text.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return FromRgb(c.rgb);
    return std::nullopt;
}

QString NearestCssName(Colour colour) {
    const Colour c = ResolveColour(colour);
    const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    const CssName* best = nullptr;
    int bestDistance = std::numeric_limits<int>::max();
    for (const CssName& n : kCssColours) {
        const int dr = r - static_cast<int>((n.rgb >> 16) & 0xFF);
        const int dg = g - static_cast<int>((n.rgb >> 8) & 0xFF);
        const int db = b - static_cast<int>(n.rgb & 0xFF);
        const int distance = dr * dr + dg * dg + db * db;
        // The first name wins a tie ("aqua" before "cyan", "gray" before "grey").
        if (distance < bestDistance) {
            bestDistance = distance;
            best = &n;
        }
    }
    return QLatin1String(best->name);
}

bool IsIcsFileName(const QString& fileName) {
    return QFileInfo(fileName).suffix().compare(QLatin1String("ics"), Qt::CaseInsensitive) == 0;
}

} // namespace gyrodex
