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
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QToolButton>
#include <QUndoStack>
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

Palette::Palette(EditPath& edits, QUndoStack& history, Services& services, SharedDialogs& dialogs,
                 QRect screen, QWidget* mainWindow)
    // A window of the main window's, so that window managers keep it above the full-screen
    // image.
    : QWidget(mainWindow,
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      edits_(edits), services_(services), dialogs_(dialogs), screen_(screen) {
    setObjectName(QStringLiteral("frmFloatMenu"));
    setWindowTitle(QStringLiteral("Gyrodex v1.1"));

    // The main menu.
    mainMenu = new QMenuBar(this);
    mainMenu->setNativeMenuBar(false);
    fileMenu = mainMenu->addMenu(QStringLiteral("&File"));
    openAction = fileMenu->addAction(QStringLiteral("&Open..."));
    reopenCalendarMenu = fileMenu->addMenu(QStringLiteral("&Reopen"));
    for (int k = 0; k < kRecentSlots; ++k) {
        QAction* item = reopenCalendarMenu->addAction(QStringLiteral("Recent%1").arg(k + 1));
        item->setObjectName(QStringLiteral("cmRecentCal%1").arg(k + 1));
        connect(item, &QAction::triggered, this, [this, k] { emit recentCalendarChosen(k + 1); });
        recentCalendarActions[static_cast<std::size_t>(k)] = item;
    }
    reopenCalendarMenu->menuAction()->setEnabled(false);
    fileMenu->addSeparator();
    saveAction = fileMenu->addAction(QStringLiteral("&Save"));
    saveAsAction = fileMenu->addAction(QStringLiteral("Save &As.."));
    exportIllustratorAction =
        fileMenu->addAction(QStringLiteral("&Export to Adobe Illustrator (*.ai) format"));
    fileMenu->addSeparator();
    programSetupAction = fileMenu->addAction(QStringLiteral("&Program Setup..."));

    bitmapMenu = mainMenu->addMenu(QStringLiteral("&BMP"));
    sizeAction = bitmapMenu->addAction(QStringLiteral("Si&ze"));
    bitmapMenu->addSeparator();
    loadBitmapAction = bitmapMenu->addAction(QStringLiteral("&Load Bitmap..."));
    reopenBitmapMenu = bitmapMenu->addMenu(QStringLiteral("Re&open"));
    for (int k = 0; k < kRecentSlots; ++k) {
        QAction* item = reopenBitmapMenu->addAction(QStringLiteral("Recent%1").arg(k + 1));
        item->setObjectName(QStringLiteral("cmRecentBMP%1").arg(k + 1));
        connect(item, &QAction::triggered, this, [this, k] { emit recentBitmapChosen(k + 1); });
        recentBitmapActions[static_cast<std::size_t>(k)] = item;
    }
    reopenBitmapMenu->menuAction()->setEnabled(false);
    bitmapMenu->addSeparator();
    saveBitmapAction = bitmapMenu->addAction(QStringLiteral("&Save Bitmap"));
    saveBitmapAsAction = bitmapMenu->addAction(QStringLiteral("Save Bitmap &As..."));

    // The 75-pixel menu bar holds "&File" and "&BMP" only; the menus added after them take a
    // second row, so that neither of the first two is pushed behind an overflow arrow.
    moreMenus = new QMenuBar(this);
    moreMenus->setObjectName(QStringLiteral("moreMenus"));
    moreMenus->setNativeMenuBar(false);
    // Undo and redo, named after the step ("&Undo Radius"), from every window of the program:
    // a field with an undo of its own takes the keys first.
    editMenu = moreMenus->addMenu(QStringLiteral("&Edit"));
    undoAction = history.createUndoAction(this, QStringLiteral("&Undo"));
    undoAction->setShortcuts(QKeySequence::Undo);
    redoAction = history.createRedoAction(this, QStringLiteral("&Redo"));
    redoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction* action : {undoAction, redoAction}) {
        action->setShortcutContext(Qt::ApplicationShortcut);
        editMenu->addAction(action);
    }

    helpMenu = moreMenus->addMenu(QStringLiteral("&Help"));
    keyboardShortcutsAction = helpMenu->addAction(QStringLiteral("&Keyboard Shortcuts"));
    aboutAction = helpMenu->addAction(QStringLiteral("&About Gyrodex"));

    // A row of its own, so that the two rows above keep their menus in view.
    viewMenus = new QMenuBar(this);
    viewMenus->setObjectName(QStringLiteral("viewMenus"));
    viewMenus->setNativeMenuBar(false);
    viewMenu = viewMenus->addMenu(QStringLiteral("&View"));
    labelsAction = viewMenu->addAction(QStringLiteral("&Labels..."));
    labelsAction->setObjectName(QStringLiteral("cmLabels"));
    // Print and Exit are buttons; their keys are actions of the palette's own.
    printAction = new QAction(QStringLiteral("Print"), this);
    exitAction = new QAction(QStringLiteral("Exit"), this);
    addAction(printAction);
    addAction(exitAction);

    // The standard keys, taken in every window of the program: the palette is always shown
    // while the program runs, and a modal dialog still blocks them.
    // A platform whose key scheme has no binding for a standard key (Save As and Quit on some
    // desktops) gets the usual one.
    const struct {
        QAction* action;
        QKeySequence::StandardKey key;
        const char* usual;
    } keys[] = {
        {openAction, QKeySequence::Open, "Ctrl+O"},
        {saveAction, QKeySequence::Save, "Ctrl+S"},
        {saveAsAction, QKeySequence::SaveAs, "Ctrl+Shift+S"},
        {printAction, QKeySequence::Print, "Ctrl+P"},
        {exitAction, QKeySequence::Quit, "Ctrl+Q"},
        {keyboardShortcutsAction, QKeySequence::HelpContents, "F1"},
    };
    for (const auto& k : keys) {
        const QList<QKeySequence> bindings = QKeySequence::keyBindings(k.key);
        k.action->setShortcuts(bindings.isEmpty()
                                   ? QList<QKeySequence>{QKeySequence(QString::fromLatin1(k.usual))}
                                   : bindings);
        k.action->setShortcutContext(Qt::ApplicationShortcut);
        shortcutActions << k.action;
    }

    // The controls, at fixed places in the area under the menu bar.
    area = new QWidget(this);
    area->setObjectName(QStringLiteral("area"));
    area->setFixedSize(kAreaWidth, kAreaHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(mainMenu);
    layout->addWidget(moreMenus);
    layout->addWidget(viewMenus);
    layout->addWidget(area);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    repaintButton = commandButton(QStringLiteral("SpeedButton2"), QStringLiteral("Repaint"), 1);
    previewBox = new QCheckBox(area);
    previewBox->setObjectName(QStringLiteral("chkPreview"));
    previewBox->setGeometry(59, 4, 13, 13);
    previewBox->setToolTip(QStringLiteral("Automatic Preview"));
    previewBox->setAccessibleName(QStringLiteral("Automatic Preview"));
    previewBox->setChecked(edits_.document().state.AutoPreview);
    previewBox->raise();
    connect(previewBox, &QCheckBox::toggled, this, [this](bool on) {
        edits_.edit({Change::Session, QString(), [on](Document& d) { d.state.AutoPreview = on; },
                     Change::Repaint::None, this});
    });

    propertiesButton =
        commandButton(QStringLiteral("SpeedButton1"), QStringLiteral("Properties >>"), 20);
    coloursButton = commandButton(QStringLiteral("SpeedButton8"), QStringLiteral("Colors >>"), 39);
    highlightsButton =
        commandButton(QStringLiteral("SpeedButton3"), QStringLiteral("Highlights"), 58);
    printButton = commandButton(QStringLiteral("SpeedButton5"), QStringLiteral("Print"), 77);
    printButton->setToolTip(QStringLiteral("Print (%1)")
                                .arg(printAction->shortcut().toString(QKeySequence::NativeText)));
    printSetupButton =
        commandButton(QStringLiteral("SpeedButton6"), QStringLiteral("Print Setup"), 96);
    exitButton = commandButton(QStringLiteral("SpeedButton4"), QStringLiteral("Exit"), 115);
    exitButton->setToolTip(
        QStringLiteral("Exit (%1)").arg(exitAction->shortcut().toString(QKeySequence::NativeText)));

    toolGroup_ = new QButtonGroup(this);
    toolGroup_->setExclusive(true);
    toolButton(QStringLiteral("btnPointer"), PaintTool::Pointer, QStringLiteral(":/tools/pointer"),
               QStringLiteral("Move the wheel"), 0, 135);
    toolButton(QStringLiteral("btnPicker"), PaintTool::Picker, QStringLiteral(":/tools/picker"),
               QStringLiteral("Pick a colour"), 25, 135);
    toolButton(QStringLiteral("SpeedButton7"), PaintTool::PickDate,
               QStringLiteral(":/tools/pickdate"),
               QStringLiteral("Pick a date for the highlight editor"), 50, 135);
    toolButton(QStringLiteral("btnFill"), PaintTool::Fill, QStringLiteral(":/tools/fill"),
               QStringLiteral("Fill a day"), 0, 160);
    toolButton(QStringLiteral("btnText"), PaintTool::Text, QStringLiteral(":/tools/text"),
               QStringLiteral("Describe a day"), 25, 160);
    toolButton(QStringLiteral("btnErase"), PaintTool::Erase, QStringLiteral(":/tools/erase"),
               QStringLiteral("Remove a day's highlight"), 50, 160);
    tools[static_cast<std::size_t>(edits_.document().state.CurrentTool)]->setChecked(true);
    connect(toolGroup_, &QButtonGroup::idClicked, this, &Palette::selectTool);

    // currentSwatch is made after alternateSwatch so that it is drawn over it.
    const PaintColours& colours = edits_.document().colours;
    alternateSwatch = new ColourSwatch(QStringLiteral("Last"), colours.alternate, area);
    alternateSwatch->setGeometry(27, 196, 48, 48);
    connect(alternateSwatch, &ColourSwatch::clicked, this, &Palette::chooseAlternateColour);
    currentSwatch = new ColourSwatch(QStringLiteral("Current"), colours.current, area);
    currentSwatch->setGeometry(0, 186, 48, 48);
    connect(currentSwatch, &ColourSwatch::clicked, this, &Palette::chooseCurrentColour);

    connect(&edits_, &EditPath::changed, this, [this](const Change& change) {
        if (change.parts & Change::PaintColours)
            showPaintColours();
        if ((change.parts & Change::Session) && change.source != this) {
            const QSignalBlocker block(previewBox);
            previewBox->setChecked(edits_.document().state.AutoPreview);
        }
    });
}

void Palette::showPaintColours() {
    const PaintColours& colours = edits_.document().colours;
    currentSwatch->setColour(colours.current);
    alternateSwatch->setColour(colours.alternate);
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
    button->setIcon(QIcon(picture));
    button->setIconSize(QSize(20, 20));
    toolGroup_->addButton(button, static_cast<int>(tool));
    tools[static_cast<std::size_t>(tool)] = button;
    return button;
}

void Palette::showPreviewSwitch() {
    previewBox->setChecked(edits_.document().state.AutoPreview);
}

void Palette::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    showPreviewSwitch();
}

