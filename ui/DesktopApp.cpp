#include "DesktopApp.h"

#include "CalendarFile.h"
#include "ColoursPanel.h"
#include "Error.h"
#include "HelpWindows.h"
#include "HighlightDialog.h"
#include "IniFile.h"
#include "LabelsPanel.h"
#include "MainWindow.h"
#include "Palette.h"
#include "PropertiesPanel.h"
#include "SaveFile.h"
#include "SetupDialog.h"
#include "SharedDialogs.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
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
    clock_.start();
    history.setUndoLimit(1000);
    mainWindow = std::make_unique<MainWindow>(MainWindowParts{
        *this, doc, canvas, recent, settings, *dialogs, services, host, env,
        [this]() -> QPrinter& { return Printer(); }, [this] { return mayDropDesign(); }});
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
    auto* commands = new Palette(*this, history, services, *dialogs, env.screen, main);
    palette = commands;
    setupDialog = new SetupDialog(settings, services, main);
    coloursPanel = new ColoursPanel(*this, services, *dialogs, env.screen, main);
    labelsPanel = new LabelsPanel(*this, services, env.screen, main);
    shortcutsDialog = new ShortcutsDialog(commands->shortcutActions, main);
    connectCommands(*commands);
}

DesktopApp::~DesktopApp() {
    // The history goes after the timer and the windows it would reach: nothing may answer its
    // last signals (clearing itself as it goes).
    disconnect(&history, nullptr, this, nullptr);
}

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
    connect(p->labelsAction, &QAction::triggered, labelsPanel, &LabelsPanel::showPanel);
    connect(p->highlightsButton, &QToolButton::clicked, this, &DesktopApp::editHighlights);
    connect(p->printButton, &QToolButton::clicked, main, &MainWindow::print);
    connect(p->printSetupButton, &QToolButton::clicked, main, &MainWindow::printSetup);
    connect(p->exitButton, &QToolButton::clicked, this, &DesktopApp::requestQuit);
    connect(p->printAction, &QAction::triggered, main, &MainWindow::print);
    connect(p->exitAction, &QAction::triggered, this, &DesktopApp::requestQuit);
    connect(p->keyboardShortcutsAction, &QAction::triggered, this, &DesktopApp::showShortcuts);
    connect(p->aboutAction, &QAction::triggered, this, &DesktopApp::showAbout);
    connect(main, &MainWindow::closeRequested, this, &DesktopApp::quitRequested);
    connect(main, &MainWindow::dayPicked, highlightDialog, &HighlightDialog::setDate);
    connect(main, &MainWindow::calendarSaved, &history, &QUndoStack::setClean);
    // The highlight editor is modal: undo and redo work there too.
    highlightDialog->addActions({p->undoAction, p->redoAction});

    // The recovery copy follows the changes: written a while after the first one, gone when
    // the design is unchanged again.
    recoveryTimer_.setSingleShot(true);
    recoveryTimer_.setInterval(30 * 1000);
    connect(&recoveryTimer_, &QTimer::timeout, this, &DesktopApp::keepRecovery);
    connect(&history, &QUndoStack::indexChanged, this, [this] {
        if (isChanged() && !recoveryTimer_.isActive())
            recoveryTimer_.start();
    });
    connect(&history, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (clean)
            removeRecovery();
    });
}

namespace {

// What an undo step keeps of the document: the design, and the list only for a change of the
// list (an old list kept by every step would hold a copy of each version of it).
DocumentParts PartsToKeep(const Document& doc, unsigned parts) {
    return {doc.state, (parts & Change::Highlights) ? doc.highlights : HighlightList()};
}

} // namespace

void DesktopApp::edit(const Change& change) {
    // A named change to the design or the list is one undo step; an edit inside another (a
    // date field correcting the other date) belongs to the outer one.
    constexpr unsigned kRecorded = Change::Geometry | Change::Looks | Change::Highlights;
    const bool record = !restoring_ && depth_ == 0 && !change.what.isEmpty() &&
                        (change.parts & kRecorded) && change.parts != Change::Everything;
    std::optional<DocumentParts> before;
    if (record)
        before = PartsToKeep(doc, change.parts);
    const ToolCell cell{doc.state.HoverSpoke, doc.state.HoverRing, doc.state.CurrentDate};
    {
        // The views show what was applied, also when applying stopped half-way (a load that
        // applied part of a file); their change handlers must not repaint meanwhile. What was
        // applied is recorded, however it ended.
        struct Tell {
            DesktopApp& app;
            const Change& change;
            std::optional<DocumentParts>& before;
            const ToolCell& cell;
            ~Tell() {
                --app.depth_;
                {
                    const SuspendRepaint batch(app.doc.state);
                    emit app.changed(change);
                }
                if (before)
                    app.history.push(
                        new EditStep([&a = app](const Change& c, const DocumentParts& p,
                                                const ToolCell& t) { a.restore(c, p, t); },
                                     change, std::move(*before), PartsToKeep(app.doc, change.parts),
                                     cell, app.clock_.elapsed()));
                // A design opened anew starts a new history, unchanged.
                if (change.parts == Change::Everything && app.depth_ == 0 && !app.restoring_)
                    app.history.clear();
            }
        } tell{*this, change, before, cell};
        ++depth_;
        if (change.apply)
            change.apply(doc);
    }
    if (change.after)
        change.after();
    repaintFor(change.repaint);
}

