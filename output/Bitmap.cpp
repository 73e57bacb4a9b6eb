#include "Bitmap.h"

#include "Error.h"
#include "SaveFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <cerrno>
#include <cstdlib>
#include <optional>

namespace gyrodex {

void CheckImageSize(qint64 width, qint64 height, qint64 maxImageBytes) {
    if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide ||
        width * height * 4 > maxImageBytes)
        throw Error(QStringLiteral("Invalid image size %1x%2").arg(width).arg(height));
}

void ResizeBitmap(CalendarState& state, ImageCanvas& canvas, int width, int height) {
    CheckImageSize(width, height);
    canvas.resize(QSize(width, height), state.BackColour);
    state.BitmapFileName = QStringLiteral("$");
    state.CentreX = width / 2;
    state.CentreY = height / 2;
}

namespace {

quint32 Le(const QByteArray& b, int at, int bytes) {
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<quint8>(b[at + i]);
    return v;
}

// What the bitmap reader will make of a file's headers, read the way the reader reads them:
// info headers of 40, 64, 108 and 124 bytes hold 32-bit fields, any other size is taken as the
// old 12-byte form with signed 16-bit sides and no compression.
struct BitmapHeader {
    qint64 width = 0;
    qint64 height = 0; // negative for rows stored top-down
    qint64 bits = 0;
    qint64 compression = 0;
    qint64 pixelStart = 0; // where the reader starts on the rows
};

constexpr qint64 kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

// Nothing when the reader refuses the headers anyway (too short, a form or depth it does not
// know): its own message then says why, and it takes no pixel memory.
std::optional<BitmapHeader> ReadBitmapHeader(QIODevice& device) {
    constexpr int kFileHeader = 14;
    const QByteArray h = device.peek(kFileHeader + 40);
    if (h.size() < kFileHeader + 4 || !h.startsWith("BM"))
        return std::nullopt;
    const qint64 offset = static_cast<qint32>(Le(h, 10, 4));
    const qint64 infoSize = Le(h, 14, 4);
    BitmapHeader b;
    qint64 planes = 0, coloursUsed = 0;
    if (infoSize == 40 || infoSize == 64 || infoSize == 108 || infoSize == 124) {
        if (h.size() < kFileHeader + 40)
            return std::nullopt;
        b.width = static_cast<qint32>(Le(h, 18, 4));
        b.height = static_cast<qint32>(Le(h, 22, 4));
        planes = Le(h, 26, 2);
        b.bits = Le(h, 28, 2);
        b.compression = Le(h, 30, 4);
        coloursUsed = Le(h, 46, 4);
    } else {
        if (h.size() < kFileHeader + 12)
            return std::nullopt;
        b.width = static_cast<qint16>(Le(h, 18, 2));
        b.height = static_cast<qint16>(Le(h, 20, 2));
        planes = Le(h, 22, 2);
        b.bits = Le(h, 24, 2);
    }
    const qint64 n = b.bits, c = b.compression;
    if (planes != 1 || !(n == 1 || n == 4 || n == 8 || n == 16 || n == 24 || n == 32))
        return std::nullopt;
    if (!(c == kRgb || (n == 4 && c == kRle4) || (n == 8 && c == kRle8) ||
          ((n == 16 || n == 32) && c == kBitFields)))
        return std::nullopt;
    // The rows follow the colour table (or the three masks of a short header), or start at
    // the file header's offset when that lies further on.
    qint64 start = kFileHeader + infoSize;
    if (c == kBitFields && infoSize < 108)
        start += 12;
    if (n <= 8) {
        const qint64 colours = coloursUsed != 0 ? coloursUsed : (qint64{1} << n);
        start += colours * (infoSize == 12 ? 3 : 4);
    }
    b.pixelStart = std::max(start, offset);
    return b;
}

} // namespace

void CheckBitmapHeader(QIODevice& device, qint64 maxImageBytes) {
    const auto header = ReadBitmapHeader(device);
    if (!header)
        return;
    const qint64 width = header->width, height = std::abs(header->height);
    CheckImageSize(width, height, maxImageBytes);
    // Run-length data has no size of its own to check; its missing pixels are left at colour
    // index 0. Rows without compression must all be there.
    if (header->compression == kRle4 || header->compression == kRle8 || device.isSequential())
        return;
    const qint64 stride = (width * header->bits + 31) / 32 * 4;
    if (device.size() < header->pixelStart + stride * height)
        throw Error(QStringLiteral("the pixel data ends early"));
}

