#include "MainWindow.h"

#include "Bitmap.h"
#include "Busy.h"
#include "CalendarFile.h"
#include "DayDialog.h"
#include "DesktopApp.h"
#include "Error.h"
#include "Illustrator.h"
#include "ImageSizeDialog.h"
#include "ImageView.h"
#include "Painter.h"
#include "Print.h"
#include "SharedDialogs.h"
#include "SpinField.h"

#include <QCloseEvent>
#include <QDialog>
#include <QFileInfo>
#include <QPrinter>

namespace gyrodex {

namespace {

constexpr Colour kMainColour = 0xD26F60;

const QString kCalendarFilter = QStringLiteral("Calendar Files (*.cal)|*.cal|All Files (*.*)|*.*");
const QString kBitmapFilter = QStringLiteral("Bitmaps (*.bmp)|*.bmp|All Files (*.*)|*.*");
const QString kSaved = QStringLiteral("Saved!");

} // namespace

MainWindow::MainWindow(DesktopApp& globals)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), g_(globals) {
    setObjectName(QStringLiteral("frmMain"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(kMainColour));
    setPalette(pal);
    setAutoFillBackground(true);
    setGeometry(g_.env.screen);

    // FormCreate: no files yet, every cell without a date, the credit line as caption.
    g_.doc.state.CalendarFileName.clear();
    g_.doc.state.BitmapFileName.clear();
    g_.doc.state.Cells.clear();
    setWindowTitle(CreditLine());
    try {
        g_.recent.ReadRecentLists(g_.env.registry);
    } catch (const Error& e) {
        g_.services.information(e.message());
    }

    dayDialog = new DayDialog(g_.services, *g_.dialogs, this);
    imageSizeDialog = new ImageSizeDialog(this);
    imageView = new ImageView(g_.canvas.image(), this);
    imageView->move(0, 0);
    createToolParts();
}

MainWindow::~MainWindow() = default;

void MainWindow::command(const std::function<void()>& body) {
    RunCommand(g_.services, body);
}

void MainWindow::firstShow() {
    command([this] {
        emit recentCalendarsChanged(g_.recent.AddRecentCalendar({}));
        emit recentBitmapsChanged(g_.recent.AddRecentBitmap({}));
        if (g_.doc.state.BitmapFileName.isEmpty()) {
            ImageCanvas& c = g_.canvas;
            const QSize screen = g_.env.screen.size();
            c.setImage(QImage(screen, QImage::Format_RGB32));
            imageView->imageResized();
            g_.doc.state.updateCentre(c.width(), c.height());
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
            const DayDate today = g_.Today();
            g_.edit({Change::Geometry, QString(),
                     [today](Document& d) { d.state.setDefaultPeriod(today); },
                     Change::Repaint::None, nullptr});
        }
        RepaintCalendar();
    });
}

void MainWindow::writeRecentLists(const std::function<void(const QString&)>& report) {
    try {
        g_.recent.WriteRecentLists(g_.env.registry);
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
    const QRegion before = g_.canvas.takeDrawn();
    overBackground_ += before;
    if (const QRect filled = g_.canvas.takeFilled(); !filled.isEmpty()) {
        clearedWith_.reset();
        imageView->imageChanged(filled);
    }
    imageView->regionChanged(before);
    if (g_.doc.state.RepaintSuspended)
        return;
    emit calendarRepainted();
    gyrodex::RepaintCalendar(g_.doc.state, g_.doc.highlights, g_.canvas, g_.Today(), &g_.host);
}

void MainWindow::showDrawn() {
    const QRegion drawn = g_.canvas.takeDrawn();
    overBackground_ += drawn; // painted over what the image showed
    imageView->regionChanged(drawn);
}

void MainWindow::showRepaint() {
    // Only what changed goes to the screen: at a keystroke that is the old and the new wheel
    // and the credit line, not the whole screen-sized image.
    ImageCanvas& c = g_.canvas;
    const QRegion drawn = c.takeDrawn();
    const QRect filled = c.takeFilled();
    QRegion changed = drawn;
    if (filled.isEmpty()) {
        overBackground_ += drawn; // painted over what the image showed
    } else {
        // Cleared: where the background was already this colour, only the old drawings change.
        const bool whole = filled == QRect(0, 0, c.width(), c.height());
        if (whole && clearedWith_ == g_.doc.state.BackColour)
            changed += overBackground_;
        else
            changed += filled;
        overBackground_ = drawn;
        clearedWith_ = whole ? std::optional<Colour>(g_.doc.state.BackColour) : std::nullopt;
    }
    imageView->regionChanged(changed);
}

void MainWindow::LoadCalendarFile(const QString& fileName, bool addToRecent) {
    // The loader applies what it can; the recent list and the repaint follow a file that was
    // applied, and its message (a stopped load, too many highlights) comes last.
    CalendarLoadResult result;
    g_.edit(
        {Change::Everything, QStringLiteral("Open"),
         [&](Document& d) { result = gyrodex::LoadCalendarFile(d.state, d.highlights, fileName); },
         Change::Repaint::None, nullptr});
    if (result.applied()) {
        if (addToRecent)
            emit recentCalendarsChanged(g_.recent.AddRecentCalendar(fileName));
        RepaintCalendar();
    }
    if (!result.message.isEmpty())
        g_.services.information(result.message);
}

void MainWindow::SaveCalendarFile(const QString& fileName) {
    gyrodex::SaveCalendarFile(g_.doc.state, g_.doc.highlights, fileName);
    g_.services.information(kSaved);
}

void MainWindow::openCalendar() {
    command([this] {
        const auto file = g_.dialogs->askOpenFile(QStringLiteral("Load Calendar Properties"),
                                                  QStringLiteral("CAL"), kCalendarFilter);
        if (file)
            LoadCalendarFile(*file, true);
    });
}

void MainWindow::openCalendarFile(const QString& fileName) {
    command([&] { LoadCalendarFile(fileName, true); });
}

void MainWindow::saveCalendar() {
    if (g_.doc.state.CalendarFileName.isEmpty()) {
        saveCalendarAs();
        return;
    }
    command([this] { SaveCalendarFile(g_.doc.state.CalendarFileName); });
}

void MainWindow::saveCalendarAs() {
    command([this] {
        const auto file = g_.dialogs->askSaveFile(QStringLiteral("Save Calendar Properties"),
                                                  QStringLiteral("CAL"), kCalendarFilter);
        if (file)
            SaveCalendarFile(*file);
    });
}

void MainWindow::exportIllustrator() {
    command([this] {
        const auto file = g_.dialogs->askSaveFile(
            QStringLiteral("Export to Adobe Illustrator"), QStringLiteral("ai"),
            QStringLiteral("Adobe Illustrator Files (*.ai)|*.ai|All Files (*.*)|*.*"));
        if (!file)
            return;
        {
            BusyCursor busy;
            // Day numbers are measured in the image's current font: the day font after a
            // repaint.
            ExportToIllustrator(*file, g_.doc.state, g_.doc.highlights, g_.Today(),
                                [this](const QString& text) { return g_.canvas.textExtent(text); });
        }
        g_.services.information(kSaved);
    });
}

void MainWindow::openRecentCalendar(int tag) {
    if (tag < 1 || tag > kRecentSlots)
        return;
    command([this, tag] {
        const QString& name = g_.recent.RecentCalendars.names[static_cast<std::size_t>(tag - 1)];
        // Unlike "Open", which starts a new design under a new name, a recent file that is gone
        // (or on a drive that isn't mounted) keeps the open design; the entry stays.
        if (!QFileInfo::exists(name))
            throw Error(QStringLiteral("Unable to read %1").arg(name));
        LoadCalendarFile(name, false);
    });
}

void MainWindow::changeImageSize() {
    command([this] {
        ImageSizeDialog& dialog = *imageSizeDialog;
        if (g_.services.exec(dialog) != QDialog::Accepted)
            return;
        ResizeBitmap(g_.doc.state, g_.canvas, dialog.widthField->value(),
                     dialog.heightField->value());
        imageView->imageResized();
        fitToImage();
        move(g_.env.screen.topLeft());
        RepaintCalendar();
    });
}

void MainWindow::loadBitmap() {
    command([this] {
        const auto file = g_.dialogs->askOpenFile(QStringLiteral("Load Bitmap"),
                                                  QStringLiteral("BMP"), kBitmapFilter, true);
        if (file)
            LoadBitmapFile(*file, true);
    });
}

void MainWindow::LoadBitmapFile(const QString& fileName, bool addToRecent) {
    gyrodex::LoadBitmapFile(g_.doc.state, g_.canvas, fileName);
    enableSaveBitmap();
    imageView->imageResized();
    fitToImage();
    // Centred on the screen by the window's outer size; a picture larger than the screen
    // gives negative left and top.
    const QSize outer = size() + (frameGeometry().size() - geometry().size());
    const QRect screen = g_.env.screen;
    move(screen.left() + (screen.width() - outer.width()) / 2,
         screen.top() + (screen.height() - outer.height()) / 2);
    if (addToRecent)
        emit recentBitmapsChanged(g_.recent.AddRecentBitmap(g_.doc.state.BitmapFileName));
}

void MainWindow::openRecentBitmap(int tag) {
    if (tag < 1 || tag > kRecentSlots)
        return;
    command([this, tag] {
        LoadBitmapFile(g_.recent.RecentBitmaps.names[static_cast<std::size_t>(tag - 1)], false);
    });
}

void MainWindow::saveBitmap() {
    if (!HasBitmapFile(g_.doc.state)) {
        saveBitmapAs();
        return;
    }
    command([this] {
        SaveBitmapFile(g_.doc.state, g_.canvas.image(), g_.doc.state.BitmapFileName);
        g_.services.information(kSaved);
    });
}

void MainWindow::saveBitmapAs() {
    command([this] {
        const auto file = g_.dialogs->askSaveFile(QStringLiteral("Save Bitmap"),
                                                  QStringLiteral("BMP"), kBitmapFilter, true);
        if (!file)
            return;
        SaveBitmapFile(g_.doc.state, g_.canvas.image(), *file);
        enableSaveBitmap();
        g_.services.information(kSaved);
    });
}

void MainWindow::repaintNow() {
    command([this] { RepaintCalendar(); });
}

void MainWindow::print() {
    command([this] {
        QPrinter& printer = g_.Printer();
        if (!g_.services.printDialog(printer))
            return;
        // The client area as drawn on the screen, the date hint included.
        PrintImage(printer, grab().toImage());
    });
}

void MainWindow::printSetup() {
    command([this] { g_.services.printerSetup(g_.Printer()); });
}

void MainWindow::enableSaveBitmap() {
    if (saveBitmapEnabled_)
        return;
    saveBitmapEnabled_ = true;
    emit saveBitmapEnabledChanged(true);
}

void MainWindow::fitToImage() {
    const QSize image(g_.canvas.width(), g_.canvas.height());
    const bool screenSized = image == g_.env.screen.size();
    const Qt::WindowFlags flags =
        screenSized ? Qt::Window | Qt::FramelessWindowHint : Qt::Tool | Qt::WindowTitleHint;
    const bool visible = isVisible();
    if (windowFlags() != flags)
        setWindowFlags(flags); // hides the window
    resize(image);
    if (visible)
        show();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closed by the window manager: the program ends as through "Exit".
    event->accept();
    emit closeRequested();
}

} // namespace gyrodex
