#pragma once

#include "CalendarState.h"
#include "ImageCanvas.h"

#include <QIODevice>
#include <QImage>
#include <QString>

namespace gyrodex {

constexpr int kMaxImageSide = 32767;
constexpr qint64 kMaxImageBytes = 512LL * 1024 * 1024;

// Raises "Invalid image size %dx%d" for a side of zero or less, a side over 32767 pixels or an
// image over 512 MiB (or the smaller limit given) at 4 bytes a pixel.
void CheckImageSize(qint64 width, qint64 height, qint64 maxImageBytes = kMaxImageBytes);

// Checks a bitmap's headers, as the bitmap reader will read them, without reading pixel data:
// raises "Invalid image size %dx%d" (see CheckImageSize; a top-down picture counts with its
// height's absolute value) and "the pixel data ends early" for uncompressed rows that are not
// all in the device. Headers the reader refuses anyway pass.
void CheckBitmapHeader(QIODevice& device, qint64 maxImageBytes = kMaxImageBytes);

// Gives the image a new size keeping its top-left pixels; new area takes the background colour
// until the next repaint. The image then has no file ("$") and the centre is its middle.
void ResizeBitmap(CalendarState& state, ImageCanvas& canvas, int width, int height);

// Reads a Windows bitmap from a device; `fileName` names it in the error raised when it is not a
// readable bitmap or is too large (see CheckBitmapHeader): "Unable to read %s as a bitmap: %s".
QImage ReadBitmap(QIODevice& device, const QString& fileName,
                  qint64 maxImageBytes = kMaxImageBytes);

// Reads a picture from a device by the extension of its file's name: a PNG (".png") or JPEG
// (".jpg", ".jpeg", any case) picture within the same size limits, anything else as a Windows
// bitmap by ReadBitmap. Errors as ReadBitmap's.
QImage ReadPicture(QIODevice& device, const QString& fileName,
                   qint64 maxImageBytes = kMaxImageBytes);

// Loads a Windows bitmap, PNG or JPEG file: the picture takes the file's size and 96 dpi, the file
// becomes the image's file and the centre follows the new size. A file that cannot be read changes
// nothing and raises an error naming it.
void LoadBitmapFile(CalendarState& state, ImageCanvas& canvas, const QString& fileName);

// The image as the bytes of a 24-bit Windows bitmap file.
QByteArray BitmapFileBytes(const QImage& image);

// The image as the bytes of the file kind the name's extension gives: PNG for ".png", JPEG for
// ".jpg" and ".jpeg" (any case), a 24-bit Windows bitmap for every other name.
QByteArray PictureFileBytes(const QImage& image, const QString& fileName);

// Writes the image as PictureFileBytes gives it, landing whole or not at all, then makes the
// file the image's file. A failure raises "Unable to write to %s" and changes nothing.
void SaveBitmapFile(CalendarState& state, const QImage& image, const QString& fileName);

// True when "Save Bitmap" has a file to write to (not empty and not "$" after a resize).
bool HasBitmapFile(const CalendarState& state);

} // namespace gyrodex
