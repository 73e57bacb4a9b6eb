#include "Print.h"

#include "Error.h"

#include <QPainter>
#include <QPrinter>

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
    painter.drawImage(PrintTarget(page, image.size()), image);
    painter.end();
}

} // namespace gyrodex
