#include "USize.h"

#include "SpinField.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <limits>

namespace gyrodex {

namespace {

SpinField* WholeNumberField(QWidget* parent, int value) {
    // The fields set no bounds of their own: the resize refuses sizes it cannot make.
    return new SpinField(std::numeric_limits<std::int32_t>::min(),
                         std::numeric_limits<std::int32_t>::max(), 1, value, parent);
}

} // namespace

TfrmSize::TfrmSize(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSize"));
    setWindowTitle(QStringLiteral("New Image Size"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    setModal(true);
    setFixedSize(241, 121);

    auto* lblWidth = new QLabel(QStringLiteral("Width"), this);
    lblWidth->setGeometry(8, 8, 60, 13);
    spnWidth = WholeNumberField(this, 1024);
    spnWidth->setObjectName(QStringLiteral("spnWidth"));
    spnWidth->setGeometry(8, 24, 73, 22);
    lblWidth->setBuddy(spnWidth);

    auto* lblHeight = new QLabel(QStringLiteral("Height"), this);
    lblHeight->setGeometry(88, 8, 60, 13);
    spnHeight = WholeNumberField(this, 768);
    spnHeight->setObjectName(QStringLiteral("spnHeight"));
    spnHeight->setGeometry(88, 24, 73, 22);
    lblHeight->setBuddy(spnHeight);

    auto* lblPreset = new QLabel(QStringLiteral("Presets:"), this);
    lblPreset->setGeometry(8, 56, 60, 13);
    cbPreset = new QComboBox(this);
    cbPreset->setObjectName(QStringLiteral("cbPreset"));
    cbPreset->setGeometry(8, 72, 153, 22);
    cbPreset->setMaxVisibleItems(6);
    cbPreset->addItems({QStringLiteral("640x480"), QStringLiteral("800x600"),
                        QStringLiteral("1024x768"), QStringLiteral("1152x864"),
                        QStringLiteral("1280x960"), QStringLiteral("1280x1024"),
                        QStringLiteral("1600x1200")});
    cbPreset->setCurrentIndex(-1);
    lblPreset->setBuddy(cbPreset);
    connect(cbPreset, &QComboBox::activated, this, &TfrmSize::cbPresetChange);

    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setGeometry(168, 24, 65, 25);
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);

    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(168, 56, 65, 25);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmSize::cbPresetChange(int index) {
    const QString text = cbPreset->itemText(index);
    const qsizetype x = text.indexOf(u'x');
    if (x < 0)
        return;
    bool okWidth = false;
    bool okHeight = false;
    const int width = text.left(x).toInt(&okWidth);
    const int height = text.mid(x + 1).toInt(&okHeight);
    if (okWidth)
        spnWidth->setValue(width);
    if (okHeight)
        spnHeight->setValue(height);
}

void TfrmSize::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Opens centred on the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        const QRect f = frameGeometry();
        move(s.left() + (s.width() - f.width()) / 2, s.top() + (s.height() - f.height()) / 2);
    }
}

} // namespace gyrodex
