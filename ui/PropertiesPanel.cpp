#include "PropertiesPanel.h"

#include "CaptionDrag.h"
#include "FieldRanges.h"
#include "Services.h"
#include "SpinField.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QSignalBlocker>
#include <QTextCharFormat>
#include <QToolButton>
#include <limits>

namespace gyrodex {

namespace {

constexpr int kWidth = 394;
constexpr int kHeight = 107;
constexpr QRgb kCaptionColour = qRgb(238, 210, 136);

const QString kEndAsStart = QStringLiteral("Wrong Date. Setting End Date as Start Date.");
const QString kEndAfterStart =
    QStringLiteral("Wrong Date. Setting End Date 364 days after Start  Date.");
const QString kStartAsEnd = QStringLiteral("Wrong Date. Setting Start Date as End Date.");
const QString kStartBeforeEnd =
    QStringLiteral("Wrong Date. Setting Start Date 364 days defore End Date.");

QFrame* Bevel(QWidget* parent, const QRect& place, bool vertical) {
    auto* line = new QFrame(parent);
    line->setFrameShape(vertical ? QFrame::VLine : QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(place);
    return line;
}

void ShowDate(QDateEdit* field, const DayDate& d) {
    const QDate date = ToQDate(d);
    if (date.isValid() && field->date() != date) {
        const QSignalBlocker block(field);
        field->setDate(date);
    }
}

} // namespace

PropertiesPanel::PropertiesPanel(EditPath& edits, Services& services, QRect screen,
                                 QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      edits_(edits), services_(services), screen_(screen) {
    setObjectName(QStringLiteral("frmProperties"));
    setWindowTitle(QStringLiteral("Calendar Properties"));
    setFixedSize(kWidth, kHeight);
    const CalendarState& s = edits_.document().state;

    frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Panel1"));
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setGeometry(0, 0, kWidth, kHeight);

    captionBar =
        new CaptionLabel(QStringLiteral(" Calendar Properties"), kCaptionColour, screen_, frame);
    captionBar->setObjectName(QStringLiteral("Label6"));
    captionBar->setGeometry(1, 1, kWidth - 2, 14);

    label(QStringLiteral("Radius:"), QRect(8, 24, 70, 13));
    radiusField = spinField(QStringLiteral("spnRadius"), kRadiusRange.min, kRadiusRange.max,
                            kRadiusRange.step, s.Radius, QRect(80, 20, 49, 21));
    connect(radiusField, &SpinField::valueChanged, this, &PropertiesPanel::radiusChanged);
    label(QStringLiteral("Day Height:"), QRect(8, 48, 70, 13));
    dayHeightField = spinField(QStringLiteral("spnDayHeight"), kDayHeightRange.min,
                               kDayHeightRange.max, 1, s.DayHeight, QRect(80, 44, 49, 21));
    connect(dayHeightField, &SpinField::valueChanged, this, &PropertiesPanel::dayHeightChanged);
    label(QStringLiteral("Starting Week:"), QRect(8, 66, 72, 13));
    label(QStringLiteral("(rotation)"), QRect(8, 79, 70, 13));
    startWeekField = spinField(QStringLiteral("spnStartWeek"), kStartWeekRange.min,
                               kStartWeekRange.max, 1, s.StartWeek, QRect(80, 68, 49, 21));
    startWeekField->setMaxLength(2);
    connect(startWeekField, &SpinField::valueChanged, this, &PropertiesPanel::startWeekChanged);

    Bevel(frame, QRect(134, 18, 2, 86), true);
    label(QStringLiteral("Center Offset:"), QRect(152, 20, 100, 13));
    label(QStringLiteral("X:"), QRect(140, 40, 12, 13));
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    offsetXField =
        spinField(QStringLiteral("spnCX"), kMin, kMax, 1, s.CentreOffsetX, QRect(152, 36, 57, 21));
    connect(offsetXField, &SpinField::valueChanged, this, &PropertiesPanel::offsetXChanged);
    label(QStringLiteral("Y:"), QRect(213, 40, 10, 13));
    offsetYField =
        spinField(QStringLiteral("spnCY"), kMin, kMax, 1, s.CentreOffsetY, QRect(224, 36, 57, 21));
    connect(offsetYField, &SpinField::valueChanged, this, &PropertiesPanel::offsetYChanged);
    Bevel(frame, QRect(140, 64, 144, 2), false);

    auto* direction = new QButtonGroup(this);
    clockwiseButton =
        pictureButton(QStringLiteral("btnClockwise"), QStringLiteral(":/props/clockwise"),
                      QStringLiteral("Clockwise"), 160, direction);
    anticlockwiseButton =
        pictureButton(QStringLiteral("btnAntiClockwise"), QStringLiteral(":/props/anticlockwise"),
                      QStringLiteral("Anti-Clockwise"), 185, direction);
    auto* order = new QButtonGroup(this);
    weekendInsideButton =
        pictureButton(QStringLiteral("btnInside"), QStringLiteral(":/props/inside"),
                      QStringLiteral("Weekend inside"), 212, order);
    weekendOutsideButton =
        pictureButton(QStringLiteral("btnOutside"), QStringLiteral(":/props/outside"),
                      QStringLiteral("Weekend outside"), 237, order);
    connect(direction, &QButtonGroup::buttonClicked, this, &PropertiesPanel::directionClicked);
    connect(order, &QButtonGroup::buttonClicked, this, &PropertiesPanel::directionClicked);

    Bevel(frame, QRect(286, 18, 2, 86), true);
    label(QStringLiteral("Start Date:"), QRect(292, 20, 97, 13));
    startDateField = dateField(QStringLiteral("DT"), 36);
    connect(startDateField, &QDateEdit::dateChanged, this, &PropertiesPanel::startDateChanged);
    label(QStringLiteral("End Date:"), QRect(292, 64, 97, 13));
    endDateField = dateField(QStringLiteral("DTE"), 80);
    connect(endDateField, &QDateEdit::dateChanged, this, &PropertiesPanel::endDateChanged);

    showState();
    connect(&edits_, &EditPath::changed, this, [this](const Change& change) {
        if ((change.parts & Change::Geometry) && change.source != this)
            showState();
    });
}

void PropertiesPanel::label(const QString& text, const QRect& place) {
    auto* l = new QLabel(text, frame);
    l->setGeometry(place);
}

SpinField* PropertiesPanel::spinField(const QString& name, std::int32_t min, std::int32_t max,
                                      std::int32_t step, std::int32_t value, const QRect& place) {
    auto* field = new SpinField(min, max, step, value, frame);
    field->setObjectName(name);
    field->setGeometry(place);
    return field;
}

QToolButton* PropertiesPanel::pictureButton(const QString& name, const QString& picture,
                                            const QString& meaning, int left, QButtonGroup* group) {
    auto* button = new QToolButton(frame);
    button->setObjectName(name);
    button->setCheckable(true);
    button->setGeometry(left, 76, 25, 25);
    button->setIcon(QIcon(picture));
    button->setIconSize(QSize(20, 20));
    // A 25-pixel picture button cannot show its caption: it becomes the tool tip and the name.
    button->setToolTip(meaning);
    button->setAccessibleName(meaning);
    group->addButton(button);
    group->setExclusive(true);
    return button;
}

QDateEdit* PropertiesPanel::dateField(const QString& name, int top) {
    auto* field = new QDateEdit(frame);
    field->setObjectName(name);
    field->setGeometry(292, top, 97, 21);
    field->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    field->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 30));
    field->setCalendarPopup(true);
    // A date is reported when it is complete, not while its text is half typed.
    field->setKeyboardTracking(false);
    QTextCharFormat weekend;
    weekend.setForeground(QColor(0, 0, 128));
    QCalendarWidget* month = field->calendarWidget();
    month->setWeekdayTextFormat(Qt::Saturday, weekend);
    month->setWeekdayTextFormat(Qt::Sunday, weekend);
    return field;
}

void PropertiesPanel::showState() {
    const CalendarState& s = edits_.document().state;
    radiusField->showValue(s.Radius);
    dayHeightField->showValue(s.DayHeight);
    startWeekField->showValue(s.StartWeek);
    offsetXField->showValue(s.CentreOffsetX);
    offsetYField->showValue(s.CentreOffsetY);
    clockwiseButton->setChecked(s.Clockwise);
    anticlockwiseButton->setChecked(!s.Clockwise);
    weekendInsideButton->setChecked(s.WeekendInside);
    weekendOutsideButton->setChecked(!s.WeekendInside);
    ShowDate(startDateField, s.StartDate);
    ShowDate(endDateField, s.EndDate);
}

void PropertiesPanel::showPanel() {
    show();
    raise();
    activateWindow();
}

void PropertiesPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // On every show: a drag never outlives a hide.
    captionBar->endDrag();
    if (!placed_) {
        placed_ = true;
        const QRect screen = screen_;
        move(screen.left() + (screen.width() - width()) / 2,
             screen.top() + (screen.height() - height()) / 2);
    }
}

