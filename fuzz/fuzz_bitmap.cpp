// Bitmap files: any bytes either give an image within the size limits or the read error.
#include "Bitmap.h"
#include "Error.h"
#include "FuzzCommon.h"

#include <QBuffer>

using namespace gyrodex;

namespace {

// Pictures up to 32 MiB: the image, its copy without alpha and the bytes written out of it
// stay well inside the fuzzer's 512 MB memory limit.
constexpr qint64 kFuzzImageBytes = 32LL * 1024 * 1024;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        const QImage image = ReadBitmap(buffer, QStringLiteral("fuzz.bmp"), kFuzzImageBytes);
        Require(!image.isNull());
        CheckImageSize(image.width(), image.height(), kFuzzImageBytes);
        // What was read writes out again as a bitmap.
        Require(BitmapFileBytes(image).startsWith("BM"));
    } catch (const Error& e) {
        Require(e.message().startsWith(QStringLiteral("Unable to read fuzz.bmp as a bitmap: ")));
    }
    return 0;
}
