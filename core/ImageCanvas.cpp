#include "ImageCanvas.h"

#include <cmath>

namespace gyrodex {

QColor ToQColor(Colour c) {
    const Colour rgb = ResolveColour(c);
    return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>((rgb >> 16) & 0xFF));
}

Colour FromQColor(QColor c) {
    return Rgb(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()),
               static_cast<unsigned>(c.blue()));
}

QFont MakeFont(const QString& name, int points, unsigned style) {
    QFont font(name);
    // Character height in pixels at 96 dpi, rounded as the desktop does (8 points give 11).
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))));
    font.setBold((style & Bold) != 0);
    font.setItalic((style & Italic) != 0);
    font.setUnderline((style & Underline) != 0);
    font.setStrikeOut((style & StrikeOut) != 0);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

namespace {

QImage PrepareImage(QImage image) {
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);
    return image;
}

} // namespace

ImageCanvas::ImageCanvas(QSize size)
    : ImageCanvas(size.isEmpty() ? QImage() : QImage(size, QImage::Format_RGB32)) {
    if (!image_.isNull())
        image_.fill(Qt::white);
}

ImageCanvas::ImageCanvas(QImage image) : image_(PrepareImage(std::move(image))) {
    linePen_ = QPen(Qt::black, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    textColour_ = Qt::black;
    font_ = MakeFont(QStringLiteral("MS Sans Serif"), 8, 0);
    metrics_ = std::make_unique<QFontMetrics>(font_);
}

ImageCanvas::~ImageCanvas() {
    endPainting();
}

QPainter& ImageCanvas::painter() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setRenderHint(QPainter::TextAntialiasing, false);
        painter_->setPen(linePen_);
        painter_->setFont(font_);
        textPenActive_ = false;
    }
    return *painter_;
}

void ImageCanvas::endPainting() {
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
}

void ImageCanvas::useLinePen() {
    if (textPenActive_ && painter_) {
        painter_->setPen(linePen_);
        textPenActive_ = false;
    }
}

void ImageCanvas::useTextPen() {
    QPainter& p = painter();
    if (!textPenActive_) {
        p.setPen(textColour_);
        textPenActive_ = true;
    }
}

void ImageCanvas::setPen(Colour colour, int width) {
    linePen_.setColor(ToQColor(colour));
    linePen_.setWidth(std::max(1, width));
    if (painter_) {
        painter_->setPen(linePen_);
        textPenActive_ = false;
    }
}

void ImageCanvas::setBrush(Colour colour) {
    painter().setBrush(ToQColor(colour));
}

void ImageCanvas::setFont(const QString& name, int points, unsigned style, Colour colour,
                          int escapement) {
    QFont font = MakeFont(name, points, style);
    if (font != font_) {
        font_ = font;
        metrics_ = std::make_unique<QFontMetrics>(font_);
        textCache_.clear();
        if (painter_)
            painter_->setFont(font_);
    }
    escapement_ = escapement;
    setFontColour(colour);
}

void ImageCanvas::setFontColour(Colour colour) {
    const QColor c = ToQColor(colour);
    if (c != textColour_) {
        textColour_ = c;
        if (textPenActive_ && painter_)
            painter_->setPen(textColour_);
    }
}

void ImageCanvas::fillRect(const QRect& rect) {
    QPainter& p = painter();
    p.fillRect(rect, p.brush());
}

void ImageCanvas::polygon(std::span<const QPoint> points) {
    QPainter& p = painter();
    useLinePen();
    p.drawPolygon(points.data(), static_cast<int>(points.size()));
}

void ImageCanvas::moveTo(QPoint p) {
    penPos_ = p;
}

void ImageCanvas::lineTo(QPoint to) {
    QPainter& p = painter();
    useLinePen();
    p.drawLine(penPos_, to);
    penPos_ = to;
}

void ImageCanvas::textOut(int x, int y, const QString& text) {
    useTextPen();
    QPainter& p = painter();
    if (escapement_ == 0) {
        // Day numbers are drawn hundreds of times a repaint: keep their laid-out text.
        auto it = textCache_.find(text);
        if (it == textCache_.end()) {
            if (textCache_.size() > 256)
                textCache_.clear();
            QStaticText st(text);
            st.setTextFormat(Qt::PlainText);
            st.prepare(QTransform(), font_);
            it = textCache_.insert(text, st);
        }
        p.drawStaticText(QPoint(x, y), *it);
        return;
    }
    p.save();
    p.translate(x, y);
    p.rotate(-escapement_ / 10.0);
    p.drawText(QPoint(0, metrics_->ascent()), text);
    p.restore();
}

QSize ImageCanvas::textExtent(const QString& text) {
    return {metrics_->horizontalAdvance(text), metrics_->height()};
}

Colour ImageCanvas::pixel(int x, int y) const {
    if (!image_.valid(x, y))
        return 0;
    return FromQColor(QColor(image_.pixel(x, y)));
}

const QImage& ImageCanvas::image() {
    endPainting();
    return image_;
}

void ImageCanvas::setImage(QImage image) {
    endPainting();
    image_ = PrepareImage(std::move(image));
    textCache_.clear();
}

} // namespace gyrodex
