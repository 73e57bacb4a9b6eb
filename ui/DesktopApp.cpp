#include "DesktopApp.h"

#include "ColoursPanel.h"
#include "Error.h"
#include "HelpWindows.h"
#include "HighlightDialog.h"
#include "MainWindow.h"
#include "Palette.h"
#include "PropertiesPanel.h"
#include "SetupDialog.h"
#include "SharedDialogs.h"

#include <QAction>
#include <QMenu>
#include <QPrinter>
#include <QToolButton>
#include <cstdio>

// The pictures are compiled into the ui library; a static library needs them registered.
static void InitResources() {
    Q_INIT_RESOURCE(resources);
}

namespace gyrodex {

DesktopApp::DesktopApp(Services& s, Environment environment)
    : services(s), env(std::move(environment)),
      settings(
          MakeProgramSettings(env.programFile, env.registry, env.configFolder, env.folderWritable)),
      dialogs(std::make_unique<SharedDialogs>(services)) {
    InitResources();
    mainWindow = std::make_unique<MainWindow>(
        MainWindowParts{*this, doc, canvas, recent, settings, *dialogs, services, host, env,
                        [this]() -> QPrinter& { return Printer(); }});
    MainWindow* main = mainWindow.get();
    propertiesPanel = new PropertiesPanel(*this, services, env.screen, main);
    highlightDialog = new HighlightDialog(
        *this, services, *dialogs, env.screen, [this] { return Today(); }, main);
    // The settings are read here in the start-up order, so that a message about them comes
    // after the first windows exist.
    try {
        settings.ReadSettings(&host);
    } catch (const Error& e) {
        services.information(e.message());
    }
    auto* commands = new Palette(*this, services, *dialogs, env.screen, main);
    palette = commands;
    setupDialog = new SetupDialog(settings, services, main);
    coloursPanel = new ColoursPanel(*this, services, *dialogs, env.screen, main);
    shortcutsDialog = new ShortcutsDialog(commands->shortcutActions, main);
    connectCommands(*commands);
}

DesktopApp::~DesktopApp() = default;

void DesktopApp::connectCommands(Palette& commands) {
    MainWindow* main = mainWindow.get();
    Palette* p = &commands;
    connect(p->openAction, &QAction::triggered, main, &MainWindow::openCalendar);
    connect(p, &Palette::recentCalendarChosen, main, &MainWindow::openRecentCalendar);
    connect(p->saveAction, &QAction::triggered, main, &MainWindow::saveCalendar);
    connect(p->saveAsAction, &QAction::triggered, main, &MainWindow::saveCalendarAs);
    connect(p->exportIllustratorAction, &QAction::triggered, main, &MainWindow::exportIllustrator);
    connect(p->programSetupAction, &QAction::triggered, this, &DesktopApp::programSetup);
    connect(p->sizeAction, &QAction::triggered, main, &MainWindow::changeImageSize);
    connect(p->loadBitmapAction, &QAction::triggered, main, &MainWindow::loadBitmap);
    connect(p, &Palette::recentBitmapChosen, main, &MainWindow::openRecentBitmap);
    connect(p, &Palette::toolChosen, main, &MainWindow::setTool);
    connect(p->saveBitmapAction, &QAction::triggered, main, &MainWindow::saveBitmap);
    connect(p->saveBitmapAsAction, &QAction::triggered, main, &MainWindow::saveBitmapAs);
    connect(main, &MainWindow::recentCalendarsChanged, p, &Palette::showRecentCalendars);
    connect(main, &MainWindow::recentBitmapsChanged, p, &Palette::showRecentBitmaps);
    connect(main, &MainWindow::saveBitmapEnabledChanged, p->saveBitmapAction, &QAction::setEnabled);
    p->saveBitmapAction->setEnabled(main->SaveBitmapEnabled());

    connect(p->repaintButton, &QToolButton::clicked, main, &MainWindow::repaintNow);
    connect(p->propertiesButton, &QToolButton::clicked, propertiesPanel,
            &PropertiesPanel::showPanel);
    connect(p->coloursButton, &QToolButton::clicked, coloursPanel, &ColoursPanel::showPanel);
    connect(p->highlightsButton, &QToolButton::clicked, this, &DesktopApp::editHighlights);
    connect(p->printButton, &QToolButton::clicked, main, &MainWindow::print);
    connect(p->printSetupButton, &QToolButton::clicked, main, &MainWindow::printSetup);
    connect(p->exitButton, &QToolButton::clicked, this, &DesktopApp::quitRequested);
    connect(p->printAction, &QAction::triggered, main, &MainWindow::print);
    connect(p->exitAction, &QAction::triggered, this, &DesktopApp::quitRequested);
    connect(p->keyboardShortcutsAction, &QAction::triggered, this, &DesktopApp::showShortcuts);
    connect(p->aboutAction, &QAction::triggered, this, &DesktopApp::showAbout);
    connect(main, &MainWindow::closeRequested, this, &DesktopApp::quitRequested);
    connect(main, &MainWindow::dayPicked, highlightDialog, &HighlightDialog::setDate);
}

void DesktopApp::edit(const Change& change) {
    {
        // The views show what was applied, also when applying stopped half-way (a load that
        // applied part of a file); their change handlers must not repaint meanwhile.
        struct Tell {
            DesktopApp& app;
            const Change& change;
            ~Tell() {
                const SuspendRepaint batch(app.doc.state);
                emit app.changed(change);
            }
        } tell{*this, change};
        if (change.apply)
            change.apply(doc);
    }
    if (change.after)
        change.after();
    MainWindow& main = *mainWindow;
    switch (change.repaint) {
    case Change::Repaint::None:
        break;
    case Change::Repaint::Preview:
        if (doc.state.AutoPreview)
            RunCommand(services, [&main] { main.RepaintCalendar(); });
        break;
    case Change::Repaint::Always:
        main.RepaintCalendar();
        break;
    case Change::Repaint::ClearedImage:
        main.repaintOnClearedImage();
        break;
    case Change::Repaint::Cell:
        main.paintReleasedCell();
        break;
    }
}

void DesktopApp::editHighlights() {
    RunCommand(services, [this] {
        if (highlightDialog->runModal())
            edit({Change::Highlights, QString(), {}, Change::Repaint::Always, nullptr});
    });
}

void DesktopApp::programSetup() {
    RunCommand(services, [this] {
        setupDialog->showSettings();
        services.exec(*setupDialog);
    });
}

void DesktopApp::showShortcuts() {
    RunCommand(services, [this] { services.exec(*shortcutsDialog); });
}

void DesktopApp::showAbout() {
    services.information(AboutText());
}

void DesktopApp::Start() {
    // The palette is a window of the main window's: shown after it, window managers keep it
    // above the full-screen image.
    mainWindow->show();
    palette->show();
    mainWindow->firstShow();
}

void DesktopApp::Shutdown(bool interactive) {
    const auto report = [&](const QString& message) {
        if (interactive)
            services.information(message);
        else
            std::fprintf(stderr, "gyrodex: %s\n", qPrintable(message));
    };
    mainWindow->writeRecentLists(report);
    try {
        settings.WriteSettings();
    } catch (const Error& e) {
        report(e.message());
    }
}

DayDate DesktopApp::Today() const {
    return FromQDate(env.today());
}

QPrinter& DesktopApp::Printer() {
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

} // namespace gyrodex
