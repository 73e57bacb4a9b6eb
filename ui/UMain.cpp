#include "UMain.h"

#include "Bitmap.h"
#include "Busy.h"
#include "CalendarFile.h"
#include "Error.h"
#include "Globals.h"
#include "Illustrator.h"
#include "ImageView.h"
#include "Painter.h"
#include "Print.h"
#include "SpinField.h"
#include "UDMod.h"
#include "USize.h"

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

TfrmMain::TfrmMain(Globals& globals)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), g_(globals) {
    setObjectName(QStringLiteral("frmMain"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(kMainColour));
    setPalette(pal);
    setAutoFillBackground(true);
    setGeometry(g_.env.screen);

    // FormCreate: no files yet, every cell without a date, the credit line as caption.
    g_.state.CalendarFileName.clear();
    g_.state.BitmapFileName.clear();
    g_.state.Cells.clear();
    setWindowTitle(CreditLine());
    try {
        g_.recent.ReadRecentLists(g_.env.registry);
    } catch (const Error& e) {
        g_.services.information(e.message());
    }

    Img = new ImageView(g_.canvas.image(), this);
    Img->move(0, 0);
    createToolParts();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::command(const std::function<void()>& body) {
    RunCommand(g_.services, body);
}

void TfrmMain::FormShow() {
    command([this] {
        emit recentCalendarsChanged(g_.recent.AddRecentCalendar({}));
        emit recentBitmapsChanged(g_.recent.AddRecentBitmap({}));
        if (g_.state.BitmapFileName.isEmpty()) {
            ImageCanvas& c = g_.canvas;
            const QSize screen = g_.env.screen.size();
            c.setImage(QImage(screen, QImage::Format_RGB32));
            Img->imageResized();
            g_.state.updateCentre(c.width(), c.height());
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
            {
                const SuspendRepaint batch(g_.state);
                g_.state.setDefaultPeriod(g_.Today());
            }
            emit g_.designChanged();
        }
        RepaintCalendar();
    });
}

void TfrmMain::FormDestroy(const std::function<void(const QString&)>& report) {
    try {
        g_.recent.WriteRecentLists(g_.env.registry);
    } catch (const Error& e) {
        report(e.message());
    }
}

void TfrmMain::RepaintCalendar() {
    // The view shows whatever the painter got to, also when a highlight stops it.
    struct Show {
        TfrmMain* main;
        ~Show() { main->showRepaint(); }
    } show{this};
    // Whatever was written since the last repaint lies over the background too.
    const QRegion before = g_.canvas.takeDrawn();
    overBackground_ += before;
    if (const QRect filled = g_.canvas.takeFilled(); !filled.isEmpty()) {
        clearedWith_.reset();
        Img->imageChanged(filled);
    }
    Img->regionChanged(before);
    if (g_.state.RepaintSuspended)
        return;
    emit calendarRepainted();
    gyrodex::RepaintCalendar(g_.state, g_.highlights, g_.canvas, g_.Today(), &g_.host);
}

void TfrmMain::showRepaint() {
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
        if (whole && clearedWith_ == g_.state.BackColour)
            changed += overBackground_;
        else
            changed += filled;
        overBackground_ = drawn;
        clearedWith_ = whole ? std::optional<Colour>(g_.state.BackColour) : std::nullopt;
    }
    Img->regionChanged(changed);
}

void TfrmMain::LoadCalendarFile(const QString& fileName, bool addToRecent) {
    struct Changed {
        Globals& g;
        ~Changed() { emit g.designChanged(); }
    } changed{g_};
    // The loader applies what it can; the recent list and the repaint follow a file that was
    // applied, and its message (a stopped load, too many highlights) comes last.
    const CalendarLoadResult result = gyrodex::LoadCalendarFile(g_.state, g_.highlights, fileName);
    if (result.applied()) {
        if (addToRecent)
            emit recentCalendarsChanged(g_.recent.AddRecentCalendar(fileName));
        RepaintCalendar();
    }
    if (!result.message.isEmpty())
        g_.services.information(result.message);
}

void TfrmMain::SaveCalendarFile(const QString& fileName) {
    gyrodex::SaveCalendarFile(g_.state, g_.highlights, fileName);
    g_.services.information(kSaved);
}

void TfrmMain::Open2Click() {
    command([this] {
        const auto file = g_.DMod->OpenFDlg(QStringLiteral("Load Calendar Properties"),
                                            QStringLiteral("CAL"), kCalendarFilter);
        if (file)
            LoadCalendarFile(*file, true);
    });
}

void TfrmMain::openCalendarFile(const QString& fileName) {
    command([&] { LoadCalendarFile(fileName, true); });
}

void TfrmMain::Save1Click() {
    if (g_.state.CalendarFileName.isEmpty()) {
        SaveAs1Click();
        return;
    }
    command([this] { SaveCalendarFile(g_.state.CalendarFileName); });
}

void TfrmMain::SaveAs1Click() {
    command([this] {
        const auto file = g_.DMod->SaveFDlg(QStringLiteral("Save Calendar Properties"),
                                            QStringLiteral("CAL"), kCalendarFilter);
        if (file)
            SaveCalendarFile(*file);
    });
}

void TfrmMain::ExporttoAIformat1Click() {
    command([this] {
        const auto file = g_.DMod->SaveFDlg(
            QStringLiteral("Export to Adobe Illustrator"), QStringLiteral("ai"),
            QStringLiteral("Adobe Illustrator Files (*.ai)|*.ai|All Files (*.*)|*.*"));
        if (!file)
            return;
        {
            BusyCursor busy;
            // Day numbers are measured in the image's current font: the day font after a
            // repaint.
            ExportToIllustrator(*file, g_.state, g_.highlights, g_.Today(),
                                [this](const QString& text) { return g_.canvas.textExtent(text); });
        }
        g_.services.information(kSaved);
    });
}

void TfrmMain::cmRecentCal1Click(int tag) {
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

void TfrmMain::Size1Click() {
    command([this] {
        TfrmSize& dialog = *g_.frmSize;
        if (g_.services.exec(dialog) != QDialog::Accepted)
            return;
        ResizeBitmap(g_.state, g_.canvas, dialog.spnWidth->value(), dialog.spnHeight->value());
        Img->imageResized();
        fitToImage();
        move(g_.env.screen.topLeft());
        RepaintCalendar();
    });
}

void TfrmMain::LoadBitmap1Click() {
    command([this] {
        const auto file = g_.DMod->OpenFDlg(QStringLiteral("Load Bitmap"), QStringLiteral("BMP"),
                                            kBitmapFilter, true);
        if (file)
            LoadBitmapFile(*file, true);
    });
}

void TfrmMain::LoadBitmapFile(const QString& fileName, bool addToRecent) {
    gyrodex::LoadBitmapFile(g_.state, g_.canvas, fileName);
    enableSaveBitmap();
    Img->imageResized();
    fitToImage();
    // Centred on the screen by the window's outer size; a picture larger than the screen
    // gives negative left and top.
    const QSize outer = size() + (frameGeometry().size() - geometry().size());
    const QRect screen = g_.env.screen;
    move(screen.left() + (screen.width() - outer.width()) / 2,
         screen.top() + (screen.height() - outer.height()) / 2);
    if (addToRecent)
        emit recentBitmapsChanged(g_.recent.AddRecentBitmap(g_.state.BitmapFileName));
}

void TfrmMain::cmRecentBMP1Click(int tag) {
    if (tag < 1 || tag > kRecentSlots)
        return;
    command([this, tag] {
        LoadBitmapFile(g_.recent.RecentBitmaps.names[static_cast<std::size_t>(tag - 1)], false);
    });
}

void TfrmMain::SaveBitmap1Click() {
    if (!HasBitmapFile(g_.state)) {
        SaveBitmapAs1Click();
        return;
    }
    command([this] {
        SaveBitmapFile(g_.state, g_.canvas.image(), g_.state.BitmapFileName);
        g_.services.information(kSaved);
    });
}

void TfrmMain::SaveBitmapAs1Click() {
    command([this] {
        const auto file = g_.DMod->SaveFDlg(QStringLiteral("Save Bitmap"), QStringLiteral("BMP"),
                                            kBitmapFilter, true);
        if (!file)
            return;
        SaveBitmapFile(g_.state, g_.canvas.image(), *file);
        enableSaveBitmap();
        g_.services.information(kSaved);
    });
}

void TfrmMain::SpeedButton2Click() {
    command([this] { RepaintCalendar(); });
}

void TfrmMain::SpeedButton5Click() {
    command([this] {
        QPrinter& printer = g_.Printer();
        if (!g_.services.printDialog(printer))
            return;
        // The client area as drawn on the screen, the date hint included.
        PrintImage(printer, grab().toImage());
    });
}

void TfrmMain::SpeedButton6Click() {
    command([this] { g_.services.printerSetup(g_.Printer()); });
}

void TfrmMain::enableSaveBitmap() {
    if (saveBitmapEnabled_)
        return;
    saveBitmapEnabled_ = true;
    emit saveBitmapEnabledChanged(true);
}

void TfrmMain::fitToImage() {
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

void TfrmMain::closeEvent(QCloseEvent* event) {
    // Closed by the window manager: the program ends as through "Exit".
    event->accept();
    emit g_.quitRequested();
}

} // namespace gyrodex
