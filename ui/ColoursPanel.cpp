#include "ColoursPanel.h"

#include "Busy.h"
#include "CaptionDrag.h"
#include "FieldRanges.h"
#include "ImageCanvas.h"
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

ColoursPanel::ColoursPanel(EditPath& edits, Services& services, SharedDialogs& dialogs,
                           QRect screen, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      edits_(edits), services_(services), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmColors"));
    setWindowTitle(QStringLiteral("Colors"));
    setFixedSize(kWidth, kHeight);
    move(screen.topLeft() + kFirstPlace);
    const CalendarState& s = edits_.document().state;

    frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Panel1"));
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setGeometry(0, 0, kWidth, kHeight);

    captionBar =
        new CaptionLabel(QStringLiteral(" Calendar Colors"), kCaptionColour, screen, frame);
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
    connect(&edits_, &EditPath::changed, this, [this](const Change& change) {
        if ((change.parts & Change::Looks) && change.source != this)
            showState();
    });
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
    const CalendarState& s = edits_.document().state;
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

void ColoursPanel::change(const QString& what, std::function<void(CalendarState&)> apply,
                          bool refresh) {
    // The border width fields' typing and arrow bursts are one undo step each.
    edits_.edit(PanelChange(Change::Looks, what, std::move(apply), Change::Repaint::Preview, this,
                            sender()));
    // Fields coupled to the one changed (the colour panels, "Today as Past") show the result.
    if (refresh)
        showState();
}

Colour& ColoursPanel::colourOf(CalendarState& s, Tag tag, bool fill) {
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

std::optional<Colour> ColoursPanel::askColour(Colour preset) {
    std::optional<Colour> chosen;
    RunCommand(services_, [&] { chosen = dialogs_.chooseColourFor(preset); });
    return chosen;
}

void ColoursPanel::colourPanelPressed(Tag tag, Qt::MouseButton button) {
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    const bool fill = button == Qt::LeftButton;
    CalendarState copy = edits_.document().state;
    const auto colour = askColour(colourOf(copy, tag, fill));
    if (!colour)
        return;
    change(
        QStringLiteral("Colour"),
        [tag, fill, c = *colour](CalendarState& s) { colourOf(s, tag, fill) = c; }, true);
}

void ColoursPanel::chooseThinColour() {
    const auto colour = askColour(edits_.document().state.ThinColour);
    if (!colour)
        return;
    change(
        QStringLiteral("Colour"), [c = *colour](CalendarState& s) { s.ThinColour = c; }, true);
}

void ColoursPanel::chooseThickColour() {
    const auto colour = askColour(edits_.document().state.ThickColour);
    if (!colour)
        return;
    change(
        QStringLiteral("Colour"), [c = *colour](CalendarState& s) { s.ThickColour = c; }, true);
}

void ColoursPanel::chooseDayFont() {
    const DayFont& f = edits_.document().state.Font;
    QFont preset(f.name, f.size);
    preset.setBold((f.style & Bold) != 0);
    preset.setItalic((f.style & Italic) != 0);
    preset.setUnderline((f.style & Underline) != 0);
    preset.setStrikeOut((f.style & StrikeOut) != 0);
    std::optional<QFont> chosen;
    RunCommand(services_, [&] { chosen = services_.chooseFont(preset); });
    if (!chosen)
        return;
    DayFont font = f;
    font.name = chosen->family();
    // A font given in pixels comes back without a point size: 96 pixels are 72 points.
    font.size =
        chosen->pointSize() > 0 ? chosen->pointSize() : std::max(1, chosen->pixelSize() * 72 / 96);
    font.style = (chosen->bold() ? Bold : 0u) | (chosen->italic() ? Italic : 0u) |
                 (chosen->underline() ? Underline : 0u) | (chosen->strikeOut() ? StrikeOut : 0u);
    change(
        QStringLiteral("Day Font"), [font](CalendarState& s) { s.Font = font; }, true);
}

void ColoursPanel::repaintAllClicked() {
    change(QStringLiteral("Repaint All"),
           [on = repaintAllBox->isChecked()](CalendarState& s) { s.RepaintAll = on; });
}

void ColoursPanel::paintWeekendsClicked() {
    change(QStringLiteral("Weekends"),
           [on = weekendsBox->isChecked()](CalendarState& s) { s.PaintWeekends = on; });
}

void ColoursPanel::paintPastClicked() {
    // Unchecking "Past Days" unchecks "Today as Past"; it can be changed only while "Past
    // Days" is checked.
    change(
        QStringLiteral("Past Days"),
        [on = paintPastBox->isChecked()](CalendarState& s) { s.setPaintPast(on); }, true);
}

void ColoursPanel::todayAsPastClicked() {
    change(QStringLiteral("Today as Past"),
           [on = todayAsPastBox->isChecked()](CalendarState& s) { s.TodayAsPast = on; });
}

void ColoursPanel::penWidthChanged() {
    change(QStringLiteral("Border Width"),
           [thin = thinWidthField->value(), thick = thickWidthField->value()](CalendarState& s) {
               s.ThinWidth = thin;
               s.ThickWidth = thick;
           });
}

} // namespace gyrodex
