#include "ImageCanvas.h"

#include "CalendarState.h"

#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <exception>
#include <thread>
#include <utility>

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
    points = std::clamp(points, kMinFontPoints, kMaxFontPoints);
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
    if (!image.isNull() && image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);
    return image;
}

// The same value as ToQColor(c).rgb(), without a QColor: pens and brushes change per cell.
QRgb ToRgb(Colour c) {
    const Colour rgb = ResolveColour(c);
    return qRgb(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                static_cast<int>((rgb >> 16) & 0xFF));
}

// ceil and floor for values already clamped to the image's range, or within the reach of a
// point held near it; avoids a library call per row.
inline long long Ceil(double v) {
    const auto i = static_cast<long long>(v);
    return i + (static_cast<double>(i) < v ? 1 : 0);
}
inline long long Floor(double v) {
    const auto i = static_cast<long long>(v);
    return i - (v < static_cast<double>(i) ? 1 : 0);
}

// Eight pixels as one value, stored as a 32-byte word where the processor has them and as two
// 16-byte words where it has not.
using EightPixels = QRgb __attribute__((vector_size(32)));
using FourPixels = QRgb __attribute__((vector_size(16)));

// Writes n pixels of one colour from p on, eight at a time; the last eight may overlap the ones
// before them, which is cheaper than a pixel at a time. Spans of four to seven are two
// overlapping words of four.
inline void FillPixels(QRgb* p, long long n, QRgb colour) {
    if (n >= 8) {
        const EightPixels eight = EightPixels{} + colour;
        QRgb* const last = p + n - 8;
        for (; p < last; p += 8)
            std::memcpy(p, &eight, sizeof eight);
        std::memcpy(last, &eight, sizeof eight);
    } else if (n >= 4) {
        const FourPixels four = FourPixels{} + colour;
        std::memcpy(p, &four, sizeof four);
        std::memcpy(p + n - 4, &four, sizeof four);
    } else {
        for (; n > 0; --n)
            *p++ = colour;
    }
}

// Rows a convex shape may span to be filled by its fast path; taller ones take the general fill.
constexpr int kMaxSpanRows = 512;

// An edge of a convex shape that is not level, as the rows y0 + from to y0 + to see it.
struct SpanEdge {
    double ax, ay, slope;
    int from, to;
};

// Four rows' values: the bounds of four rows are worked out at once.
using FourDoubles = double __attribute__((vector_size(32)));
using FourLongs = long long __attribute__((vector_size(32)));
using FourInts = int __attribute__((vector_size(16)));

// The columns of each row of a convex shape, rows y0 to y0 + rows - 1: in row i, first[i] to
// last[i], none when last[i] < first[i]; both arrays have room for whole groups of four rows. A
// row's span runs between the smallest and largest crossing of the edges that cross it, held to
// the image's columns. Each edge folds its crossings into the bounds of the groups of four rows
// it meets, leaving the rows outside it as they are: no row needs a step of its own. Built twice,
// for processors with 32-byte registers and for the rest.
__attribute__((target_clones("avx2", "default"))) void ConvexSpans(std::span<const SpanEdge> edges,
                                                                   int y0, int rows, double right,
                                                                   int lastColumn, int* first,
                                                                   int* last) {
    const int groups = (rows + 3) / 4;
    FourDoubles lo[kMaxSpanRows / 4];
    FourDoubles hi[kMaxSpanRows / 4];
    for (int g = 0; g < groups; ++g) {
        lo[g] = FourDoubles{} + HUGE_VAL;
        hi[g] = FourDoubles{} - HUGE_VAL;
    }
    const FourDoubles lane = {0, 1, 2, 3};
    for (const SpanEdge& e : edges) {
        const auto from = static_cast<double>(e.from), to = static_cast<double>(e.to);
        for (int g = e.from / 4; g <= e.to / 4; ++g) {
            const FourDoubles row = static_cast<double>(4 * g) + lane;
            const FourDoubles x = e.ax + (row + static_cast<double>(y0) - e.ay) * e.slope;
            const FourLongs inside = row >= from && row <= to;
            lo[g] = (inside && x < lo[g]) ? x : lo[g];
            hi[g] = (inside && hi[g] < x) ? x : hi[g];
        }
    }
    const FourDoubles low = FourDoubles{} - 1.0, high = FourDoubles{} + right;
    for (int g = 0; g < groups; ++g) {
        FourDoubles l = lo[g] < low ? low : lo[g];
        l = high < l ? high : l;
        FourDoubles h = hi[g] < low ? low : hi[g];
        h = high < h ? high : h;
        // ceil, as the integer part plus one where that is below the value.
        FourInts fl = __builtin_convertvector(l, FourInts);
        fl -= __builtin_convertvector(__builtin_convertvector(fl, FourDoubles) < l, FourInts);
        FourInts fh = __builtin_convertvector(h, FourInts);
        fh -= __builtin_convertvector(__builtin_convertvector(fh, FourDoubles) < h, FourInts);
        fl = fl < 0 ? FourInts{} : fl;
        fh -= 1;
        fh = fh > lastColumn ? FourInts{} + lastColumn : fh;
        std::memcpy(first + 4 * g, &fl, sizeof fl);
        std::memcpy(last + 4 * g, &fh, sizeof fh);
    }
}

// Sixteen pixels as one value: one 64-byte store where the processor has them, else two or four.
using SixteenPixels = QRgb __attribute__((vector_size(64)));

