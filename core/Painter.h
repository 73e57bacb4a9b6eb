#pragma once

#include "CalendarState.h"
#include "HighlightList.h"
#include "Host.h"
#include "RasterCanvas.h"

namespace gyrodex {

// The credit text: window caption, first-show screen and the line up the image's right edge.
QString CreditLine();

// Paints the whole wheel for the period into the canvas and rebuilds the cell grid. Does
// nothing while RepaintSuspended is set. `today` decides which days are past. The busy pointer
// is shown through `host` (when given) while the wheel is painted.
void RepaintCalendar(CalendarState& state, const HighlightList& highlights, RasterCanvas& canvas,
                     const DayDate& today, Host* host = nullptr);

// The colours of the cell of day d: week day, weekend (when the ring is a weekend ring), past,
// then the last matching highlight's fill. Raises the conversion error for a highlight whose
// colour is not a number.
struct CellColours {
    Colour fill;
    Colour text;
    const QString* entry; // the highlight entry that supplied the fill, if any
};
CellColours ChooseCellColours(const CalendarState& state, const HighlightList& highlights,
                              const DayDate& d, const DayDate& today, bool weekendRing);

// Paints one cell for state.CurrentDate and records its fill and description in the grid.
void PaintCell(CalendarState& state, const HighlightList& highlights, RasterCanvas& canvas,
               int spoke, int ring);

} // namespace gyrodex
