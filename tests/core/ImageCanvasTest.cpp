#include "ImageCanvas.h"

#include "../QtPrinters.h"
#include "Geometry.h"
#include "Painter.h"
#include "TestRandom.h"

#include <QElapsedTimer>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <set>
#include <span>

using namespace gyrodex;

namespace {

const DayDate kToday = MakeDayDate(19, 10, 1998);

} // namespace

TEST(ImageCanvas, DefaultFontIsElevenPixelsAtNinetySixDpi) {
    const QFont f = MakeFont(QStringLiteral("MS Sans Serif"), 8, 0);
    EXPECT_EQ(f.pixelSize(), 11);
    EXPECT_EQ(f.styleStrategy() & QFont::NoAntialias, QFont::NoAntialias);
    EXPECT_TRUE(MakeFont(QStringLiteral("Arial"), 10, Bold | Italic).bold());
    ImageCanvas c(QSize(10, 10));
    EXPECT_EQ(c.image().dotsPerMeterX(), kDotsPerMeter);
}

TEST(ImageCanvas, SystemColoursAreResolvedWhenDrawn) {
    ImageCanvas c(QSize(20, 20));
    c.setBrush(kWindowText);
    c.fillRect(QRect(0, 0, 10, 20));
    c.setBrush(0x00FF8080);
    c.fillRect(QRect(10, 0, 10, 20));
    EXPECT_EQ(c.pixel(9, 5), 0u);
    EXPECT_EQ(c.pixel(10, 5), 0x00FF8080u);
    EXPECT_EQ(c.pixel(100, 5), 0u);
}

TEST(ImageCanvas, PaintsTheWheelWithoutSmoothing) {
    CalendarState s;
    s.setDefaultPeriod(kToday);
    HighlightList h;
    h.add(QStringLiteral("10/27/1998$255#red day"));
    ImageCanvas c(QSize(1024, 768));
    RepaintCalendar(s, h, c, kToday);
    const QImage& img = c.image();

    EXPECT_EQ(c.pixel(3, 3), s.BackColour);
    // Every pixel is one of the design's colours: no smoothed edges or glyphs.
    const std::set<QRgb> allowed = {ToQColor(s.BackColour).rgb(), ToQColor(s.BackTextColour).rgb(),
                                    ToQColor(s.DayColour).rgb(),  ToQColor(s.WeekendColour).rgb(),
                                    ToQColor(s.PastColour).rgb(), ToQColor(0).rgb(),
                                    ToQColor(255).rgb()};
    std::set<QRgb> seen;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            seen.insert(img.pixel(x, y));
    for (QRgb p : seen)
        EXPECT_TRUE(allowed.count(p)) << std::hex << p;
    EXPECT_TRUE(seen.count(ToQColor(s.BackTextColour).rgb())); // the credit line is there
    EXPECT_TRUE(seen.count(ToQColor(255).rgb()));

    // Inside a cell, away from its number, the fill shows: 10/27 is Tuesday of the spoke-24 week.
    const auto corners = CellPolygon(s, 24, 2);
    const QPoint inside = (corners[0] * 3 + corners[2]) / 4;
    EXPECT_EQ(c.pixel(inside.x(), inside.y()), 255u);

    // The credit line sits near the right edge only.
    int creditLeft = img.width();
    for (int y = 0; y < img.height(); ++y)
        for (int x = img.width() - 40; x < img.width(); ++x)
            if (img.pixel(x, y) == ToQColor(s.BackTextColour).rgb())
                creditLeft = std::min(creditLeft, x);
    EXPECT_GE(creditLeft, img.width() - 20);
    EXPECT_LE(creditLeft, img.width() - 10);
}

TEST(ImageCanvas, RotatedTextRunsUpFromItsReferencePoint) {
    ImageCanvas c(QSize(100, 200));
    c.setBrush(0xFFFFFF);
    c.fillRect(QRect(0, 0, 100, 200));
    c.setFont(QStringLiteral("Arial"), 8, 0, 0, 900);
    c.textOut(50, 190, QStringLiteral("WWWWWW"));
    int top = 200, bottom = -1, left = 100, right = -1;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 100; ++x)
            if (c.pixel(x, y) == 0) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                left = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_LE(bottom, 190);
    EXPECT_GT(190 - top, 40); // the text is taller than it is wide
    EXPECT_GE(left, 50);
    EXPECT_LE(right, 50 + 15);
}