// Writes a run of rows, `stride` pixels apart: in row i the pixels first[i] to last[i], none
// when last[i] < first[i]. A row is written sixteen pixels at a time, the last sixteen
// overlapping the ones before; rows of eight to fifteen as two overlapping words of eight, the
// rest as FillPixels writes them. Built for processors with 64-byte and 32-byte stores and for
// the rest.
__attribute__((target_clones("avx512f", "avx2", "default"))) void
FillRows(QRgb* row, qsizetype stride, const int* first, const int* last, int rows, QRgb colour) {
    const SixteenPixels sixteen = SixteenPixels{} + colour;
    const EightPixels eight = EightPixels{} + colour;
    for (int i = 0; i < rows; ++i, row += stride) {
        const int n = last[i] - first[i] + 1;
        QRgb* p = row + first[i];
        if (n >= 16) {
            QRgb* const end = p + n - 16;
            for (; p < end; p += 16)
                std::memcpy(p, &sixteen, sizeof sixteen);
            std::memcpy(end, &sixteen, sizeof sixteen);
        } else if (n >= 8) {
            std::memcpy(p, &eight, sizeof eight);
            std::memcpy(p + n - 8, &eight, sizeof eight);
        } else if (n > 0) {
            FillPixels(p, n, colour);
        }
    }
}

} // namespace

ImageCanvas::ImageCanvas(QSize size)
    : ImageCanvas(size.isEmpty() ? QImage() : QImage(size, QImage::Format_RGB32)) {
    if (!image_.isNull())
        image_.fill(Qt::white);
}

ImageCanvas::ImageCanvas(QImage image) : image_(PrepareImage(std::move(image))) {
    font_ = &fontEntry(DayFont::defaultName(), DayFont::kDefaultSize, 0);
    emptyBands();
}

ImageCanvas::ImageCanvas(BandTag, const ImageCanvas& whole) : band_(true) {
    takeToolsOf(whole);
    emptyBands();
}

namespace {

// A short wait while looking at a flag another thread sets, easy on the core that shares it.
inline void Pause() {
#if defined(__x86_64__) || defined(__i386__)
    for (int i = 0; i < 16; ++i)
        __builtin_ia32_pause();
#else
    std::this_thread::yield();
#endif
}

} // namespace

