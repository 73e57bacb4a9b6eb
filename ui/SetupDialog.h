#pragma once

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace gyrodex {

class Services;
class ProgramSettings;

// "Program Setup": the pointer hint's type and date format, kept in the settings store.
class SetupDialog : public QDialog {
    Q_OBJECT

public:
    SetupDialog(ProgramSettings& ini, Services& services, QWidget* parent = nullptr);

    // Shows the stored settings; runs every time the dialog opens.
    void showSettings();
    // Stores both settings, then closes the dialog.
    void storeSettings();

    // The selected hint item, -1 for none.
    int hintIndex() const;

    QGroupBox* hintGroupBox;
    QRadioButton* onlyHighlightedButton;
    QRadioButton* displayDateButton;
    QLabel* dateFormatLabel;
    QLineEdit* dateFormatField;
    QPlainTextEdit* helpView;
    QPushButton* cancelButton;
    QPushButton* okButton;

    // The help text on the date format, fourteen lines of element, tab and description, and
    // the distance of its tab stops in pixels.
    static QString HelpText();
    static constexpr int kHelpTabStop = 52;

private:
    void selectHint(int index);

    ProgramSettings& ini_;
    Services& services_;
    QButtonGroup* hintGroup_;
};

} // namespace gyrodex
