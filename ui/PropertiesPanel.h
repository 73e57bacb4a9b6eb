#pragma once

#include "DesktopApp.h"

#include <QWidget>

class QButtonGroup;
class QDateEdit;
class QFrame;
class QToolButton;

namespace gyrodex {

class CaptionLabel;
class SpinField;

// The properties panel: a borderless always-on-top window that edits the wheel's geometry and
// period. It is a view of the calendar state: an edit writes the state and repaints the wheel
// when AutoPreview is on; a change made elsewhere reaches it through DesktopApp::designChanged.
class PropertiesPanel : public QWidget {
    Q_OBJECT

public:
    explicit PropertiesPanel(DesktopApp& globals);

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
    // RepaintCalendar when AutoPreview is on; a failure is shown in a message box.
    void preview();

    DesktopApp& g_;
    bool placed_ = false;
};

} // namespace gyrodex