// The second painting thread of paintInBands. It waits for a job, runs it and says it is done,
// through one flag: set by the painting thread for a job, cleared by the worker when it ends.
class ImageCanvas::Worker {
public:
    Worker() : thread_([this] { loop(); }) {}
    ~Worker() {
        stop_ = true;
        busy_.store(true, std::memory_order_release);
        busy_.notify_one();
        thread_.join();
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    void start(const std::function<void()>& job) {
        job_ = &job;
        error_ = nullptr;
        busy_.store(true, std::memory_order_release);
        busy_.notify_one();
    }

    // Waits for the job to end; what it threw, if anything.
    std::exception_ptr wait() {
        // The two halves of a painting take about as long, so the wait is short.
        await(false, std::chrono::microseconds(200));
        return error_;
    }

private:
    // Returns once the flag is `value`: looks at it for up to `spin` first, then sleeps, since
    // waking a sleeping thread takes longer than most waits here.
    void await(bool value, std::chrono::microseconds spin) {
        const auto until = std::chrono::steady_clock::now() + spin;
        while (busy_.load(std::memory_order_acquire) != value &&
               std::chrono::steady_clock::now() < until)
            Pause();
        while (busy_.load(std::memory_order_acquire) != value)
            busy_.wait(!value, std::memory_order_acquire);
    }

    void loop() {
        for (;;) {
            // Repaints come one after another while a spin field is held or dragged: the next
            // job is looked for a while before sleeping.
            await(true, std::chrono::microseconds(500));
            if (stop_)
                return;
            try {
                (*job_)();
            } catch (...) {
                error_ = std::current_exception();
            }
            busy_.store(false, std::memory_order_release);
            busy_.notify_one();
        }
    }

    std::atomic<bool> busy_{false};
    std::atomic<bool> stop_{false};
    const std::function<void()>* job_ = nullptr;
    std::exception_ptr error_;
    std::thread thread_;
};

ImageCanvas::~ImageCanvas() = default;

QRect ImageCanvas::rowsRect() const {
    if (!band_)
        return image_.rect();
    return QRect(0, static_cast<int>(rowTop_), image_.width(), static_cast<int>(rowEnd_ - rowTop_));
}

std::pair<std::size_t, std::size_t> ImageCanvas::entriesFor(long long top, long long end) const {
    const auto first = std::min(static_cast<std::size_t>(top / kDrawnRows), drawn_.size());
    const auto last =
        std::min(static_cast<std::size_t>((end + kDrawnRows - 1) / kDrawnRows), drawn_.size());
    return {first, std::max(first, last)};
}

void ImageCanvas::lendBand(ImageCanvas& band, int top, int end) const {
    if (band.image_.constBits() != image_.constBits() || band.image_.size() != image_.size() ||
        band.image_.bytesPerLine() != image_.bytesPerLine()) {
        // A QImage over this image's memory, which it does not own or copy: writing through it
        // writes this image.
        band.image_ = QImage(reinterpret_cast<uchar*>(bits_), width_, height_,
                             image_.bytesPerLine(), QImage::Format_RGB32);
        band.forgetGeometry();
    }
    band.rowTop_ = top;
    band.rowEnd_ = end;
    band.drawn_.resize(drawn_.size());
    band.changed_.resize(changed_.size());
    const auto [first, last] = entriesFor(top, end);
    for (std::size_t i = first; i < last; ++i) {
        band.drawn_[i] = drawn_[i];
        band.changed_[i] = changed_[i];
    }
    band.background_ = background_;
    band.marked_ = QRect();
    band.filled_ = QRect();
    band.takeToolsOf(*this);
}

void ImageCanvas::takeToolsOf(const ImageCanvas& other) {
    pen_ = other.pen_;
    penWidth_ = other.penWidth_;
    brush_ = other.brush_;
    text_ = other.text_;
    penPos_ = other.penPos_;
    font_ = &fontEntry(other.font_->name, other.font_->points, other.font_->style);
    escapement_ = other.escapement_;
}

void ImageCanvas::takeBand(const ImageCanvas& band) {
    const auto [first, last] = entriesFor(band.rowTop_, band.rowEnd_);
    for (std::size_t i = first; i < last; ++i) {
        drawn_[i] = band.drawn_[i];
        changed_[i] = band.changed_[i];
    }
    filled_ |= band.filled_;
}

bool ImageCanvas::twoCores() {
    // Asked once: the library reads the count from a system file at every call.
    if (!twoCores_)
        twoCores_ = std::thread::hardware_concurrency() >= 2;
    return *twoCores_;
}

void ImageCanvas::runTwo(const std::function<void()>& here, const std::function<void()>& beside) {
    // Called again from inside a job (an event loop run while painting), the worker is taken:
    // the two run here, one after the other.
    if (!twoCores() || running_) {
        here();
        beside();
        return;
    }
    if (!worker_)
        worker_ = std::make_unique<Worker>();
    running_ = true;
    struct Done {
        bool& running;
        ~Done() { running = false; }
    } done{running_};
    worker_->start(beside);
    std::exception_ptr first;
    try {
        here();
    } catch (...) {
        first = std::current_exception();
    }
    const std::exception_ptr other = worker_->wait();
    if (first)
        std::rethrow_exception(first);
    if (other)
        std::rethrow_exception(other);
}

void ImageCanvas::paintInBands(int split, const std::function<void(RasterCanvas&, bool)>& paint) {
    beginDraw();
    // Bands of the change record stay whole, so that each canvas keeps to its own entries.
    const int last = (height_ - 1) / kDrawnRows * kDrawnRows;
    if (height_ < 2 * kDrawnRows || !twoCores() || running_) {
        bandSplit_ = 0;
        paint(*this, true);
        return;
    }
    // In 64 bits: a wheel's centre may lie anywhere in the 32-bit range.
    const long long wanted =
        std::clamp(static_cast<long long>(split) + shift_, 0LL, static_cast<long long>(height_));
    split = std::clamp(static_cast<int>((wanted + kDrawnRows / 2) / kDrawnRows * kDrawnRows),
                       kDrawnRows, last);
    bandSplit_ = split;
    for (auto& band : bands_)
        if (!band)
            band.reset(new ImageCanvas(BandTag{}, *this));
    lendBand(*bands_[0], 0, split);
    lendBand(*bands_[1], split, height_);
    // What the bands wrote is taken back however the painting ended.
    struct TakeBack {
        ImageCanvas& whole;
        ~TakeBack() { whole.takeBands(); }
    } takeBack{*this};
    using Clock = std::chrono::steady_clock;
    Clock::duration here{}, beside{};
    runTwo(
        [&] {
            const auto start = Clock::now();
            paint(*bands_[0], true);
            here = Clock::now() - start;
        },
        [&] {
            const auto start = Clock::now();
            paint(*bands_[1], false);
            beside = Clock::now() - start;
        });
    balance(here, beside, last);
}

void ImageCanvas::balance(std::chrono::steady_clock::duration here,
                          std::chrono::steady_clock::duration beside, int last) {
    // The bands rarely cost the same: the wheel's centre is not on a band's edge, this thread
    // also keeps the grid of cells, and the second thread's cache may hold other rows. After a
    // few paintings the band that took longer gives a band of rows to the other.
    constexpr int kSamples = 8;
    hereTime_ += here;
    besideTime_ += beside;
    if (++samples_ < kSamples)
        return;
    // A difference of less than a tenth is left alone, so that the split does not swing.
    if (besideTime_ * 10 > hereTime_ * 11 && bandSplit_ + kDrawnRows <= last)
        shift_ += kDrawnRows;
    else if (hereTime_ * 10 > besideTime_ * 11 && bandSplit_ - kDrawnRows >= kDrawnRows)
        shift_ -= kDrawnRows;
    shift_ = std::clamp(shift_, -height_, height_);
    hereTime_ = besideTime_ = {};
    samples_ = 0;
}

void ImageCanvas::takeBands() {
    takeBand(*bands_[0]);
    takeBand(*bands_[1]);
    // The image is the background outside what changed only where both bands say so.
    background_ =
        bands_[0]->background_ == bands_[1]->background_ ? bands_[0]->background_ : std::nullopt;
    marked_ = QRect();
    takeToolsOf(*bands_[0]);
}

void ImageCanvas::emptyBands() {
    const auto count = static_cast<std::size_t>((image_.height() + kDrawnRows - 1LL) / kDrawnRows);
    drawn_.assign(count, DrawnBand{});
    changed_.assign(count, DrawnBand{});
    marked_ = QRect();
}

void ImageCanvas::setImage(QImage image) {
    image_ = PrepareImage(std::move(image));
    forgetGeometry();
    background_.reset();
    emptyBands();
    filled_ = image_.rect();
}

void ImageCanvas::resize(QSize size, Colour background) {
    QImage resized(size, QImage::Format_RGB32);
    resized.fill(ToRgb(background));
    const int rowBytes = std::min(size.width(), image_.width()) * static_cast<int>(sizeof(QRgb));
    for (int y = 0; y < std::min(size.height(), image_.height()); ++y)
        std::memcpy(resized.scanLine(y), image_.constScanLine(y),
                    static_cast<std::size_t>(rowBytes));
    image_ = PrepareImage(std::move(resized));
    forgetGeometry();
    background_.reset();
    emptyBands();
    filled_ = image_.rect();
}

void ImageCanvas::markDrawn(long long left, long long top, long long right, long long bottom) {
    left = std::max(left, 0LL);
    top = std::max(top, rowTop_);
    right = std::min(right, width_ - 1LL);
    bottom = std::min(bottom, rowEnd_ - 1);
    if (left > right || top > bottom)
        return;
    // A cell's day number and month lines lie within the box of its shape, marked just before.
    if (left >= marked_.left() && top >= marked_.top() && right <= marked_.right() &&
        bottom <= marked_.bottom())
        return;
    const QRect r(QPoint(static_cast<int>(left), static_cast<int>(top)),
                  QPoint(static_cast<int>(right), static_cast<int>(bottom)));
    addToBands(drawn_, r);
    if (background_)
        addToBands(changed_, r);
    marked_ = r;
}

void ImageCanvas::addToBands(Bands& bands, const QRect& r) {
    // Within a band, shapes drawn one after another touch each other: they grow one rectangle.
    // Something far away across starts another; past a few, everything goes into the first.
    constexpr int kNear = 32;
    for (int band = r.top() / kDrawnRows; band <= r.bottom() / kDrawnRows; ++band) {
        const QRect piece(
            QPoint(r.left(), std::max(r.top(), band * kDrawnRows)),
            QPoint(r.right(), std::min(r.bottom(), band * kDrawnRows + kDrawnRows - 1)));
        DrawnBand& b = bands[static_cast<std::size_t>(band)];
        bool merged = false;
        // Plain comparisons: every rectangle here is valid, and this runs for every shape drawn.
        for (std::size_t i = 0; i < b.count && !merged; ++i) {
            QRect& d = b.rects[i];
            if (d.left() <= piece.right() + kNear && piece.left() - kNear <= d.right()) {
                d.setCoords(std::min(d.left(), piece.left()), std::min(d.top(), piece.top()),
                            std::max(d.right(), piece.right()),
                            std::max(d.bottom(), piece.bottom()));
                merged = true;
            }
        }
        if (merged)
            continue;
        if (b.count < b.rects.size())
            b.rects[b.count++] = piece;
        else
            b.rects[0] |= piece;
    }
}

QRegion ImageCanvas::takeDrawn() {
    QRegion region;
    marked_ = QRect();
    for (DrawnBand& b : drawn_) {
        for (std::size_t i = 0; i < b.count; ++i)
            region += b.rects[i];
        b.count = 0;
    }
    return region;
}

QRect ImageCanvas::takeFilled() {
    return std::exchange(filled_, QRect());
}

void ImageCanvas::setPen(Colour colour, int width) {
    pen_ = ToRgb(colour);
    penWidth_ = std::max(1, width);
}

void ImageCanvas::setBrush(Colour colour) {
    brush_ = ToRgb(colour);
}

ImageCanvas::FontEntry& ImageCanvas::fontEntry(const QString& name, int points, unsigned style) {
    points = std::clamp(points, kMinFontPoints, kMaxFontPoints);
    for (const auto& f : fonts_)
        if (f->points == points && f->style == style && f->name == name)
            return *f;
    if (fonts_.size() >= 8)
        fonts_.erase(fonts_.begin());
    const QFont font = MakeFont(name, points, style);
    fonts_.push_back(std::make_unique<FontEntry>(
        FontEntry{name, points, style, font, QFontMetrics(font), {}, {}, {}}));
    return *fonts_.back();
}

void ImageCanvas::setFont(const QString& name, int points, unsigned style, Colour colour,
                          int escapement) {
    FontEntry& entry = fontEntry(name, points, style);
    font_ = &entry;
    escapement_ = escapement;
    setFontColour(colour);
}

void ImageCanvas::setFontColour(Colour colour) {
    text_ = ToRgb(colour);
}

inline void ImageCanvas::span(long long y, long long x0, long long x1, QRgb colour) {
    if (y < rowTop_ || y >= rowEnd_)
        return;
    x0 = std::max(x0, 0LL);
    x1 = std::min(x1, width_ - 1LL);
    if (x0 > x1)
        return;
    const long long offset = y * stride_ + x0;
    FillPixels(bits_ + offset, x1 - x0 + 1, colour);
}

void ImageCanvas::forgetGeometry() {
    bits_ = nullptr;
    stride_ = 0;
    width_ = height_ = 0;
    if (!band_)
        rowTop_ = rowEnd_ = 0;
}

void ImageCanvas::beginDraw() {
    // One detach check per drawing operation, not one per row or pixel. The image's geometry
    // is read again only when its memory moved: a new image, or a copy made by the detach.
    auto* const bits = reinterpret_cast<QRgb*>(image_.bits());
    if (bits == bits_)
        return;
    bits_ = bits;
    stride_ = image_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    width_ = image_.width();
    height_ = image_.height();
    if (!band_) {
        rowTop_ = 0;
        rowEnd_ = height_;
    }
}

namespace {

// Fills a rectangle inside the image; a QImage over its memory lets the platform's vectorised
// fill do the work.
void FillBlock(QImage& image, const QRect& r, QRgb colour) {
    QImage block(image.scanLine(r.top()) + static_cast<qsizetype>(r.left()) * sizeof(QRgb),
                 r.width(), r.height(), image.bytesPerLine(), image.format());
    block.fill(colour);
}

} // namespace

void ImageCanvas::fillRect(const QRect& rect) {
    beginDraw();
    const QRect rows = rowsRect();
    const QRect r = rect.intersected(rows);
    if (r.isEmpty())
        return;
    filled_ |= r;
    if (r == rows) {
        fillImage();
        return;
    }
    FillBlock(image_, r, brush_);
    if (background_ && *background_ != brush_)
        addToBands(changed_, r);
}

void ImageCanvas::fillImage() {
    marked_ = QRect();
    // The entries of the change record for this canvas's rows.
    const auto [first, last] = entriesFor(rowTop_, rowEnd_);
    const auto from = changed_.begin() + static_cast<std::ptrdiff_t>(first);
    const auto to = changed_.begin() + static_cast<std::ptrdiff_t>(last);
    if (background_ == brush_) {
        for (auto b = from; b != to; ++b) {
            for (std::size_t i = 0; i < b->count; ++i)
                FillBlock(image_, b->rects[i], brush_);
            b->count = 0;
        }
        return;
    }
    if (band_)
        FillBlock(image_, rowsRect(), brush_);
    else
        image_.fill(brush_);
    background_ = brush_;
    for (auto b = from; b != to; ++b)
        b->count = 0;
}

namespace {

bool IsConvex(std::span<const QPointF> pts) {
    int sign = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const QPointF& a = pts[i];
        // Neighbours by wrapping, not by remainder: this runs for every cell.
        const std::size_t j = i + 1 < pts.size() ? i + 1 : i + 1 - pts.size();
        const std::size_t k = j + 1 < pts.size() ? j + 1 : j + 1 - pts.size();
        const QPointF& b = pts[j];
        const QPointF& c = pts[k];
        const double cross = (b.x() - a.x()) * (c.y() - b.y()) - (b.y() - a.y()) * (c.x() - b.x());
        const int s = cross > 0 ? 1 : (cross < 0 ? -1 : 0);
        if (s != 0) {
            if (sign != 0 && s != sign)
                return false;
            sign = s;
        }
    }
    return true;
}

} // namespace

