#include "ImageView.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>

namespace gyrodex {

ImageView::ImageView(const QImage& image, QWidget* parent) : QWidget(parent), image_(image) {
    setObjectName(QStringLiteral("Img"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Calendar"));
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

} // namespace gyrodex
