#include "Bitmap.h"

#include "../QtPrinters.h"
#include "Error.h"
#include "Geometry.h"
#include "Painter.h"
#include "Print.h"
#include "VectorImage.h"

#include <QFile>
#include <QImageReader>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gyrodex;

namespace {

QString ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.message();
    }
    return QStringLiteral("no error");
}

QImage Pattern(QSize size) {
    QImage img(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            img.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x + y) % 256));
    return img;
}

} // namespace

TEST(Bitmap, ResizeKeepsTopLeftPixelsAndRefusesBadSizes) {
    CalendarState s;
    s.BitmapFileName = QStringLiteral("/tmp/old.bmp");
    s.CentreOffsetX = 5;
    ImageCanvas c(Pattern(QSize(40, 30)));
    ResizeBitmap(s, c, 50, 20);
    EXPECT_EQ(QSize(c.width(), c.height()), QSize(50, 20));
    EXPECT_EQ(c.image().pixel(39, 19), Pattern(QSize(40, 30)).pixel(39, 19));
    EXPECT_EQ(c.pixel(45, 10), s.BackColour);
    EXPECT_EQ(s.BitmapFileName, QStringLiteral("$"));
    EXPECT_FALSE(HasBitmapFile(s));
    EXPECT_EQ(s.CentreX, 25); // the repaint adds the offsets
    EXPECT_EQ(c.image().dotsPerMeterX(), kDotsPerMeter);

    for (const auto& [w, h] : std::vector<std::pair<int, int>>{
             {0, 10}, {10, -1}, {32768, 10}, {10, 40000}, {20000, 20000}}) {
        EXPECT_EQ(ErrorOf([&, w = w, h = h] { ResizeBitmap(s, c, w, h); }),
                  QStringLiteral("Invalid image size %1x%2").arg(w).arg(h));
    }
    EXPECT_EQ(QSize(c.width(), c.height()), QSize(50, 20));
}

TEST(Bitmap, SaveAndLoadRoundTrip) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("wheel.bmp"));
    CalendarState s;
    const QImage original = Pattern(QSize(33, 17)); // odd width: rows are padded in the file
    SaveBitmapFile(s, original, name);
    EXPECT_EQ(s.BitmapFileName, name);
    EXPECT_TRUE(HasBitmapFile(s));

    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(static_cast<int>(bytes[28]), 24); // bits per pixel

    CalendarState t;
    t.CentreOffsetY = -3;
    ImageCanvas c(QSize(10, 10));
    LoadBitmapFile(t, c, name);
    EXPECT_EQ(c.image().convertToFormat(QImage::Format_RGB32), original);
    EXPECT_EQ(c.image().dotsPerMeterX(), kDotsPerMeter);
    EXPECT_EQ(t.BitmapFileName, name);
    EXPECT_EQ(t.CentreX, 16);
    EXPECT_EQ(t.CentreY, 8 - 3);
}

