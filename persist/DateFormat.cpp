#include "DateFormat.h"

namespace gyrodex {

const DateFormatLocale& DateFormatLocale::UsEnglish() {
    static const DateFormatLocale us{
        QStringLiteral("M/d/yyyy"),
        QStringLiteral("dddd, MMMM d, yyyy"),
        QStringLiteral("/"),
        {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
        {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
        {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
        {"January", "February", "March", "April", "May", "June", "July", "August", "September",
         "October", "November", "December"}};
    return us;
}

DateFormatLocale DateFormatLocale::FromLocale(const QLocale& locale) {
    DateFormatLocale l;
    l.shortFormat = locale.dateFormat(QLocale::ShortFormat);
    l.longFormat = locale.dateFormat(QLocale::LongFormat);
    // The separator is the first character of the short format that is no pattern letter.
    l.dateSeparator = QStringLiteral("/");
    for (const QChar c : std::as_const(l.shortFormat))
        if (!c.isLetter()) {
            l.dateSeparator = c;
            break;
        }
    for (int i = 0; i < 7; ++i) {
        const int qtDay = i == 0 ? 7 : i; // Qt counts Monday 1 .. Sunday 7
        l.shortDayNames[static_cast<std::size_t>(i)] = locale.dayName(qtDay, QLocale::ShortFormat);
        l.longDayNames[static_cast<std::size_t>(i)] = locale.dayName(qtDay, QLocale::LongFormat);
    }
    for (int m = 1; m <= 12; ++m) {
        l.shortMonthNames[static_cast<std::size_t>(m - 1)] =
            locale.monthName(m, QLocale::ShortFormat);
        l.longMonthNames[static_cast<std::size_t>(m - 1)] =
            locale.monthName(m, QLocale::LongFormat);
    }
    return l;
}

namespace {

// Fields outside their ranges (never given by the program) must not index outside the tables.
const QString& Name(const auto& table, int index) {
    static const QString none;
    return index >= 0 && index < static_cast<int>(table.size())
               ? table[static_cast<std::size_t>(index)]
               : none;
}

void Format(QString& out, QStringView pattern, const DayDate& day, const DateFormatLocale& loc,
            int depth) {
    if (pattern.isEmpty()) {
        if (depth == 0)
            Format(out, loc.shortFormat, day, loc, depth + 1);
        return;
    }
    qsizetype i = 0;
    while (i < pattern.size()) {
        const QChar c = pattern[i];
        const char16_t lower = c.toLower().unicode();
        if (c == u'\'' || c == u'"') {
            const qsizetype close = pattern.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? pattern.size() : close;
            out += pattern.mid(i + 1, end - i - 1);
            i = close < 0 ? end : end + 1;
            continue;
        }
        if (c == u'/') {
            out += loc.dateSeparator;
            ++i;
            continue;
        }
        if (lower != u'd' && lower != u'm' && lower != u'y') {
            out += c;
            ++i;
            continue;
        }
        qsizetype n = 1;
        while (i + n < pattern.size() && pattern[i + n].toLower().unicode() == lower)
            ++n;
        i += n;
        if (lower == u'y') {
            out += n <= 2 ? PaddedNumber(day.Year % 100, 2) : PaddedNumber(day.Year, 4);
        } else if (lower == u'm') {
            if (n <= 2)
                out += PaddedNumber(day.Month, static_cast<int>(n));
            else
                out += Name(n == 3 ? loc.shortMonthNames : loc.longMonthNames, day.Month - 1);
        } else if (n <= 2) {
            out += PaddedNumber(day.Day, static_cast<int>(n));
        } else if (n <= 4) {
            const int wd = IsRealDate(day) ? Weekday(day) : -1;
            out += Name(n == 3 ? loc.shortDayNames : loc.longDayNames, wd);
        } else if (depth == 0) {
            // The short and long formats are patterns themselves, one level deep.
            Format(out, n == 5 ? loc.shortFormat : loc.longFormat, day, loc, depth + 1);
        }
    }
}

} // namespace

QString FormatDate(const QString& pattern, const DayDate& day, const DateFormatLocale& locale) {
    QString out;
    Format(out, pattern, day, locale, 0);
    return out;
}

DateHint MakeDateHint(const DayDate& date, const QString& description, int hintType,
                      const QString& dateFormat, const DateFormatLocale& locale) {
    if (date.Day == 0)
        return {};
    const bool described = !description.isEmpty();
    if (!described && hintType == 0)
        return {};
    const QString blanks = QStringLiteral("  ");
    switch (hintType) {
    case 0:
        return {DateHint::Kind::Text, blanks + description + blanks};
    case 1: {
        const QString formatted = FormatDate(dateFormat, date, locale);
        return {DateHint::Kind::Text,
                described ? blanks + description + QStringLiteral(",  ") + formatted + blanks
                          : blanks + formatted + blanks};
    }
    default:
        return {DateHint::Kind::Unchanged, {}};
    }
}

} // namespace gyrodex
