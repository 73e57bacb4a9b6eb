#pragma once

#include "Colour.h"
#include "DayDate.h"
#include "HighlightList.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <functional>
#include <optional>

namespace gyrodex {

// iCalendar (.ics) files: events become highlight entries, and runs of highlighted days become
// all-day events. The parsing, the recurrence rules and the time zones are libical's.

// The legend, looked up both ways: the colour a name stands for, and the name of a colour. An
// empty function is a legend without entries.
using LegendColour = std::function<std::optional<Colour>(const QString& name)>;
using LegendName = std::function<std::optional<QString>(Colour colour)>;

// The colour of an imported event that names none (red).
constexpr Colour kDefaultIcsColour = Rgb(255, 0, 0);

// Most recurrence steps one import takes over all its rules; a file whose rules need more
// (a rule every second over a year) is refused rather than expanded for minutes.
constexpr qint64 kMaxRecurrenceSteps = 1'000'000;

struct IcsImport {
    DayDate first; // the period whose days are filled, both ends included
    DayDate last;
    Colour colour = kDefaultIcsColour; // for events that name no colour
    // The zone in which UTC and floating times are read (an event with a TZID uses its own).
    QTimeZone localZone = QTimeZone::utc();
    LegendColour legend; // colours for CATEGORIES names
    qint64 maxSteps = kMaxRecurrenceSteps;
};

struct IcsEntriesResult {
    QStringList entries;  // sorted, without duplicates
    bool tooMany = false; // more new entries than there was room for; `entries` is then partial
};

// The entries the events of an iCalendar text give within the period, leaving out those in
// `existing`; stops with tooMany once more than `room` would be needed. Raises Error with the
// reason when the text is no complete iCalendar object or its rules need too many steps.
IcsEntriesResult IcsEntries(const QByteArray& text, const IcsImport& how,
                            const QSet<QString>& existing, qsizetype room);

// Adds the entries of an .ics file, each at most once: an entry the list already holds is not
// added again. Raises "Unable to read %s: reason" for a file that can't be read, is larger than
// kMaxTextFileBytes or that libical can't parse, and "Too many highlights in %s" when the new
// entries would pass kMaxHighlights; the list is then unchanged.
void ImportIcsFile(HighlightList& list, const QString& fileName, const IcsImport& how);

// The highlights of the period as an iCalendar text: one all-day event per run of consecutive
// days with the same colour and description. Entries that are not of the form
// "MM/DD/YYYY$number#description" are left out.
QByteArray IcsText(const HighlightList& list, const DayDate& first, const DayDate& last,
                   const LegendName& legend = {});
// Writes IcsText through the whole-file save ("Unable to write to %s").
void ExportIcsFile(const HighlightList& list, const QString& fileName, const DayDate& first,
                   const DayDate& last, const LegendName& legend = {});

// A CSS colour: one of the named colours (any letter case) or #rgb / #rrggbb.
std::optional<Colour> CssColour(QStringView text);
// The named CSS colour nearest to a colour (system colours resolved first).
QString NearestCssName(Colour colour);

// Whether a file name's extension makes it an iCalendar file (".ics", any letter case).
bool IsIcsFileName(const QString& fileName);

} // namespace gyrodex
