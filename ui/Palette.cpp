#include "Palette.h"

#include "Busy.h"
#include "ColoursPanel.h"
#include "DesktopApp.h"
#include "HighlightDialog.h"
#include "ImageCanvas.h"
#include "MainWindow.h"
#include "PropertiesPanel.h"
#include "SetupDialog.h"
#include "SharedDialogs.h"

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

Palette::Palette(DesktopApp& globals)
    // A window of the main window's, so that window managers keep it above the full-screen
    // image.
    : QWidget(globals.mainWindow.get(),
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      g_(globals) {
    setObjectName(QStringLiteral("frmFloatMenu"));
    setWindowTitle(QStringLiteral("Gyrodex v1.1"));
    MainWindow& main = *g_.mainWindow;

    // The main menu.
    mainMenu = new QMenuBar(this);
    mainMenu->setNativeMenuBar(false);
    fileMenu = mainMenu->addMenu(QStringLiteral("&File"));
    openAction = fileMenu->addAction(QStringLiteral("&Open..."), &main, &MainWindow::openCalendar);
    reopenCalendarMenu = fileMenu->addMenu(QStringLiteral("&Reopen"));
    for (int k = 0; k < kRecentSlots; ++k) {
        QAction* item = reopenCalendarMenu->addAction(QStringLiteral("Recent%1").arg(k + 1));
        item->setObjectName(QStringLiteral("cmRecentCal%1").arg(k + 1));
        connect(item, &QAction::triggered, &main, [&main, k] { main.openRecentCalendar(k + 1); });
        recentCalendarActions[static_cast<std::size_t>(k)] = item;
    }
    reopenCalendarMenu->menuAction()->setEnabled(false);
    fileMenu->addSeparator();
    saveAction = fileMenu->addAction(QStringLiteral("&Save"), &main, &MainWindow::saveCalendar);
    saveAsAction =
        fileMenu->addAction(QStringLiteral("Save &As.."), &main, &MainWindow::saveCalendarAs);
    exportIllustratorAction =
        fileMenu->addAction(QStringLiteral("&Export to Adobe Illustrator (*.ai) format"), &main,
                            &MainWindow::exportIllustrator);
    fileMenu->addSeparator();
    programSetupAction =
        fileMenu->addAction(QStringLiteral("&Program Setup..."), this, &Palette::programSetup);

    bitmapMenu = mainMenu->addMenu(QStringLiteral("&BMP"));
    sizeAction =
        bitmapMenu->addAction(QStringLiteral("Si&ze"), &main, &MainWindow::changeImageSize);
    bitmapMenu->addSeparator();
    loadBitmapAction =
        bitmapMenu->addAction(QStringLiteral("&Load Bitmap..."), &main, &MainWindow::loadBitmap);
    reopenBitmapMenu = bitmapMenu->addMenu(QStringLiteral("Re&open"));
    for (int k = 0; k < kRecentSlots; ++k) {
        QAction* item = reopenBitmapMenu->addAction(QStringLiteral("Recent%1").arg(k + 1));
        item->setObjectName(QStringLiteral("cmRecentBMP%1").arg(k + 1));
        connect(item, &QAction::triggered, &main, [&main, k] { main.openRecentBitmap(k + 1); });
        recentBitmapActions[static_cast<std::size_t>(k)] = item;
    }
    reopenBitmapMenu->menuAction()->setEnabled(false);
    bitmapMenu->addSeparator();
    saveBitmapAction =
        bitmapMenu->addAction(QStringLiteral("&Save Bitmap"), &main, &MainWindow::saveBitmap);
    saveBitmapAction->setEnabled(main.SaveBitmapEnabled());
    saveBitmapAsAction = bitmapMenu->addAction(QStringLiteral("Save Bitmap &As..."), &main,
                                               &MainWindow::saveBitmapAs);

    connect(&main, &MainWindow::recentCalendarsChanged, this, &Palette::showRecentCalendars);
    connect(&main, &MainWindow::recentBitmapsChanged, this, &Palette::showRecentBitmaps);
    connect(&main, &MainWindow::saveBitmapEnabledChanged, saveBitmapAction, &QAction::setEnabled);

    // The controls, at fixed places in the area under the menu bar.
    area = new QWidget(this);
    area->setObjectName(QStringLiteral("area"));
    area->setFixedSize(kAreaWidth, kAreaHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(mainMenu);
    layout->addWidget(area);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    repaintButton = commandButton(QStringLiteral("SpeedButton2"), QStringLiteral("Repaint"), 1);
    connect(repaintButton, &QToolButton::clicked, &main, &MainWindow::repaintNow);
    previewBox = new QCheckBox(area);
    previewBox->setObjectName(QStringLiteral("chkPreview"));
    previewBox->setGeometry(59, 4, 13, 13);
    previewBox->setToolTip(QStringLiteral("Automatic Preview"));
    previewBox->setAccessibleName(QStringLiteral("Automatic Preview"));
    previewBox->setChecked(g_.state.AutoPreview);
    previewBox->raise();
    connect(previewBox, &QCheckBox::toggled, this, [this](bool on) { g_.state.AutoPreview = on; });

    propertiesButton =
        commandButton(QStringLiteral("SpeedButton1"), QStringLiteral("Properties >>"), 20);
    connect(propertiesButton, &QToolButton::clicked, this, &Palette::showPropertiesPanel);
    coloursButton = commandButton(QStringLiteral("SpeedButton8"), QStringLiteral("Colors >>"), 39);
    connect(coloursButton, &QToolButton::clicked, this, &Palette::showColoursPanel);
    highlightsButton =
        commandButton(QStringLiteral("SpeedButton3"), QStringLiteral("Highlights"), 58);
    connect(highlightsButton, &QToolButton::clicked, this, &Palette::editHighlights);
    printButton = commandButton(QStringLiteral("SpeedButton5"), QStringLiteral("Print"), 77);
    connect(printButton, &QToolButton::clicked, &main, &MainWindow::print);
    printSetupButton =
        commandButton(QStringLiteral("SpeedButton6"), QStringLiteral("Print Setup"), 96);
    connect(printSetupButton, &QToolButton::clicked, &main, &MainWindow::printSetup);
    exitButton = commandButton(QStringLiteral("SpeedButton4"), QStringLiteral("Exit"), 115);
    connect(exitButton, &QToolButton::clicked, this, &Palette::exitProgram);

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
    connect(toolGroup_, &QButtonGroup::idClicked, this, &Palette::selectTool);

    // currentSwatch is made after alternateSwatch so that it is drawn over it.
    alternateSwatch = new ColourSwatch(QStringLiteral("Last"), 0x000000, area);
    alternateSwatch->setGeometry(27, 196, 48, 48);
    connect(alternateSwatch, &ColourSwatch::clicked, this, &Palette::chooseAlternateColour);
    currentSwatch = new ColourSwatch(QStringLiteral("Current"), 0xFFFFFF, area);
    currentSwatch->setGeometry(0, 186, 48, 48);
    connect(currentSwatch, &ColourSwatch::clicked, this, &Palette::chooseCurrentColour);
}

QToolButton* Palette::commandButton(const QString& name, const QString& caption, int top) {
    auto* button = new QToolButton(area);
    button->setObjectName(name);
    button->setText(caption);
    button->setAutoRaise(true);
    button->setGeometry(0, top, kAreaWidth, 19);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QToolButton* Palette::toolButton(const QString& name, PaintTool tool, const QString& picture,
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

void Palette::placeOnScreen() {
    previewBox->setChecked(g_.state.AutoPreview);
}

void Palette::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    placeOnScreen();
}

void Palette::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (!isVisible())
        return;
    const QRect frame = frameGeometry();
    const QPoint snapped = EdgeSnap(frame, g_.env.screen.size());
    if (snapped != frame.topLeft())
        move(snapped);
}

void Palette::closeEvent(QCloseEvent* event) {
    // The palette cannot be closed from its frame: "Exit" ends the program.
    event->ignore();
}

void Palette::selectTool(int tag) {
    g_.mainWindow->setTool(static_cast<PaintTool>(tag));
}

void Palette::chooseCurrentColour() {
    RunCommand(g_.services, [this] {
        if (const auto colour = g_.dialogs->chooseColourFor(currentSwatch->colour()))
            currentSwatch->setColour(*colour);
    });
}

void Palette::chooseAlternateColour() {
    const Colour current = currentSwatch->colour();
    currentSwatch->setColour(alternateSwatch->colour());
    alternateSwatch->setColour(current);
}

void Palette::showPropertiesPanel() {
    g_.propertiesPanel->showPanel();
}

void Palette::showColoursPanel() {
    g_.coloursPanel->showPanel();
}

void Palette::editHighlights() {
    RunCommand(g_.services, [this] {
        if (g_.highlightDialog->runModal())
            g_.mainWindow->RepaintCalendar();
    });
}

void Palette::exitProgram() {
    emit g_.quitRequested();
}

void Palette::programSetup() {
    RunCommand(g_.services, [this] {
        SetupDialog& setup = *g_.setupDialog;
        setup.showSettings();
        g_.services.exec(setup);
    });
}

void Palette::showRecentCalendars(const RecentMenu& menu) {
    ShowRecentMenu(reopenCalendarMenu, recentCalendarActions, menu);
}

void Palette::showRecentBitmaps(const RecentMenu& menu) {
    ShowRecentMenu(reopenBitmapMenu, recentBitmapActions, menu);
}

} // namespace gyrodex