TEST(Bitmap, LoadsPalettedAndThirtyTwoBitFiles) {
    QTemporaryDir dir;
    QImage paletted = Pattern(QSize(12, 9)).convertToFormat(QImage::Format_Indexed8);
    paletted.setDotsPerMeterX(2835); // 72 dpi
    ASSERT_TRUE(paletted.save(dir.filePath(QStringLiteral("p.bmp")), "BMP"));
    QImage argb = Pattern(QSize(8, 6)).convertToFormat(QImage::Format_ARGB32);
    ASSERT_TRUE(argb.save(dir.filePath(QStringLiteral("a.bmp")), "BMP"));

    CalendarState s;
    ImageCanvas c(QSize(4, 4));
    LoadBitmapFile(s, c, dir.filePath(QStringLiteral("p.bmp")));
    EXPECT_EQ(c.image().convertToFormat(QImage::Format_RGB32),
              paletted.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(c.image().dotsPerMeterX(), kDotsPerMeter);
    LoadBitmapFile(s, c, dir.filePath(QStringLiteral("a.bmp")));
    EXPECT_EQ(QSize(c.width(), c.height()), QSize(8, 6));
    EXPECT_EQ(c.image().pixel(3, 2) & 0xFFFFFF, argb.pixel(3, 2) & 0xFFFFFF);
}

TEST(Bitmap, FailuresChangeNothing) {
    QTemporaryDir dir;
    CalendarState s;
    s.BitmapFileName = QStringLiteral("/keep/me.bmp");
    ImageCanvas c(QSize(7, 5));
    const QString png = dir.filePath(QStringLiteral("really.png.bmp"));
    ASSERT_TRUE(Pattern(QSize(4, 4)).save(png, "PNG"));
    for (const QString& name : {png, dir.filePath(QStringLiteral("missing.bmp"))}) {
        EXPECT_TRUE(ErrorOf([&] {
                        LoadBitmapFile(s, c, name);
                    }).startsWith(QStringLiteral("Unable to read ") + name));
    }
    EXPECT_EQ(s.BitmapFileName, QStringLiteral("/keep/me.bmp"));
    EXPECT_EQ(QSize(c.width(), c.height()), QSize(7, 5));

    const QString bad = dir.filePath(QStringLiteral("none/x.bmp"));
    EXPECT_EQ(ErrorOf([&] { SaveBitmapFile(s, c.image(), bad); }),
              QStringLiteral("Unable to write to ") + bad);
    EXPECT_EQ(s.BitmapFileName, QStringLiteral("/keep/me.bmp"));
}

TEST(Print, TargetFitsThePageKeepingProportions) {
    EXPECT_EQ(PrintTarget(QSize(4960, 7016), QSize(2000, 1000)), QRect(0, 0, 4960, 2480));
    EXPECT_EQ(PrintTarget(QSize(4960, 7016), QSize(1000, 2000)), QRect(0, 0, 3508, 7016));
    EXPECT_EQ(PrintTarget(QSize(100, 100), QSize(3, 2)), QRect(0, 0, 100, 67));
    EXPECT_EQ(PrintTarget(QSize(100, 100), QSize(0, 2)), QRect());
}

TEST(Print, PrintsOnePageToPdf) {
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("page.pdf")));
    printer.setPageSize(QPageSize(QPageSize::A4));
    PrintImage(printer, Pattern(QSize(200, 100)));
    QFile pdf(printer.outputFileName());
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"), 1);
}

TEST(Vector, SvgAndPdfHoldTheWheel) {
    CalendarState s;
    s.StartDate = MakeDayDate(12, 10, 1998);
    s.EndDate = MakeDayDate(20, 10, 1998);
    HighlightList none;
    const QByteArray svg =
        RenderVector(VectorFormat::Svg, s, none, MakeDayDate(1, 1, 1990), QSize(640, 480));
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 640 480\""));
    EXPECT_TRUE(svg.contains(">12<")); // the first day's number
    const QByteArray pdf =
        RenderVector(VectorFormat::Pdf, s, none, MakeDayDate(1, 1, 1990), QSize(640, 480));
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 480"));
}

TEST(Vector, ExportLeavesTheScreensWheelAsThePointerToolsSeeIt) {
    // The screen shows the wheel on a large image; an export to a smaller page, with the other
    // ring order, must not move the centre or the cells that the hit test reads.
    CalendarState s;
    s.StartDate = MakeDayDate(12, 10, 1998);
    s.EndDate = MakeDayDate(20, 10, 1998);
    HighlightList h;
    h.add(QStringLiteral("10/14/1998$255#Party"));
    ImageCanvas screen(QSize(1024, 768));
    RepaintCalendar(s, h, screen, MakeDayDate(1, 1, 1990));
    const CalendarState before = s;
    const QPoint party = TextAnchor(s, 21, 3); // Wednesday 14 October
    ASSERT_EQ(HitTest(s, party.x(), party.y()).date, MakeDayDate(14, 10, 1998));

    s.WeekendInside = false;
    RenderVector(VectorFormat::Svg, s, h, MakeDayDate(1, 1, 2000), QSize(300, 200));
    RenderVector(VectorFormat::Pdf, s, h, MakeDayDate(1, 1, 2000), QSize(300, 200));
    s.WeekendInside = true;

    EXPECT_EQ(s.CentreX, before.CentreX);
    EXPECT_EQ(s.CentreY, before.CentreY);
    EXPECT_EQ(s.CurrentDate, before.CurrentDate);
    EXPECT_EQ(s.Today, before.Today);
    for (int spoke = 0; spoke < kSpokes; ++spoke)
        for (int ring = 1; ring <= kRings; ++ring) {
            EXPECT_EQ(s.Cells.at(spoke, ring).date, before.Cells.at(spoke, ring).date);
            EXPECT_EQ(s.Cells.at(spoke, ring).fill, before.Cells.at(spoke, ring).fill);
            EXPECT_EQ(s.Cells.at(spoke, ring).description,
                      before.Cells.at(spoke, ring).description);
        }
    EXPECT_EQ(HitTest(s, party.x(), party.y()).date, MakeDayDate(14, 10, 1998));
}
