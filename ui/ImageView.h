#pragma once

#include <QWidget>

class QImage;

namespace gyrodex {

// Shows the calendar image 1:1 from its top-left corner. It never scales, and repaints only
// the rectangle it is told changed.
class ImageView : public QWidget {
    Q_OBJECT

public:
    ImageView(const QImage& image, QWidget* parent);

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
    const QImage& image_;
};

} // namespace gyrodex
