#include "ImageView.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace gyrodex {

ImageView::ImageView(const QImage& image, qreal pixelRatio, QWidget* parent)
    : QWidget(parent), image_(image), ratio_(pixelRatio > 0 ? pixelRatio : 1.0) {
    setObjectName(QStringLiteral("Img"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Calendar"));
    setMouseTracking(true);
    imageResized();
}

QPoint ImageView::toImage(QPointF logical) const {
    if (ratio_ == 1.0)
        return logical.toPoint();
    return {static_cast<int>(std::floor(logical.x() * ratio_)),
            static_cast<int>(std::floor(logical.y() * ratio_))};
}

QPoint ImageView::toLogical(QPoint image) const {
    return {static_cast<int>(std::floor(image.x() / ratio_)),
            static_cast<int>(std::floor(image.y() / ratio_))};
}

QRect ImageView::toLogical(const QRect& image) const {
    if (ratio_ == 1.0)
        return image;
    // Outward, so that every device pixel of the image rectangle is inside.
    const int left = static_cast<int>(std::floor(image.left() / ratio_));
    const int top = static_cast<int>(std::floor(image.top() / ratio_));
    const int right = static_cast<int>(std::ceil((image.right() + 1) / ratio_));
    const int bottom = static_cast<int>(std::ceil((image.bottom() + 1) / ratio_));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void ImageView::imageResized() {
    setFixedSize(toLogical(image_.rect()).size());
    update();
}

void ImageView::imageChanged(const QRect& rect) {
    if (rect.isEmpty())
        update();
    else
        update(toLogical(rect));
}

void ImageView::regionChanged(const QRegion& region) {
    if (region.isEmpty())
        return;
    if (ratio_ == 1.0) {
        update(region);
        return;
    }
    QRegion logical;
    for (const QRect& r : region)
        logical += toLogical(r);
    update(logical);
}

void ImageView::paintEvent(QPaintEvent* event) {
    // A copy of more than about a hundred rows is split by Qt into blocks of 64 rows, each
    // handed to a pooled thread; waking them costs more than the copy they share out, so the
    // rectangles go in bands of 64 device rows, which the painting thread copies itself.
    constexpr int kBand = 64;
    const int band = std::max(1, static_cast<int>(kBand / ratio_)); // in logical rows
    QPainter painter(this);
    for (const QRect& r : event->region())
        for (int top = r.top(); top <= r.bottom(); top += band) {
            const QRect part(r.left(), top, r.width(), std::min(band, r.bottom() - top + 1));
            if (ratio_ == 1.0) {
                painter.drawImage(part.topLeft(), image_, part);
            } else {
                // The image's device pixels under the logical rectangle, which the backing
                // store (of the same ratio) receives one to one.
                painter.drawImage(QRectF(part), image_,
                                  QRectF(part.x() * ratio_, part.y() * ratio_,
                                         part.width() * ratio_, part.height() * ratio_));
            }
        }
}

void ImageView::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(event->button(), event->modifiers(), toImage(event->position()));
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->modifiers(), toImage(event->position()));
}

void ImageView::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseReleased(event->button(), event->modifiers(), toImage(event->position()));
}

} // namespace gyrodex
