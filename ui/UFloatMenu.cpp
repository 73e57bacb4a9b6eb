#include "UFloatMenu.h"

#include "Busy.h"
#include "Globals.h"
#include "ImageCanvas.h"
#include "UDMod.h"
#include "UMain.h"
#include "USetup.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace gyrodex {

namespace {

constexpr int kSnap = 16;
constexpr int kAreaWidth = 75;
constexpr int kAreaHeight = 244;

// A file name shown as a menu caption: "&" is a character, not an access key.
QString MenuCaption(const QString& name) {
    QString caption = name;
    return caption.replace(u'&', QStringLiteral("&&"));
}

void ShowRecentMenu(QMenu* submenu, const std::array<QAction*, kRecentSlots>& items,
                    const RecentMenu& menu) {
    submenu->menuAction()->setEnabled(menu.enabled);
    for (std::size_t k = 0; k < items.size(); ++k) {
        items[k]->setText(MenuCaption(menu.captions[k]));
        items[k]->setEnabled(menu.itemEnabled[k]);
    }
}

} // namespace

QPoint EdgeSnap(const QRect& window, const QSize& screen) {
    int left = window.left() < kSnap ? 0 : window.left();
    if (screen.width() - kSnap < window.left() + window.width())
        left = screen.width() - window.width();
    int top = window.top() < kSnap ? 0 : window.top();
    if (screen.height() - kSnap < window.top() + window.height())
        top = screen.height() - window.height();
    return {left, top};
}

ColourSwatch::ColourSwatch(const QString& name, Colour colour, QWidget* parent)
    : QFrame(parent), colour_(colour) {
    setObjectName(name);
    setAccessibleName(name);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAutoFillBackground(true);
    setColour(colour);
}

void ColourSwatch::setColour(Colour colour) {
    colour_ = colour;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(colour));
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setAccessibleDescription(
        QStringLiteral("#%1").arg(ToQColor(colour).rgb() & 0xFFFFFF, 6, 16, QLatin1Char('0')));
}

void ColourSwatch::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

