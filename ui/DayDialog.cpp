#include "DayDialog.h"

#include "Busy.h"
#include "Palette.h"
#include "SharedDialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace gyrodex {

DayDialog::DayDialog(Services& services, SharedDialogs& dialogs, QWidget* parent)
    // A window of the main window's, so that the window manager keeps it above the image.
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      services_(services), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmOneDay"));
    setWindowTitle(QStringLiteral("Highlight Day"));
    setModal(true);
    setFixedSize(216, 83);
    move(600, 105);

    dateLabel = new QLabel(this);
    dateLabel->setObjectName(QStringLiteral("lblDate"));
    dateLabel->setGeometry(4, 4, 207, 17);

    // No length limit: the description may be longer than the 40 characters the wheel shows.
    descriptionField = new QLineEdit(this);
    descriptionField->setObjectName(QStringLiteral("edtDesc"));
    descriptionField->setAccessibleName(QStringLiteral("Description"));
    descriptionField->setGeometry(4, 25, 181, 21);

    colourSwatch = new ColourSwatch(QStringLiteral("pnlColor"), 0xFFFFFF, this);
    colourSwatch->setAccessibleName(QStringLiteral("Color"));
    colourSwatch->setGeometry(190, 25, 21, 21);
    connect(colourSwatch, &ColourSwatch::clicked, this, &DayDialog::chooseColour);

    // Made in tab order: Cancel before OK, as they stand on the window.
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("btnCancel"));
    cancelButton->setGeometry(56, 53, 75, 25);
    cancelButton->setAutoDefault(false);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("btnOk"));
    okButton->setGeometry(136, 53, 75, 25);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    setTabOrder(descriptionField, cancelButton);
    setTabOrder(cancelButton, okButton);
}

void DayDialog::chooseColour() {
    RunCommand(services_, [this] {
        if (const auto colour = dialogs_.chooseColourFor(colourSwatch->colour()))
            colourSwatch->setColour(*colour);
    });
}

void DayDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    descriptionField->setFocus();
}

} // namespace gyrodex
