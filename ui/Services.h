#pragma once

#include "Colour.h"

#include <QFont>
#include <QString>
#include <array>
#include <optional>

class QDialog;
class QPrinter;

namespace gyrodex {

// What a file dialog is asked to show. `filter` is the "description|pattern|…" form the
// commands use; `defaultExtension` is added (in lower case) to a name typed without one.
struct FileRequest {
    QString title;
    QString defaultExtension;
    QString filter;
    bool picturePreview = false;
};

// The 16 custom colours of the colour chooser, slot 1 first.
using CustomColours = std::array<Colour, 16>;

// The one door to everything modal: the common dialogs, message boxes and the program's own
// dialogs. The desktop uses Qt's dialogs; tests answer from a script, so every modal flow runs
// headless.
class Services {
public:
    virtual ~Services() = default;

    // The chosen file's full name, or nothing when the user cancelled. Neither dialog insists
    // that the file exists; the save dialog does not ask before replacing one.
    virtual std::optional<QString> openFile(const FileRequest& request) = 0;
    virtual std::optional<QString> saveFile(const FileRequest& request) = 0;

    // The colour dialog, fully opened, preset to `preset`, showing `custom` as its custom
    // colours; `custom` takes back what the user left in them.
    virtual std::optional<Colour> chooseColour(Colour preset, CustomColours& custom) = 0;

    // The font dialog preset to `font`.
    virtual std::optional<QFont> chooseFont(const QFont& font) = 0;

    // The print dialog and the printer set-up dialog on the program's one printer; true when
    // the user confirmed.
    virtual bool printDialog(QPrinter& printer) = 0;
    virtual bool printerSetup(QPrinter& printer) = 0;

    // A message box with the program's title and an OK button.
    virtual void information(const QString& text) = 0;

    // Asks before unsaved work is dropped: Save, Discard or Cancel (also Escape).
    enum class SaveAnswer { Save, Discard, Cancel };
    virtual SaveAnswer askToSave(const QString& text) = 0;
    // Offers a recovery copy at start: true for Recover, false for Discard.
    virtual bool askToRecover(const QString& text) = 0;

    // Runs one of the program's own dialogs modally; returns QDialog::Accepted or Rejected.
    virtual int exec(QDialog& dialog) = 0;
};

} // namespace gyrodex
