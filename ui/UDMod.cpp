#include "UDMod.h"

#include "Error.h"
#include "Globals.h"

namespace gyrodex {

TDMod::TDMod(Globals& globals)
    : ini(MakeProgramSettings(globals.env.programFile, globals.env.registry,
                              globals.env.configFolder, globals.env.folderWritable)),
      g_(globals) {
    customColours.fill(0xFFFFFF);
    try {
        ini.ReadSettings(&g_.host);
    } catch (const Error& e) {
        g_.services.information(e.message());
    }
}

void TDMod::DModDestroy(const std::function<void(const QString&)>& report) {
    try {
        ini.WriteSettings();
    } catch (const Error& e) {
        report(e.message());
    }
}

std::optional<QString> TDMod::OpenFDlg(const QString& title, const QString& extension,
                                       const QString& filter, bool picturePreview) {
    return g_.services.openFile({title, extension, filter, picturePreview});
}

std::optional<QString> TDMod::SaveFDlg(const QString& title, const QString& extension,
                                       const QString& filter, bool picturePreview) {
    return g_.services.saveFile({title, extension, filter, picturePreview});
}

std::optional<Colour> TDMod::ColorDlg(Colour preset) {
    return g_.services.chooseColour(preset, customColours);
}

void TDMod::PickColour(Colour colour) {
    picked.Pick(colour);
    customColours = picked.PickedColors;
}

} // namespace gyrodex
