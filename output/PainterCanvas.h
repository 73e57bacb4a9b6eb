#pragma once

#include "RasterCanvas.h"

#include <QFont>
#include <QPainter>
#include <QPen>

namespace gyrodex {

// RasterCanvas over any QPainter: draws the wheel onto vector surfaces (SVG, PDF) with the same
// operations and fonts as the image, without antialiasing. Pixels cannot be read back.
class PainterCanvas final : public RasterCanvas {
public:
    PainterCanvas(QPainter& painter, QSize size);

    int width() const override { return size_.width(); }
    int height() const override { return size_.height(); }
    void setPen(Colour colour, int width) override;
    void setBrush(Colour colour) override;
    void setFont(const QString& name, int points, unsigned style, Colour colour,
                 int escapement) override;
    void setFontColour(Colour colour) override;
    void fillRect(const QRect& rect) override;
    void polygon(std::span<const QPoint> points) override;
    void moveTo(QPoint p) override;
    void lineTo(QPoint p) override;
    void textOut(int x, int y, const QString& text) override;
    QSize textExtent(const QString& text) override;
    Colour pixel(int x, int y) const override;

private:
    QPainter& painter_;
    QSize size_;
    QPen pen_;
    QColor brush_;
    QColor text_;
    QFont font_;
    int escapement_ = 0;
    QPoint pos_;
};

} // namespace gyrodex
