#include "MainWindow.h"

#include "Bitmap.h"
#include "Busy.h"
#include "CalendarFile.h"
#include "DayDialog.h"
#include "Error.h"
#include "FileName.h"
#include "Host.h"
#include "Illustrator.h"
#include "ImageCanvas.h"
#include "ImageSizeDialog.h"
#include "ImageView.h"
#include "LabelWords.h"
#include "Painter.h"
#include "Print.h"
#include "ProgramSettings.h"
#include "SharedDialogs.h"
#include "SpinField.h"

#include <QCloseEvent>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>

namespace gyrodex {

namespace {

constexpr Colour kMainColour = 0xD26F60;

const QString kCalendarFilter = QStringLiteral("Calendar Files (*.cal)|*.cal|All Files (*.*)|*.*");
// "Save Bitmap As": the file name's extension chooses the format, BMP unless it is PNG.
const QString kSaveBitmapFilter =
    QStringLiteral("Bitmaps (*.bmp)|*.bmp|PNG Images (*.png)|*.png|All Files (*.*)|*.*");
const QString kLoadBitmapFilter =
    QStringLiteral("Bitmaps (*.bmp)|*.bmp|PNG Images (*.png)|*.png|JPEG Images "
                   "(*.jpg;*.jpeg)|*.jpg;*.jpeg|All Files (*.*)|*.*");
const QString kSaved = QStringLiteral("Saved!");

} // namespace

MainWindow::MainWindow(MainWindowParts parts)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), p_(std::move(parts)) {
    setObjectName(QStringLiteral("frmMain"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(kMainColour));
    setPalette(pal);
    setAutoFillBackground(true);
    setGeometry(p_.env.screen);

    // At creation: no files yet, every cell without a date, the credit line as caption.
    p_.document.state.CalendarFileName.clear();
    p_.document.state.BitmapFileName.clear();
    p_.document.state.Cells.clear();
    setWindowTitle(CreditLine());
    try {
        p_.recent.ReadRecentLists(p_.env.registry);
    } catch (const Error& e) {
        p_.services.information(e.message());
    }

    dayDialog = new DayDialog(p_.services, p_.dialogs, this);
    imageSizeDialog = new ImageSizeDialog(this);
    imageView = new ImageView(p_.canvas, p_.env.pixelRatio, this);
    imageView->move(0, 0);
    createToolParts();
}

MainWindow::~MainWindow() = default;

DayDate MainWindow::today() const {
    return FromQDate(p_.env.today());
}

void MainWindow::command(const std::function<void()>& body) {
    RunCommand(p_.services, body);
}

void MainWindow::firstShow() {
    command([this] {
        emit recentCalendarsChanged(p_.recent.AddRecentCalendar({}));
        emit recentBitmapsChanged(p_.recent.AddRecentBitmap({}));
        if (p_.document.state.BitmapFileName.isEmpty()) {
            ImageCanvas& c = p_.canvas;
            c.setImage(QImage(p_.env.screenPixels(), QImage::Format_RGB32));
            imageView->imageResized();
            p_.document.state.updateCentre(c.width(), c.height());
            c.setPen(kMainColour, 1);
            c.setBrush(kMainColour);
            c.fillRect(QRect(0, 0, c.width(), c.height()));
            const QString font = DayFont::defaultName();
            c.setFont(font, 10, 0, 0x00FFFF, 0);
            c.textOut((c.width() - c.textExtent(CreditLine()).width()) / 2, c.height() / 2 - 20,
                      CreditLine());
            const QString hint =
                QStringLiteral("Left-Click for Paint Menu, Right-Click for Main Menu");
            c.setFont(font, 8, 0, 0x800000, 0);
            c.textOut((c.width() - c.textExtent(hint).width()) / 2, c.height() / 2, hint);
            const DayDate day = today();
            p_.edits.edit({Change::Geometry, QString(),
                           [day](Document& d) { d.state.setDefaultPeriod(day); },
                           Change::Repaint::None, nullptr});
        }
        RepaintCalendar();
    });
}

void MainWindow::writeRecentLists(const std::function<void(const QString&)>& report) {
    try {
        p_.recent.WriteRecentLists(p_.env.registry);
    } catch (const Error& e) {
        report(e.message());
    }
}

void MainWindow::RepaintCalendar() {
    // The view shows whatever the painter got to, also when a highlight stops it.
    struct Show {
        MainWindow* main;
        ~Show() { main->showRepaint(); }
    } show{this};
    // Whatever was written since the last repaint lies over the background too.
    const QRegion before = p_.canvas.takeDrawn();
    overBackground_ += before;
    if (const QRect filled = p_.canvas.takeFilled(); !filled.isEmpty()) {
        clearedWith_.reset();
        imageView->imageChanged(filled);
    }
    imageView->regionChanged(before);
    if (p_.document.state.RepaintSuspended)
        return;
    emit calendarRepainted();
    if (p_.document.state.Labels.anyShown())
        p_.document.state.LabelWords =
            MakeLabelWords(p_.settings.GetString(QStringLiteral("DateFormat")), UserDateLocale());
    gyrodex::RepaintCalendar(p_.document.state, p_.document.highlights, p_.canvas, today(),
                             &p_.host);
}

void MainWindow::showDrawn() {
    const QRegion drawn = p_.canvas.takeDrawn();
    overBackground_ += drawn; // painted over what the image showed
    imageView->regionChanged(drawn);
}

void MainWindow::showRepaint() {
    // Only what changed goes to the screen: at a keystroke that is the old and the new wheel
    // and the credit line, not the whole screen-sized image.
    ImageCanvas& c = p_.canvas;
    const QRegion drawn = c.takeDrawn();
    const QRect filled = c.takeFilled();
    QRegion changed = drawn;
    if (filled.isEmpty()) {
        overBackground_ += drawn; // painted over what the image showed
    } else {
        // Cleared: where the background was already this colour, only the old drawings change.
        const bool whole = filled == QRect(0, 0, c.width(), c.height());
        if (whole && clearedWith_ == p_.document.state.BackColour)
            changed += overBackground_;
        else
            changed += filled;
        overBackground_ = drawn;
        clearedWith_ = whole ? std::optional<Colour>(p_.document.state.BackColour) : std::nullopt;
    }
    imageView->regionChanged(changed);
}

void MainWindow::LoadCalendarFile(const QString& fileName, bool addToRecent) {
    // The loader applies what it can; the recent list and the repaint follow a file that was
    // applied, and its message (a stopped load, too many highlights) comes last.
    CalendarLoadResult result;
    p_.edits.edit(
        {Change::Everything, QStringLiteral("Open"),
         [&](Document& d) { result = gyrodex::LoadCalendarFile(d.state, d.highlights, fileName); },
         Change::Repaint::None, nullptr});
    if (result.applied()) {
        if (addToRecent)
            emit recentCalendarsChanged(p_.recent.AddRecentCalendar(fileName));
        RepaintCalendar();
    }
    if (!result.message.isEmpty())
        p_.services.information(result.message);
}

void MainWindow::SaveCalendarFile(const QString& fileName) {
    gyrodex::SaveCalendarFile(p_.document.state, p_.document.highlights, fileName);
    emit calendarSaved();
    p_.services.information(kSaved);
}

bool MainWindow::saveDesign() {
    bool saved = false;
    if (p_.document.state.CalendarFileName.isEmpty()) {
        command([&] {
            const auto file = p_.dialogs.askSaveFile(QStringLiteral("Save Calendar Properties"),
                                                     QStringLiteral("CAL"), kCalendarFilter);
            if (file) {
                SaveCalendarFile(*file);
                saved = true;
            }
        });
    } else {
        command([&] {
            SaveCalendarFile(p_.document.state.CalendarFileName);
            saved = true;
        });
    }
    return saved;
}

void MainWindow::openCalendar() {
    if (!p_.mayDropDesign())
        return;
    command([this] {
        const auto file = p_.dialogs.askOpenFile(QStringLiteral("Load Calendar Properties"),
                                                 QStringLiteral("CAL"), kCalendarFilter);
        if (file)
            LoadCalendarFile(*file, true);
    });
}

void MainWindow::openCalendarFile(const QString& fileName) {
    // As "Open": a recovered design, changed, is not dropped without the question.
    if (!p_.mayDropDesign())
        return;
    command([&] { LoadCalendarFile(fileName, true); });
}

void MainWindow::saveCalendar() {
    saveDesign();
}

void MainWindow::saveCalendarAs() {
    command([this] {
        const auto file = p_.dialogs.askSaveFile(QStringLiteral("Save Calendar Properties"),
                                                 QStringLiteral("CAL"), kCalendarFilter);
        if (file)
            SaveCalendarFile(*file);
    });
}

void MainWindow::exportIllustrator() {
    command([this] {
        const auto file = p_.dialogs.askSaveFile(
            QStringLiteral("Export to Adobe Illustrator"), QStringLiteral("ai"),
            QStringLiteral("Adobe Illustrator Files (*.ai)|*.ai|All Files (*.*)|*.*"));
        if (!file)
            return;
        {
            BusyCursor busy;
            // Day numbers are measured in the image's current font: the day font after a
            // repaint.
            ExportToIllustrator(
                *file, p_.document.state, p_.document.highlights, today(),
                [this](const QString& text) { return p_.canvas.textExtent(text); },
                QSize(p_.canvas.width(), p_.canvas.height()));
        }
        p_.services.information(kSaved);
    });
}

void MainWindow::openRecentCalendar(int tag) {
    if (tag < 1 || tag > kRecentSlots)
        return;
    if (!p_.mayDropDesign())
        return;
    command([this, tag] {
        const QString& name = p_.recent.RecentCalendars.names[static_cast<std::size_t>(tag - 1)];
        // Unlike "Open", which starts a new design under a new name, a recent file that is gone
        // (or on a drive that isn't mounted) keeps the open design; the entry stays.
        if (!FileExists(name))
            throw Error(QStringLiteral("Unable to read %1").arg(name));
        LoadCalendarFile(name, false);
    });
}

void MainWindow::changeImageSize() {
    command([this] {
        ImageSizeDialog& dialog = *imageSizeDialog;
        if (p_.services.exec(dialog) != QDialog::Accepted)
            return;
        ResizeBitmap(p_.document.state, p_.canvas, dialog.widthField->value(),
                     dialog.heightField->value());
        imageView->imageResized();
        fitToImage();
        move(p_.env.screen.topLeft());
        RepaintCalendar();
    });
}

void MainWindow::loadBitmap() {
    command([this] {
        const auto file = p_.dialogs.askOpenFile(QStringLiteral("Load Bitmap"),
                                                 QStringLiteral("BMP"), kLoadBitmapFilter, true);
        if (file)
            LoadBitmapFile(*file, true);
    });
}

void MainWindow::LoadBitmapFile(const QString& fileName, bool addToRecent) {
    gyrodex::LoadBitmapFile(p_.document.state, p_.canvas, fileName);
    enableSaveBitmap();
    imageView->imageResized();
    fitToImage();
    // Centred on the screen by the window's outer size; a picture larger than the screen
    // gives negative left and top.
    const QSize outer = size() + (frameGeometry().size() - geometry().size());
    const QRect screen = p_.env.screen;
    move(screen.left() + (screen.width() - outer.width()) / 2,
         screen.top() + (screen.height() - outer.height()) / 2);
    if (addToRecent)
        emit recentBitmapsChanged(p_.recent.AddRecentBitmap(p_.document.state.BitmapFileName));
}

void MainWindow::openRecentBitmap(int tag) {
    if (tag < 1 || tag > kRecentSlots)
        return;
    command([this, tag] {
        LoadBitmapFile(p_.recent.RecentBitmaps.names[static_cast<std::size_t>(tag - 1)], false);
    });
}

void MainWindow::saveBitmap() {
    if (!HasBitmapFile(p_.document.state)) {
        saveBitmapAs();
        return;
    }
    command([this] {
        SaveBitmapFile(p_.document.state, p_.canvas.image(), p_.document.state.BitmapFileName);
        p_.services.information(kSaved);
    });
}

void MainWindow::saveBitmapAs() {
    command([this] {
        const auto file = p_.dialogs.askSaveFile(QStringLiteral("Save Bitmap"),
                                                 QStringLiteral("BMP"), kSaveBitmapFilter, true);
        if (!file)
            return;
        SaveBitmapFile(p_.document.state, p_.canvas.image(), *file);
        enableSaveBitmap();
        p_.services.information(kSaved);
    });
}

void MainWindow::repaintNow() {
    command([this] { RepaintCalendar(); });
}

void MainWindow::print() {
    command([this] {
        QPrinter& printer = p_.printer();
        if (!p_.services.printDialog(printer))
            return;
        // The client area as drawn on the screen, the date hint included.
        PrintImage(printer, grab().toImage());
    });
}

void MainWindow::printSetup() {
    command([this] { p_.services.printerSetup(p_.printer()); });
}

void MainWindow::enableSaveBitmap() {
    if (saveBitmapEnabled_)
        return;
    saveBitmapEnabled_ = true;
    emit saveBitmapEnabledChanged(true);
}

void MainWindow::fitToImage() {
    // The image under the hint changed size or was replaced: the hint described a day that may
    // no longer lie under it.
    hintLabel->hide();
    const QSize image(p_.canvas.width(), p_.canvas.height());
    const bool screenSized = image == p_.env.screenPixels();
    const Qt::WindowFlags flags =
        screenSized ? Qt::Window | Qt::FramelessWindowHint : Qt::Tool | Qt::WindowTitleHint;
    const bool visible = isVisible();
    if (windowFlags() != flags)
        setWindowFlags(flags); // hides the window
    resize(imageView->size());
    if (visible)
        show();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closed by the window manager: the program ends as through "Exit", after the question
    // about unsaved work; Cancel keeps it open.
    if (!p_.mayDropDesign()) {
        event->ignore();
        return;
    }
    event->accept();
    emit closeRequested();
}

} // namespace gyrodex
