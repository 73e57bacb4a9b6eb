#pragma once

#include "CalendarState.h"
#include "HighlightList.h"
#include "IniFile.h"

namespace gyrodex {

// A "Count" over kMaxHighlights (see HighlightList.h) is taken as corrupt.

enum class LoadOutcome {
    Loaded,            // the whole design is in place
    TooManyHighlights, // in place, with the highlights cut to kMaxHighlights
    Failed,            // stopped on an error; what was applied before it stays
};

// What a calendar load did. The caller finishes the command in this order:
//     const CalendarLoadResult r = LoadCalendarFile(state, highlights, name);
//     if (r.applied()) {
//         if (addToRecent) // the Open command; Reopen leaves the list as it is
//             showCalendarMenu(recent.AddRecentCalendar(name));
//         RepaintCalendar(state, highlights, canvas, today, &host); // the one repaint
//     }
//     if (!r.message.isEmpty())
//         host.showMessage(r.message);
struct CalendarLoadResult {
    LoadOutcome outcome = LoadOutcome::Loaded;
    // The text for the information box: the error that stopped the load, or "Too many
    // highlights in %s"; empty when the file loaded whole.
    QString message;

    // True when the design was applied to the end: the name goes to the recent list (from the
    // Open command) and the wheel is repainted.
    bool applied() const { return outcome != LoadOutcome::Failed; }
};

// Loads the design in a calendar file into the state and the highlight list, with
// RepaintSuspended set while it writes them. Settings the file does not hold (direction, ring
// order, AutoPreview, the image) keep their values, and so does the past-day colour pair when
// the file lacks it. CalendarFileName takes the name first of all. Numbers are held in their
// fields' ranges; the period is taken as the file gives it. A date that is no number fails with
// "'%s' is not a valid integer value", one that is no real day with "Invalid argument to date
// encode": the load stops there, keeping what it applied so far. A file that exists but can't
// be read fails with "Unable to read %s" and changes nothing but the name. More than
// kMaxHighlights entries are cut to that many (TooManyHighlights). Errors of the file are
// returned, not raised.
CalendarLoadResult LoadCalendarFile(CalendarState& state, HighlightList& highlights,
                                    const QString& fileName);

// Writes the design to a calendar file, keeping what else the file holds; the file is replaced
// as a whole, so a failure ("Unable to write to %s") leaves it exactly as it was.
// CalendarFileName takes the name first of all.
void SaveCalendarFile(CalendarState& state, const HighlightList& highlights,
                      const QString& fileName);

// The two halves on a file held in memory (also used to print and to fuzz the format).
// They read and write the design only. ReadCalendar applies the sections in file order and
// returns false when the highlight count had to be cut.
bool ReadCalendar(const IniFile& ini, CalendarDesign& design, HighlightList& highlights);
void WriteCalendar(IniFile& ini, const CalendarDesign& design, const HighlightList& highlights);

// The date form of calendar files, mm/dd/yyyy, read by position: the year from characters 7 to
// 10, then the day from 4 and 5, then the month from 1 and 2.
DayDate ParseFileDate(const QString& text);

} // namespace gyrodex