namespace {

int CountRows(ImageCanvas& c, int x, Colour colour) {
    int rows = 0;
    for (int y = 0; y < c.height(); ++y)
        rows += c.pixel(x, y) == colour ? 1 : 0;
    return rows;
}

} // namespace

TEST(ImageCanvas, PenWidthIsThePixelsAcrossALine) {
    for (int width = 1; width <= 9; ++width) {
        ImageCanvas c(QSize(60, 40));
        c.setPen(0xFF, width);
        c.moveTo(QPoint(10, 20));
        c.lineTo(QPoint(50, 20));
        EXPECT_EQ(CountRows(c, 30, 0xFF), width) << width;
        // Thick lines have round ends; a one-pixel line leaves out its last point.
        EXPECT_EQ(c.pixel(50 + (width - 1) / 2 + 1, 20), 0xFFFFFFu) << width;
    }
    ImageCanvas c(QSize(60, 40));
    c.setPen(0xFF, 1);
    c.moveTo(QPoint(10, 5));
    c.lineTo(QPoint(20, 35));
    EXPECT_EQ(c.pixel(10, 5), 0xFFu);
    EXPECT_EQ(c.pixel(20, 35), 0xFFFFFFu);
}

TEST(ImageCanvas, PolygonFillsInsideAndOutlinesTheEdge) {
    ImageCanvas c(QSize(40, 40));
    c.setPen(0, 1);
    c.setBrush(0xFF);
    const QPoint square[] = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    c.polygon(square);
    EXPECT_EQ(c.pixel(10, 10), 0u);
    EXPECT_EQ(c.pixel(20, 20), 0u);
    EXPECT_EQ(c.pixel(15, 20), 0u);
    EXPECT_EQ(c.pixel(11, 11), 0xFFu);
    EXPECT_EQ(c.pixel(19, 19), 0xFFu);
    EXPECT_EQ(c.pixel(21, 15), 0xFFFFFFu);
    EXPECT_EQ(c.pixel(15, 9), 0xFFFFFFu);
    // A crossed quadrilateral (an inner ring mirrored through the centre) fills even-odd.
    ImageCanvas bow(QSize(40, 40));
    bow.setPen(0, 1);
    bow.setBrush(0xFF);
    const QPoint crossed[] = {{5, 5}, {35, 35}, {35, 5}, {5, 35}};
    bow.polygon(crossed);
    EXPECT_EQ(bow.pixel(10, 20), 0xFFu);
    EXPECT_EQ(bow.pixel(20, 10), 0xFFFFFFu);
}

TEST(ImageCanvas, FarAwayWheelDrawsNothingAndFinishes) {
    CalendarState s;
    s.setDefaultPeriod(kToday);
    s.CentreOffsetX = 2000000000;
    s.CentreOffsetY = -2000000000;
    s.Radius = 2048;
    s.ThinWidth = 9;
    s.ThickWidth = 9;
    HighlightList none;
    ImageCanvas c(QSize(64, 48));
    RepaintCalendar(s, none, c, kToday);
    EXPECT_EQ(c.pixel(32, 24), s.BackColour);
    // A line crossing the whole image from far outside is clipped, not walked.
    c.setPen(0, 1);
    c.moveTo(QPoint(-2000000000, 24));
    c.lineTo(QPoint(2000000000, 24));
    EXPECT_EQ(c.pixel(0, 24), 0u);
    EXPECT_EQ(c.pixel(63, 24), 0u);
    // Diagonals entering and leaving through the corners stay inside the image's memory.
    c.moveTo(QPoint(-50, -30));
    c.lineTo(QPoint(100, 80));
    c.moveTo(QPoint(70, -5));
    c.lineTo(QPoint(-9, 60));
    EXPECT_EQ(c.pixel(32, 30), 0u); // -30 + 82 * 110 / 150, rounded
}

