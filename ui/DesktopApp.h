#pragma once

#include "Busy.h"
#include "Document.h"
#include "Environment.h"
#include "History.h"
#include "ImageCanvas.h"
#include "ProgramSettings.h"
#include "RecentFiles.h"
#include "Registry.h"
#include "Services.h"

#include <QDate>
#include <QElapsedTimer>
#include <QObject>
#include <QRect>
#include <QTimer>
#include <QUndoStack>
#include <functional>
#include <memory>

class QPrinter;

namespace gyrodex {

class SharedDialogs;
class ColoursPanel;
class Palette;
class HighlightDialog;
class LabelsPanel;
class MainWindow;
class PropertiesPanel;
class SetupDialog;
class ShortcutsDialog;

// The composition root: builds every window in the start-up order and owns the one document
// (the design, the highlight list and the paint colours), the image, the recent lists, the
// settings, the printer and the services. It is the edit path: every change a window makes
// comes here, is applied, repaints the wheel as it asks and is told to every view. Windows get
// references to what they need; none calls another: the root connects their commands.
//
// Ownership: the root owns the main window; every other window is a child of the main window
// (so window managers keep it above the full-screen image) and is owned by it alone. The root
// keeps plain pointers to them, used only while the main window lives.
class DesktopApp : public EditPath {
    Q_OBJECT

public:
    DesktopApp(Services& services, Environment environment);
    ~DesktopApp() override;

    // Shows the main window and runs its first show, once.
    void Start();
    // Writes the recent lists and the settings file, as the end of the program does. With
    // `interactive` a failure is shown in a message box, otherwise written to stderr. Safe to
    // call more than once (a session manager may ask before the program ends).
    void Shutdown(bool interactive);

    // Today's date from the clock the program was given.
    DayDate Today() const;
    // The program's one printer, made when it is first needed and kept for the run.
    QPrinter& Printer();

    // The edit path. Every change to the design or the list that names itself is recorded in
    // `history` as one undo step (merging a field's typing); opening a design starts a new
    // history.
    const Document& document() const override { return doc; }
    void edit(const Change& change) override;
    QUndoStack history;

    // Whether the design has changes since it was opened or saved (undoing back to that point
    // makes it unchanged again).
    bool isChanged() const { return !history.isClean(); }
    // Asks "Save changes to …?" when the design is changed: Save saves (or asks for a name) and
    // goes on only when that saved, Discard goes on, Cancel keeps the design. True to go on.
    bool mayDropDesign();
    // "Exit": the program ends after the question about unsaved work.
    void requestQuit();

    // The recovery copy of this process, written at most every 30 seconds while the design is
    // changed and removed when it is saved, opened anew or dropped.
    QString recoveryFile() const;
    // Raises "Unable to write to FILE" when the copy can't be written.
    void writeRecovery();
    // At start: offers the recovery copies that ended processes left behind.
    void offerRecovery();

    Services& services;
    const Environment env;
    DesktopHost host{services};

    Document doc;
    ImageCanvas canvas;
    RecentFiles recent;
    // The program's settings (the pointer hint), read at start and written at the end.
    ProgramSettings settings;
    std::unique_ptr<SharedDialogs> dialogs;

    // Windows, in the order they are created.
    std::unique_ptr<MainWindow> mainWindow;
    PropertiesPanel* propertiesPanel = nullptr;
    HighlightDialog* highlightDialog = nullptr;
    Palette* palette = nullptr;
    SetupDialog* setupDialog = nullptr;
    ColoursPanel* coloursPanel = nullptr;
    LabelsPanel* labelsPanel = nullptr;
    ShortcutsDialog* shortcutsDialog = nullptr;

signals:
    // The user asked to end the program (Exit, or a window closed by the window manager).
    void quitRequested();

private:
    // The commands that open one window from another.
    void connectCommands(Palette& commands);
    void editHighlights();
    void programSetup();
    void showShortcuts();
    void showAbout();

    // Puts an undo step's parts back and repaints as the change did.
    void restore(const Change& change, const DocumentParts& parts, const ToolCell& cell);
    void repaintFor(Change::Repaint rule);
    void removeRecovery();
    // The copy written after a change; a failure is shown once a run.
    void keepRecovery();

    std::unique_ptr<QPrinter> printer_;
    int depth_ = 0;          // edits running; one inside another is part of the outer step
    bool restoring_ = false; // an undo or redo is putting parts back: nothing is recorded
    QElapsedTimer clock_;
    QTimer recoveryTimer_;
    bool recoveryFailed_ = false;
};

} // namespace gyrodex
