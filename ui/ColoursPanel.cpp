#include "ColoursPanel.h"

#include "CaptionDrag.h"
#include "FieldRanges.h"
#include "ImageCanvas.h"
#include "MainWindow.h"
#include "Palette.h"
#include "SharedDialogs.h"
#include "SpinField.h"

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

ColoursPanel::ColoursPanel(DesktopApp& globals)
    : QWidget(globals.mainWindow.get(),
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      g_(globals) {
    setObjectName(QStringLiteral("frmColors"));
    setWindowTitle(QStringLiteral("Colors"));
    setFixedSize(kWidth, kHeight);
    move(g_.env.screen.topLeft() + kFirstPlace);
    const CalendarState& s = g_.state;

    frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Panel1"));
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setGeometry(0, 0, kWidth, kHeight);

    captionBar =
        new CaptionLabel(QStringLiteral(" Calendar Colors"), kCaptionColour, g_.env.screen, frame);
    captionBar->setObjectName(QStringLiteral("Label2"));
    captionBar->setGeometry(1, 1, kWidth - 2, 14);

    backPanel = colourPanel(QStringLiteral("pnlBack"), QStringLiteral("Background"), Back, 20);
    dayPanel = colourPanel(QStringLiteral("pnlDay"), QStringLiteral("Week Day"), Day, 52);
    weekendPanel =
        colourPanel(QStringLiteral("pnlWeekend"), QStringLiteral("Weekend"), Weekend, 84);
    pastPanel = colourPanel(QStringLiteral("pnlPast"), QStringLiteral("Past Days"), Past, 116);
    fontPanel = new FontPanel(QStringLiteral("pnlFont"), QStringLiteral("Day Font"), frame);
    fontPanel->setGeometry(4, 148, 77, 29);
    connect(fontPanel, &FontPanel::clicked, this, &ColoursPanel::chooseDayFont);

    label(QStringLiteral("Borders:"), QRect(4, 182, 60, 13));
    label(QStringLiteral("Day:"), QRect(8, 204, 34, 13));
    thinSwatch = new ColourSwatch(QStringLiteral("pnlThin"), s.ThinColour, frame);
    thinSwatch->setGeometry(44, 196, 33, 29);
    thinSwatch->setAccessibleName(QStringLiteral("Day border colour"));
    connect(thinSwatch, &ColourSwatch::clicked, this, &ColoursPanel::chooseThinColour);
    thinWidthField = new SpinField(kPenWidthRange.min, kPenWidthRange.max, 1, s.ThinWidth, frame);
    thinWidthField->setObjectName(QStringLiteral("spnNormal"));
    thinWidthField->setGeometry(82, 201, 37, 21);
    connect(thinWidthField, &SpinField::valueChanged, this, &ColoursPanel::penWidthChanged);
    label(QStringLiteral("(thickness)"), QRect(122, 205, 58, 13));

    label(QStringLiteral("Month:"), QRect(8, 236, 34, 13));
    thickSwatch = new ColourSwatch(QStringLiteral("pnlThick"), s.ThickColour, frame);
    thickSwatch->setGeometry(44, 228, 33, 29);
    thickSwatch->setAccessibleName(QStringLiteral("Month border colour"));
    connect(thickSwatch, &ColourSwatch::clicked, this, &ColoursPanel::chooseThickColour);
    thickWidthField = new SpinField(kPenWidthRange.min, kPenWidthRange.max, 1, s.ThickWidth, frame);
    thickWidthField->setObjectName(QStringLiteral("spnThick"));
    thickWidthField->setGeometry(82, 233, 37, 21);
    connect(thickWidthField, &SpinField::valueChanged, this, &ColoursPanel::penWidthChanged);
    label(QStringLiteral("(thickness)"), QRect(122, 237, 58, 13));

    repaintAllBox = checkBox(QStringLiteral("chkBackground"), QStringLiteral("Repaint All"), 24);
    connect(repaintAllBox, &QCheckBox::toggled, this, &ColoursPanel::repaintAllClicked);
    label(QStringLiteral("Paint also:"), QRect(86, 74, 90, 13));
    weekendsBox = checkBox(QStringLiteral("chkWeekend"), QStringLiteral("Weekends"), 90);
    connect(weekendsBox, &QCheckBox::toggled, this, &ColoursPanel::paintWeekendsClicked);
    paintPastBox = checkBox(QStringLiteral("chkPaintPast"), QStringLiteral("Past Days"), 113);
    connect(paintPastBox, &QCheckBox::toggled, this, &ColoursPanel::paintPastClicked);
    todayAsPastBox =
        checkBox(QStringLiteral("chkTodayAsPast"), QStringLiteral("Today as Past"), 130);
    connect(todayAsPastBox, &QCheckBox::toggled, this, &ColoursPanel::todayAsPastClicked);

    showState();
    connect(&g_, &DesktopApp::designChanged, this, &ColoursPanel::showState);
}

ColourPanel* ColoursPanel::colourPanel(const QString& name, const QString& caption, Tag tag,
                                       int top) {
    auto* panel = new ColourPanel(name, caption, frame);
    panel->setGeometry(4, top, 77, 29);
    connect(panel, &ColourPanel::pressed, this,
            [this, tag](Qt::MouseButton button) { colourPanelPressed(tag, button); });
    return panel;
}

QCheckBox* ColoursPanel::checkBox(const QString& name, const QString& caption, int top) {
    auto* box = new QCheckBox(caption, frame);
    box->setObjectName(name);
    box->setGeometry(86, top, 94, 17);
    return box;
}

void ColoursPanel::label(const QString& text, const QRect& place) {
    auto* l = new QLabel(text, frame);
    l->setGeometry(place);
}

void ColoursPanel::showState() {
    const CalendarState& s = g_.state;
    backPanel->setColours(s.BackColour, s.BackTextColour);
    dayPanel->setColours(s.DayColour, s.DayTextColour);
    weekendPanel->setColours(s.WeekendColour, s.WeekendTextColour);
    pastPanel->setColours(s.PastColour, s.PastTextColour);
    fontPanel->setFont(MakeFont(s.Font.name, s.Font.size, s.Font.style));
    thinSwatch->setColour(s.ThinColour);
    thickSwatch->setColour(s.ThickColour);
    thinWidthField->showValue(s.ThinWidth);
    thickWidthField->showValue(s.ThickWidth);
    for (auto [box, on] : {std::pair{repaintAllBox, s.RepaintAll},
                           {weekendsBox, s.PaintWeekends},
                           {paintPastBox, s.PaintPast},
                           {todayAsPastBox, s.TodayAsPast}}) {
        const QSignalBlocker block(box);
        box->setChecked(on);
    }
    todayAsPastBox->setEnabled(s.TodayAsPastEnabled);
}

void ColoursPanel::showPanel() {
    show();
    raise();
    activateWindow();
}

void ColoursPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    captionBar->endDrag();
}

