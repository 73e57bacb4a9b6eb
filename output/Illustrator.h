#pragma once

#include "CalendarState.h"
#include "HighlightList.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <array>
#include <functional>

namespace gyrodex {

// Fixed-point text with `decimals` digits after a full stop (whatever the locale), right-aligned
// in `width` characters; a longer text is written whole. Negative values that round to zero
// keep their sign ("-0.0000").
QString FormatFixed(int width, int decimals, double value);

struct Cmyk {
    double cyan, magenta, yellow, black;
};
// Process colours of a 0x00BBGGRR colour, without black generation.
Cmyk RgbToCmyk(Colour colour);
// The four process colours as the drawing writes them before its "k" and "K" operators.
QByteArray IllustratorCmyk(const Cmyk& c);
// Appends a point text object, from "0 To" to "TO": `transform` is its matrix and origin
// (a b c d x y) in page points, `size` the Arial size, `text` already in the drawing's encoding.
void WriteIllustratorText(QByteArray& out, const std::array<double, 6>& transform, double size,
                          const QByteArray& text);

extern const std::array<const char*, 65> IllustratorHeader;
extern const std::array<const char*, 4> IllustratorTrailer;

// Measures a day number's text on the image canvas (pixel width and height).
using TextMeasurer = std::function<QSize(const QString&)>;

// Appends the 28-line block of one day's cell (CR LF line ends) to `out`.
void WriteIllustratorCell(QByteArray& out, const CalendarState& state, int spoke, int ring,
                          const DayDate& date, Colour fill, const TextMeasurer& measure);

// The whole drawing: header, one block per day of the period (clockwise, Monday outermost),
// the design's labels as on an image of `image` size (by default the size the centre and its
// offset imply), trailer. Uses the centre the last repaint left in the state. Raises the
// conversion error for a highlight whose colour is not a number.
QByteArray IllustratorDrawing(const CalendarState& state, const HighlightList& highlights,
                              const DayDate& today, const TextMeasurer& measure, QSize image = {});

// Writes the drawing to a file that lands whole or not at all; raises "Unable to write to %s".
void ExportToIllustrator(const QString& fileName, const CalendarState& state,
                         const HighlightList& highlights, const DayDate& today,
                         const TextMeasurer& measure, QSize image = {});

} // namespace gyrodex