// The fast path for convex polygons (every cell of the wheel but mirrored inner rings). A row's
// span runs between the smallest and the largest crossing of the edges that cross it: each edge
// folds its crossings into the rows' bounds, and the bounds become columns for the rows' stores.
bool ImageCanvas::fillConvex(std::span<const QPointF> pts, QRgb colour) {
    double top = pts[0].y(), bottom = pts[0].y();
    for (const QPointF& p : pts) {
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    long long y0 = std::max<long long>(Ceil(std::max(top, -1.0)), 0);
    long long y1 = std::min<long long>(Ceil(std::min(bottom, static_cast<double>(height_) + 1)) - 1,
                                       height_ - 1LL);
    if (y1 - y0 + 1 > kMaxSpanRows || !IsConvex(pts))
        return false;
    // The rows this canvas writes, decided after the choice of fill so that a band of the
    // image fills a shape as the whole image would.
    y0 = std::max(y0, rowTop_);
    y1 = std::min(y1, rowEnd_ - 1);
    if (y1 < y0)
        return true;

    // Each edge that is not level, with the rows it crosses: from the row at or below its top
    // end to the row above its bottom end.
    constexpr std::size_t kFew = 8;
    SpanEdge fewEdges[kFew];
    std::vector<SpanEdge> manyEdges;
    SpanEdge* edges = fewEdges;
    if (pts.size() > kFew) {
        manyEdges.resize(pts.size());
        edges = manyEdges.data();
    }
    std::size_t n = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const QPointF& a = pts[i];
        const QPointF& b = pts[i + 1 < pts.size() ? i + 1 : 0];
        if (a.y() == b.y())
            continue;
        const double slope = (b.x() - a.x()) / (b.y() - a.y());
        const long long from = std::max(Ceil(std::min(a.y(), b.y())), y0);
        const long long to = std::min(Ceil(std::max(a.y(), b.y())) - 1, y1);
        if (from > to)
            continue;
        edges[n++] = {a.x(), a.y(), slope, static_cast<int>(from - y0), static_cast<int>(to - y0)};
    }
    const int rows = static_cast<int>(y1 - y0 + 1);
    int first[kMaxSpanRows];
    int last[kMaxSpanRows];
    static_assert(kMaxSpanRows % 4 == 0, "spans are worked out four rows at a time");
    ConvexSpans(std::span<const SpanEdge>(edges, n), static_cast<int>(y0), rows,
                static_cast<double>(width_) + 1, width_ - 1, first, last);
    FillRows(bits_ + y0 * stride_, stride_, first, last, rows, colour);
    return true;
}

