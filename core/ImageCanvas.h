#pragma once

#include "RasterCanvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRegion>
#include <QString>
#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace gyrodex {

// Device pixels per metre of every calendar image: 96 dots per inch.
constexpr int kDotsPerMeter = 3780;

// Day-number sizes painted, in points. A size from a file or the font dialog outside them is
// painted as the nearest of them, so that glyphs stay bounded in time and memory.
constexpr int kMinFontPoints = 1;
constexpr int kMaxFontPoints = 512;

// Builds a font for drawing without smoothing; `points` are held in kMinFontPoints to
// kMaxFontPoints and converted at 96 dpi.
QFont MakeFont(const QString& name, int points, unsigned style);

// RasterCanvas over a 32-bit QImage. The wheel is repainted on every keystroke in a spin field,
// so cells, lines and day numbers are rasterised straight into the image's memory (no
// antialiasing, as on the desktop's own drawing surface); only rotated text goes through
// QPainter.
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

    const QImage& image() const { return image_; }
    // Replaces the image (a loaded picture); it is converted to 32 bits at 96 dpi.
    void setImage(QImage image);
    // A new size keeping the top-left pixels as far as they fit; new area in `background`.
    void resize(QSize size, Colour background);

    // What the canvas wrote since the last call, so the screen can show just that. Shapes,
    // lines and texts are kept as a few rectangles (a wheel and a credit line far apart stay
    // apart); rectangle fills, a new image and a resize as one rectangle. Both are clipped to
    // the image, and cover thick pens and glyphs reaching outside the shapes' corners.
    QRegion takeDrawn();
    QRect takeFilled();

    // Runs `paint` twice at once, on this thread and on a second one, each time with a canvas
    // that writes only the image's rows above or from `split` (rounded to a band of the change
    // record); `primary` is set for the one on this thread. Both must make the same drawing
    // calls, so that the image ends as one painting would leave it. The canvases start with
    // this one's pen, brush and font, and what they wrote is recorded here. An exception from
    // either is thrown here once both have ended. A small image, or a machine with one core,
    // is painted once, here.
    void paintInBands(int split, const std::function<void(RasterCanvas&, bool primary)>& paint);
    // The first row of the second band of the last painting in bands; 0 when it was painted
    // whole.
    int bandSplit() const { return bandSplit_; }
    // Runs `here` on this thread and `beside` on the second band's thread at once, and returns
    // when both have ended, throwing what either threw. A job that reads or writes the second
    // band's rows is best run beside: the lines are still in that thread's cache. With one
    // core both run here.
    void runTwo(const std::function<void()>& here, const std::function<void()>& beside);

