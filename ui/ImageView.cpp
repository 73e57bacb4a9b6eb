#include "ImageView.h"

#include "ImageCanvas.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace gyrodex {

ImageView::ImageView(ImageCanvas& canvas, qreal pixelRatio, QWidget* parent)
    : QWidget(parent), canvas_(canvas), image_(canvas.image()),
      ratio_(pixelRatio > 0 ? pixelRatio : 1.0) {
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
    if (copyDirectly(painter, event->region()))
        return;
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

bool ImageView::copyDirectly(QPainter& painter, const QRegion& region) {
    if (ratio_ != 1.0)
        return false;
    QPaintEngine* const engine = painter.paintEngine();
    QPaintDevice* const device = engine ? engine->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image)
        return false;
    auto& target = *static_cast<QImage*>(device);
    // Opaque 32-bit pixels are the same bytes in these formats.
    const QImage::Format format = target.format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        return false;
    // Written through bits(), which would copy an image shared with another.
    if (target.devicePixelRatio() != 1.0 || image_.format() != QImage::Format_RGB32 ||
        !target.isDetached())
        return false;
    const QTransform t = painter.deviceTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) ||
        t.dy() != std::floor(t.dy()))
        return false;
    const QPoint offset(static_cast<int>(t.dx()), static_cast<int>(t.dy()));
    // What the painter may write: the region on the device, within the clip Qt set for this
    // paint and within both images.
    QRegion onDevice = region.translated(offset) & target.rect() & image_.rect().translated(offset);
    if (const QRegion clip = engine->systemClip(); !clip.isEmpty())
        onDevice &= clip;
    if (painter.hasClipping())
        onDevice &= painter.clipRegion().translated(offset);

    uchar* const to = target.bits();
    const qsizetype toStride = target.bytesPerLine();
    const uchar* const from = image_.constBits();
    const qsizetype fromStride = image_.bytesPerLine();
    const int split = canvas_.bandSplit();
    // Copies the part of the region in image rows top to end - 1.
    const auto copy = [&](int top, int end) {
        for (const QRect& d : onDevice) {
            const int left = d.left() - offset.x();
            const auto bytes = static_cast<std::size_t>(d.width()) * sizeof(QRgb);
            for (int y = std::max(d.top() - offset.y(), top);
                 y <= std::min(d.bottom() - offset.y(), end - 1); ++y)
                std::memcpy(to + (y + offset.y()) * toStride +
                                static_cast<qsizetype>(left + offset.x()) * 4,
                            from + y * fromStride + static_cast<qsizetype>(left) * 4, bytes);
        }
    };
    if (split > 0)
        canvas_.runTwo([&] { copy(0, split); }, [&] { copy(split, image_.height()); });
    else
        copy(0, image_.height());
    return true;
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
