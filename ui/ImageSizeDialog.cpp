#include "ImageSizeDialog.h"

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

ImageSizeDialog::ImageSizeDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSize"));
    setWindowTitle(QStringLiteral("New Image Size"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    setModal(true);
    setFixedSize(241, 121);

    auto* widthLabel = new QLabel(QStringLiteral("Width"), this);
    widthLabel->setGeometry(8, 8, 60, 13);
    widthField = WholeNumberField(this, 1024);
    widthField->setObjectName(QStringLiteral("spnWidth"));
    widthField->setGeometry(8, 24, 73, 22);
    widthLabel->setBuddy(widthField);

    auto* heightLabel = new QLabel(QStringLiteral("Height"), this);
    heightLabel->setGeometry(88, 8, 60, 13);
    heightField = WholeNumberField(this, 768);
    heightField->setObjectName(QStringLiteral("spnHeight"));
    heightField->setGeometry(88, 24, 73, 22);
    heightLabel->setBuddy(heightField);

    auto* presetLabel = new QLabel(QStringLiteral("Presets:"), this);
    presetLabel->setGeometry(8, 56, 60, 13);
    presetBox = new QComboBox(this);
    presetBox->setObjectName(QStringLiteral("cbPreset"));
    presetBox->setGeometry(8, 72, 153, 22);
    presetBox->setMaxVisibleItems(6);
    presetBox->addItems({QStringLiteral("640x480"), QStringLiteral("800x600"),
                         QStringLiteral("1024x768"), QStringLiteral("1152x864"),
                         QStringLiteral("1280x960"), QStringLiteral("1280x1024"),
                         QStringLiteral("1600x1200")});
    presetBox->setCurrentIndex(-1);
    presetLabel->setBuddy(presetBox);
    connect(presetBox, &QComboBox::activated, this, &ImageSizeDialog::presetChosen);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("btnOk"));
    okButton->setGeometry(168, 24, 65, 25);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("btnCancel"));
    cancelButton->setGeometry(168, 56, 65, 25);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void ImageSizeDialog::presetChosen(int index) {
    const QString text = presetBox->itemText(index);
    const qsizetype x = text.indexOf(u'x');
    if (x < 0)
        return;
    bool okWidth = false;
    bool okHeight = false;
    const int width = text.left(x).toInt(&okWidth);
    const int height = text.mid(x + 1).toInt(&okHeight);
    if (okWidth)
        widthField->setValue(width);
    if (okHeight)
        heightField->setValue(height);
}

void ImageSizeDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Opens centred on the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        const QRect f = frameGeometry();
        move(s.left() + (s.width() - f.width()) / 2, s.top() + (s.height() - f.height()) / 2);
    }
}

} // namespace gyrodex
