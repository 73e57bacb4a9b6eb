#include "UColors.h"

#include "CaptionDrag.h"
#include "FieldRanges.h"
#include "ImageCanvas.h"
#include "SpinField.h"
#include "UDMod.h"
#include "UFloatMenu.h"
#include "UMain.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>

namespace gyrodex {

namespace {

constexpr int kWidth = 183;
constexpr int kHeight = 262;
constexpr QPoint kFirstPlace(426, 239);
constexpr QRgb kCaptionColour = qRgb(174, 255, 174);
const QString kHint = QStringLiteral("Click to change Color, Right-Click to change Font Color");

QString ColourName(Colour c) {
    return QStringLiteral("#%1").arg(ToQColor(c).rgb() & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

} // namespace

ColourPanel::ColourPanel(const QString& name, const QString& caption, QWidget* parent)
    : QFrame(parent) {
    setObjectName(name);
    setAccessibleName(caption);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setStatusTip(kHint); // the panel shows no hints
    setWindowTitle(caption);
}

void ColourPanel::setColours(Colour fill, Colour text) {
    fill_ = fill;
    text_ = text;
    setAccessibleDescription(ColourName(fill) + QStringLiteral(" on ") + ColourName(text));
    update();
}

void ColourPanel::paintEvent(QPaintEvent* event) {
    {
        QPainter p(this);
        p.fillRect(rect(), ToQColor(fill_));
        p.setPen(ToQColor(text_));
        p.drawText(rect(), Qt::AlignCenter, windowTitle());
    }
    QFrame::paintEvent(event);
}

void ColourPanel::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->button());
}

FontPanel::FontPanel(const QString& name, const QString& caption, QWidget* parent)
    : QFrame(parent) {
    setObjectName(name);
    setAccessibleName(caption);
    setWindowTitle(caption);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
}

void FontPanel::paintEvent(QPaintEvent* event) {
    {
        QPainter p(this);
        p.setFont(font());
        p.setPen(Qt::black);
        p.drawText(rect(), Qt::AlignCenter, windowTitle());
    }
    QFrame::paintEvent(event);
}

void FontPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

TfrmColors::TfrmColors(Globals& globals)
    : QWidget(globals.frmMain.get(), Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      g_(globals) {
    setObjectName(QStringLiteral("frmColors"));
    setWindowTitle(QStringLiteral("Colors"));
    setFixedSize(kWidth, kHeight);
    move(g_.env.screen.topLeft() + kFirstPlace);
    const CalendarState& s = g_.state;

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(0, 0, kWidth, kHeight);

    Label2 =
        new CaptionLabel(QStringLiteral(" Calendar Colors"), kCaptionColour, g_.env.screen, Panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(1, 1, kWidth - 2, 14);

    pnlBack = colourPanel(QStringLiteral("pnlBack"), QStringLiteral("Background"), Back, 20);
    pnlDay = colourPanel(QStringLiteral("pnlDay"), QStringLiteral("Week Day"), Day, 52);
    pnlWeekend = colourPanel(QStringLiteral("pnlWeekend"), QStringLiteral("Weekend"), Weekend, 84);
    pnlPast = colourPanel(QStringLiteral("pnlPast"), QStringLiteral("Past Days"), Past, 116);
    pnlFont = new FontPanel(QStringLiteral("pnlFont"), QStringLiteral("Day Font"), Panel1);
    pnlFont->setGeometry(4, 148, 77, 29);
    connect(pnlFont, &FontPanel::clicked, this, &TfrmColors::pnlFontClick);

    label(QStringLiteral("Borders:"), QRect(4, 182, 60, 13));
    label(QStringLiteral("Day:"), QRect(8, 204, 34, 13));
    pnlThin = new ColourSwatch(QStringLiteral("pnlThin"), s.ThinColour, Panel1);
    pnlThin->setGeometry(44, 196, 33, 29);
    pnlThin->setAccessibleName(QStringLiteral("Day border colour"));
    connect(pnlThin, &ColourSwatch::clicked, this, &TfrmColors::pnlThinClick);
    spnNormal = new SpinField(kPenWidthRange.min, kPenWidthRange.max, 1, s.ThinWidth, Panel1);
    spnNormal->setObjectName(QStringLiteral("spnNormal"));
    spnNormal->setGeometry(82, 201, 37, 21);
    connect(spnNormal, &SpinField::valueChanged, this, &TfrmColors::spnThickChange);
    label(QStringLiteral("(thickness)"), QRect(122, 205, 58, 13));

    label(QStringLiteral("Month:"), QRect(8, 236, 34, 13));
    pnlThick = new ColourSwatch(QStringLiteral("pnlThick"), s.ThickColour, Panel1);
    pnlThick->setGeometry(44, 228, 33, 29);
    pnlThick->setAccessibleName(QStringLiteral("Month border colour"));
    connect(pnlThick, &ColourSwatch::clicked, this, &TfrmColors::pnlThickClick);
    spnThick = new SpinField(kPenWidthRange.min, kPenWidthRange.max, 1, s.ThickWidth, Panel1);
    spnThick->setObjectName(QStringLiteral("spnThick"));
    spnThick->setGeometry(82, 233, 37, 21);
    connect(spnThick, &SpinField::valueChanged, this, &TfrmColors::spnThickChange);
    label(QStringLiteral("(thickness)"), QRect(122, 237, 58, 13));

    chkBackground = checkBox(QStringLiteral("chkBackground"), QStringLiteral("Repaint All"), 24);
    connect(chkBackground, &QCheckBox::toggled, this, &TfrmColors::chkBackgroundClick);
    label(QStringLiteral("Paint also:"), QRect(86, 74, 90, 13));
    chkWeekend = checkBox(QStringLiteral("chkWeekend"), QStringLiteral("Weekends"), 90);
    connect(chkWeekend, &QCheckBox::toggled, this, &TfrmColors::chkWeekendClick);
    chkPaintPast = checkBox(QStringLiteral("chkPaintPast"), QStringLiteral("Past Days"), 113);
    connect(chkPaintPast, &QCheckBox::toggled, this, &TfrmColors::chkPaintPastClick);
    chkTodayAsPast =
        checkBox(QStringLiteral("chkTodayAsPast"), QStringLiteral("Today as Past"), 130);
    connect(chkTodayAsPast, &QCheckBox::toggled, this, &TfrmColors::chkTodayAsPastClick);

    ShowState();
    connect(&g_, &Globals::designChanged, this, &TfrmColors::ShowState);
}

ColourPanel* TfrmColors::colourPanel(const QString& name, const QString& caption, Tag tag,
                                     int top) {
    auto* panel = new ColourPanel(name, caption, Panel1);
    panel->setGeometry(4, top, 77, 29);
    connect(panel, &ColourPanel::pressed, this,
            [this, tag](Qt::MouseButton button) { pnlBackMouseDown(tag, button); });
    return panel;
}

QCheckBox* TfrmColors::checkBox(const QString& name, const QString& caption, int top) {
    auto* box = new QCheckBox(caption, Panel1);
    box->setObjectName(name);
    box->setGeometry(86, top, 94, 17);
    return box;
}

void TfrmColors::label(const QString& text, const QRect& place) {
    auto* l = new QLabel(text, Panel1);
    l->setGeometry(place);
}

void TfrmColors::ShowState() {
    const CalendarState& s = g_.state;
    pnlBack->setColours(s.BackColour, s.BackTextColour);
    pnlDay->setColours(s.DayColour, s.DayTextColour);
    pnlWeekend->setColours(s.WeekendColour, s.WeekendTextColour);
    pnlPast->setColours(s.PastColour, s.PastTextColour);
    pnlFont->setFont(MakeFont(s.Font.name, s.Font.size, s.Font.style));
    pnlThin->setColour(s.ThinColour);
    pnlThick->setColour(s.ThickColour);
    spnNormal->showValue(s.ThinWidth);
    spnThick->showValue(s.ThickWidth);
    for (auto [box, on] : {std::pair{chkBackground, s.RepaintAll},
                           {chkWeekend, s.PaintWeekends},
                           {chkPaintPast, s.PaintPast},
                           {chkTodayAsPast, s.TodayAsPast}}) {
        const QSignalBlocker block(box);
        box->setChecked(on);
    }
    chkTodayAsPast->setEnabled(s.TodayAsPastEnabled);
}

void TfrmColors::ShowPanel() {
    show();
    raise();
    activateWindow();
}

void TfrmColors::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Label2->endDrag();
}

void TfrmColors::preview() {
    if (g_.state.AutoPreview)
        RunCommand(g_.services, [this] { g_.frmMain->RepaintCalendar(); });
}

Colour& TfrmColors::colourOf(Tag tag, bool fill) {
    CalendarState& s = g_.state;
    switch (tag) {
    case Back:
        return fill ? s.BackColour : s.BackTextColour;
    case Day:
        return fill ? s.DayColour : s.DayTextColour;
    case Weekend:
        return fill ? s.WeekendColour : s.WeekendTextColour;
    case Past:
        break;
    }
    return fill ? s.PastColour : s.PastTextColour;
}

bool TfrmColors::editColour(Colour& colour) {
    bool confirmed = false;
    RunCommand(g_.services, [&] {
        if (const auto chosen = g_.DMod->ColorDlg(colour)) {
            colour = *chosen;
            confirmed = true;
        }
    });
    return confirmed;
}

void TfrmColors::pnlBackMouseDown(Tag tag, Qt::MouseButton button) {
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    if (!editColour(colourOf(tag, button == Qt::LeftButton)))
        return;
    ShowState();
    preview();
}

void TfrmColors::pnlThinClick() {
    if (!editColour(g_.state.ThinColour))
        return;
    ShowState();
    preview();
}

void TfrmColors::pnlThickClick() {
    if (!editColour(g_.state.ThickColour))
        return;
    ShowState();
    preview();
}

void TfrmColors::pnlFontClick() {
    DayFont& f = g_.state.Font;
    QFont preset(f.name, f.size);
    preset.setBold((f.style & Bold) != 0);
    preset.setItalic((f.style & Italic) != 0);
    preset.setUnderline((f.style & Underline) != 0);
    preset.setStrikeOut((f.style & StrikeOut) != 0);
    std::optional<QFont> chosen;
    RunCommand(g_.services, [&] { chosen = g_.services.chooseFont(preset); });
    if (!chosen)
        return;
    f.name = chosen->family();
    // A font given in pixels comes back without a point size: 96 pixels are 72 points.
    f.size =
        chosen->pointSize() > 0 ? chosen->pointSize() : std::max(1, chosen->pixelSize() * 72 / 96);
    f.style = (chosen->bold() ? Bold : 0u) | (chosen->italic() ? Italic : 0u) |
              (chosen->underline() ? Underline : 0u) | (chosen->strikeOut() ? StrikeOut : 0u);
    ShowState();
    preview();
}

void TfrmColors::chkBackgroundClick() {
    g_.state.RepaintAll = chkBackground->isChecked();
    preview();
}

void TfrmColors::chkWeekendClick() {
    g_.state.PaintWeekends = chkWeekend->isChecked();
    preview();
}

void TfrmColors::chkPaintPastClick() {
    // Unchecking "Past Days" unchecks "Today as Past"; it can be changed only while "Past
    // Days" is checked.
    g_.state.setPaintPast(chkPaintPast->isChecked());
    ShowState();
    preview();
}

void TfrmColors::chkTodayAsPastClick() {
    g_.state.TodayAsPast = chkTodayAsPast->isChecked();
    preview();
}

void TfrmColors::spnThickChange() {
    g_.state.ThinWidth = spnNormal->value();
    g_.state.ThickWidth = spnThick->value();
    preview();
}

} // namespace gyrodex
