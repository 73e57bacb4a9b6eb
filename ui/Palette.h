#pragma once

#include "CalendarState.h"
#include "Document.h"
#include "RecentFiles.h"

#include <QFrame>
#include <QRect>
#include <QWidget>
#include <array>

class QAction;
class QButtonGroup;
class QCheckBox;
class QMenu;
class QMenuBar;
class QToolButton;
class QUndoStack;

namespace gyrodex {

class Services;
class SharedDialogs;

// Where the palette goes after a move: flush against any screen edge it came within 16
// pixels of, and never partly off the screen. `window` is its outer rectangle.
QPoint EdgeSnap(const QRect& window, const QSize& screen);

// A plain panel with a single border showing one paint colour; a click reports itself.
class ColourSwatch : public QFrame {
    Q_OBJECT

public:
    ColourSwatch(const QString& name, Colour colour, QWidget* parent);
    Colour colour() const { return colour_; }
    void setColour(Colour colour);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    Colour colour_;
};

// The palette: an always-on-top tool window with the main menu, the commands, the six canvas
// tools, the two paint colours and the automatic-preview switch.
class Palette : public QWidget {
    Q_OBJECT

public:
    Palette(EditPath& edits, QUndoStack& history, Services& services, SharedDialogs& dialogs,
            QRect screen, QWidget* mainWindow);

    // Shows the document's "Automatic Preview" switch; runs whenever the palette is shown.
    void showPreviewSwitch();
    // A tool button was pressed: the tool of that PaintTool value.
    void selectTool(int tag);
    // The current colour from the colour chooser; a click on the alternate colour swaps them.
    void chooseCurrentColour();
    void chooseAlternateColour();

    // The Reopen submenus as the recent lists give them.
    void showRecentCalendars(const RecentMenu& menu);
    void showRecentBitmaps(const RecentMenu& menu);

    QMenuBar* mainMenu;
    QMenu* fileMenu;
    QAction* openAction;
    QMenu* reopenCalendarMenu;
    std::array<QAction*, kRecentSlots> recentCalendarActions;
    QAction* saveAction;
    QAction* saveAsAction;
    QAction* exportIllustratorAction;
    QAction* programSetupAction;
    QMenu* bitmapMenu;
    QAction* sizeAction;
    QAction* loadBitmapAction;
    QMenu* reopenBitmapMenu;
    std::array<QAction*, kRecentSlots> recentBitmapActions;
    QAction* saveBitmapAction;
    QAction* saveBitmapAsAction;
    QMenuBar* moreMenus; // the second row of menus, after "&File" and "&BMP"
    QMenu* editMenu;
    QAction* undoAction;
    QAction* redoAction;
    QMenu* helpMenu;
    QAction* keyboardShortcutsAction;
    QAction* aboutAction;
    QMenuBar* viewMenus; // the third row: the menus of the windows added since
    QMenu* viewMenu;
    QAction* labelsAction;
    // The keys of the Print and Exit buttons.
    QAction* printAction;
    QAction* exitAction;
    // The commands with a keyboard shortcut, in the order "Keyboard Shortcuts" lists them.
    QList<QAction*> shortcutActions;

    QWidget* area; // the 75 x 244 client area under the menu bar
    QToolButton* repaintButton;
    QCheckBox* previewBox;
    QToolButton* propertiesButton;
    QToolButton* coloursButton;
    QToolButton* highlightsButton;
    QToolButton* printButton;
    QToolButton* printSetupButton;
    QToolButton* exitButton;
    std::array<QToolButton*, 6> tools; // by PaintTool value
    ColourSwatch* alternateSwatch;
    ColourSwatch* currentSwatch;

signals:
    // The commands the palette hands on: a slot of the Reopen submenus (1..4), a tool.
    void recentCalendarChosen(int slot);
    void recentBitmapChosen(int slot);
    void toolChosen(gyrodex::PaintTool tool);

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QToolButton* commandButton(const QString& name, const QString& caption, int top);
    QToolButton* toolButton(const QString& name, PaintTool tool, const QString& picture,
                            const QString& meaning, int left, int top);

    void showPaintColours();

    EditPath& edits_;
    Services& services_;
    SharedDialogs& dialogs_;
    QRect screen_;
    QButtonGroup* toolGroup_;
};

} // namespace gyrodex