void ColoursPanel::preview() {
    if (g_.state.AutoPreview)
        RunCommand(g_.services, [this] { g_.mainWindow->RepaintCalendar(); });
}

Colour& ColoursPanel::colourOf(Tag tag, bool fill) {
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

bool ColoursPanel::editColour(Colour& colour) {
    bool confirmed = false;
    RunCommand(g_.services, [&] {
        if (const auto chosen = g_.dialogs->chooseColourFor(colour)) {
            colour = *chosen;
            confirmed = true;
        }
    });
    return confirmed;
}

void ColoursPanel::colourPanelPressed(Tag tag, Qt::MouseButton button) {
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    if (!editColour(colourOf(tag, button == Qt::LeftButton)))
        return;
    showState();
    preview();
}

void ColoursPanel::chooseThinColour() {
    if (!editColour(g_.state.ThinColour))
        return;
    showState();
    preview();
}

void ColoursPanel::chooseThickColour() {
    if (!editColour(g_.state.ThickColour))
        return;
    showState();
    preview();
}

void ColoursPanel::chooseDayFont() {
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
    showState();
    preview();
}

void ColoursPanel::repaintAllClicked() {
    g_.state.RepaintAll = repaintAllBox->isChecked();
    preview();
}

void ColoursPanel::paintWeekendsClicked() {
    g_.state.PaintWeekends = weekendsBox->isChecked();
    preview();
}

void ColoursPanel::paintPastClicked() {
    // Unchecking "Past Days" unchecks "Today as Past"; it can be changed only while "Past
    // Days" is checked.
    g_.state.setPaintPast(paintPastBox->isChecked());
    showState();
    preview();
}

void ColoursPanel::todayAsPastClicked() {
    g_.state.TodayAsPast = todayAsPastBox->isChecked();
    preview();
}

void ColoursPanel::penWidthChanged() {
    g_.state.ThinWidth = thinWidthField->value();
    g_.state.ThickWidth = thickWidthField->value();
    preview();
}

} // namespace gyrodex
