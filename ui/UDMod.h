#pragma once

#include "RecentFiles.h"
#include "RegVal.h"
#include "Services.h"

#include <functional>

namespace gyrodex {

class Globals;

// The data module: the settings store `ini` and the shared dialogs (file, colour, font). It
// reads the settings file when it is made and writes it at the end of the program.
class TDMod {
public:
    explicit TDMod(Globals& globals); // DModCreate: reads the settings file

    // Writes the settings file; a failure goes to `report` and the program still ends.
    void DModDestroy(const std::function<void(const QString&)>& report);

    // The shared open and save dialogs; each command sets title, extension and filter.
    std::optional<QString> OpenFDlg(const QString& title, const QString& extension,
                                    const QString& filter, bool picturePreview = false);
    std::optional<QString> SaveFDlg(const QString& title, const QString& extension,
                                    const QString& filter, bool picturePreview = false);

    // The one colour chooser, fully opened, with the picked colours as its custom colours.
    std::optional<Colour> ColorDlg(Colour preset);

    // Stores a colour taken with the picker and hands all 16 to the chooser.
    void PickColour(Colour colour);

    TRegVal ini;
    PickedColours picked;
    // The chooser's custom colours as it shows them: white until the first pick, then the
    // picked colours; colours the user defines inside the chooser last until the next pick.
    CustomColours customColours;

private:
    Globals& g_;
};

} // namespace gyrodex
