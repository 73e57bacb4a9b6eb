#include "VectorImage.h"

#include "Painter.h"
#include "PainterCanvas.h"
#include "SvgDays.h"

#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace gyrodex {

QByteArray RenderVector(VectorFormat format, const CalendarState& state,
                        const HighlightList& highlights, const DayDate& today, QSize size) {
    CalendarState pageState = state;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    constexpr int kDpi = 96;
    if (format == VectorFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(kDpi);
        svg.setTitle(CreditLine());
        {
            QPainter painter(&svg);
            PainterCanvas canvas(painter, size);
            RepaintCalendar(pageState, highlights, canvas, today);
        }
        // The day cells carry their dates where the picture has labels for a reader.
        if (state.Labels.anyShown())
            return MarkSvgDays(bytes, pageState, highlights);
    } else {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(kDpi);
        pdf.setPageSize(QPageSize(QSizeF(size.width() * 72.0 / kDpi, size.height() * 72.0 / kDpi),
                                  QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setCreator(CreditLine());
        QPainter painter(&pdf);
        PainterCanvas canvas(painter, size);
        RepaintCalendar(pageState, highlights, canvas, today);
    }
    return bytes;
}

} // namespace gyrodex