void Palette::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (!isVisible())
        return;
    const QRect frame = frameGeometry();
    const QPoint snapped = EdgeSnap(frame, screen_.size());
    if (snapped != frame.topLeft())
        move(snapped);
}

void Palette::closeEvent(QCloseEvent* event) {
    // The palette cannot be closed from its frame: "Exit" ends the program.
    event->ignore();
}

void Palette::selectTool(int tag) {
    emit toolChosen(static_cast<PaintTool>(tag));
}

void Palette::chooseCurrentColour() {
    RunCommand(services_, [this] {
        if (const auto colour = dialogs_.chooseColourFor(edits_.document().colours.current))
            edits_.edit({Change::PaintColours, QStringLiteral("Colour"),
                         [c = *colour](Document& d) { d.colours.current = c; },
                         Change::Repaint::None, this});
    });
}

void Palette::chooseAlternateColour() {
    edits_.edit({Change::PaintColours, QStringLiteral("Swap Colours"),
                 [](Document& d) { std::swap(d.colours.current, d.colours.alternate); },
                 Change::Repaint::None, this});
}

void Palette::showRecentCalendars(const RecentMenu& menu) {
    ShowRecentMenu(reopenCalendarMenu, recentCalendarActions, menu);
}

void Palette::showRecentBitmaps(const RecentMenu& menu) {
    ShowRecentMenu(reopenBitmapMenu, recentBitmapActions, menu);
}

} // namespace gyrodex
