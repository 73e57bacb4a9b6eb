#pragma once

#include <QWidget>

class QImage;
class QPainter;

namespace gyrodex {

class ImageCanvas;

// Shows the calendar image from its top-left corner, one image pixel to one device pixel of
// the screen (on a scaled desktop the view's logical size is the image's divided by the
// ratio), and repaints only the rectangle it is told changed. Pointer positions are reported
// in image pixels.
class ImageView : public QWidget {
    Q_OBJECT

public:
    // `pixelRatio`: device pixels per logical pixel of the screen the view is shown on.
    ImageView(ImageCanvas& canvas, qreal pixelRatio, QWidget* parent);

    // Image pixels and the view's logical pixels.
    QPoint toImage(QPointF logical) const;
    QPoint toLogical(QPoint image) const;
    QRect toLogical(const QRect& image) const;

    // The image changed size: the view takes it.
    void imageResized();
    // The pixels of `rect` changed (the whole image when it is empty).
    void imageChanged(const QRect& rect = {});
    // The pixels of `region` changed.
    void regionChanged(const QRegion& region);

signals:
    // Pointer events in image pixels; moves are reported with no button held too.
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void mouseMoved(Qt::KeyboardModifiers modifiers, QPoint pos);
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Copies the region into the window's backing store without a painter, the second band's
    // rows on the thread that painted them; false when the painter does not paint into a
    // 32-bit image at one pixel to one, and the region is left to drawImage.
    bool copyDirectly(QPainter& painter, const QRegion& region);

    ImageCanvas& canvas_;
    const QImage& image_;
    qreal ratio_;
};

} // namespace gyrodex
