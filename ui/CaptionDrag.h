#pragma once

#include <QLabel>
#include <QRect>

namespace gyrodex {

// Where a borderless panel dragged by its caption goes: its left and top edges follow the
// pointer, stop at the screen's left and top edges, and the panel ends flush with the right
// and bottom edges rather than leaving the screen. `window` is the panel's rectangle, `press`
// where the caption was pressed and `pointer` where the pointer is now, both in caption
// coordinates.
QPoint CaptionDragTarget(const QRect& window, QPoint press, QPoint pointer, const QSize& screen);

// The coloured caption label of a borderless panel, standing in for a title bar: a left press
// and a move drag the panel within the screen, a release (or showing the panel, through
// `endDrag`) ends the drag, and a double click hides the panel.
class CaptionLabel : public QLabel {
    Q_OBJECT

public:
    // `screen` is the screen's rectangle, which the panel may not leave.
    CaptionLabel(const QString& caption, QRgb background, const QRect& screen, QWidget* parent);

    bool dragging() const { return dragging_; }
    void endDrag() { dragging_ = false; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QRect screen_;
    bool dragging_ = false;
    QPoint press_;
};

} // namespace gyrodex