// Even-odd scanline fill: a pixel is inside when its integer coordinates are, with the usual
// half-open rule on the top and left edges; the outline drawn afterwards covers the boundary.
void ImageCanvas::fillPolygon(std::span<const QPointF> pts, QRgb colour) {
    if (pts.size() < 3)
        return;
    if (fillConvex(pts, colour))
        return;
    struct Edge {
        double top, bottom, x, slope; // x at y = 0 along the edge's line, and dx/dy
    };
    // Cells have four corners: keep the work arrays on the stack for small polygons.
    constexpr std::size_t kFew = 8;
    Edge fewEdges[kFew];
    double fewXs[kFew];
    std::vector<Edge> manyEdges;
    std::vector<double> manyXs;
    Edge* edges = fewEdges;
    double* xs = fewXs;
    if (pts.size() > kFew) {
        manyEdges.resize(pts.size());
        manyXs.resize(pts.size());
        edges = manyEdges.data();
        xs = manyXs.data();
    }
    std::size_t n = 0;
    double top = pts[0].y(), bottom = pts[0].y();
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const QPointF& a = pts[i];
        const QPointF& b = pts[(i + 1) % pts.size()];
        top = std::min(top, a.y());
        bottom = std::max(bottom, a.y());
        if (a.y() == b.y())
            continue;
        const double slope = (b.x() - a.x()) / (b.y() - a.y());
        edges[n++] = {std::min(a.y(), b.y()), std::max(a.y(), b.y()), a.x() - a.y() * slope, slope};
    }
    const long long y0 = std::max<long long>(static_cast<long long>(std::ceil(top)), rowTop_);
    const long long y1 =
        std::min<long long>(static_cast<long long>(std::ceil(bottom)) - 1, rowEnd_ - 1);
    const double right = static_cast<double>(width_) + 1;
    for (long long y = y0; y <= y1; ++y) {
        const auto yd = static_cast<double>(y);
        std::size_t count = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (edges[i].top <= yd && yd < edges[i].bottom) {
                // Insertion sort while collecting: a cell has two crossings a row.
                const double x = edges[i].x + yd * edges[i].slope;
                std::size_t j = count++;
                for (; j > 0 && xs[j - 1] > x; --j)
                    xs[j] = xs[j - 1];
                xs[j] = x;
            }
        }
        for (std::size_t i = 0; i + 1 < count; i += 2) {
            const double from = std::clamp(xs[i], -1.0, right);
            const double to = std::clamp(xs[i + 1], -1.0, right);
            span(y, Ceil(from), Ceil(to) - 1, colour);
        }
    }
}

