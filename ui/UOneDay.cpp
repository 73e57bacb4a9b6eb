#include "UOneDay.h"

#include "Busy.h"
#include "Globals.h"
#include "UDMod.h"
#include "UFloatMenu.h"
#include "UMain.h"

#include <QLineEdit>
#include <QPushButton>

namespace gyrodex {

TfrmOneDay::TfrmOneDay(Globals& globals)
    // A window of the main window's, so that the window manager keeps it above the image.
    : QDialog(globals.frmMain.get(), Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      g_(globals) {
    setObjectName(QStringLiteral("frmOneDay"));
    setWindowTitle(QStringLiteral("Highlight Day"));
    setModal(true);
    setFixedSize(216, 62);
    move(600, 105);

    // No length limit: the description may be longer than the 40 characters the wheel shows.
    edtDesc = new QLineEdit(this);
    edtDesc->setObjectName(QStringLiteral("edtDesc"));
    edtDesc->setAccessibleName(QStringLiteral("Description"));
    edtDesc->setGeometry(4, 4, 181, 21);

    pnlColor = new ColourSwatch(QStringLiteral("pnlColor"), 0xFFFFFF, this);
    pnlColor->setAccessibleName(QStringLiteral("Color"));
    pnlColor->setGeometry(190, 4, 21, 21);
    connect(pnlColor, &ColourSwatch::clicked, this, &TfrmOneDay::pnlColorClick);

    // Made in tab order: Cancel before OK, as they stand on the window.
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(56, 32, 75, 25);
    btnCancel->setAutoDefault(false);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setGeometry(136, 32, 75, 25);
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    setTabOrder(edtDesc, btnCancel);
    setTabOrder(btnCancel, btnOk);
}

void TfrmOneDay::pnlColorClick() {
    RunCommand(g_.services, [this] {
        if (const auto colour = g_.DMod->ColorDlg(pnlColor->colour()))
            pnlColor->setColour(*colour);
    });
}

void TfrmOneDay::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    edtDesc->setFocus();
}

} // namespace gyrodex
