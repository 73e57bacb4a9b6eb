#include "Globals.h"

#include "UColors.h"
#include "UDMod.h"
#include "UFloatMenu.h"
#include "UHigh.h"
#include "UMain.h"
#include "UOneDay.h"
#include "UProps.h"
#include "USetup.h"
#include "USize.h"

#include <QPrinter>
#include <cstdio>

// The pictures are compiled into the ui library; a static library needs them registered.
static void InitResources() {
    Q_INIT_RESOURCE(resources);
}

namespace gyrodex {

Globals::Globals(Services& s, Environment environment) : services(s), env(std::move(environment)) {
    InitResources();
    frmMain = std::make_unique<TfrmMain>(*this);
    propertiesPanel = std::make_unique<TfrmProperties>(*this);
    frmProperties = propertiesPanel.get();
    frmHighlightWindow = std::make_unique<TfrmHighlight>(*this);
    frmHighlight = frmHighlightWindow.get();
    DMod = std::make_unique<TDMod>(*this);
    frmOneDay = std::make_unique<TfrmOneDay>(*this);
    frmSize = std::make_unique<TfrmSize>(frmMain.get());
    frmFloatMenu = std::make_unique<TfrmFloatMenu>(*this);
    frmSetup = std::make_unique<TfrmSetup>(DMod->ini, services, frmMain.get());
    coloursPanel = std::make_unique<TfrmColors>(*this);
    frmColors = coloursPanel.get();
}

Globals::~Globals() = default;

void Globals::Start() {
    // The palette is a window of the main window's: shown after it, window managers keep it
    // above the full-screen image.
    frmMain->show();
    frmFloatMenu->show();
    frmMain->FormShow();
}

void Globals::Shutdown(bool interactive) {
    const auto report = [&](const QString& message) {
        if (interactive)
            services.information(message);
        else
            std::fprintf(stderr, "gyrodex: %s\n", qPrintable(message));
    };
    frmMain->FormDestroy(report);
    DMod->DModDestroy(report);
}

DayDate Globals::Today() const {
    return FromQDate(env.today());
}

QPrinter& Globals::Printer() {
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

} // namespace gyrodex
