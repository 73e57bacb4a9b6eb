#include "Bitmap.h"

#include "../QtPrinters.h"
#include "Error.h"
#include "Geometry.h"
#include "Painter.h"
#include "Print.h"
#include "VectorImage.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

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

// The CRC-32 of a PNG chunk, most significant byte first.
QByteArray Crc32(const QByteArray& data) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char ch : data) {
        crc ^= static_cast<std::uint8_t>(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    crc ^= 0xFFFFFFFFu;
    QByteArray out;
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(static_cast<char>((crc >> shift) & 0xFF));
    return out;
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

// The file name's extension chooses the format written; PNG keeps every pixel, and PNG and JPEG
// files load as bitmaps do, whatever their names say.
TEST(Bitmap, PngAndJpegFilesAreWrittenByExtensionAndLoaded) {
    QTemporaryDir dir;
    const QImage original = Pattern(QSize(33, 17));
    const auto head = [](const QString& name) {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.read(4) : QByteArray();
    };
    CalendarState s;
    for (const char* name :
         {"w.png", "w.PNG", "w.bmp", "w", "w.png.bmp", "w.txt", "w.jpg", "w.JPEG"}) {
        const QString file = dir.filePath(QString::fromLatin1(name));
        SaveBitmapFile(s, original, file);
        const QString suffix = QFileInfo(file).suffix().toLower();
        const QByteArray expected = suffix == u"png"                        ? "\x89PNG"
                                    : suffix == u"jpg" || suffix == u"jpeg" ? "\xff\xd8\xff"
                                                                            : "BM";
        EXPECT_TRUE(head(file).startsWith(expected)) << name;
        EXPECT_EQ(s.BitmapFileName, file);
    }

    // A PNG loads pixel for pixel, a JPEG at its size; the extension tells which reader reads.
    {
        CalendarState t;
        ImageCanvas c(QSize(10, 10));
        LoadBitmapFile(t, c, dir.filePath("w.PNG"));
        EXPECT_EQ(c.image(), original);
        EXPECT_EQ(c.image().dotsPerMeterX(), kDotsPerMeter);
        EXPECT_EQ(t.CentreX, 16);
    }
    CalendarState t;
    ImageCanvas c(QSize(10, 10));
    LoadBitmapFile(t, c, dir.filePath("w.jpg"));
    EXPECT_EQ(c.image().size(), QSize(33, 17));
    EXPECT_EQ(c.image().format(), QImage::Format_RGB32);

    // A PNG or JPEG that ends early, or one whose header claims a size past the limits, is
    // refused and changes nothing.
    QFile png(dir.filePath("w.png"));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    QByteArray bytes = png.readAll();
    const QString cut = dir.filePath("cut.png");
    QFile out(cut);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes.left(40));
    out.close();
    EXPECT_TRUE(ErrorOf([&] {
                    LoadBitmapFile(t, c, cut);
                }).startsWith(QStringLiteral("Unable to read %1 as a bitmap: ").arg(cut)));
    // The IHDR width lies at bytes 16..19, its CRC at 29..32: 40000 pixels.
    bytes.replace(16, 4, QByteArray("\x00\x00\x9c\x40", 4));
    bytes.replace(29, 4, Crc32(bytes.mid(12, 17)));
    QBuffer huge(&bytes);
    huge.open(QIODevice::ReadOnly);
    EXPECT_TRUE(ErrorOf([&] { ReadPicture(huge, "huge.png"); }).contains("Invalid image size"));
    EXPECT_EQ(c.image().size(), QSize(33, 17));
    EXPECT_EQ(t.BitmapFileName, dir.filePath("w.jpg"));
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

// The printed image keeps its pixels: the PDF holds it compressed without loss, never as JPEG,
// for a picture of many colours (which the writer would otherwise store as JPEG) as well.
TEST(Print, ThePrintedImageIsStoredWithoutLoss) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("page.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    PrintImageToPdf(printer, Pattern(QSize(300, 200)), name);
    QFile pdf(name);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.contains("/Subtype /Image"));
    EXPECT_FALSE(bytes.contains("/DCTDecode"));
    EXPECT_TRUE(bytes.contains("/FlateDecode"));
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

namespace {

// A bitmap file with a two-colour table, of `bits` per pixel and the given compression.
QByteArray BitmapBytes(int width, int height, int bits, int compression, const QByteArray& data) {
    QByteArray palette;
    if (bits <= 8) {
        palette = QByteArray("\x00\x00\xff\x00\xff\xff\xff\x00", 8); // red, white
        palette += QByteArray(4 * ((1 << bits) - 2), '\0');
    }
    const auto le = [](QByteArray& out, quint32 v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const auto offset = static_cast<quint32>(14 + 40 + palette.size());
    QByteArray b("BM");
    le(b, offset + static_cast<quint32>(data.size()), 4);
    le(b, 0, 4);
    le(b, offset, 4);
    for (const auto& [v, n] :
         std::initializer_list<std::pair<quint32, int>>{{40, 4},
                                                        {static_cast<quint32>(width), 4},
                                                        {static_cast<quint32>(height), 4},
                                                        {1, 2},
                                                        {static_cast<quint32>(bits), 2},
                                                        {static_cast<quint32>(compression), 4},
                                                        {static_cast<quint32>(data.size()), 4},
                                                        {3780, 4},
                                                        {3780, 4},
                                                        {0, 4},
                                                        {0, 4}})
        le(b, v, n);
    return b + palette + data;
}

// Reads a bitmap after leaving a pattern in the freed heap, where an image that is not fully
// written would pick it up.
QImage ReadAfterHeapPattern(const QByteArray& bytes, char pattern) {
    {
        std::vector<char> junk(64 * 64 * 4 + 256, pattern);
        std::vector<char> small(64 * 64 + 256, pattern);
    }
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return ReadBitmap(buffer, QStringLiteral("t.bmp")).convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(Bitmap, TruncatedPixelDataIsRefusedOrReadTheSameEveryTime) {
    // Uncompressed rows that end early: refused.
    for (const auto& [bits, rowBytes] : {std::pair{1, 8}, std::pair{24, 192}}) {
        const QByteArray cut = BitmapBytes(64, 64, bits, 0, QByteArray(rowBytes * 10, '\x55'));
        EXPECT_EQ(ErrorOf([&] { ReadAfterHeapPattern(cut, 0x11); }),
                  "Unable to read t.bmp as a bitmap: the pixel data ends early");
        // Complete data still loads.
        const QByteArray full = BitmapBytes(64, 64, bits, 0, QByteArray(rowBytes * 64, '\x55'));
        EXPECT_EQ(ReadAfterHeapPattern(full, 0x11).size(), QSize(64, 64));
    }
    // Run-length data that ends without its end mark: what it doesn't reach is colour 0.
    const QByteArray rle8 = BitmapBytes(64, 64, 8, 1, QByteArray("\x0a\x01\x00\x00\x14\x01", 6));
    const QByteArray rle4 = BitmapBytes(64, 64, 4, 2, QByteArray("\x0a\x11\x00\x00\x14\x11", 6));
    for (const QByteArray* bytes : {&rle8, &rle4}) {
        const QImage a = ReadAfterHeapPattern(*bytes, 0x11);
        const QImage b = ReadAfterHeapPattern(*bytes, static_cast<char>(0xEE));
        EXPECT_EQ(a, b);
        EXPECT_EQ(a.pixel(0, 63), qRgb(255, 255, 255)); // the first run, bottom row
        EXPECT_EQ(a.pixel(5, 5), qRgb(255, 0, 0));      // not reached
    }
}

TEST(Bitmap, HeadersWithHugeSizesAreRefusedWithoutOverflow) {
    // Found by fuzz_bitmap: the completeness check multiplied a row's bytes by the height.
    for (const int side : {-2139062144, 2139062144, 40000})
        EXPECT_FALSE(ErrorOf([&] {
                         ReadAfterHeapPattern(BitmapBytes(side, side, 24, 0, QByteArray(16, 'x')),
                                              0x11);
                     }).isEmpty());
}

namespace {

QString ReadError(const QByteArray& bytes) {
    return ErrorOf([&] { ReadAfterHeapPattern(bytes, 0x11); });
}

// A file header and the old 12-byte info header, whose sides the reader takes as signed 16-bit.
QByteArray OldHeader(qint16 width, qint16 height, quint16 bits, quint32 infoSize = 12) {
    QByteArray b("BM");
    const auto le = [&](quint32 v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    le(26, 4), le(0, 4), le(26, 4), le(infoSize, 4);
    le(static_cast<quint16>(width), 2), le(static_cast<quint16>(height), 2), le(1, 2), le(bits, 2);
    return b;
}

} // namespace

TEST(Bitmap, TopDownAndOldHeadersAreCheckedBeforeAnyPixelMemory) {
    // Rows stored top-down (a negative height): the size and the data are checked all the same.
    EXPECT_EQ(ReadError(BitmapBytes(65026, -2047, 32, 3, QByteArray(12, '\xff'))),
              "Unable to read t.bmp as a bitmap: Invalid image size 65026x2047");
    EXPECT_EQ(ReadError(BitmapBytes(30000, -2047, 32, 3, QByteArray(12, '\xff'))),
              "Unable to read t.bmp as a bitmap: the pixel data ends early");
    EXPECT_EQ(ReadError(BitmapBytes(1000, -1000, 24, 0, QByteArray(3000, 'x'))),
              "Unable to read t.bmp as a bitmap: the pixel data ends early");
    const QImage topDown = ReadAfterHeapPattern(BitmapBytes(2, -2, 24, 0, QByteArray(16, 'x')), 0);
    EXPECT_EQ(topDown.size(), QSize(2, 2));
    // Any info header size but 40, 64, 108 and 124 is read as the old form.
    for (const quint32 infoSize : {12u, 13u, 2000u}) {
        EXPECT_EQ(ReadError(OldHeader(264, 15624, 24, infoSize)),
                  "Unable to read t.bmp as a bitmap: the pixel data ends early");
        EXPECT_EQ(ReadError(OldHeader(-264, 5, 24, infoSize)).left(33),
                  "Unable to read t.bmp as a bitmap:");
    }
    EXPECT_EQ(ReadAfterHeapPattern(OldHeader(1, 1, 24) + QByteArray(4, 'x'), 0).size(),
              QSize(1, 1));
    // A smaller limit for callers with less memory.
    QByteArray fits = BitmapBytes(64, 64, 24, 0, QByteArray(192 * 64, 'x'));
    QBuffer buffer(&fits);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_EQ(ErrorOf([&] { ReadBitmap(buffer, "t.bmp", 64 * 63 * 4); }),
              "Unable to read t.bmp as a bitmap: Invalid image size 64x64");
}

TEST(Bitmap, OnlyRegularFilesAreLoaded) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.bmp");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    CalendarState s;
    ImageCanvas canvas(QSize(8, 8));
    for (const QString& name : {fifo, QStringLiteral("/dev/zero"), dir.path()})
        EXPECT_EQ(ErrorOf([&] { LoadBitmapFile(s, canvas, name); }), "Unable to read " + name);
    EXPECT_EQ(canvas.width(), 8);
}
