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
class TRegVal;

// "Program Setup": the pointer hint's type and date format, kept in the settings store.
class TfrmSetup : public QDialog {
    Q_OBJECT

public:
    TfrmSetup(TRegVal& ini, Services& services, QWidget* parent = nullptr);

    // Shows the stored settings; runs every time the dialog opens.
    void FormShow();
    // Stores both settings, then closes the dialog.
    void btnOkClick();

    // The selected hint item, -1 for none.
    int hintIndex() const;

    QGroupBox* rgHint;
    QRadioButton* rbOnlyHighlighted;
    QRadioButton* rbDisplayDate;
    QLabel* Label1;
    QLineEdit* edtDateFormat;
    QPlainTextEdit* Memo1;
    QPushButton* btnCancel;
    QPushButton* btnOk;

    // The help text on the date format, fourteen lines of element, tab and description.
    static QString HelpText();

private:
    void selectHint(int index);

    TRegVal& ini_;
    Services& services_;
    QButtonGroup* hintGroup_;
};

} // namespace gyrodex
