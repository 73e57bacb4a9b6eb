#pragma once

#include "RecentFiles.h"
#include "Services.h"

#include <functional>

namespace gyrodex {

// The dialogs every window shares: the file dialogs, and the one colour chooser with the
// colours taken with the picker as its custom colours.
class SharedDialogs {
public:
    explicit SharedDialogs(Services& services);

    // The shared open and save dialogs; each command sets title, extension and filter.
    std::optional<QString> askOpenFile(const QString& title, const QString& extension,
                                       const QString& filter, bool picturePreview = false);
    std::optional<QString> askSaveFile(const QString& title, const QString& extension,
                                       const QString& filter, bool picturePreview = false);

    // The one colour chooser, fully opened, with the picked colours as its custom colours.
    std::optional<Colour> chooseColourFor(Colour preset);

    // Stores a colour taken with the picker and hands all 16 to the chooser.
    void rememberPickedColour(Colour colour);

    PickedColours picked;
    // The chooser's custom colours as it shows them: white until the first pick, then the
    // picked colours; colours the user defines inside the chooser last until the next pick.
    CustomColours customColours;

private:
    Services& services_;
};

} // namespace gyrodex
