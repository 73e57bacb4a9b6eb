#pragma once

#include "DayDate.h"

#include <QLocale>
#include <QString>
#include <array>

namespace gyrodex {

// Names and formats the date formatter uses.
struct DateFormatLocale {
    QString shortFormat; // what "ddddd" and an empty pattern give
    QString longFormat;  // what "dddddd" gives
    QString dateSeparator;
    std::array<QString, 7> shortDayNames; // Sunday first
    std::array<QString, 7> longDayNames;
    std::array<QString, 12> shortMonthNames;
    std::array<QString, 12> longMonthNames;

    // English names, M/d/yyyy and dddd, MMMM d, yyyy.
    static const DateFormatLocale& UsEnglish();
    // The names and formats of a Qt locale.
    static DateFormatLocale FromLocale(const QLocale& locale);
};

// Formats a day by a pattern: d, dd, ddd, dddd (day number, padded, short and long name),
// ddddd and dddddd (short and long format), m, mm, mmm, mmmm (month), yy, yyyy (year), "/" (the
// date separator) and text in single or double quotes as it stands. Letters count without
// regard to case; every other character is copied. An empty pattern gives the short format.
QString FormatDate(const QString& pattern, const DayDate& day,
                   const DateFormatLocale& locale = DateFormatLocale::UsEnglish());

// The pointer hint over a cell.
struct DateHint {
    enum class Kind {
        Hidden,   // no hint
        Text,     // the hint shows `text`
        Unchanged // the hint is shown with whatever text it held before
    };
    Kind kind = Kind::Hidden;
    QString text;
};
// The hint for a cell with this date and description: with hint type 0 only described days
// show their description; with 1 every dated day shows its date formatted by `dateFormat`,
// after the description when there is one.
DateHint MakeDateHint(const DayDate& date, const QString& description, int hintType,
                      const QString& dateFormat,
                      const DateFormatLocale& locale = DateFormatLocale::UsEnglish());

} // namespace gyrodex