TfrmFloatMenu::TfrmFloatMenu(Globals& globals)
    // A window of the main window's, so that window managers keep it above the full-screen
    // image.
    : QWidget(globals.frmMain.get(),
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      g_(globals) {
    setObjectName(QStringLiteral("frmFloatMenu"));
    setWindowTitle(QStringLiteral("Gyrodex v1.1"));
    TfrmMain& main = *g_.frmMain;

    // The main menu.
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setNativeMenuBar(false);
    Calendar1 = MainMenu1->addMenu(QStringLiteral("&File"));
    Open2 = Calendar1->addAction(QStringLiteral("&Open..."), &main, &TfrmMain::Open2Click);
    cmReopenCalendar1 = Calendar1->addMenu(QStringLiteral("&Reopen"));
    for (int k = 0; k < kRecentSlots; ++k) {
        QAction* item = cmReopenCalendar1->addAction(QStringLiteral("Recent%1").arg(k + 1));
        item->setObjectName(QStringLiteral("cmRecentCal%1").arg(k + 1));
        connect(item, &QAction::triggered, &main, [&main, k] { main.cmRecentCal1Click(k + 1); });
        cmRecentCal[static_cast<std::size_t>(k)] = item;
    }
    cmReopenCalendar1->menuAction()->setEnabled(false);
    Calendar1->addSeparator();
    Save1 = Calendar1->addAction(QStringLiteral("&Save"), &main, &TfrmMain::Save1Click);
    SaveAs1 = Calendar1->addAction(QStringLiteral("Save &As.."), &main, &TfrmMain::SaveAs1Click);
    ExporttoAIformat1 =
        Calendar1->addAction(QStringLiteral("&Export to Adobe Illustrator (*.ai) format"), &main,
                             &TfrmMain::ExporttoAIformat1Click);
    Calendar1->addSeparator();
    ProgramSetup1 = Calendar1->addAction(QStringLiteral("&Program Setup..."), this,
                                         &TfrmFloatMenu::ProgramSetup1Click);

    Bitmap1 = MainMenu1->addMenu(QStringLiteral("&BMP"));
    Size1 = Bitmap1->addAction(QStringLiteral("Si&ze"), &main, &TfrmMain::Size1Click);
    Bitmap1->addSeparator();
    LoadBitmap1 =
        Bitmap1->addAction(QStringLiteral("&Load Bitmap..."), &main, &TfrmMain::LoadBitmap1Click);
    cmReopenBitmap1 = Bitmap1->addMenu(QStringLiteral("Re&open"));
    for (int k = 0; k < kRecentSlots; ++k) {
        QAction* item = cmReopenBitmap1->addAction(QStringLiteral("Recent%1").arg(k + 1));
        item->setObjectName(QStringLiteral("cmRecentBMP%1").arg(k + 1));
        connect(item, &QAction::triggered, &main, [&main, k] { main.cmRecentBMP1Click(k + 1); });
        cmRecentBMP[static_cast<std::size_t>(k)] = item;
    }
    cmReopenBitmap1->menuAction()->setEnabled(false);
    Bitmap1->addSeparator();
    SaveBitmap1 =
        Bitmap1->addAction(QStringLiteral("&Save Bitmap"), &main, &TfrmMain::SaveBitmap1Click);
    SaveBitmap1->setEnabled(main.SaveBitmapEnabled());
    SaveBitmapAs1 = Bitmap1->addAction(QStringLiteral("Save Bitmap &As..."), &main,
                                       &TfrmMain::SaveBitmapAs1Click);

    connect(&main, &TfrmMain::recentCalendarsChanged, this, &TfrmFloatMenu::showRecentCalendars);
    connect(&main, &TfrmMain::recentBitmapsChanged, this, &TfrmFloatMenu::showRecentBitmaps);
    connect(&main, &TfrmMain::saveBitmapEnabledChanged, SaveBitmap1, &QAction::setEnabled);

    // The controls, at fixed places in the area under the menu bar.
    area = new QWidget(this);
    area->setObjectName(QStringLiteral("area"));
    area->setFixedSize(kAreaWidth, kAreaHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(area);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    SpeedButton2 = commandButton(QStringLiteral("SpeedButton2"), QStringLiteral("Repaint"), 1);
    connect(SpeedButton2, &QToolButton::clicked, &main, &TfrmMain::SpeedButton2Click);
    chkPreview = new QCheckBox(area);
    chkPreview->setObjectName(QStringLiteral("chkPreview"));
    chkPreview->setGeometry(59, 4, 13, 13);
    chkPreview->setToolTip(QStringLiteral("Automatic Preview"));
    chkPreview->setAccessibleName(QStringLiteral("Automatic Preview"));
    chkPreview->setChecked(g_.state.AutoPreview);
    chkPreview->raise();
    connect(chkPreview, &QCheckBox::toggled, this, [this](bool on) { g_.state.AutoPreview = on; });

    SpeedButton1 =
        commandButton(QStringLiteral("SpeedButton1"), QStringLiteral("Properties >>"), 20);
    connect(SpeedButton1, &QToolButton::clicked, this, &TfrmFloatMenu::SpeedButton1Click);
    SpeedButton8 = commandButton(QStringLiteral("SpeedButton8"), QStringLiteral("Colors >>"), 39);
    connect(SpeedButton8, &QToolButton::clicked, this, &TfrmFloatMenu::SpeedButton8Click);
    SpeedButton3 = commandButton(QStringLiteral("SpeedButton3"), QStringLiteral("Highlights"), 58);
    connect(SpeedButton3, &QToolButton::clicked, this, &TfrmFloatMenu::SpeedButton3Click);
    SpeedButton5 = commandButton(QStringLiteral("SpeedButton5"), QStringLiteral("Print"), 77);
    connect(SpeedButton5, &QToolButton::clicked, &main, &TfrmMain::SpeedButton5Click);
    SpeedButton6 = commandButton(QStringLiteral("SpeedButton6"), QStringLiteral("Print Setup"), 96);
    connect(SpeedButton6, &QToolButton::clicked, &main, &TfrmMain::SpeedButton6Click);
    SpeedButton4 = commandButton(QStringLiteral("SpeedButton4"), QStringLiteral("Exit"), 115);
    connect(SpeedButton4, &QToolButton::clicked, this, &TfrmFloatMenu::SpeedButton4Click);

    toolGroup_ = new QButtonGroup(this);
    toolGroup_->setExclusive(true);
    toolButton(QStringLiteral("btnPointer"), PaintTool::Pointer, QStringLiteral(":/tools/pointer"),
               QStringLiteral("Move the wheel"), 0, 135);
    toolButton(QStringLiteral("btnPicker"), PaintTool::Picker, QStringLiteral(":/tools/picker"),
               QStringLiteral("Pick a colour"), 25, 135);
    toolButton(QStringLiteral("SpeedButton7"), PaintTool::PickDate, {},
               QStringLiteral("Pick a date for the highlight editor"), 50, 135);
    toolButton(QStringLiteral("btnFill"), PaintTool::Fill, QStringLiteral(":/tools/fill"),
               QStringLiteral("Paint a day"), 0, 160);
    toolButton(QStringLiteral("btnText"), PaintTool::Text, QStringLiteral(":/tools/text"),
               QStringLiteral("Describe a day"), 25, 160);
    toolButton(QStringLiteral("btnErase"), PaintTool::Erase, QStringLiteral(":/tools/erase"),
               QStringLiteral("Erase a highlight"), 50, 160);
    tools[static_cast<std::size_t>(g_.state.CurrentTool)]->setChecked(true);
    connect(toolGroup_, &QButtonGroup::idClicked, this, &TfrmFloatMenu::btnPointerClick);

    // Current is made after Last so that it is drawn over it.
    Last = new ColourSwatch(QStringLiteral("Last"), 0x000000, area);
    Last->setGeometry(27, 196, 48, 48);
    connect(Last, &ColourSwatch::clicked, this, &TfrmFloatMenu::LastClick);
    Current = new ColourSwatch(QStringLiteral("Current"), 0xFFFFFF, area);
    Current->setGeometry(0, 186, 48, 48);
    connect(Current, &ColourSwatch::clicked, this, &TfrmFloatMenu::CurrentClick);
}

QToolButton* TfrmFloatMenu::commandButton(const QString& name, const QString& caption, int top) {
    auto* button = new QToolButton(area);
    button->setObjectName(name);
    button->setText(caption);
    button->setAutoRaise(true);
    button->setGeometry(0, top, kAreaWidth, 19);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QToolButton* TfrmFloatMenu::toolButton(const QString& name, PaintTool tool, const QString& picture,
                                       const QString& meaning, int left, int top) {
    auto* button = new QToolButton(area);
    button->setObjectName(name);
    button->setCheckable(true);
    button->setGeometry(left, top, 25, 25);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(meaning);
    button->setAccessibleName(meaning);
    if (!picture.isEmpty()) {
        button->setIcon(QIcon(picture));
        button->setIconSize(QSize(20, 20));
    }
    toolGroup_->addButton(button, static_cast<int>(tool));
    tools[static_cast<std::size_t>(tool)] = button;
    return button;
}

void TfrmFloatMenu::FormShow() {
    chkPreview->setChecked(g_.state.AutoPreview);
}

void TfrmFloatMenu::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
}

void TfrmFloatMenu::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (!isVisible())
        return;
    const QRect frame = frameGeometry();
    const QPoint snapped = EdgeSnap(frame, g_.env.screen.size());
    if (snapped != frame.topLeft())
        move(snapped);
}

void TfrmFloatMenu::closeEvent(QCloseEvent* event) {
    // The palette cannot be closed from its frame: "Exit" ends the program.
    event->ignore();
}

void TfrmFloatMenu::btnPointerClick(int tag) {
    g_.frmMain->SetTool(static_cast<PaintTool>(tag));
}

void TfrmFloatMenu::CurrentClick() {
    RunCommand(g_.services, [this] {
        if (const auto colour = g_.DMod->ColorDlg(Current->colour()))
            Current->setColour(*colour);
    });
}

void TfrmFloatMenu::LastClick() {
    const Colour current = Current->colour();
    Current->setColour(Last->colour());
    Last->setColour(current);
}

void TfrmFloatMenu::SpeedButton1Click() {
    if (g_.frmProperties)
        g_.frmProperties->ShowPanel();
}

void TfrmFloatMenu::SpeedButton8Click() {
    if (g_.frmColors)
        g_.frmColors->ShowPanel();
}

void TfrmFloatMenu::SpeedButton3Click() {
    RunCommand(g_.services, [this] {
        if (g_.frmHighlight && g_.frmHighlight->RunModal())
            g_.frmMain->RepaintCalendar();
    });
}

void TfrmFloatMenu::SpeedButton4Click() {
    emit g_.quitRequested();
}

void TfrmFloatMenu::ProgramSetup1Click() {
    RunCommand(g_.services, [this] {
        TfrmSetup& setup = *g_.frmSetup;
        setup.FormShow();
        g_.services.exec(setup);
    });
}

void TfrmFloatMenu::showRecentCalendars(const RecentMenu& menu) {
    ShowRecentMenu(cmReopenCalendar1, cmRecentCal, menu);
}

void TfrmFloatMenu::showRecentBitmaps(const RecentMenu& menu) {
    ShowRecentMenu(cmReopenBitmap1, cmRecentBMP, menu);
}

} // namespace gyrodex
