#include "Print.h"

#include "Error.h"
#include "SaveFile.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>

namespace gyrodex {

namespace {

// a * b / c rounded to the nearest whole number, halves away from zero.
qint64 MulDiv(qint64 a, qint64 b, qint64 c) {
    const qint64 p = a * b;
    return p >= 0 ? (p + c / 2) / c : (p - c / 2) / c;
}

} // namespace

QRect PrintTarget(QSize page, QSize image) {
    if (image.isEmpty() || page.isEmpty())
        return {};
    const qint64 width = MulDiv(image.width(), page.height(), image.height());
    if (width < page.width())
        return {0, 0, static_cast<int>(width), page.height()};
    return {0, 0, page.width(),
            static_cast<int>(MulDiv(image.height(), page.width(), image.width()))};
}

void PrintImage(QPrinter& printer, const QImage& image) {
    QPainter painter;
    if (!painter.begin(&printer))
        throw Error(QStringLiteral("Unable to start printing on %1")
                        .arg(printer.outputFileName().isEmpty() ? printer.printerName()
                                                                : printer.outputFileName()));
    // The painter's origin is the printable area's top-left corner.
    const QSize page = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // The image goes into the page as it is: without this the PDF writer stores it as JPEG,
    // which blurs the thin borders and small day numbers and shifts the colours.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.drawImage(PrintTarget(page, image.size()), image);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw Error(QStringLiteral("Unable to finish printing on %1")
                        .arg(printer.outputFileName().isEmpty() ? printer.printerName()
                                                                : printer.outputFileName()));
}

void PrintImageToPdf(QPrinter& printer, const QImage& image, const QString& fileName) {
    const Error failure(QStringLiteral("Unable to write to %1").arg(fileName));
    QTemporaryFile temp(QFileInfo(fileName).absoluteFilePath() + QStringLiteral(".XXXXXX"));
    if (!temp.open())
        throw failure;
    temp.close();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(temp.fileName());
    try {
        PrintImage(printer, image);
    } catch (const Error&) {
        throw failure;
    }
    // The PDF writer does not report a full disk: a file that does not end as every PDF ends
    // was cut short.
    QFile printed(temp.fileName());
    if (!printed.open(QIODevice::ReadOnly))
        throw failure;
    const QByteArray bytes = printed.readAll();
    if (printed.error() != QFileDevice::NoError || !bytes.startsWith("%PDF-") ||
        !bytes.trimmed().endsWith("%%EOF"))
        throw failure;
    SaveFileWhole(fileName, bytes);
}

} // namespace gyrodex
