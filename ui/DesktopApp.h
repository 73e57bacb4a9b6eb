#pragma once

#include "Busy.h"
#include "CalendarState.h"
#include "HighlightList.h"
#include "ImageCanvas.h"
#include "ProgramSettings.h"
#include "RecentFiles.h"
#include "Registry.h"
#include "Services.h"

#include <QDate>
#include <QObject>
#include <QRect>
#include <functional>
#include <memory>

class QPrinter;

namespace gyrodex {

class SharedDialogs;
class ColoursPanel;
class Palette;
class HighlightDialog;
class MainWindow;
class DayDialog;
class PropertiesPanel;
class SetupDialog;
class ImageSizeDialog;

// What the program takes from the machine it runs on, read once in main() and passed in, so
// tests can fix every one of them.
struct Environment {
    QString programFile;      // full path of the program file; its folder holds gyrodex.ini
    RegistryService registry; // the hives of the recent lists
    QRect screen;             // the primary screen, in pixels
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    // The user's configuration folder, which holds gyrodex.ini where the program's folder is
    // not writable (an installed program); empty keeps the file beside the program.
    QString configFolder = {};
    // Whether a folder is writable; empty asks the system. Tests decide it.
    std::function<bool(const QString&)> folderWritable = {};
};

// The composition root: builds every window in the start-up order and owns the one design,
// the highlight list, the image, the recent lists, the printer and the services. Windows get
// references to what they need; none reaches another through a global.
class DesktopApp : public QObject {
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

    Services& services;
    const Environment env;
    DesktopHost host{services};

    CalendarState state;
    HighlightList highlights;
    ImageCanvas canvas;
    RecentFiles recent;
    // The program's settings (the pointer hint), read at start and written at the end.
    ProgramSettings settings;

    // Windows, in the order they are created.
    std::unique_ptr<MainWindow> mainWindow;
    std::unique_ptr<HighlightDialog> highlightDialog;
    std::unique_ptr<SharedDialogs> dialogs;
    std::unique_ptr<DayDialog> dayDialog;
    std::unique_ptr<ImageSizeDialog> imageSizeDialog;
    std::unique_ptr<Palette> palette;
    std::unique_ptr<SetupDialog> setupDialog;
    // The two panels. Windows of the main window, they are declared after it so that they go
    // first.
    std::unique_ptr<PropertiesPanel> propertiesPanel;
    std::unique_ptr<ColoursPanel> coloursPanel;

signals:
    // The design changed outside the panels (a loaded file, a drag, a tool): views refresh.
    void designChanged();
    // The user asked to end the program (Exit, or a window closed by the window manager).
    void quitRequested();

private:
    std::unique_ptr<QPrinter> printer_;
};

} // namespace gyrodex
