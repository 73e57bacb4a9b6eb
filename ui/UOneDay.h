#pragma once

#include "Colour.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace gyrodex {

class ColourSwatch;
class Globals;

// "Highlight Day": the description and colour of one day, opened by the text tool.
class TfrmOneDay : public QDialog {
    Q_OBJECT

public:
    explicit TfrmOneDay(Globals& globals);

    // The colour dialog preset to the swatch's colour; a confirmed choice goes to the swatch.
    void pnlColorClick();

    QLineEdit* edtDesc;
    ColourSwatch* pnlColor;
    QPushButton* btnOk;
    QPushButton* btnCancel;

protected:
    // FormShow: the description takes the keyboard focus.
    void showEvent(QShowEvent* event) override;

private:
    Globals& g_;
};

} // namespace gyrodex
