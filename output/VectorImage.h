#pragma once

#include "CalendarState.h"
#include "HighlightList.h"

#include <QByteArray>
#include <QSize>

namespace gyrodex {

enum class VectorFormat { Svg, Pdf };

// Repaints the wheel onto a vector page of the image's size (one pixel is one 1/96 inch) and
// returns the file's bytes: the same picture as the image, kept as shapes and text.
QByteArray RenderVector(VectorFormat format, CalendarState& state, const HighlightList& highlights,
                        const DayDate& today, QSize size);

} // namespace gyrodex
