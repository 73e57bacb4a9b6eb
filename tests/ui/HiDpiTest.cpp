#include "DesktopApp.h"
#include "ImageView.h"
#include "MainWindow.h"
#include "ScriptedServices.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace gyrodex;

namespace {

class HiDpi : public ::testing::Test {
protected:
    void SetUp() override {
        const QScreen* screen = QGuiApplication::primaryScreen();
        ASSERT_NE(screen, nullptr);
        ASSERT_EQ(screen->devicePixelRatio(), 2.0);
        Environment env{dir.filePath(QStringLiteral("bin/gyrodex")),
                        {dir.filePath(QStringLiteral("cfg/Vantoric/Gyrodex.conf")),
                         dir.filePath(QStringLiteral("etc/Vantoric/Gyrodex.conf"))},
                        screen->geometry(),
                        [] { return QDate(2026, 12, 8); }};
        env.pixelRatio = screen->devicePixelRatio();
        logical = screen->geometry().size();
        g = std::make_unique<DesktopApp>(services, std::move(env));
        g->Start();
        CalendarState& s = g->doc.state;
        // A wheel that fits the small offscreen screen, painted with the design's own pixels.
        s.Radius = 280;
        s.DayHeight = 24;
        g->mainWindow->RepaintCalendar();
    }

    // The middle of a cell, in image pixels.
    QPoint middleOf(int spoke, int ring) const {
        const CalendarState& s = g->doc.state;
        const double angle = (spoke + 0.5) * 2 * M_PI / 52;
        const double rho = s.Radius - ring * s.DayHeight + s.DayHeight / 2.0;
        return {s.CentreX + static_cast<int>(std::lround(rho * std::cos(angle))),
                s.CentreY + static_cast<int>(std::lround(rho * std::sin(angle)))};
    }

    QTemporaryDir dir;
    ScriptedServices services;
    QSize logical;
    std::unique_ptr<DesktopApp> g;
};

} // namespace

TEST_F(HiDpi, TheImageHasTheScreensDevicePixelsAndIsShownOneToOne) {
    // The image is the screen's size in device pixels, the window its size in logical ones.
    EXPECT_EQ(g->canvas.image().size(), logical * 2);
    EXPECT_EQ(g->mainWindow->imageView->size(), logical);
    EXPECT_EQ(g->mainWindow->size(), logical);
    EXPECT_EQ(g->doc.state.CentreX, logical.width()); // the centre of the device pixels

    // What the view shows, read back at the screen's resolution, is the image pixel for pixel:
    // sharp, not a doubled half-size picture.
    const QImage shown =
        g->mainWindow->imageView->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), g->canvas.image().size());
    EXPECT_EQ(shown, g->canvas.image().convertToFormat(QImage::Format_RGB32));
    const QPoint cell = middleOf(30, 3);
    EXPECT_EQ(shown.pixel(cell), QColor(255, 255, 128).rgb()); // a week day's colour
}

TEST_F(HiDpi, ThePointerTheHitTestAndTheHintMapLogicalToDevicePixels) {
    const QPoint cell = middleOf(30, 3);
    ImageView& view = *g->mainWindow->imageView;
    const QPoint logicalPoint(cell.x() / 2, cell.y() / 2);
    QTest::mouseMove(&view, logicalPoint);
    const CalendarState& s = g->doc.state;
    EXPECT_EQ(s.HoverSpoke, 30);
    EXPECT_EQ(s.HoverRing, 3);
    // The hint sits just below the pointer in the window's logical pixels.
    const QLabel& hint = *g->mainWindow->hintLabel;
    if (hint.isVisible()) {
        EXPECT_EQ(hint.pos(), logicalPoint + QPoint(-4, 20));
    }

    // A drag of 30 logical pixels moves the wheel by 60 image pixels.
    const int centreX = s.CentreX;
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(&view, QPoint(115, 100));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(130, 100));
    EXPECT_EQ(s.CentreX, centreX + 60);
}
