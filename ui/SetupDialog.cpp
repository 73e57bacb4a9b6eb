#include "SetupDialog.h"

#include "Busy.h"
#include "ProgramSettings.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>
#include <algorithm>

namespace gyrodex {

namespace {

const QString kHintType = QStringLiteral("HintType");
const QString kDateFormat = QStringLiteral("DateFormat");

} // namespace

QString SetupDialog::HelpText() {
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

SetupDialog::SetupDialog(ProgramSettings& ini, Services& services, QWidget* parent)
    : QDialog(parent), ini_(ini), services_(services) {
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(QStringLiteral("Program Setup"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    setModal(true);
    setFixedSize(373, 277);

    hintGroupBox = new QGroupBox(QStringLiteral(" Hint on Date "), this);
    hintGroupBox->setObjectName(QStringLiteral("rgHint"));
    hintGroupBox->setGeometry(8, 4, 357, 42);
    onlyHighlightedButton = new QRadioButton(QStringLiteral("Only when Highlighted"), hintGroupBox);
    onlyHighlightedButton->setGeometry(10, 18, 170, 17);
    displayDateButton = new QRadioButton(QStringLiteral("Display Date too"), hintGroupBox);
    displayDateButton->setGeometry(186, 18, 160, 17);
    hintGroup_ = new QButtonGroup(this);
    hintGroup_->addButton(onlyHighlightedButton, 0);
    hintGroup_->addButton(displayDateButton, 1);

    dateFormatLabel = new QLabel(QStringLiteral("Date Format:"), this);
    dateFormatLabel->setGeometry(8, 50, 120, 13);
    dateFormatField = new QLineEdit(this);
    dateFormatField->setObjectName(QStringLiteral("edtDateFormat"));
    dateFormatField->setGeometry(8, 65, 185, 21);
    dateFormatLabel->setBuddy(dateFormatField);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("btnOk"));
    okButton->setGeometry(209, 63, 75, 25);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this,
            [this] { RunCommand(services_, [this] { storeSettings(); }); });

    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("btnCancel"));
    cancelButton->setGeometry(290, 63, 75, 25);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    helpView = new QPlainTextEdit(this);
    helpView->setObjectName(QStringLiteral("Memo1"));
    helpView->setGeometry(8, 92, 361, 183);
    helpView->setReadOnly(true);
    helpView->setFrameShape(QFrame::NoFrame);
    helpView->setLineWrapMode(QPlainTextEdit::NoWrap);
    helpView->setFocusPolicy(Qt::NoFocus);
    helpView->setTabStopDistance(kHelpTabStop);
    helpView->document()->setDocumentMargin(0);
    helpView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    helpView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette pal = helpView->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Window));
    helpView->setPalette(pal);
    helpView->setPlainText(HelpText());

    // The help view and the dialog grow to the help text's widest line and its height, so that
    // no line is cut whatever the font's widths.
    const QRect text =
        helpView->fontMetrics().boundingRect(QRect(), Qt::TextExpandTabs, HelpText(), kHelpTabStop);
    const int width = std::max(helpView->width(), text.width() + 8);
    const int height = std::max(helpView->height(), text.height() + 1);
    helpView->resize(width, height);
    setFixedSize(std::max(this->width(), helpView->x() + width + 4),
                 std::max(this->height(), helpView->y() + height + 2));
}

void SetupDialog::selectHint(int index) {
    // A stored value above 1 selects the last item, one below 0 selects none.
    hintGroup_->setExclusive(false);
    onlyHighlightedButton->setChecked(index == 0);
    displayDateButton->setChecked(index >= 1);
    hintGroup_->setExclusive(true);
}

int SetupDialog::hintIndex() const {
    return hintGroup_->checkedId();
}

void SetupDialog::showSettings() {
    selectHint(ini_.GetInteger(kHintType));
    dateFormatField->setText(ini_.GetString(kDateFormat));
}

void SetupDialog::storeSettings() {
    ini_.SetInteger(kHintType, hintIndex());
    ini_.SetString(kDateFormat, dateFormatField->text());
    accept();
}

} // namespace gyrodex