TEST(ImageCanvas, DayFontSizesAreHeldToWhatCanBePainted) {
    CalendarState s;
    s.setDefaultPeriod(kToday);
    s.DayTextColour = s.WeekendTextColour = s.PastTextColour = Rgb(255, 0, 0);
    HighlightList none;
    const auto redPixels = [&](int points) {
        s.Font.size = points;
        ImageCanvas c(QSize(1024, 768));
        RepaintCalendar(s, none, c, kToday);
        const QImage& img = c.image();
        int red = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                red += img.pixel(x, y) == qRgb(255, 0, 0);
        return red;
    };
    QElapsedTimer timer;
    timer.start();
    const int largest = redPixels(kMaxFontPoints);
    // Beyond the largest size the numbers paint as at the largest: visible, and as quickly.
    EXPECT_GT(largest, 0);
    EXPECT_EQ(redPixels(8000), largest);
    EXPECT_EQ(s.Font.size, 8000); // the design keeps its own value
    ImageCanvas c(QSize(8, 8));
    c.setFont(QStringLiteral("Arial"), kMaxFontPoints, 0, 0, 0);
    const QSize extent = c.textExtent(QStringLiteral("28"));
    for (const int points : {16000, std::numeric_limits<int>::max()}) {
        c.setFont(QStringLiteral("Arial"), points, 0, 0, 0);
        EXPECT_EQ(c.textExtent(QStringLiteral("28")), extent);
    }
    EXPECT_EQ(redPixels(0), redPixels(kMinFontPoints));
    EXPECT_EQ(redPixels(-40), redPixels(kMinFontPoints));
    EXPECT_GT(redPixels(8), 0);
    EXPECT_LT(timer.elapsed(), 60000);
    EXPECT_EQ(MakeFont(QStringLiteral("Arial"), 8000, 0).pixelSize(), 683);
}

TEST(ImageCanvas, CentresAtTheLimitsOfTheOffsetFieldsPaintAndHitWithoutOverflow) {
    HighlightList none;
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    for (const auto& [x, y] : {std::pair{kMax, 0}, std::pair{kMin, 0}, std::pair{0, kMax},
                               std::pair{0, kMin}, std::pair{kMax, kMin}}) {
        CalendarState s;
        s.setDefaultPeriod(kToday);
        s.CentreOffsetX = x;
        s.CentreOffsetY = y;
        s.Radius = 2048;
        s.DayHeight = 128;
        s.ThickWidth = 9;
        ImageCanvas c(QSize(64, 48));
        RepaintCalendar(s, none, c, kToday);
        EXPECT_EQ(c.pixel(32, 24), s.BackColour);
        EXPECT_EQ(s.CentreX, x == kMax ? kMax : x == kMin ? kMin + 32 : 32);
        EXPECT_EQ(HitTest(s, kMax, kMin).ring, -1);
        EXPECT_EQ(HitTest(s, 0, 0).ring, -1);
    }
}

// Convex shapes (cells, and the slivers and points a ring height of 1 or a crossed centre
// give) fill each row from the smallest to the largest crossing of the edges that cross it.
// The canvas finds those edges a band of rows at a time; this compares it with a plain
// row-by-row search over every edge, outline included, on random small shapes.
namespace {

// A polygon as the canvas should draw it, worked out row by row: every row's span between the
// smallest and the largest crossing of the edges that cross it (in white), then the outline
// drawn over it in the given pen.
QImage ReferencePolygon(std::span<const QPoint> pts, QSize size, int pen) {
    const auto ceilTo = [](double v) { return static_cast<long long>(std::ceil(v)); };
    QImage img(size, QImage::Format_RGB32);
    img.fill(0xFFFFFFFFu);
    for (int y = 0; y < size.height(); ++y) {
        double lo = HUGE_VAL, hi = -HUGE_VAL;
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const QPointF a = pts[i], b = pts[(i + 1) % pts.size()];
            if (a.y() == b.y() || y < ceilTo(std::min(a.y(), b.y())) ||
                y > ceilTo(std::max(a.y(), b.y())) - 1)
                continue;
            const double slope = (b.x() - a.x()) / (b.y() - a.y());
            const double x = a.x() + (static_cast<double>(y) - a.y()) * slope;
            lo = std::min(lo, x);
            hi = std::max(hi, x);
        }
        if (lo > hi)
            continue;
        for (long long x = std::max(ceilTo(lo), 0LL);
             x <= std::min(ceilTo(hi) - 1, size.width() - 1LL); ++x)
            img.setPixel(static_cast<int>(x), y, 0xFF0000FFu);
    }
    ImageCanvas outline(img);
    outline.setPen(0x00FF00, pen);
    outline.moveTo(pts.back());
    for (const QPoint& p : pts)
        outline.lineTo(p);
    return outline.image();
}

