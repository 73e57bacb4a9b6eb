#include "PainterCanvas.h"

#include "CalendarState.h"
#include "ImageCanvas.h"

#include <QFontMetrics>

namespace gyrodex {

PainterCanvas::PainterCanvas(QPainter& painter, QSize size)
    : painter_(painter), size_(size),
      pen_(Qt::black, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin), brush_(Qt::white),
      text_(Qt::black), font_(MakeFont(DayFont::defaultName(), DayFont::kDefaultSize, 0)) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, false);
}

void PainterCanvas::setPen(Colour colour, int width) {
    pen_.setColor(ToQColor(colour));
    pen_.setWidth(std::max(1, width));
}

void PainterCanvas::setBrush(Colour colour) {
    brush_ = ToQColor(colour);
}

void PainterCanvas::setFont(const QString& name, int points, unsigned style, Colour colour,
                            int escapement) {
    font_ = MakeFont(name, points, style);
    escapement_ = escapement;
    setFontColour(colour);
}

void PainterCanvas::setFontColour(Colour colour) {
    text_ = ToQColor(colour);
}

void PainterCanvas::fillRect(const QRect& rect) {
    painter_.fillRect(rect, brush_);
}

void PainterCanvas::polygon(std::span<const QPoint> points) {
    painter_.setPen(pen_);
    painter_.setBrush(brush_);
    painter_.drawPolygon(points.data(), static_cast<int>(points.size()));
}

void PainterCanvas::moveTo(QPoint p) {
    pos_ = p;
}

void PainterCanvas::lineTo(QPoint p) {
    painter_.setPen(pen_);
    painter_.drawLine(pos_, p);
    pos_ = p;
}

void PainterCanvas::textOut(int x, int y, const QString& text) {
    painter_.save();
    painter_.setFont(font_);
    painter_.setPen(text_);
    painter_.translate(x, y);
    if (escapement_ != 0)
        painter_.rotate(-escapement_ / 10.0);
    painter_.drawText(QPoint(0, QFontMetrics(font_).ascent()), text);
    painter_.restore();
}

QSize PainterCanvas::textExtent(const QString& text) {
    const QFontMetrics metrics(font_);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

Colour PainterCanvas::pixel(int, int) const {
    return 0;
}

} // namespace gyrodex