namespace {

// The pixels of a one-pixel line from p on. The walk steps across when 2*err >= ady and down
// when 2*err <= adx. For a line at least as wide as it is tall err never falls below ady/2, so it
// steps across at every pixel; for a taller one err never rises above adx/2, so it steps down at
// every pixel. Each case keeps just the test that can fail.
void WalkLine(QRgb* p, long long count, long long err, long long adx, long long ady, long long sx,
              long long stepY, QRgb colour) {
    if (adx >= -ady) {
        for (; count > 0; --count) {
            *p = colour;
            const long long e2 = 2 * err;
            err += ady;
            p += sx;
            if (e2 <= adx) {
                err += adx;
                p += stepY;
            }
        }
    } else {
        for (; count > 0; --count) {
            *p = colour;
            const long long e2 = 2 * err;
            err += adx;
            p += stepY;
            if (e2 >= ady) {
                err += ady;
                p += sx;
            }
        }
    }
}

// WalkLine writing only the pixels from `from` up to `to` (rows of the image).
void WalkLineWithin(QRgb* p, long long count, long long err, long long adx, long long ady,
                    long long sx, long long stepY, QRgb colour, const QRgb* from, const QRgb* to) {
    for (; count > 0; --count) {
        if (p >= from && p < to)
            *p = colour;
        const long long e2 = 2 * err;
        if (e2 >= ady) {
            err += ady;
            p += sx;
        }
        if (e2 <= adx) {
            err += adx;
            p += stepY;
        }
    }
}

} // namespace

// A one-pixel line (Bresenham). A line that leaves the image is clipped to it first, so a
// far-away line costs nothing and the walk never leaves the image.
void ImageCanvas::thinLine(QPoint a, QPoint b, QRgb colour, bool lastPixel) {
    long long x0 = a.x(), y0 = a.y(), x1 = b.x(), y1 = b.y();
    const long long w = width_, h = height_;
    if (w <= 0 || h <= 0)
        return;
    const bool inside =
        x0 >= 0 && y0 >= 0 && x1 >= 0 && y1 >= 0 && x0 < w && x1 < w && y0 < h && y1 < h;
    if (!inside) {
        // Liang-Barsky against the image.
        double t0 = 0, t1 = 1;
        const auto dx = static_cast<double>(x1 - x0), dy = static_cast<double>(y1 - y0);
        const double p[4] = {-dx, dx, -dy, dy};
        const double q[4] = {static_cast<double>(x0), static_cast<double>(w - 1 - x0),
                             static_cast<double>(y0), static_cast<double>(h - 1 - y0)};
        for (int i = 0; i < 4; ++i) {
            if (p[i] == 0) {
                if (q[i] < 0)
                    return;
                continue;
            }
            const double t = q[i] / p[i];
            if (p[i] < 0)
                t0 = std::max(t0, t);
            else
                t1 = std::min(t1, t);
        }
        if (t0 > t1)
            return;
        const long long sx0 = x0, sy0 = y0;
        if (t1 < 1) {
            x1 = std::clamp(sx0 + std::llround(t1 * dx), 0LL, w - 1);
            y1 = std::clamp(sy0 + std::llround(t1 * dy), 0LL, h - 1);
            lastPixel = true;
        }
        if (t0 > 0) {
            x0 = std::clamp(sx0 + std::llround(t0 * dx), 0LL, w - 1);
            y0 = std::clamp(sy0 + std::llround(t0 * dy), 0LL, h - 1);
        }
    }
    // Both ends are in the image now: step a pointer, no bounds checks.
    const long long sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    const long long adx = std::llabs(x1 - x0), ady = -std::llabs(y1 - y0);
    const long long err = adx + ady;
    QRgb* const p = bits_ + y0 * stride_ + x0;
    const long long stepY = sy * stride_;
    const long long count = std::max(adx, -ady) + (lastPixel ? 1 : 0);
    const long long top = std::min(y0, y1), bottom = std::max(y0, y1);
    if (top >= rowTop_ && bottom < rowEnd_) {
        WalkLine(p, count, err, adx, ady, sx, stepY, colour);
        return;
    }
    // Across the edge of this canvas's rows: the same walk, writing only the pixels in them.
    if (bottom < rowTop_ || top >= rowEnd_)
        return;
    WalkLineWithin(p, count, err, adx, ady, sx, stepY, colour, bits_ + rowTop_ * stride_,
                   bits_ + rowEnd_ * stride_);
}

