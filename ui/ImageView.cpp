#include "ImageView.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

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
    QPainter painter(this);
    for (const QRect& r : event->region())
        painter.drawImage(r.topLeft(), image_, r);
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
