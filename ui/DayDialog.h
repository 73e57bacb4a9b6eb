#pragma once

#include "Colour.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace gyrodex {

class ColourSwatch;
class Services;
class SharedDialogs;

// "Highlight Day": the description and colour of one day, opened by the text tool; the day
// itself is shown above the description.
class DayDialog : public QDialog {
    Q_OBJECT

public:
    DayDialog(Services& services, SharedDialogs& dialogs, QWidget* parent);

    // The colour dialog preset to the swatch's colour; a confirmed choice goes to the swatch.
    void chooseColour();

    QLabel* dateLabel; // the day being edited, above the description
    QLineEdit* descriptionField;
    ColourSwatch* colourSwatch;
    QPushButton* okButton;
    QPushButton* cancelButton;

protected:
    // On every show: the description takes the keyboard focus.
    void showEvent(QShowEvent* event) override;

private:
    Services& services_;
    SharedDialogs& dialogs_;
};

} // namespace gyrodex
