#include "USetup.h"

#include "Busy.h"
#include "RegVal.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>

namespace gyrodex {

namespace {

const QString kHintType = QStringLiteral("HintType");
const QString kDateFormat = QStringLiteral("DateFormat");

} // namespace

QString TfrmSetup::HelpText() {
    static const char* const lines[][2] = {
        {"d", "Displays the day as a number without a leading zero (1-31)"},
        {"dd", "Displays the day as a number with a leading zero (01-31)"},
        {"ddd", "Displays the day as an abbreviation (Sun-Sat)"},
        {"dddd", "Displays the day as a full name (Sunday-Saturday)"},
        {"ddddd", "Displays the date in Short Format"},
        {"dddddd", "Displays the date in Long Format"},
        {"m", "Displays the month as a number without a leading zero (1-12)"},
        {"mm", "Displays the month as a number with a leading zero (01-12)"},
        {"mmm", "Displays the month as an abbreviation (Jan-Dec)"},
        {"mmmm", "Displays the month as a full name (January-December)"},
        {"yy", "Displays the year as a two-digit number (00-99)"},
        {"yyyy", "Displays the year as a four-digit number (0000-9999)"},
        {"/", "Displays the date separator character"},
        {"'xx'/\"xx\"", "Characters enclosed in single or double quotes are displayed as-is"},
    };
    QStringList text;
    for (const auto& line : lines)
        text << QString::fromLatin1(line[0]) + u'\t' + QString::fromLatin1(line[1]);
    return text.join(u'\n');
}

TfrmSetup::TfrmSetup(TRegVal& ini, Services& services, QWidget* parent)
    : QDialog(parent), ini_(ini), services_(services) {
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(QStringLiteral("Program Setup"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    setModal(true);
    setFixedSize(373, 277);

    rgHint = new QGroupBox(QStringLiteral(" Hint on Date "), this);
    rgHint->setObjectName(QStringLiteral("rgHint"));
    rgHint->setGeometry(8, 4, 357, 42);
    rbOnlyHighlighted = new QRadioButton(QStringLiteral("Only when Highlighted"), rgHint);
    rbOnlyHighlighted->setGeometry(10, 18, 170, 17);
    rbDisplayDate = new QRadioButton(QStringLiteral("Display Date too"), rgHint);
    rbDisplayDate->setGeometry(186, 18, 160, 17);
    hintGroup_ = new QButtonGroup(this);
    hintGroup_->addButton(rbOnlyHighlighted, 0);
    hintGroup_->addButton(rbDisplayDate, 1);

    Label1 = new QLabel(QStringLiteral("Date Format:"), this);
    Label1->setGeometry(8, 50, 120, 13);
    edtDateFormat = new QLineEdit(this);
    edtDateFormat->setObjectName(QStringLiteral("edtDateFormat"));
    edtDateFormat->setGeometry(8, 65, 185, 21);
    Label1->setBuddy(edtDateFormat);

    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setGeometry(209, 63, 75, 25);
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this,
            [this] { RunCommand(services_, [this] { btnOkClick(); }); });

    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(290, 63, 75, 25);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, 92, 361, 183);
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setTabStopDistance(52);
    Memo1->document()->setDocumentMargin(0);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette pal = Memo1->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Window));
    Memo1->setPalette(pal);
    Memo1->setPlainText(HelpText());
}

void TfrmSetup::selectHint(int index) {
    // A stored value above 1 selects the last item, one below 0 selects none.
    hintGroup_->setExclusive(false);
    rbOnlyHighlighted->setChecked(index == 0);
    rbDisplayDate->setChecked(index >= 1);
    hintGroup_->setExclusive(true);
}

int TfrmSetup::hintIndex() const {
    return hintGroup_->checkedId();
}

void TfrmSetup::FormShow() {
    selectHint(ini_.GetInteger(kHintType));
    edtDateFormat->setText(ini_.GetString(kDateFormat));
}

void TfrmSetup::btnOkClick() {
    ini_.SetInteger(kHintType, hintIndex());
    ini_.SetString(kDateFormat, edtDateFormat->text());
    accept();
}

} // namespace gyrodex
