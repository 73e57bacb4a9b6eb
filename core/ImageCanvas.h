#pragma once

#include "RasterCanvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QStaticText>
#include <memory>

namespace gyrodex {

// Device pixels per metre of every calendar image: 96 dots per inch.
constexpr int kDotsPerMeter = 3780;

// Builds a font for drawing without smoothing; `points` are converted at 96 dpi.
QFont MakeFont(const QString& name, int points, unsigned style);

// RasterCanvas over a 32-bit QImage, drawn with a QPainter without antialiasing.
class ImageCanvas final : public RasterCanvas {
public:
    explicit ImageCanvas(QSize size = {});
    explicit ImageCanvas(QImage image);
    ~ImageCanvas() override;
    ImageCanvas(const ImageCanvas&) = delete;
    ImageCanvas& operator=(const ImageCanvas&) = delete;

    int width() const override { return image_.width(); }
    int height() const override { return image_.height(); }

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

    // The image, with all drawing so far finished.
    const QImage& image();
    // Replaces the image (a loaded picture); it is converted to 32 bits at 96 dpi.
    void setImage(QImage image);

private:
    QPainter& painter();
    void endPainting();
    void useLinePen();
    void useTextPen();

    QImage image_;
    std::unique_ptr<QPainter> painter_;
    QPen linePen_;
    QColor textColour_;
    bool textPenActive_ = false;
    QPoint penPos_;
    QFont font_;
    std::unique_ptr<QFontMetrics> metrics_;
    int escapement_ = 0;
    QHash<QString, QStaticText> textCache_;
};

// The colour to draw with for a stored colour (system colours resolved).
QColor ToQColor(Colour c);
Colour FromQColor(QColor c);

} // namespace gyrodex
