#include "QtServices.h"

#include "FileFilter.h"
#include "ImageCanvas.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFont>
#include <QFontDialog>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>

namespace gyrodex {

namespace {

// The picture beside the file list of the bitmap dialogs.
class PicturePreview : public QLabel {
public:
    explicit PicturePreview(QWidget* parent) : QLabel(parent) {
        setFixedSize(180, 180);
        setFrameShape(QFrame::StyledPanel);
        setAlignment(Qt::AlignCenter);
        setAccessibleName(QStringLiteral("Preview"));
    }

    void showFile(const QString& fileName) {
        QImageReader reader(fileName);
        const QSize size = reader.size();
        if (!size.isValid() || size.width() > 32767 || size.height() > 32767) {
            setPixmap({});
            setText({});
            return;
        }
        reader.setScaledSize(size.scaled(width() - 8, height() - 8, Qt::KeepAspectRatio));
        const QImage image = reader.read();
        setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
    }
};

} // namespace

std::optional<QString> QtServices::runFileDialog(const FileRequest& request, bool save) {
    QFileDialog dialog(parent_, request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Neither dialog insists that the file exists, and saving does not ask before replacing.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilter(QtFileFilter(request.filter));
    if (request.picturePreview) {
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
            auto* preview = new PicturePreview(&dialog);
            grid->addWidget(preview, 1, grid->columnCount(), 1, 1, Qt::AlignTop);
            QObject::connect(&dialog, &QFileDialog::currentChanged, preview,
                             [preview](const QString& f) { preview->showFile(f); });
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return WithDefaultExtension(dialog.selectedFiles().constFirst(), request.defaultExtension);
}

std::optional<QString> QtServices::openFile(const FileRequest& request) {
    return runFileDialog(request, false);
}

std::optional<QString> QtServices::saveFile(const FileRequest& request) {
    return runFileDialog(request, true);
}

std::optional<Colour> QtServices::chooseColour(Colour preset, CustomColours& custom) {
    for (int i = 0; i < 16; ++i)
        QColorDialog::setCustomColor(i, ToQColor(custom[static_cast<std::size_t>(i)]));
    QColorDialog dialog(ToQColor(preset), parent_);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    const bool ok = dialog.exec() == QDialog::Accepted;
    for (int i = 0; i < 16; ++i)
        custom[static_cast<std::size_t>(i)] = FromQColor(QColorDialog::customColor(i));
    if (!ok)
        return std::nullopt;
    return FromQColor(dialog.selectedColor());
}

std::optional<QFont> QtServices::chooseFont(const QFont& font) {
    bool ok = false;
    const QFont chosen =
        QFontDialog::getFont(&ok, font, parent_, {}, QFontDialog::DontUseNativeDialog);
    if (!ok)
        return std::nullopt;
    return chosen;
}

bool QtServices::printDialog(QPrinter& printer) {
    QPrintDialog dialog(&printer, parent_);
    return dialog.exec() == QDialog::Accepted;
}

bool QtServices::printerSetup(QPrinter& printer) {
    QPageSetupDialog dialog(&printer, parent_);
    return dialog.exec() == QDialog::Accepted;
}

void QtServices::information(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kAppTitle), text, QMessageBox::Ok,
                    parent_);
    // No style sheet on the labels: a minimum width set there stops the box from growing with
    // its text, and file names and reasons were cut off at about 200 pixels.
    box.exec();
}

Services::SaveAnswer QtServices::askToSave(const QString& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kAppTitle), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent_);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveAnswer::Save;
    case QMessageBox::Discard:
        return SaveAnswer::Discard;
    default:
        return SaveAnswer::Cancel;
    }
}

bool QtServices::askToRecover(const QString& text) {
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kAppTitle), text,
                    QMessageBox::NoButton, parent_);
    QPushButton* recover = box.addButton(QStringLiteral("Recover"), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Discard);
    box.setDefaultButton(recover);
    box.exec();
    return box.clickedButton() == recover;
}

int QtServices::exec(QDialog& dialog) {
    return dialog.exec();
}

QFont ProgramFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans")});
    font.setPointSize(8);
    return font;
}

void ForgetQtDialogSettings() {
    // Qt writes the colour dialog's custom colours into its own user settings when the
    // process ends; point that write at a folder that cannot exist, so it comes to nothing.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QStringLiteral("/dev/null/gyrodex"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QStringLiteral("/dev/null/gyrodex"));
}

} // namespace gyrodex
