#include "ImageCanvas.h"
#include "Painter.h"
#include "TestRandom.h"

#include <gtest/gtest.h>
#include <limits>

using namespace gyrodex;

namespace {

// Every pixel that differs between the two images lies in the region.
void ExpectCovered(const QImage& before, const QImage& after, const QRegion& region,
                   const char* what) {
    int changed = 0;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y)) {
                ++changed;
                ASSERT_TRUE(region.contains(QPoint(x, y))) << what << " at " << x << "," << y;
            }
    EXPECT_GT(changed, 0) << what;
}

} // namespace

TEST(CanvasRegion, CoversThickPensLargeTextAndRotatedText) {
    ImageCanvas c(QSize(400, 300));
    c.takeFilled();
    const QImage blank = c.image().copy();

    c.setPen(0x0000FF, 9);
    c.setBrush(0x00FF00);
    const QPoint cell[] = {{100, 100}, {140, 104}, {138, 130}, {102, 126}};
    c.polygon(cell);
    c.moveTo({50, 50});
    c.lineTo({60, 200});
    ExpectCovered(blank, c.image(), c.takeDrawn(), "thick pen");

    QImage before = c.image().copy();
    c.setFont(QStringLiteral("Arial"), 72, Bold | Italic, 0, 0);
    c.textOut(200, 150, QStringLiteral("29"));
    ExpectCovered(before, c.image(), c.takeDrawn(), "large day number");

    before = c.image().copy();
    c.setFont(QStringLiteral("Arial"), 20, 0, 0xFF0000, 900);
    c.textOut(370, 290, QStringLiteral("Gyrodex v1.0"));
    ExpectCovered(before, c.image(), c.takeDrawn(), "rotated text");
    EXPECT_TRUE(c.takeFilled().isEmpty());
}

// A day number inside the cell drawn just before is in the cell's rectangle already; once that
// was taken (or cleared away) it is reported on its own.
TEST(CanvasRegion, ATextInsideTheShapeDrawnBeforeIsRecordedOnceThatWasTakenOrCleared) {
    ImageCanvas c(QSize(200, 200));
    c.takeFilled();
    c.setPen(0, 1);
    c.setBrush(0x00FF00);
    const QPoint cell[] = {{40, 40}, {160, 40}, {160, 160}, {40, 160}};
    c.polygon(cell);
    c.textOut(90, 90, QStringLiteral("17"));
    EXPECT_EQ(c.takeDrawn().rectCount(), 1);
    QImage before = c.image().copy();
    c.setFontColour(0xFF0000);
    c.textOut(90, 90, QStringLiteral("17"));
    ExpectCovered(before, c.image(), c.takeDrawn(), "text after the shape was taken");

    // The same after a clearing in the background colour.
    c.polygon(cell);
    c.setBrush(0xFFFFFF);
    c.fillRect(QRect(0, 0, 200, 200));
    c.takeDrawn();
    c.takeFilled();
    before = c.image().copy();
    c.textOut(90, 90, QStringLiteral("17"));
    ExpectCovered(before, c.image(), c.takeDrawn(), "text after a clearing");

    // A clearing after one that left the shape's rectangle behind takes the text away too.
    c.polygon(cell);
    c.fillRect(QRect(0, 0, 200, 200));
    c.textOut(90, 90, QStringLiteral("17"));
    c.fillRect(QRect(0, 0, 200, 200));
    QImage white(200, 200, QImage::Format_RGB32);
    white.fill(0xFFFFFFFFu);
    EXPECT_EQ(c.image(), white);
}

TEST(CanvasRegion, KeepsDistantDrawingsApartAndClipsToTheImage) {
    ImageCanvas c(QSize(1000, 800));
    c.takeFilled();
    c.setPen(0, 1);
    const QPoint a[] = {{100, 100}, {120, 100}, {120, 120}};
    const QPoint b[] = {{900, 700}, {920, 700}, {920, 720}};
    c.polygon(a);
    c.polygon(b);
    const QRegion both = c.takeDrawn();
    EXPECT_EQ(both.rectCount(), 2);
    EXPECT_LT(both.boundingRect().width() * both.boundingRect().height() / 10, 1000 * 800 / 10);
    EXPECT_TRUE(c.takeDrawn().isEmpty()); // taken

    // Far outside the image, and at the ends of the 32-bit range: nothing, no overflow.
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    const QPoint far[] = {{kMax - 1, kMax - 1}, {kMax, kMax - 1}, {kMax, kMax}};
    c.polygon(far);
    c.moveTo({kMin, kMin});
    c.lineTo({kMin + 5, kMin});
    c.textOut(kMax - 2, kMax - 2, QStringLiteral("31"));
    EXPECT_TRUE(c.takeDrawn().isEmpty());
    const QPoint huge[] = {{kMin, kMin}, {kMax, kMin}, {kMax, kMax}};
    c.polygon(huge);
    EXPECT_EQ(c.takeDrawn().boundingRect(), QRect(0, 0, 1000, 800));

    c.setBrush(0);
    c.fillRect(QRect(-50, 700, 100, 500));
    EXPECT_EQ(c.takeFilled(), QRect(0, 700, 50, 100));
    c.resize(QSize(10, 10), 0);
    EXPECT_EQ(c.takeFilled(), QRect(0, 0, 10, 10));
}

TEST(CanvasRegion, ARepaintWithoutClearingCoversOnlyTheWheel) {
    CalendarState s;
    s.setDefaultPeriod(MakeDayDate(19, 10, 1998));
    s.RepaintAll = false;
    HighlightList none;
    ImageCanvas c(QSize(1920, 1080));
    c.takeFilled();
    const QImage blank = c.image().copy();
    RepaintCalendar(s, none, c, MakeDayDate(19, 10, 1998));
    const QRegion drawn = c.takeDrawn();
    ExpectCovered(blank, c.image(), drawn, "wheel");
    const QRect box = drawn.boundingRect();
    EXPECT_LE(box.width(), 2 * (360 + 3) + 2);
    EXPECT_LE(box.height(), 2 * (360 + 3) + 2);
    EXPECT_TRUE(c.takeFilled().isEmpty());
}
