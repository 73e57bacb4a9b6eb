#include "ImageView.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace gyrodex {

ImageView::ImageView(const QImage& image, QWidget* parent) : QWidget(parent), image_(image) {
    setObjectName(QStringLiteral("Img"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Calendar"));
    setMouseTracking(true);
    imageResized();
}

void ImageView::imageResized() {
    setFixedSize(image_.size());
    update();
}

void ImageView::imageChanged(const QRect& rect) {
    if (rect.isEmpty())
        update();
    else
        update(rect);
}

void ImageView::regionChanged(const QRegion& region) {
    if (!region.isEmpty())
        update(region);
}

void ImageView::paintEvent(QPaintEvent* event) {
    // A copy of more than about a hundred rows is split by Qt into blocks of 64 rows, each
    // handed to a pooled thread; waking them costs more than the copy they share out, so the
    // rectangles go in bands of 64 rows, which the painting thread copies itself.
    constexpr int kBand = 64;
    QPainter painter(this);
    for (const QRect& r : event->region())
        for (int top = r.top(); top <= r.bottom(); top += kBand) {
            const QRect band(r.left(), top, r.width(), std::min(kBand, r.bottom() - top + 1));
            painter.drawImage(band.topLeft(), image_, band);
        }
}

void ImageView::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(event->button(), event->modifiers(), event->position().toPoint());
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->modifiers(), event->position().toPoint());
}

void ImageView::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseReleased(event->button(), event->modifiers(), event->position().toPoint());
}

} // namespace gyrodex
