#pragma once

#include "Globals.h"

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
// when AutoPreview is on; a change made elsewhere reaches it through Globals::designChanged.
class TfrmProperties : public QWidget, public PanelWindow {
    Q_OBJECT

public:
    explicit TfrmProperties(Globals& globals);

    void ShowPanel() override;
    // Shows the state's values without running any handler.
    void ShowState();

    void spnRadiusChange();
    void spnDayHeightChange();
    void spnStartWeekChange();
    void spnCXChange();
    void spnCYChange();
    void btnClockwiseClick();
    void DTChange();
    void DTEChange();

    QFrame* Panel1;
    CaptionLabel* Label6;
    SpinField* spnRadius;
    SpinField* spnDayHeight;
    SpinField* spnStartWeek;
    SpinField* spnCX;
    SpinField* spnCY;
    QToolButton* btnClockwise;
    QToolButton* btnAntiClockwise;
    QToolButton* btnInside;
    QToolButton* btnOutside;
    QDateEdit* DT;
    QDateEdit* DTE;

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

    Globals& g_;
    bool placed_ = false;
};

} // namespace gyrodex
