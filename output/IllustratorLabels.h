#pragma once

#include "CalendarState.h"
#include "HighlightList.h"

#include <QByteArray>
#include <QSize>

namespace gyrodex {

// The text of a label as the drawing's text objects hold it: the drawing's font encoding
// (ASCII, and the accented letters and punctuation of the encoding vector in its header from
// 128 up), other characters as "?", and "(", ")" and "\" escaped.
QByteArray IllustratorText(const QString& text);

// Appends the design's labels to the drawing: each text as a text object turned like the
// label, each colour swatch as a filled path, placed as on an image of `image` size with the
// drawing's layout (clockwise, Monday outermost). Nothing when no label is switched on.
void WriteIllustratorLabels(QByteArray& out, const CalendarState& state,
                            const HighlightList& highlights, QSize image);

} // namespace gyrodex