private:
    class Worker;
    struct BandTag {};
    // A canvas over `whole`'s memory that writes only rows top to end - 1.
    ImageCanvas(BandTag, const ImageCanvas& whole);
    // Readies `band` to paint rows top to end - 1 from this canvas's state.
    void lendBand(ImageCanvas& band, int top, int end) const;
    // The entries of the change record for rows top to end - 1, as [first, last) indexes.
    std::pair<std::size_t, std::size_t> entriesFor(long long top, long long end) const;
    // Takes back what a band wrote and its state.
    void takeBand(const ImageCanvas& band);
    // Takes back both bands, and the pen, brush and font of the first.
    void takeBands();
    // The pen, brush, font and pen position of `other`, the font from this canvas's own fonts.
    void takeToolsOf(const ImageCanvas& other);
    // A text's pixels as horizontal runs relative to its top-left corner.
    struct Glyphs {
        struct Run {
            int dx, dy, length;
        };
        std::vector<Run> runs;
        QSize extent;
        QRect bounds; // of the runs, relative to the text's top-left corner
        // The pixels as offsets in an image row stride, made for the stride last drawn into.
        std::vector<qsizetype> offsets;
        qsizetype offsetsStride = -1;
    };
    Glyphs& glyphs(const QString& text);
    // The runs of dark pixels of a text drawn in black on white, relative to (margin, margin).
    static std::vector<Glyphs::Run> DarkRuns(const QImage& mask, int margin);
    void beginDraw();
    // A new image: beginDraw reads its geometry.
    void forgetGeometry();
    void span(long long y, long long x0, long long x1, QRgb colour);
    void fillPolygon(std::span<const QPointF> points, QRgb colour);
    bool fillConvex(std::span<const QPointF> points, QRgb colour);
    void thinLine(QPoint a, QPoint b, QRgb colour, bool lastPixel);
    void thickLine(QPoint a, QPoint b, int width, QRgb colour);
    // A line of the pen, without its last pixel when one pixel wide.
    void strokeLine(QPoint a, QPoint b);
    // Records that pixels inside the box (inclusive corners) may have changed; after beginDraw.
    void markDrawn(long long left, long long top, long long right, long long bottom);

    QImage image_;
    QRgb pen_ = 0xFF000000;
    int penWidth_ = 1;
    QRgb brush_ = 0xFFFFFFFF;
    QRgb text_ = 0xFF000000;
    QPoint penPos_;
    // Fonts in use with their metrics and rendered texts; a repaint switches between the credit
    // font and the day font, and neither should lose its texts.
    struct FontEntry {
        QString name;
        int points;
        unsigned style;
        QFont font;
        QFontMetrics metrics;
        std::array<std::unique_ptr<Glyphs>, 110> numbers; // "0".."9", then "00".."99"
        std::unordered_map<QString, std::unique_ptr<Glyphs>> texts;
        // Turned texts (the credit line) by escapement and text; their runs are relative to
        // the top-left corner of the box the turned text lies in, `box` relative to (x, y).
        struct Turned {
            int escapement;
            QString text;
            QRect box;
            QSize extent; // unturned, as textExtent gives it
            Glyphs glyphs;
        };
        std::vector<std::unique_ptr<Turned>> turned;
    };
    FontEntry::Turned& turnedGlyphs(const QString& text);
    FontEntry& fontEntry(const QString& name, int points, unsigned style);
    std::vector<std::unique_ptr<FontEntry>> fonts_;
    FontEntry* font_ = nullptr;
    int escapement_ = 0;
    QRgb* bits_ = nullptr;
    qsizetype stride_ = 0;
    int width_ = 0;
    int height_ = 0;
    // The rows this canvas writes, rowTop_ to rowEnd_ - 1: the whole image, or one band of it
    // while it is painted in bands.
    bool band_ = false;
    long long rowTop_ = 0;
    long long rowEnd_ = 0;
    // The rows this canvas may write as a rectangle.
    QRect rowsRect() const;
    // Rectangles of the image by bands of kDrawnRows rows, a few in each band: the hole inside
    // a wheel's rings and the space beside it stay outside them.
    static constexpr int kDrawnRows = 64;
    struct DrawnBand {
        std::size_t count = 0;
        std::array<QRect, 4> rects;
    };
    using Bands = std::vector<DrawnBand>;
    // Adds a rectangle inside the image to the bands.
    static void addToBands(Bands& bands, const QRect& r);
    // Bands for the image's rows, all empty.
    void emptyBands();
    // Writes the brush over the image, or only over what `changed_` holds when the rest is
    // already the brush's colour.
    void fillImage();
    // What was written since takeDrawn.
    Bands drawn_;
    // When set, every pixel of the image outside `changed_` has this colour: a whole-image fill
    // in the same colour (the repaint's clearing) then writes only what was drawn since.
    std::optional<QRgb> background_;
    Bands changed_;
    // The box last added to `drawn_` (and to `changed_` when `background_` is set); a box
    // inside it is in both already. Emptied whenever either is emptied.
    QRect marked_;
    QRect filled_;
    // The two band canvases and the thread of the second, made at the first painting in bands.
    std::array<std::unique_ptr<ImageCanvas>, 2> bands_;
    std::unique_ptr<Worker> worker_;
    int bandSplit_ = 0;
    // Whether the machine has a second core for the bands, once asked.
    std::optional<bool> twoCores_;
    bool twoCores();
    // Set while runTwo runs.
    bool running_ = false;
    // Rows added to the split asked for, to even out the bands' times; the times of the last
    // paintings in bands.
    int shift_ = 0;
    std::chrono::steady_clock::duration hereTime_{}, besideTime_{};
    int samples_ = 0;
    void balance(std::chrono::steady_clock::duration here,
                 std::chrono::steady_clock::duration beside, int last);
};

// The colour to draw with for a stored colour (system colours resolved).
QColor ToQColor(Colour c);
Colour FromQColor(QColor c);

} // namespace gyrodex
