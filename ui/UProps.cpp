#include "UProps.h"

#include "CaptionDrag.h"
#include "FieldRanges.h"
#include "SpinField.h"
#include "UMain.h"

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

TfrmProperties::TfrmProperties(Globals& globals)
    : QWidget(globals.frmMain.get(), Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      g_(globals) {
    setObjectName(QStringLiteral("frmProperties"));
    setWindowTitle(QStringLiteral("Calendar Properties"));
    setFixedSize(kWidth, kHeight);
    const CalendarState& s = g_.state;

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(0, 0, kWidth, kHeight);

    Label6 = new CaptionLabel(QStringLiteral(" Calendar Properties"), kCaptionColour, g_.env.screen,
                              Panel1);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setGeometry(1, 1, kWidth - 2, 14);

    label(QStringLiteral("Radius:"), QRect(8, 24, 70, 13));
    spnRadius = spinField(QStringLiteral("spnRadius"), kRadiusRange.min, kRadiusRange.max,
                          kRadiusRange.step, s.Radius, QRect(80, 20, 49, 21));
    connect(spnRadius, &SpinField::valueChanged, this, &TfrmProperties::spnRadiusChange);
    label(QStringLiteral("Day Height:"), QRect(8, 48, 70, 13));
    spnDayHeight = spinField(QStringLiteral("spnDayHeight"), kDayHeightRange.min,
                             kDayHeightRange.max, 1, s.DayHeight, QRect(80, 44, 49, 21));
    connect(spnDayHeight, &SpinField::valueChanged, this, &TfrmProperties::spnDayHeightChange);
    label(QStringLiteral("Starting Week:"), QRect(8, 66, 72, 13));
    label(QStringLiteral("(rotation)"), QRect(8, 79, 70, 13));
    spnStartWeek = spinField(QStringLiteral("spnStartWeek"), kStartWeekRange.min,
                             kStartWeekRange.max, 1, s.StartWeek, QRect(80, 68, 49, 21));
    spnStartWeek->setMaxLength(2);
    connect(spnStartWeek, &SpinField::valueChanged, this, &TfrmProperties::spnStartWeekChange);

    Bevel(Panel1, QRect(134, 18, 2, 86), true);
    label(QStringLiteral("Center Offset:"), QRect(152, 20, 100, 13));
    label(QStringLiteral("X:"), QRect(140, 40, 12, 13));
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    spnCX =
        spinField(QStringLiteral("spnCX"), kMin, kMax, 1, s.CentreOffsetX, QRect(152, 36, 57, 21));
    connect(spnCX, &SpinField::valueChanged, this, &TfrmProperties::spnCXChange);
    label(QStringLiteral("Y:"), QRect(213, 40, 10, 13));
    spnCY =
        spinField(QStringLiteral("spnCY"), kMin, kMax, 1, s.CentreOffsetY, QRect(224, 36, 57, 21));
    connect(spnCY, &SpinField::valueChanged, this, &TfrmProperties::spnCYChange);
    Bevel(Panel1, QRect(140, 64, 144, 2), false);

    auto* direction = new QButtonGroup(this);
    btnClockwise =
        pictureButton(QStringLiteral("btnClockwise"), QStringLiteral(":/props/clockwise"),
                      QStringLiteral("Clockwise"), 160, direction);
    btnAntiClockwise =
        pictureButton(QStringLiteral("btnAntiClockwise"), QStringLiteral(":/props/anticlockwise"),
                      QStringLiteral("Anti-Clockwise"), 185, direction);
    auto* order = new QButtonGroup(this);
    btnInside = pictureButton(QStringLiteral("btnInside"), QStringLiteral(":/props/inside"),
                              QStringLiteral("Weekend inside"), 212, order);
    btnOutside = pictureButton(QStringLiteral("btnOutside"), QStringLiteral(":/props/outside"),
                               QStringLiteral("Weekend outside"), 237, order);
    connect(direction, &QButtonGroup::buttonClicked, this, &TfrmProperties::btnClockwiseClick);
    connect(order, &QButtonGroup::buttonClicked, this, &TfrmProperties::btnClockwiseClick);

    Bevel(Panel1, QRect(286, 18, 2, 86), true);
    label(QStringLiteral("Start Date:"), QRect(292, 20, 97, 13));
    DT = dateField(QStringLiteral("DT"), 36);
    connect(DT, &QDateEdit::dateChanged, this, &TfrmProperties::DTChange);
    label(QStringLiteral("End Date:"), QRect(292, 64, 97, 13));
    DTE = dateField(QStringLiteral("DTE"), 80);
    connect(DTE, &QDateEdit::dateChanged, this, &TfrmProperties::DTEChange);

    ShowState();
    connect(&g_, &Globals::designChanged, this, &TfrmProperties::ShowState);
}

void TfrmProperties::label(const QString& text, const QRect& place) {
    auto* l = new QLabel(text, Panel1);
    l->setGeometry(place);
}

SpinField* TfrmProperties::spinField(const QString& name, std::int32_t min, std::int32_t max,
                                     std::int32_t step, std::int32_t value, const QRect& place) {
    auto* field = new SpinField(min, max, step, value, Panel1);
    field->setObjectName(name);
    field->setGeometry(place);
    return field;
}

QToolButton* TfrmProperties::pictureButton(const QString& name, const QString& picture,
                                           const QString& meaning, int left, QButtonGroup* group) {
    auto* button = new QToolButton(Panel1);
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

QDateEdit* TfrmProperties::dateField(const QString& name, int top) {
    auto* field = new QDateEdit(Panel1);
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

void TfrmProperties::ShowState() {
    const CalendarState& s = g_.state;
    spnRadius->showValue(s.Radius);
    spnDayHeight->showValue(s.DayHeight);
    spnStartWeek->showValue(s.StartWeek);
    spnCX->showValue(s.CentreOffsetX);
    spnCY->showValue(s.CentreOffsetY);
    btnClockwise->setChecked(s.Clockwise);
    btnAntiClockwise->setChecked(!s.Clockwise);
    btnInside->setChecked(s.WeekendInside);
    btnOutside->setChecked(!s.WeekendInside);
    ShowDate(DT, s.StartDate);
    ShowDate(DTE, s.EndDate);
}

void TfrmProperties::ShowPanel() {
    show();
    raise();
    activateWindow();
}

void TfrmProperties::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // FormShow: a drag never outlives a hide.
    Label6->endDrag();
    if (!placed_) {
        placed_ = true;
        const QRect screen = g_.env.screen;
        move(screen.left() + (screen.width() - width()) / 2,
             screen.top() + (screen.height() - height()) / 2);
    }
}

void TfrmProperties::preview() {
    if (g_.state.AutoPreview)
        RunCommand(g_.services, [this] { g_.frmMain->RepaintCalendar(); });
}

void TfrmProperties::spnRadiusChange() {
    g_.state.Radius = spnRadius->value();
    preview();
}

void TfrmProperties::spnDayHeightChange() {
    g_.state.DayHeight = spnDayHeight->value();
    preview();
}

void TfrmProperties::spnStartWeekChange() {
    g_.state.StartWeek = spnStartWeek->value();
    preview();
}

void TfrmProperties::spnCXChange() {
    g_.state.CentreOffsetX = spnCX->value();
    if (!g_.state.RepaintSuspended)
        preview();
}

void TfrmProperties::spnCYChange() {
    g_.state.CentreOffsetY = spnCY->value();
    if (!g_.state.RepaintSuspended)
        preview();
}

void TfrmProperties::btnClockwiseClick() {
    g_.state.Clockwise = btnClockwise->isChecked();
    g_.state.WeekendInside = btnInside->isChecked();
    preview();
}

void TfrmProperties::DTChange() {
    CalendarState& s = g_.state;
    s.StartDate = FromQDate(DT->date());
    if (s.RepaintSuspended)
        return;
    // Setting the end date runs its own check, which finds the pair valid.
    if (CompareDays(s.StartDate, s.EndDate) > 0) {
        g_.services.information(kEndAsStart);
        DTE->setDate(DT->date());
    } else if (CompareDays(s.EndDate, s.StartDate) > kMaxPeriodDays) {
        g_.services.information(kEndAfterStart);
        DTE->setDate(ToQDate(AddDays(s.StartDate, kMaxPeriodDays)));
    }
    preview();
}

void TfrmProperties::DTEChange() {
    CalendarState& s = g_.state;
    s.EndDate = FromQDate(DTE->date());
    if (s.RepaintSuspended)
        return;
    if (CompareDays(s.StartDate, s.EndDate) > 0) {
        g_.services.information(kStartAsEnd);
        DT->setDate(DTE->date());
    } else if (CompareDays(s.EndDate, s.StartDate) > kMaxPeriodDays) {
        g_.services.information(kStartBeforeEnd);
        DT->setDate(ToQDate(AddDays(s.EndDate, -kMaxPeriodDays)));
    }
    preview();
}

} // namespace gyrodex
