#pragma once

#include "CalendarState.h"
#include "HighlightList.h"
#include "Host.h"
#include "ImageCanvas.h"
#include "LabelSettings.h"
#include "RasterCanvas.h"

namespace gyrodex {

// The credit text: window caption, first-show screen and the line up the image's right edge.
QString CreditLine();

// Paints the whole wheel of `design` for its period into the canvas; what the paint computes
// (the centre, the period as painted, the cell grid, the day it stopped on) goes into `result`,
// and nothing else is written. `today` decides which days are past. The busy pointer is shown
// through `host` (when given) while the wheel is painted. The design's labels, when it shows
// any, are written in `words`.
void RepaintCalendar(const CalendarDesign& design, const HighlightList& highlights,
                     RasterCanvas& canvas, const DayDate& today, RepaintResult& result,
                     Host* host = nullptr, const LabelTexts& words = LabelTexts::English());

// The same for a program's state, with its label words: nothing while RepaintSuspended is set;
// afterwards, however the paint ended, CurrentDate is the day the walk stopped on.
void RepaintCalendar(CalendarState& state, const HighlightList& highlights, RasterCanvas& canvas,
                     const DayDate& today, Host* host = nullptr);

// The same into an image, painted in two bands of rows at once, split at the wheel's centre:
// the same picture, in about half the time on a machine with two cores.
void RepaintCalendar(CalendarState& state, const HighlightList& highlights, ImageCanvas& canvas,
                     const DayDate& today, Host* host = nullptr);

// The colours of the cell of day d: week day, weekend (when the ring is a weekend ring), past,
// then the last matching highlight's fill. Raises the conversion error for a highlight whose
// colour is not a number.
struct CellColours {
    Colour fill;
    Colour text;
    const QString* entry; // the highlight entry that supplied the fill, if any
};
CellColours ChooseCellColours(const CalendarDesign& design, const HighlightList& highlights,
                              const DayDate& d, const DayDate& today, bool weekendRing);

// Paints one cell for state.CurrentDate and records its fill and description in the grid.
void PaintCell(CalendarState& state, const HighlightList& highlights, RasterCanvas& canvas,
               int spoke, int ring);

} // namespace gyrodex