bool IsConvex(std::span<const QPoint> pts) {
    int sign = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const QPointF a = pts[i], b = pts[(i + 1) % pts.size()], d = pts[(i + 2) % pts.size()];
        const double cross = (b.x() - a.x()) * (d.y() - b.y()) - (b.y() - a.y()) * (d.x() - b.x());
        const int s = cross > 0 ? 1 : (cross < 0 ? -1 : 0);
        if (s != 0 && sign != 0 && s != sign)
            return false;
        if (s != 0)
            sign = s;
    }
    return true;
}

} // namespace

TEST(ImageCanvas, ConvexFillMatchesARowByRowSearchOfItsEdges) {
    const auto reference = [](std::span<const QPoint> pts, QSize size) {
        return ReferencePolygon(pts, size, 1);
    };
    const QSize size(48, 40);
    test::TestRandom next(12345);
    int convex = 0;
    for (int round = 0; round < 3000; ++round) {
        // Points on a circle in angle order make convex shapes; repeats and ties make slivers.
        const int count = 3 + next(4);
        const int cx = next(56) - 4, cy = next(48) - 4, r = 1 + next(24);
        std::vector<int> angles;
        for (int i = 0; i < count; ++i)
            angles.push_back(next(360));
        std::sort(angles.begin(), angles.end());
        std::vector<QPoint> pts;
        for (const int a : angles) {
            const double t = a * std::numbers::pi / 180;
            pts.emplace_back(cx + static_cast<int>(std::lround(r * std::cos(t))),
                             cy + static_cast<int>(std::lround(r * std::sin(t))));
        }
        ImageCanvas c(size);
        c.setBrush(0xFF0000);
        c.setPen(0x00FF00, 1);
        c.polygon(pts);
        // Shapes the canvas fills even-odd (none of these should be) fall outside the check.
        if (!IsConvex(pts))
            continue;
        ++convex;
        ASSERT_EQ(c.image(), reference(pts, size)) << "round " << round;
    }
    EXPECT_GT(convex, 2500);
}

// Cell-like shapes (four corners, some three) of every size up to the image and beyond, in pens
// of 1 to 7 pixels, many of them partly or wholly outside the image: the spans written for the
// fill, short and long, clipped or not, cover exactly the reference's pixels, and the outline
// goes over them as it would over the reference.
TEST(ImageCanvas, SpanFillMatchesTheRowByRowReferenceInEveryPenAndAtTheEdges) {
    test::TestRandom next(2718);
    int checked = 0;
    for (int round = 0; round < 4000; ++round) {
        const QSize size(1 + next(70), 1 + next(50));
        // A quadrilateral between two radii and two angles, as a wheel's cell, or a triangle.
        const double cx = next(size.width() + 60) - 30, cy = next(size.height() + 60) - 30;
        const double inner = next(40), outer = inner + 1 + next(40);
        const double a0 = next(360) * std::numbers::pi / 180;
        const double a1 = a0 + (1 + next(60)) * std::numbers::pi / 180;
        const auto at = [&](double rho, double a) {
            return QPoint(static_cast<int>(std::lround(cx + rho * std::cos(a))),
                          static_cast<int>(std::lround(cy + rho * std::sin(a))));
        };
        std::vector<QPoint> pts = {at(inner, a0), at(outer, a0), at(outer, a1), at(inner, a1)};
        if (next(4) == 0)
            pts.pop_back();
        if (!IsConvex(pts))
            continue;
        const int pen = 1 + next(7);
        ImageCanvas c(size);
        c.setBrush(0xFF0000);
        c.setPen(0x00FF00, pen);
        c.polygon(pts);
        ASSERT_EQ(c.image(), ReferencePolygon(pts, size, pen))
            << "round " << round << ", pen " << pen << ", size " << size.width() << "x"
            << size.height();
        ++checked;
    }
    EXPECT_GT(checked, 3500);
}

