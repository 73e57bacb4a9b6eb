#include "LabelWords.h"

namespace gyrodex {

const DateFormatLocale& UserDateLocale() {
    static const DateFormatLocale locale = QLocale().language() == QLocale::C
                                               ? DateFormatLocale::UsEnglish()
                                               : DateFormatLocale::FromLocale(QLocale());
    return locale;
}

bool ShowsDayOfMonth(const QString& pattern) {
    QChar quote;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            ++i;
        } else if (c == u'\'' || c == u'"') {
            quote = c;
            ++i;
        } else if (c.toLower() == u'd') {
            qsizetype n = 0;
            while (i < pattern.size() && pattern[i].toLower() == u'd') {
                ++n;
                ++i;
            }
            if (n != 3 && n != 4)
                return true;
        } else {
            ++i;
        }
    }
    // An empty pattern gives the short format.
    return pattern.isEmpty();
}

LabelTexts MakeLabelWords(const QString& dateFormat, const DateFormatLocale& locale) {
    LabelTexts words;
    words.longMonthNames = locale.longMonthNames;
    words.shortMonthNames = locale.shortMonthNames;
    const bool showsDay = ShowsDayOfMonth(dateFormat);
    words.agendaDate = [dateFormat, locale, showsDay](const DayDate& d) {
        const QString text = FormatDate(dateFormat, d, locale);
        if (showsDay)
            return text;
        const QString date = FormatDate(QStringLiteral("ddddd"), d, locale);
        return text.trimmed().isEmpty() ? date : text + u' ' + date;
    };
    return words;
}

} // namespace gyrodex
