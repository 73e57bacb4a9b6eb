// Bitmap files: any bytes either give an image within the size limits or the read error.
#include "Bitmap.h"
#include "Error.h"
#include "FuzzCommon.h"

#include <QBuffer>

using namespace gyrodex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        const QImage image = ReadBitmap(buffer, QStringLiteral("fuzz.bmp"));
        Require(!image.isNull());
        CheckImageSize(image.width(), image.height());
        // What was read writes out again as a bitmap.
        Require(BitmapFileBytes(image).startsWith("BM"));
    } catch (const Error& e) {
        Require(!e.message().isEmpty());
    }
    return 0;
}
