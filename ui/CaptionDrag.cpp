#include "CaptionDrag.h"

#include <QMouseEvent>
#include <algorithm>

namespace gyrodex {

QPoint CaptionDragTarget(const QRect& window, QPoint press, QPoint pointer, const QSize& screen) {
    // 64-bit sums: a pointer far outside the screen cannot overflow them.
    long long left = std::max(0LL, static_cast<long long>(window.left()) + pointer.x() - press.x());
    long long top = std::max(0LL, static_cast<long long>(window.top()) + pointer.y() - press.y());
    if (screen.width() < left + window.width())
        left = screen.width() - window.width();
    if (screen.height() < top + window.height())
        top = screen.height() - window.height();
    return {static_cast<int>(left), static_cast<int>(top)};
}

CaptionLabel::CaptionLabel(const QString& caption, QRgb background, const QRect& screen,
                           QWidget* parent)
    : QLabel(caption, parent), screen_(screen) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(background));
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void CaptionLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    dragging_ = true;
    press_ = event->position().toPoint();
}

void CaptionLabel::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_)
        return;
    QWidget* panel = window();
    const QRect frame(panel->pos() - screen_.topLeft(), panel->size());
    const QPoint target =
        CaptionDragTarget(frame, press_, event->position().toPoint(), screen_.size());
    panel->move(target + screen_.topLeft());
    panel->update();
}

void CaptionLabel::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
}

void CaptionLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        window()->hide();
}

} // namespace gyrodex