namespace {

// "Unable to read FILE as a bitmap: WHY", the one message of every failed picture read.
Error ReadFailure(const QString& fileName, const QString& why) {
    return Error(QStringLiteral("Unable to read %1 as a bitmap: %2")
                     .arg(QDir::toNativeSeparators(fileName), why));
}

// Bounds the pixel memory a reader may take to the caller's limit (in whole MiB, rounded up).
void AllowImageBytes(qint64 maxImageBytes) {
    QImageReader::setAllocationLimit(static_cast<int>(maxImageBytes / (1024 * 1024)) + 1);
}

// The size a reader found in a picture's header, held to the size limits before any pixel
// memory is taken.
void CheckReaderSize(const QSize& size, const QString& fileName, qint64 maxImageBytes) {
    try {
        CheckImageSize(size.width(), size.height(), maxImageBytes);
    } catch (const Error& e) {
        throw ReadFailure(fileName, e.message());
    }
    AllowImageBytes(maxImageBytes);
}

} // namespace

QImage ReadBitmap(QIODevice& device, const QString& fileName, qint64 maxImageBytes) {
    const auto failure = [&](const QString& why) { return ReadFailure(fileName, why); };
    // The headers are checked before the reader takes any pixel memory: the size (also of
    // rows stored top-down, whose negative height the reader's own size does not report) and
    // whether uncompressed rows are all there.
    try {
        CheckBitmapHeader(device, maxImageBytes);
    } catch (const Error& e) {
        throw failure(e.message());
    }
    QImageReader reader(&device, "bmp");
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (size.isValid())
        CheckReaderSize(size, fileName, maxImageBytes);
    else
        AllowImageBytes(maxImageBytes);
    // The reader fills the image it is given when size and format match: start it from zeros,
    // so that pixels the data does not reach are the same on every read.
    QImage image;
    if (size.isValid() && reader.imageFormat() != QImage::Format_Invalid) {
        image = QImage(size, reader.imageFormat());
        if (!image.isNull())
            image.fill(0);
    }
    if (!reader.read(&image) || image.isNull())
        throw failure(reader.errorString());
    // A file that is no bitmap at all (a GIF named .bmp) is read by the reader its content
    // names, whose header the checks above do not know: its size is held to the limits too.
    CheckReaderSize(image.size(), fileName, maxImageBytes);
    return image;
}

QImage ReadPicture(QIODevice& device, const QString& fileName, qint64 maxImageBytes) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    const char* format = suffix == u"png"                        ? "png"
                         : suffix == u"jpg" || suffix == u"jpeg" ? "jpeg"
                                                                 : nullptr;
    if (!format)
        return ReadBitmap(device, fileName, maxImageBytes);
    const auto failure = [&](const QString& why) { return ReadFailure(fileName, why); };
    QImageReader reader(&device, format);
    reader.setDecideFormatFromContent(false);
    // The size the header gives is checked before any pixel memory is taken.
    const QSize size = reader.size();
    if (!size.isValid())
        throw failure(reader.errorString());
    CheckReaderSize(size, fileName, maxImageBytes);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw failure(reader.errorString());
    if (image.size() != size)
        throw failure(QStringLiteral("the picture's size differs from its header's"));
    return image;
}

void LoadBitmapFile(CalendarState& state, ImageCanvas& canvas, const QString& fileName) {
    const int fd = OpenRegularFile(fileName);
    if (fd < 0 && errno == EINVAL)
        throw Error(QStringLiteral("Unable to read %1").arg(fileName));
    QFile file(fileName);
    if (fd < 0 ? !file.open(QIODevice::ReadOnly)
               : !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        throw Error(QStringLiteral("Unable to read %1 as a bitmap: %2")
                        .arg(QDir::toNativeSeparators(fileName), file.errorString()));
    canvas.setImage(ReadPicture(file, fileName));
    state.BitmapFileName = QFileInfo(fileName).absoluteFilePath();
    state.updateCentre(canvas.width(), canvas.height());
}

QByteArray BitmapFileBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // Without an alpha channel the bitmap writer stores 24 bits a pixel.
    QImageWriter writer(&buffer, "bmp");
    const QImage opaque = image.hasAlphaChannel() || image.format() != QImage::Format_RGB32
                              ? image.convertToFormat(QImage::Format_RGB32)
                              : image;
    if (!writer.write(opaque))
        throw Error(QStringLiteral("Unable to encode the image: %1").arg(writer.errorString()));
    return bytes;
}

QByteArray PictureFileBytes(const QImage& image, const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    const char* format = suffix == u"png"                        ? "png"
                         : suffix == u"jpg" || suffix == u"jpeg" ? "jpeg"
                                                                 : nullptr;
    if (!format)
        return BitmapFileBytes(image);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32)))
        throw Error(QStringLiteral("Unable to encode the image: %1").arg(writer.errorString()));
    return bytes;
}

void SaveBitmapFile(CalendarState& state, const QImage& image, const QString& fileName) {
    SaveFileWhole(fileName, PictureFileBytes(image, fileName));
    state.BitmapFileName = QFileInfo(fileName).absoluteFilePath();
}

bool HasBitmapFile(const CalendarState& state) {
    return !state.BitmapFileName.isEmpty() && state.BitmapFileName != u"$";
}

} // namespace gyrodex