// A line of the given width with round ends: every pixel whose sample point lies within half
// the width of the segment. Odd widths sample pixel centres on the integer grid, even widths
// half a pixel off it, so that a width of n covers n pixels across.
void ImageCanvas::thickLine(QPoint a, QPoint b, int width, QRgb colour) {
    const double r = width / 2.0;
    const double off = width % 2 == 0 ? 0.5 : 0.0;
    const double ax = a.x(), ay = a.y(), bx = b.x(), by = b.y();
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    const long long yTop = std::max<long long>(Floor(std::min(ay, by) - r - off), rowTop_);
    const long long yBottom = std::min<long long>(Ceil(std::max(ay, by) + r - off), rowEnd_ - 1);
    const double r2 = r * r + 1e-9;
    // The band's half width times the length, the same for every row.
    const double rl = len2 > 0 ? r * std::sqrt(len2) + 1e-9 : 0;
    const double right = static_cast<double>(width_);
    for (long long y = yTop; y <= yBottom; ++y) {
        const double py = static_cast<double>(y) + off;
        double lo = HUGE_VAL, hi = -HUGE_VAL;
        auto disc = [&](double cx, double cy) {
            const double h2 = r2 - (py - cy) * (py - cy);
            if (h2 >= 0) {
                const double hw = std::sqrt(h2);
                lo = std::min(lo, cx - hw);
                hi = std::max(hi, cx + hw);
            }
        };
        disc(ax, ay);
        disc(bx, by);
        if (len2 > 0) {
            // The band |cross| <= r*len and 0 <= dot <= len2, solved for x on this row.
            double xl = -HUGE_VAL, xh = HUGE_VAL;
            bool empty = false;
            auto bound = [&](double coef, double rest, double limit) { // coef*x + rest <= limit
                if (coef == 0) {
                    if (rest > limit)
                        empty = true;
                } else if (coef > 0) {
                    xh = std::min(xh, (limit - rest) / coef);
                } else {
                    xl = std::max(xl, (limit - rest) / coef);
                }
            };
            // cross = dx*(py-ay) - dy*(x-ax); dot = dx*(x-ax) + dy*(py-ay)
            bound(-dy, dx * (py - ay) + dy * ax, rl);
            bound(dy, -(dx * (py - ay) + dy * ax), rl);
            bound(dx, -dx * ax + dy * (py - ay), len2);
            bound(-dx, dx * ax - dy * (py - ay), 0);
            if (!empty && xl <= xh) {
                lo = std::min(lo, xl);
                hi = std::max(hi, xh);
            }
        }
        if (lo <= hi) {
            lo = std::max(lo - off, -1.0);
            hi = std::min(hi - off, right);
            // Both within the reach of a held point: the plain roundings are exact.
            span(y, Ceil(lo), Floor(hi), colour);
        }
    }
}

void ImageCanvas::strokeLine(QPoint a, QPoint b) {
    if (penWidth_ <= 1)
        thinLine(a, b, pen_, false);
    else
        thickLine(a, b, penWidth_, pen_);
}

void ImageCanvas::polygon(std::span<const QPoint> points) {
    if (points.empty())
        return;
    beginDraw();
    long long left = points[0].x(), right = left, top = points[0].y(), bottom = top;
    for (const QPoint& p : points) {
        left = std::min<long long>(left, p.x());
        right = std::max<long long>(right, p.x());
        top = std::min<long long>(top, p.y());
        bottom = std::max<long long>(bottom, p.y());
    }
    const long long reach = penWidth_ / 2 + 1;
    if (bottom + reach < rowTop_ || top - reach >= rowEnd_)
        return; // wholly in rows this canvas does not write
    markDrawn(left - reach, top - reach, right + reach, bottom + reach);
    // The fill works in real coordinates.
    QPointF few[8];
    std::vector<QPointF> many;
    std::span<QPointF> f(few, points.size() <= 8 ? points.size() : 0);
    if (points.size() > 8) {
        many.resize(points.size());
        f = many;
    }
    std::copy(points.begin(), points.end(), f.begin());
    fillPolygon(f, brush_);
    for (std::size_t i = 0; i < points.size(); ++i)
        strokeLine(points[i], points[i + 1 < points.size() ? i + 1 : 0]);
}

void ImageCanvas::moveTo(QPoint p) {
    penPos_ = p;
}

void ImageCanvas::lineTo(QPoint p) {
    beginDraw();
    const long long reach = penWidth_ / 2 + 1;
    if (std::max<long long>(penPos_.y(), p.y()) + reach < rowTop_ ||
        std::min<long long>(penPos_.y(), p.y()) - reach >= rowEnd_) {
        penPos_ = p; // wholly in rows this canvas does not write
        return;
    }
    markDrawn(std::min<long long>(penPos_.x(), p.x()) - reach,
              std::min<long long>(penPos_.y(), p.y()) - reach,
              std::max<long long>(penPos_.x(), p.x()) + reach,
              std::max<long long>(penPos_.y(), p.y()) + reach);
    strokeLine(penPos_, p);
    penPos_ = p;
}

namespace {

// The index of a text of one or two ASCII digits (the day numbers), or -1.
int NumberIndex(const QString& text) {
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9' ? c.unicode() - u'0' : -1; };
    if (text.size() == 1)
        return digit(text[0]);
    if (text.size() == 2 && digit(text[0]) >= 0 && digit(text[1]) >= 0)
        return 10 + digit(text[0]) * 10 + digit(text[1]);
    return -1;
}

} // namespace

