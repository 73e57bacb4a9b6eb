#pragma once

#include "DateFormat.h"
#include "LabelSettings.h"

namespace gyrodex {

// The names and formats the hints use: the user's locale, or US English where none is
// configured (the C locale).
const DateFormatLocale& UserDateLocale();

// The words of the labels: the locale's month names, and agenda dates in the hints' date
// format. A format that does not show the day of the month (the default "ddd" gives only the
// weekday's name) is followed by the short date, so that every agenda line names its day.
LabelTexts MakeLabelWords(const QString& dateFormat, const DateFormatLocale& locale);

// Whether a date format pattern shows the day of the month ("d", "dd", "ddddd" or "dddddd").
bool ShowsDayOfMonth(const QString& pattern);

} // namespace gyrodex
