#include "SharedDialogs.h"

namespace gyrodex {

SharedDialogs::SharedDialogs(Services& services) : services_(services) {
    customColours.fill(0xFFFFFF);
}

std::optional<QString> SharedDialogs::askOpenFile(const QString& title, const QString& extension,
                                                  const QString& filter, bool picturePreview) {
    return services_.openFile({title, extension, filter, picturePreview});
}

std::optional<QString> SharedDialogs::askSaveFile(const QString& title, const QString& extension,
                                                  const QString& filter, bool picturePreview) {
    return services_.saveFile({title, extension, filter, picturePreview});
}

std::optional<Colour> SharedDialogs::chooseColourFor(Colour preset) {
    return services_.chooseColour(preset, customColours);
}

void SharedDialogs::rememberPickedColour(Colour colour) {
    picked.Pick(colour);
    customColours = picked.PickedColors;
}

} // namespace gyrodex
