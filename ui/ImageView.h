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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage& image_;
};

} // namespace gyrodex
