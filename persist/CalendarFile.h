#pragma once

#include "CalendarState.h"
#include "HighlightList.h"
#include "IniFile.h"

#include <functional>

namespace gyrodex {

// Most highlight entries a calendar file may add; a larger "Count" is taken as corrupt.
constexpr qsizetype kMaxHighlights = 100000;

// What a load asks of the rest of the program once the design is in place.
struct CalendarLoadHooks {
    // Puts the name at the front of the recent calendar list (only when asked to).
    std::function<void(const QString& fileName)> addRecent;
    // Paints the whole wheel with the loaded design.
    std::function<void()> repaint;
};

// Loads the design in a calendar file into the state and the highlight list. Settings the
// file does not hold (direction, ring order, AutoPreview, the image) keep their values, and so
// does the past-day colour pair when the file lacks it. CalendarFileName takes the name first
// of all. Numbers are held in their fields' ranges; the period is taken as the file gives it.
// A date that is no number raises "'%s' is not a valid integer value", one that is no real
// day "Invalid argument to date encode": the load stops there, keeping what it applied so far,
// and neither the recent list nor the repaint happens. More than kMaxHighlights entries are
// cut to that many and reported as "Too many highlights in %s" once the load has finished.
// A file that exists but can't be read changes nothing but the name: "Unable to read %s".
void LoadCalendarFile(CalendarState& state, HighlightList& highlights, const QString& fileName,
                      bool addToRecent, const CalendarLoadHooks& hooks = {});

// Writes the design to a calendar file, keeping what else the file holds; the file is replaced
// as a whole, so a failure ("Unable to write to %s") leaves it exactly as it was.
// CalendarFileName takes the name first of all.
void SaveCalendarFile(CalendarState& state, const HighlightList& highlights,
                      const QString& fileName);

// The two halves on a file held in memory (also used to print and to fuzz the format).
// ReadCalendar applies the sections in file order under RepaintSuspended and returns false
// when the highlight count had to be cut.
bool ReadCalendar(const IniFile& ini, CalendarState& state, HighlightList& highlights);
void WriteCalendar(IniFile& ini, const CalendarState& state, const HighlightList& highlights);

// The date form of calendar files, mm/dd/yyyy, read by position: the year from characters 7 to
// 10, then the day from 4 and 5, then the month from 1 and 2.
DayDate ParseFileDate(const QString& text);

} // namespace gyrodex
