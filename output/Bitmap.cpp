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

namespace gyrodex {

void CheckImageSize(qint64 width, qint64 height) {
    if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide ||
        width * height * 4 > kMaxImageBytes)
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

// Whether uncompressed pixel data reaches as far as the header says. Compressed (run-length)
// data has no size of its own to check; its missing pixels are left at colour index 0.
bool PixelDataComplete(QIODevice& device) {
    if (device.isSequential())
        return true;
    const QByteArray h = device.peek(54);
    if (h.size() < 26 || !h.startsWith("BM"))
        return true; // not for us to judge: the reader refuses it
    const qint64 offset = Le(h, 10, 4);
    const quint32 infoSize = Le(h, 14, 4);
    qint64 width = 0, height = 0, bits = 0, compression = 0;
    if (infoSize == 12) {
        width = Le(h, 18, 2);
        height = Le(h, 20, 2);
        bits = Le(h, 24, 2);
    } else if (h.size() >= 34) {
        width = static_cast<qint32>(Le(h, 18, 4));
        height = static_cast<qint32>(Le(h, 22, 4));
        bits = Le(h, 28, 2);
        compression = Le(h, 30, 4);
    } else {
        return true;
    }
    constexpr qint64 kRgb = 0, kBitFields = 3;
    if (compression != kRgb && compression != kBitFields)
        return true;
    // Sizes the reader refuses anyway are left to its message (and kept out of the products).
    if (std::abs(width) > kMaxImageSide || std::abs(height) > kMaxImageSide || bits > 64)
        return true;
    const qint64 stride = (std::abs(width) * bits + 31) / 32 * 4;
    return device.size() >= offset + stride * std::abs(height);
}

} // namespace

QImage ReadBitmap(QIODevice& device, const QString& fileName) {
    const auto failure = [&](const QString& why) {
        return Error(QStringLiteral("Unable to read %1 as a bitmap: %2")
                         .arg(QDir::toNativeSeparators(fileName), why));
    };
    const bool complete = PixelDataComplete(device);
    QImageReader reader(&device, "bmp");
    reader.setDecideFormatFromContent(false);
    // The header's size is checked before any pixel memory is taken.
    const QSize size = reader.size();
    if (size.isValid()) {
        try {
            CheckImageSize(size.width(), size.height());
        } catch (const Error& e) {
            throw failure(e.message());
        }
    }
    if (!complete)
        throw failure(QStringLiteral("the pixel data ends early"));
    QImageReader::setAllocationLimit(static_cast<int>(kMaxImageBytes / (1024 * 1024)) + 1);
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
    canvas.setImage(ReadBitmap(file, fileName));
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

void SaveBitmapFile(CalendarState& state, const QImage& image, const QString& fileName) {
    SaveFileWhole(fileName, BitmapFileBytes(image));
    state.BitmapFileName = QFileInfo(fileName).absoluteFilePath();
}

bool HasBitmapFile(const CalendarState& state) {
    return !state.BitmapFileName.isEmpty() && state.BitmapFileName != u"$";
}

} // namespace gyrodex