void PropertiesPanel::change(const QString& what, std::function<void(CalendarState&)> apply,
                             bool repaint) {
    // The spin fields' typing and arrow bursts are one undo step each; dates and directions
    // are a step per change.
    edits_.edit(PanelChange(Change::Geometry, what, std::move(apply),
                            repaint ? Change::Repaint::Preview : Change::Repaint::None, this,
                            sender()));
}

void PropertiesPanel::radiusChanged() {
    change(QStringLiteral("Radius"),
           [v = radiusField->value()](CalendarState& s) { s.Radius = v; });
}

void PropertiesPanel::dayHeightChanged() {
    change(QStringLiteral("Day Height"),
           [v = dayHeightField->value()](CalendarState& s) { s.DayHeight = v; });
}

void PropertiesPanel::startWeekChanged() {
    change(QStringLiteral("Starting Week"),
           [v = startWeekField->value()](CalendarState& s) { s.StartWeek = v; });
}

void PropertiesPanel::offsetXChanged() {
    change(
        QStringLiteral("Center Offset X"),
        [v = offsetXField->value()](CalendarState& s) { s.CentreOffsetX = v; },
        !edits_.document().state.RepaintSuspended);
}

void PropertiesPanel::offsetYChanged() {
    change(
        QStringLiteral("Center Offset Y"),
        [v = offsetYField->value()](CalendarState& s) { s.CentreOffsetY = v; },
        !edits_.document().state.RepaintSuspended);
}