std::vector<ImageCanvas::Glyphs::Run> ImageCanvas::DarkRuns(const QImage& mask, int margin) {
    std::vector<Glyphs::Run> runs;
    for (int y = 0; y < mask.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < mask.width();) {
            if (qGray(row[x]) >= 128) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < mask.width() && qGray(row[x]) < 128)
                ++x;
            runs.push_back({start - margin, y - margin, x - start});
        }
    }
    return runs;
}

ImageCanvas::Glyphs& ImageCanvas::glyphs(const QString& text) {
    // Day numbers are looked up by value: hashing a string costs more than drawing it.
    std::unique_ptr<Glyphs>* slot = nullptr;
    if (const int index = NumberIndex(text); index >= 0) {
        slot = &font_->numbers[static_cast<std::size_t>(index)];
    } else {
        if (font_->texts.size() > 256)
            font_->texts.clear();
        slot = &font_->texts[text];
    }
    if (*slot)
        return **slot;

    auto g = std::make_unique<Glyphs>();
    g->extent = QSize(font_->metrics.horizontalAdvance(text), font_->metrics.height());
    // Render once in black on white with room for overhanging glyphs, then keep the runs.
    const int margin = g->extent.height();
    QImage mask(g->extent.width() + 2 * margin, g->extent.height() + 2 * margin,
                QImage::Format_RGB32);
    mask.fill(Qt::white);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(font_->font);
        p.setPen(Qt::black);
        p.drawText(QPoint(margin, margin + font_->metrics.ascent()), text);
    }
    for (const Glyphs::Run& run : DarkRuns(mask, margin)) {
        g->runs.push_back(run);
        g->bounds |= QRect(run.dx, run.dy, run.length, 1);
    }
    *slot = std::move(g);
    return **slot;
}

void ImageCanvas::textOut(int x, int y, const QString& text) {
    if (escapement_ == 0) {
        Glyphs& g = glyphs(text);
        beginDraw();
        if (g.bounds.isEmpty())
            return;
        // 64-bit sums: a text anchored near the end of the 32-bit range cannot overflow them.
        const long long left = static_cast<long long>(x) + g.bounds.left();
        const long long top = static_cast<long long>(y) + g.bounds.top();
        const long long right = static_cast<long long>(x) + g.bounds.right();
        const long long bottom = static_cast<long long>(y) + g.bounds.bottom();
        markDrawn(left, top, right, bottom);
        if (bottom < rowTop_ || top >= rowEnd_)
            return;
        if (left >= 0 && top >= rowTop_ && right < width_ && bottom < rowEnd_) {
            // Wholly inside the image: one store a pixel, no clipping.
            if (g.offsetsStride != stride_) {
                g.offsets.clear();
                for (const Glyphs::Run& r : g.runs)
                    for (int i = 0; i < r.length; ++i)
                        g.offsets.push_back(r.dy * stride_ + r.dx + i);
                g.offsetsStride = stride_;
            }
            QRgb* origin = bits_ + static_cast<qsizetype>(y) * stride_ + x;
            for (const qsizetype offset : g.offsets)
                origin[offset] = text_;
            return;
        }
        for (const Glyphs::Run& r : g.runs)
            span(static_cast<long long>(y) + r.dy, static_cast<long long>(x) + r.dx,
                 static_cast<long long>(x) + r.dx + r.length - 1, text_);
        return;
    }
    // Drawn once into a mask and kept as runs: the same pixels, since the turned text is
    // rasterised without smoothing and the two places differ by whole pixels.
    const FontEntry::Turned& t = turnedGlyphs(text);
    beginDraw();
    markDrawn(static_cast<long long>(x) + t.box.left(), static_cast<long long>(y) + t.box.top(),
              static_cast<long long>(x) + t.box.right(),
              static_cast<long long>(y) + t.box.bottom());
    const long long left = static_cast<long long>(x) + t.box.left();
    const long long top = static_cast<long long>(y) + t.box.top();
    for (const Glyphs::Run& r : t.glyphs.runs)
        span(top + r.dy, left + r.dx, left + r.dx + r.length - 1, text_);
}

ImageCanvas::FontEntry::Turned& ImageCanvas::turnedGlyphs(const QString& text) {
    for (const auto& t : font_->turned)
        if (t->escapement == escapement_ && t->text == text)
            return *t;
    if (font_->turned.size() >= 8)
        font_->turned.erase(font_->turned.begin());
    auto t = std::make_unique<FontEntry::Turned>();
    t->escapement = escapement_;
    t->text = text;
    // The text's box turned with it, with a line's height around it for overhanging glyphs.
    const int h = font_->metrics.height();
    t->extent = QSize(font_->metrics.horizontalAdvance(text), h);
    t->box = QTransform()
                 .rotate(-escapement_ / 10.0)
                 .mapRect(QRectF(-h, -h, t->extent.width() + 2 * h, 3 * h))
                 .toAlignedRect();
    QImage mask(t->box.size(), QImage::Format_RGB32);
    mask.fill(Qt::white);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(font_->font);
        p.setPen(Qt::black);
        p.translate(-t->box.left(), -t->box.top());
        p.rotate(-escapement_ / 10.0);
        p.drawText(QPoint(0, font_->metrics.ascent()), text);
    }
    t->glyphs.runs = DarkRuns(mask, 0);
    font_->turned.push_back(std::move(t));
    return *font_->turned.back();
}

QSize ImageCanvas::textExtent(const QString& text) {
    if (escapement_ == 0)
        return glyphs(text).extent;
    // Kept with the turned pixels: measuring shapes the text, which costs more than drawing it.
    return turnedGlyphs(text).extent;
}

Colour ImageCanvas::pixel(int x, int y) const {
    if (!image_.valid(x, y))
        return 0;
    return FromQColor(QColor(image_.pixel(x, y)));
}

} // namespace gyrodex
