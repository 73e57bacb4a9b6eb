#pragma once

#include "Colour.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace gyrodex {

class ColourSwatch;
class DesktopApp;

// "Highlight Day": the description and colour of one day, opened by the text tool.
class DayDialog : public QDialog {
    Q_OBJECT

public:
    explicit DayDialog(DesktopApp& globals);

    // The colour dialog preset to the swatch's colour; a confirmed choice goes to the swatch.
    void chooseColour();

    QLineEdit* descriptionField;
    ColourSwatch* colourSwatch;
    QPushButton* okButton;
    QPushButton* cancelButton;

protected:
    // FormShow: the description takes the keyboard focus.
    void showEvent(QShowEvent* event) override;

private:
    DesktopApp& g_;
};

} // namespace gyrodex