void PropertiesPanel::directionClicked() {
    change(QStringLiteral("Direction"),
           [clockwise = clockwiseButton->isChecked(),
            inside = weekendInsideButton->isChecked()](CalendarState& s) {
               s.Clockwise = clockwise;
               s.WeekendInside = inside;
           });
}

// A start date after the end date, or a period longer than the longest, moves the other date
// (whose own handler then finds the pair valid) after a message; the wheel is repainted last.
void PropertiesPanel::startDateChanged() {
    const bool suspended = edits_.document().state.RepaintSuspended;
    change(
        QStringLiteral("Start Date"),
        [this, suspended, day = FromQDate(startDateField->date())](CalendarState& s) {
            s.StartDate = day;
            if (suspended)
                return;
            if (CompareDays(s.StartDate, s.EndDate) > 0) {
                services_.information(kEndAsStart);
                endDateField->setDate(startDateField->date());
            } else if (CompareDays(s.EndDate, s.StartDate) > kMaxPeriodDays) {
                services_.information(kEndAfterStart);
                endDateField->setDate(ToQDate(AddDays(s.StartDate, kMaxPeriodDays)));
            }
        },
        !suspended);
}

void PropertiesPanel::endDateChanged() {
    const bool suspended = edits_.document().state.RepaintSuspended;
    change(
        QStringLiteral("End Date"),
        [this, suspended, day = FromQDate(endDateField->date())](CalendarState& s) {
            s.EndDate = day;
            if (suspended)
                return;
            if (CompareDays(s.StartDate, s.EndDate) > 0) {
                services_.information(kStartAsEnd);
                startDateField->setDate(endDateField->date());
            } else if (CompareDays(s.EndDate, s.StartDate) > kMaxPeriodDays) {
                services_.information(kStartBeforeEnd);
                startDateField->setDate(ToQDate(AddDays(s.EndDate, -kMaxPeriodDays)));
            }
        },
        !suspended);
}

} // namespace gyrodex