void DesktopApp::repaintFor(Change::Repaint rule) {
    MainWindow& main = *mainWindow;
    switch (rule) {
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

void DesktopApp::restore(const Change& change, const DocumentParts& parts, const ToolCell& cell) {
    // Runs from an undo or redo action: an error is shown, never thrown into Qt.
    RunCommand(services, [&] {
        restoring_ = true;
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{restoring_};
        Change back;
        back.parts = change.parts;
        back.what = change.what;
        back.apply = [&](Document& d) {
            if (change.parts & (Change::Geometry | Change::Looks))
                static_cast<CalendarDesign&>(d.state) = parts.design;
            if (change.parts & Change::Highlights)
                d.highlights = parts.highlights;
            // A cell tool's step paints its cell again.
            if (change.repaint == Change::Repaint::Cell) {
                d.state.HoverSpoke = cell.spoke;
                d.state.HoverRing = cell.ring;
                d.state.CurrentDate = cell.day;
            }
        };
        back.repaint = change.repaint;
        edit(back);
    });
}

bool DesktopApp::mayDropDesign() {
    if (!isChanged())
        return true;
    const QString& name = doc.state.CalendarFileName;
    const QString text = name.isEmpty() ? QStringLiteral("Save changes to the new calendar?")
                                        : QStringLiteral("Save changes to %1?").arg(name);
    switch (services.askToSave(text)) {
    case Services::SaveAnswer::Save:
        return mainWindow->saveDesign();
    case Services::SaveAnswer::Discard:
        return true;
    case Services::SaveAnswer::Cancel:
        break;
    }
    return false;
}

void DesktopApp::requestQuit() {
    if (mayDropDesign())
        emit quitRequested();
}

QString DesktopApp::recoveryFile() const {
    if (env.stateFolder.isEmpty())
        return {};
    return QStringLiteral("%1/recovery-%2.cal").arg(env.stateFolder).arg(env.processId);
}

void DesktopApp::writeRecovery() {
    const QString file = recoveryFile();
    if (file.isEmpty() || !isChanged())
        return;
    QDir().mkpath(env.stateFolder);
    // Written anew each time, through the whole-file save, in the calendar file format.
    IniFile ini = IniFile::fromText(QString());
    WriteCalendar(ini, doc.state, doc.highlights);
    SaveFileWhole(file, ini.bytes());
}

void DesktopApp::keepRecovery() {
    try {
        writeRecovery();
    } catch (const Error& e) {
        // Said once a run: the copy is written while the user works, and a folder that can't
        // take it would otherwise interrupt every pause.
        if (!recoveryFailed_)
            services.information(e.message());
        recoveryFailed_ = true;
    }
}

void DesktopApp::removeRecovery() {
    recoveryTimer_.stop();
    if (const QString file = recoveryFile(); !file.isEmpty())
        QFile::remove(file);
}

void DesktopApp::offerRecovery() {
    if (env.stateFolder.isEmpty())
        return;
    const QFileInfoList copies =
        QDir(env.stateFolder)
            .entryInfoList({QStringLiteral("recovery-*.cal")}, QDir::Files, QDir::Time);
    for (const QFileInfo& copy : copies) {
        bool ok = false;
        const qint64 pid = copy.completeBaseName().mid(9).toLongLong(&ok);
        // Another running program's copy is its own.
        if (!ok || pid == env.processId || (env.processRuns && env.processRuns(pid)))
            continue;
        const QString when = QLocale().toString(copy.lastModified(), QLocale::ShortFormat);
        if (!services.askToRecover(
                QStringLiteral("Recover the unsaved calendar from %1?").arg(when))) {
            QFile::remove(copy.filePath());
            continue;
        }
        // Opened as a changed design without a name; the copy becomes this process's own.
        mainWindow->LoadCalendarFile(copy.filePath(), false);
        doc.state.CalendarFileName.clear();
        history.clear();
        history.resetClean();
        QFile::remove(recoveryFile());
        QFile::rename(copy.filePath(), recoveryFile());
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
    offerRecovery();
}

void DesktopApp::Shutdown(bool interactive) {
    const auto report = [&](const QString& message) {
        if (interactive)
            services.information(message);
        else
            std::fprintf(stderr, "gyrodex: %s\n", qPrintable(message));
    };
    mainWindow->writeRecentLists(report);
    // Ended without a question (SIGTERM, the session manager): the unsaved design is kept as
    // a recovery copy; ended by the user, who answered for it, the copy goes.
    if (interactive) {
        removeRecovery();
    } else {
        try {
            writeRecovery();
        } catch (const Error& e) {
            report(e.message());
        }
    }
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
