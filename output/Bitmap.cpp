#include "Bitmap.h"

#include "Error.h"
#include "SaveFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

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

QImage ReadBitmap(QIODevice& device, const QString& fileName) {
    QImageReader reader(&device, "bmp");
    reader.setDecideFormatFromContent(false);
    const auto failure = [&](const QString& why) {
        return Error(QStringLiteral("Unable to read %1 as a bitmap: %2")
                         .arg(QDir::toNativeSeparators(fileName), why));
    };
    // The header's size is checked before any pixel memory is taken.
    const QSize size = reader.size();
    if (size.isValid()) {
        try {
            CheckImageSize(size.width(), size.height());
        } catch (const Error& e) {
            throw failure(e.message());
        }
    }
    QImageReader::setAllocationLimit(static_cast<int>(kMaxImageBytes / (1024 * 1024)) + 1);
    QImage image = reader.read();
    if (image.isNull())
        throw failure(reader.errorString());
    return image;
}

void LoadBitmapFile(CalendarState& state, ImageCanvas& canvas, const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
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
