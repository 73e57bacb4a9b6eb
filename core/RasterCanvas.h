#pragma once

#include "Colour.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <span>

namespace gyrodex {

// Style bits of a font.
enum FontStyle : unsigned { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };

// The drawing surface of the calendar image, with the operations the painter uses.
class RasterCanvas {
public:
    virtual ~RasterCanvas() = default;

    virtual int width() const = 0;
    virtual int height() const = 0;

    virtual void setPen(Colour colour, int width) = 0;
    virtual void setBrush(Colour colour) = 0;
    // Font by name, size in points, style bits (FontStyle), colour and escapement (tenths of a
    // degree, counter-clockwise).
    virtual void setFont(const QString& name, int points, unsigned style, Colour colour,
                         int escapement) = 0;
    virtual void setFontColour(Colour colour) = 0;

    // Fills the rectangle with the brush; right and bottom edges are excluded.
    virtual void fillRect(const QRect& rect) = 0;
    // Fills the polygon with the brush and outlines it with the pen.
    virtual void polygon(std::span<const QPoint> points) = 0;
    virtual void moveTo(QPoint p) = 0;
    virtual void lineTo(QPoint p) = 0;
    // Writes text with a transparent background; (x, y) is the top-left corner of the unrotated
    // text, the point about which escapement rotates it.
    virtual void textOut(int x, int y, const QString& text) = 0;
    // Width and height of the text in the current font, unrotated.
    virtual QSize textExtent(const QString& text) = 0;

    // The pixel as 0x00BBGGRR.
    virtual Colour pixel(int x, int y) const = 0;
};

} // namespace gyrodex
