#include "DesktopApp.h"

#include "ColoursPanel.h"
#include "DayDialog.h"
#include "Error.h"
#include "HighlightDialog.h"
#include "ImageSizeDialog.h"
#include "MainWindow.h"
#include "Palette.h"
#include "PropertiesPanel.h"
#include "SetupDialog.h"
#include "SharedDialogs.h"

#include <QPrinter>
#include <cstdio>

// The pictures are compiled into the ui library; a static library needs them registered.
static void InitResources() {
    Q_INIT_RESOURCE(resources);
}

namespace gyrodex {

DesktopApp::DesktopApp(Services& s, Environment environment)
    : services(s), env(std::move(environment)),
      settings(MakeProgramSettings(env.programFile, env.registry, env.configFolder,
                                   env.folderWritable)) {
    InitResources();
    mainWindow = std::make_unique<MainWindow>(*this);
    propertiesPanel = std::make_unique<PropertiesPanel>(*this);
    highlightDialog = std::make_unique<HighlightDialog>(*this);
    // The settings are read here in the start-up order, so that a message about them comes
    // after the first windows exist.
    try {
        settings.ReadSettings(&host);
    } catch (const Error& e) {
        services.information(e.message());
    }
    dialogs = std::make_unique<SharedDialogs>(services);
    dayDialog = std::make_unique<DayDialog>(*this);
    imageSizeDialog = std::make_unique<ImageSizeDialog>(mainWindow.get());
    palette = std::make_unique<Palette>(*this);
    setupDialog = std::make_unique<SetupDialog>(settings, services, mainWindow.get());
    coloursPanel = std::make_unique<ColoursPanel>(*this);
}

DesktopApp::~DesktopApp() = default;

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
