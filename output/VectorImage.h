#pragma once

#include "CalendarState.h"
#include "HighlightList.h"

#include <QByteArray>
#include <QSize>

namespace gyrodex {

enum class VectorFormat { Svg, Pdf };

// Repaints the wheel onto a vector page of the image's size (one pixel is one 1/96 inch) and
// returns the file's bytes: the same picture as the image, kept as shapes and text. The paint
// runs on a copy of the state, so the centre, the cell grid and the other working values the
// pointer tools read keep describing the image on screen.
QByteArray RenderVector(VectorFormat format, const CalendarState& state,
                        const HighlightList& highlights, const DayDate& today, QSize size);

} // namespace gyrodex
