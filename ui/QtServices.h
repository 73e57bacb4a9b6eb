#pragma once

#include "Services.h"

class QFont;
class QWidget;

namespace gyrodex {

// The title of the program's message boxes.
inline constexpr const char* kAppTitle = "Gyrodex v1.0";

// Services through Qt's own dialogs (not the desktop's native ones, so that the picture
// preview and the 16 custom colours behave the same everywhere).
class QtServices final : public Services {
public:
    // `parent` is the window the dialogs are placed over (may be null).
    explicit QtServices(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    std::optional<QString> openFile(const FileRequest& request) override;
    std::optional<QString> saveFile(const FileRequest& request) override;
    std::optional<Colour> chooseColour(Colour preset, CustomColours& custom) override;
    std::optional<QFont> chooseFont(const QFont& font) override;
    bool printDialog(QPrinter& printer) override;
    bool printerSetup(QPrinter& printer) override;
    void information(const QString& text) override;
    SaveAnswer askToSave(const QString& text) override;
    bool askToRecover(const QString& text) override;
    int exec(QDialog& dialog) override;

private:
    std::optional<QString> runFileDialog(const FileRequest& request, bool save);

    QWidget* parent_;
};

// The 8-point sans-serif font the windows were laid out for, which the program sets for all of
// them.
QFont ProgramFont();

// Keeps Qt's process-wide custom colours out of its own settings file: the colours picked
// in a run must not outlive it. Call once before the program ends.
void ForgetQtDialogSettings();

} // namespace gyrodex
