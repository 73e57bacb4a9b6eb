#pragma once

#include "CalendarState.h"
#include "HighlightList.h"

#include <QByteArray>

namespace gyrodex {

// Gives each day cell of an SVG picture of the wheel its date: a data-date="YYYY-MM-DD"
// attribute and a <title> with the date and the day's description (a browser shows it as a
// tooltip). `state` is the state the picture was painted from, its centre included; the cells
// are found by their outlines, in the order the painter draws them.
QByteArray MarkSvgDays(const QByteArray& svg, const CalendarState& state,
                       const HighlightList& highlights);

} // namespace gyrodex
