#pragma once

#include "Document.h"

#include <QRect>
#include <QWidget>
#include <functional>

class QButtonGroup;
class QDateEdit;
class QFrame;
class QToolButton;

namespace gyrodex {

class CaptionLabel;
class Services;
class SpinField;

// The properties panel: a borderless always-on-top window that edits the wheel's geometry and
// period. It is a view of the document: an edit goes through the edit path, which repaints the
// wheel when AutoPreview is on; a change made elsewhere reaches it through EditPath::changed.
class PropertiesPanel : public QWidget {
    Q_OBJECT

public:
    PropertiesPanel(EditPath& edits, Services& services, QRect screen, QWidget* mainWindow);

    void showPanel();
    // Shows the state's values without running any handler.
    void showState();

    void radiusChanged();
    void dayHeightChanged();
    void startWeekChanged();
    void offsetXChanged();
    void offsetYChanged();
    void directionClicked();
    void startDateChanged();
    void endDateChanged();

    QFrame* frame;
    CaptionLabel* captionBar;
    SpinField* radiusField;
    SpinField* dayHeightField;
    SpinField* startWeekField;
    SpinField* offsetXField;
    SpinField* offsetYField;
    QToolButton* clockwiseButton;
    QToolButton* anticlockwiseButton;
    QToolButton* weekendInsideButton;
    QToolButton* weekendOutsideButton;
    QDateEdit* startDateField;
    QDateEdit* endDateField;

protected:
    void showEvent(QShowEvent* event) override;

private:
    SpinField* spinField(const QString& name, std::int32_t min, std::int32_t max, std::int32_t step,
                         std::int32_t value, const QRect& place);
    QToolButton* pictureButton(const QString& name, const QString& picture, const QString& meaning,
                               int left, QButtonGroup* group);
    QDateEdit* dateField(const QString& name, int top);
    void label(const QString& text, const QRect& place);
    // Hands a change of the design's geometry to the edit path, repainted when AutoPreview is
    // on (and `repaint` is set).
    void change(const QString& what, std::function<void(CalendarState&)> apply,
                bool repaint = true);

    EditPath& edits_;
    Services& services_;
    QRect screen_;
    bool placed_ = false;
};

} // namespace gyrodex