// One-pixel lines in every direction and length up to 40 pixels, against the plain walk that
// tests both steps at every pixel.
TEST(ImageCanvas, ThinLinesMatchTheTwoTestWalkInEveryDirection) {
    const QSize size(101, 101);
    const QPoint from(50, 50);
    for (int dy = -40; dy <= 40; ++dy) {
        for (int dx = -40; dx <= 40; ++dx) {
            const QPoint to = from + QPoint(dx, dy);
            QImage expected(size, QImage::Format_RGB32);
            expected.fill(0xFFFFFFFFu);
            const long long sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
            const long long adx = std::llabs(dx), ady = -std::llabs(dy);
            long long err = adx + ady, x = from.x(), y = from.y();
            for (long long count = std::max(adx, -ady); count > 0; --count) {
                expected.setPixel(static_cast<int>(x), static_cast<int>(y), 0xFF000000u);
                const long long e2 = 2 * err;
                if (e2 >= ady) {
                    err += ady;
                    x += sx;
                }
                if (e2 <= adx) {
                    err += adx;
                    y += sy;
                }
            }
            ImageCanvas c(size);
            c.setPen(0, 1);
            c.moveTo(from);
            c.lineTo(to);
            ASSERT_EQ(c.image(), expected) << dx << "," << dy;
        }
    }
}

// The clearing of a repaint writes only what was drawn since the last clearing in the same
// colour. A canvas painted over and over (new radius, ring height, centre, pens, day font and
// colours, sometimes a rectangle in another colour or a repaint without clearing) holds after
// every step what a canvas given the same picture and writing the whole background would hold,
// and reports every pixel the step changed as drawn or filled, also where a day number or a
// month line inside its cell is not marked again.
TEST(ImageCanvas, ClearingWritesWhatTheWholeBackgroundWouldAfterEveryChange) {
    test::TestRandom next(4242);
    CalendarState s;
    s.setDefaultPeriod(kToday);
    HighlightList none;
    ImageCanvas reused(QSize(320, 240));
    for (int step = 0; step < 300; ++step) {
        ImageCanvas whole(reused.image().copy()); // knows nothing of its background
        const QImage before = whole.image();
        const int what = next(10);
        if (what == 0) {
            const QRect r(next(400) - 40, next(300) - 30, next(200), next(200));
            const Colour colour = next(2) == 0 ? s.BackColour : 0x00123456;
            for (ImageCanvas* c : {&reused, &whole}) {
                c->setBrush(colour);
                c->fillRect(r);
            }
        } else {
            s.Radius = 20 + next(300);
            s.DayHeight = 1 + next(40);
            s.CentreOffsetX = next(400) - 200;
            s.CentreOffsetY = next(300) - 150;
            s.ThinWidth = 1 + next(7);
            s.ThickWidth = 1 + next(7);
            s.BackColour = next(4) == 0 ? 0x00C0FFC0 : 0x00FFFFFF;
            s.RepaintAll = next(8) != 0;
            s.Font.size = next(4) == 0 ? 30 + next(40) : 4 + next(10);
            RepaintCalendar(s, none, reused, kToday);
            RepaintCalendar(s, none, whole, kToday);
        }
        ASSERT_EQ(reused.image(), whole.image()) << "step " << step << ", kind " << what;
        const QRegion changed = reused.takeDrawn() + reused.takeFilled();
        for (int y = 0; y < before.height(); ++y) {
            const auto* was = reinterpret_cast<const QRgb*>(before.constScanLine(y));
            const auto* is = reinterpret_cast<const QRgb*>(reused.image().constScanLine(y));
            for (int x = 0; x < before.width(); ++x) {
                if (was[x] != is[x]) {
                    ASSERT_TRUE(changed.contains(QPoint(x, y)))
                        << "step " << step << ", kind " << what << " at " << x << "," << y;
                }
            }
        }
    }
}
