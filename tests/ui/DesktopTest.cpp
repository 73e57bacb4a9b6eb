#include "Bitmap.h"
#include "CommandLine.h"
#include "DayDialog.h"
#include "DesktopApp.h"
#include "FileFilter.h"
#include "FileName.h"
#include "HelpWindows.h"
#include "HighlightDialog.h"
#include "ImageSizeDialog.h"
#include "ImageView.h"
#include "MainWindow.h"
#include "Painter.h"
#include "Palette.h"
#include "ProgramSettings.h"
#include "PropertiesPanel.h"
#include "QtServices.h"
#include "SaveFile.h"
#include "ScriptedServices.h"
#include "SetupDialog.h"
#include "SharedDialogs.h"
#include "SpinField.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cstring>
#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace gyrodex;

namespace {

// Makes a window the active one, as the window manager does when it is clicked: keys reach
// the program's shortcuts through the active window.
void Activate(QWidget* window) {
    window->activateWindow();
    QApplication::setActiveWindow(window);
    ASSERT_EQ(QApplication::activeWindow(), window);
}

void WriteText(const QString& fileName, const QByteArray& text) {
    QFile f(fileName);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QByteArray ReadText(const QString& fileName) {
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class Desktop : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkpath(QStringLiteral("bin"));
    }

    Environment environment() {
        return {dir.filePath(QStringLiteral("bin/gyrodex")), registry(), QRect(0, 0, 1024, 768),
                [this] { return today; }};
    }

    RegistryService registry() const {
        return {dir.filePath(QStringLiteral("cfg/Vantoric/Gyrodex.conf")),
                dir.filePath(QStringLiteral("etc/Vantoric/Gyrodex.conf"))};
    }

    void start() {
        g = std::make_unique<DesktopApp>(services, environment());
        QObject::connect(g->mainWindow.get(), &MainWindow::calendarRepainted,
                         [this] { ++repaints; });
        g->Start();
    }

    MainWindow& main() { return *g->mainWindow; }
    Palette& palette() { return *g->palette; }

    QString path(const QString& name) const { return dir.filePath(name); }

    // A calendar file with its own radius, so a load can be seen.
    QString calendar(const QString& name, int radius = 300) {
        const QString file = path(name);
        WriteText(file, QStringLiteral("[Misc]\r\nRadius=%1\r\nStartDate=01/05/2026\r\n"
                                       "EndDate=12/20/2026\r\n")
                            .arg(radius)
                            .toUtf8());
        return file;
    }

    RecentList storedCalendars() {
        RecentFiles stored;
        stored.ReadRecentLists(registry());
        return stored.RecentCalendars;
    }

    QTemporaryDir dir;
    ScriptedServices services;
    QDate today{2026, 12, 8};
    std::unique_ptr<DesktopApp> g;
    int repaints = 0;
};

TEST_F(Desktop, FirstShowPaintsTodaysDefaultWheelOnceOverTheStartTexts) {
    start();
    const CalendarState& s = g->doc.state;
    EXPECT_EQ(s.StartDate, MakeDayDate(28, 11, 2026));
    EXPECT_EQ(s.EndDate, MakeDayDate(15, 8, 2027));
    EXPECT_FALSE(s.RepaintSuspended);
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(g->canvas.image().size(), QSize(1024, 768));
    EXPECT_EQ(main().geometry(), QRect(0, 0, 1024, 768));
    EXPECT_TRUE(main().windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(main().windowTitle(), CreditLine());
    EXPECT_EQ(main().imageView->size(), QSize(1024, 768));
    // Today lies in the wheel's grid, and the period's first day at the start week's spoke.
    bool todayFound = false;
    for (int spoke = 0; spoke < kSpokes; ++spoke)
        for (int ring = 1; ring <= kRings; ++ring)
            todayFound |= s.Cells.at(spoke, ring).date == MakeDayDate(8, 12, 2026);
    EXPECT_TRUE(todayFound);
    EXPECT_EQ(s.Cells.at(21, 6).date, MakeDayDate(28, 11, 2026));
    // "Repaint All" covered both start texts: the middle rows hold only the background.
    const QImage& image = g->canvas.image();
    const QRgb background = ToQColor(s.BackColour).rgb();
    for (int y = 768 / 2 - 20; y < 768 / 2 + 14; ++y)
        for (int x = 340; x < 684; x += 3)
            ASSERT_EQ(image.pixel(x, y), background) << x << "," << y;
}

// Every tool button says what it does to the pointer's hint and to screen readers, and shows a
// picture of its own.
TEST_F(Desktop, EveryToolButtonIsNamedAndHasAPicture) {
    start();
    const QStringList meanings = {
        "Move the wheel", "Pick a colour",  "Pick a date for the highlight editor",
        "Fill a day",     "Describe a day", "Remove a day's highlight"};
    const Palette& p = palette();
    QList<QImage> pictures;
    for (std::size_t k = 0; k < p.tools.size(); ++k) {
        const QToolButton* button = p.tools[k];
        EXPECT_EQ(button->toolTip(), meanings.at(static_cast<qsizetype>(k)));
        EXPECT_EQ(button->accessibleName(), meanings.at(static_cast<qsizetype>(k)));
        const QImage picture = button->icon().pixmap(QSize(20, 20)).toImage();
        ASSERT_FALSE(picture.isNull()) << k;
        EXPECT_FALSE(pictures.contains(picture)) << k;
        pictures << picture;
    }
}

// Open, Save, Save As, Print, Exit and the shortcut list answer their standard keys in the
// main window, the palette and a panel alike; the menus show the keys.
TEST_F(Desktop, StandardShortcutsWorkFromEveryWindow) {
    start();
    Palette& p = palette();
    EXPECT_EQ(p.openAction->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(p.saveAsAction->shortcut().toString(), "Ctrl+Shift+S");
    EXPECT_EQ(p.helpMenu->title(), "&Help");
    // Help stands under File and BMP, which keep their places in the narrow palette.
    EXPECT_EQ(p.mainMenu->actions().size(), 2);
    EXPECT_EQ(p.moreMenus->actions(),
              QList<QAction*>({p.editMenu->menuAction(), p.helpMenu->menuAction()}));
    EXPECT_GE(p.moreMenus->geometry().top(), p.mainMenu->geometry().bottom());
    EXPECT_LE(p.moreMenus->geometry().bottom(), p.area->geometry().top());
    EXPECT_EQ(p.area->size(), QSize(75, 244));
    QStringList help;
    for (QAction* a : p.helpMenu->actions())
        help << a->text();
    EXPECT_EQ(help, QStringList({"&Keyboard Shortcuts", "&About Gyrodex"}));

    int quits = 0;
    QObject::connect(g.get(), &DesktopApp::quitRequested, [&] { ++quits; });
    g->propertiesPanel->show();
    const QString cal = path("year.cal");
    for (QWidget* window : {static_cast<QWidget*>(&main()), static_cast<QWidget*>(&p),
                            static_cast<QWidget*>(g->propertiesPanel)}) {
        Activate(window);
        const std::size_t asked = services.fileRequests.size();
        services.openAnswers = {QString()};
        QTest::keyClick(window, Qt::Key_O, Qt::ControlModifier);
        ASSERT_EQ(services.fileRequests.size(), asked + 1) << window->objectName().toStdString();
        EXPECT_EQ(services.fileRequests.back().title, "Load Calendar Properties");
        services.saveAnswers = {cal};
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(services.fileRequests.size(), asked + 2);
        EXPECT_EQ(services.fileRequests.back().title, "Save Calendar Properties");
        QFile::remove(cal);
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier); // to the design's file
        EXPECT_EQ(services.fileRequests.size(), asked + 2);
        EXPECT_TRUE(QFile::exists(cal));
        const int prints = services.printDialogs;
        QTest::keyClick(window, Qt::Key_P, Qt::ControlModifier);
        EXPECT_EQ(services.printDialogs, prints + 1);
        bool listed = false;
        services.dialogScripts.push_back([&](QDialog& d) {
            const auto& shortcuts = dynamic_cast<ShortcutsDialog&>(d);
            EXPECT_EQ(shortcuts.windowTitle(), "Keyboard Shortcuts");
            EXPECT_EQ(shortcuts.listText(), "Open\tCtrl+O\nSave\tCtrl+S\nSave As\tCtrl+Shift+S\n"
                                            "Print\tCtrl+P\nExit\tCtrl+Q\n"
                                            "Keyboard Shortcuts\tF1");
            listed = true;
        });
        QTest::keyClick(window, Qt::Key_F1);
        EXPECT_TRUE(listed);
        const int before = quits;
        QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
        EXPECT_EQ(quits, before + 1);
    }

    p.aboutAction->trigger();
    ASSERT_FALSE(services.messages.isEmpty());
    EXPECT_TRUE(services.messages.last().startsWith("Gyrodex 1.0"));
    EXPECT_TRUE(services.messages.last().contains(QString::fromLatin1(qVersion())));
    EXPECT_TRUE(services.messages.last().contains("Licen"));
}

TEST_F(Desktop, PaletteAndMenusStartAsLaidOut) {
    start();
    Palette& p = palette();
    EXPECT_EQ(p.windowTitle(), "Gyrodex v1.1");
    EXPECT_TRUE(p.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(p.area->size(), QSize(75, 244));
    EXPECT_EQ(p.repaintButton->geometry(), QRect(0, 1, 75, 19));
    EXPECT_EQ(p.exitButton->geometry(), QRect(0, 115, 75, 19));
    EXPECT_EQ(p.exitButton->text(), "Exit");
    EXPECT_EQ(p.previewBox->geometry(), QRect(59, 4, 13, 13));
    EXPECT_TRUE(p.previewBox->isChecked());
    EXPECT_EQ(p.previewBox->toolTip(), "Automatic Preview");
    EXPECT_EQ(p.tools[2]->geometry(), QRect(50, 135, 25, 25));
    EXPECT_EQ(p.tools[5]->geometry(), QRect(50, 160, 25, 25));
    EXPECT_TRUE(p.tools[0]->isChecked());
    EXPECT_FALSE(p.tools[3]->icon().isNull());
    EXPECT_EQ(p.currentSwatch->geometry(), QRect(0, 186, 48, 48));
    EXPECT_EQ(p.alternateSwatch->geometry(), QRect(27, 196, 48, 48));
    EXPECT_EQ(p.currentSwatch->colour(), 0xFFFFFFu);
    EXPECT_EQ(p.alternateSwatch->colour(), 0u);

    EXPECT_EQ(p.fileMenu->title(), "&File");
    EXPECT_EQ(p.bitmapMenu->title(), "&BMP");
    QStringList file;
    for (QAction* a : p.fileMenu->actions())
        file << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(file, QStringList({"&Open...", "&Reopen", "-", "&Save", "Save &As..",
                                 "&Export to Adobe Illustrator (*.ai) format", "-",
                                 "&Program Setup..."}));
    QStringList bmp;
    for (QAction* a : p.bitmapMenu->actions())
        bmp << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(bmp, QStringList({"Si&ze", "-", "&Load Bitmap...", "Re&open", "-", "&Save Bitmap",
                                "Save Bitmap &As..."}));
    EXPECT_FALSE(p.reopenCalendarMenu->menuAction()->isEnabled());
    EXPECT_FALSE(p.reopenBitmapMenu->menuAction()->isEnabled());
    EXPECT_FALSE(p.saveBitmapAction->isEnabled());
    EXPECT_TRUE(p.saveBitmapAsAction->isEnabled());
    EXPECT_TRUE(p.openAction->isEnabled());

    // Tools form one radio group; the choice reaches the state.
    p.tools[3]->click();
    EXPECT_EQ(g->doc.state.CurrentTool, PaintTool::Fill);
    EXPECT_FALSE(p.tools[0]->isChecked());
    p.tools[5]->click();
    EXPECT_EQ(g->doc.state.CurrentTool, PaintTool::Erase);
    EXPECT_FALSE(p.tools[3]->isChecked());
}

TEST_F(Desktop, OpenAndReopenKeepTheRecentCalendars) {
    start();
    const QString a = calendar("a.cal", 300);
    const QString b = calendar("b.cal", 400);
    services.openAnswers = {a, b};
    palette().openAction->trigger();
    EXPECT_EQ(g->doc.state.Radius, 300);
    palette().openAction->trigger();
    EXPECT_EQ(g->doc.state.Radius, 400);
    EXPECT_EQ(repaints, 3);
    ASSERT_EQ(services.fileRequests.size(), 2u);
    EXPECT_EQ(services.fileRequests[0].title, "Load Calendar Properties");
    EXPECT_EQ(services.fileRequests[0].defaultExtension, "CAL");
    EXPECT_EQ(services.fileRequests[0].filter, "Calendar Files (*.cal)|*.cal|All Files (*.*)|*.*");
    EXPECT_TRUE(palette().reopenCalendarMenu->menuAction()->isEnabled());
    EXPECT_EQ(palette().recentCalendarActions[0]->text(), b);
    EXPECT_TRUE(palette().recentCalendarActions[1]->isEnabled());
    EXPECT_FALSE(palette().recentCalendarActions[2]->isEnabled());

    g->Shutdown(true);
    RecentList stored = storedCalendars();
    EXPECT_EQ(stored.count, 2);
    EXPECT_EQ(stored.names[0], b);
    EXPECT_EQ(stored.names[1], a);

    // Five opens keep the newest four; the same file twice takes two slots.
    const QString c = calendar("c.cal"), d = calendar("d.cal"), e = calendar("e.cal");
    services.openAnswers = {c, d, e, e};
    for (int i = 0; i < 4; ++i)
        palette().openAction->trigger();
    const RecentList& list = g->recent.RecentCalendars;
    EXPECT_EQ(list.count, 4);
    EXPECT_EQ(list.names, (std::array<QString, 4>{e, e, d, c}));

    // Reopening slot 3 loads that file and leaves the list as it was.
    palette().recentCalendarActions[2]->trigger();
    EXPECT_EQ(g->doc.state.CalendarFileName, d);
    EXPECT_EQ(list.names, (std::array<QString, 4>{e, e, d, c}));
    g->Shutdown(true);
    stored = storedCalendars();
    EXPECT_EQ(stored.count, 4);
    EXPECT_EQ(stored.names[0], e);
    EXPECT_EQ(stored.names[3], c);
}

TEST_F(Desktop, ReopeningAFileThatIsGoneKeepsTheOpenDesign) {
    start();
    const QString a = calendar("a.cal", 300);
    const QString b = calendar("b.cal", 400);
    services.openAnswers = {a, b};
    palette().openAction->trigger();
    palette().openAction->trigger();
    ASSERT_TRUE(QFile::remove(a));
    palette().recentCalendarActions[1]->trigger();
    EXPECT_EQ(services.messages, QStringList({"Unable to read " + a}));
    EXPECT_EQ(g->doc.state.CalendarFileName, b);
    EXPECT_EQ(g->doc.state.Radius, 400);
    EXPECT_EQ(g->recent.RecentCalendars.names[1], a); // it may be on a drive not mounted
}

TEST_F(Desktop, ARecentNameThatIsNotUtf8ReopensAndSavesItsOwnFile) {
    // "café.cal" written in Latin-1, as a file copied from an older disk is named.
    const QString latin1 = FileNameFromBytes(QFile::encodeName(dir.path()) + "/caf\xE9.cal");
    SaveFileWhole(latin1, *ReadFileWhole(calendar("source.cal", 350)));
    RecentFiles earlier;
    earlier.AddRecentCalendar(latin1);
    earlier.WriteRecentLists(registry());

    start();
    palette().recentCalendarActions[0]->trigger();
    EXPECT_TRUE(services.messages.isEmpty()) << services.messages.join('\n').toStdString();
    EXPECT_EQ(g->doc.state.CalendarFileName, latin1);
    EXPECT_EQ(g->doc.state.Radius, 350);

    g->doc.state.Radius = 360;
    palette().saveAction->trigger();
    EXPECT_TRUE(ReadFileWhole(latin1)->contains("Radius=360"));
    int cafes = 0; // files named "caf…" by their bytes: no second, mangled one
    DIR* folder = ::opendir(QFile::encodeName(dir.path()).constData());
    ASSERT_NE(folder, nullptr);
    while (const dirent* entry = ::readdir(folder))
        cafes += std::strncmp(entry->d_name, "caf", 3) == 0;
    ::closedir(folder);
    EXPECT_EQ(cafes, 1);
    g->Shutdown(true);
    EXPECT_EQ(FileNameBytes(storedCalendars().names[0]), FileNameBytes(latin1));
}

TEST_F(Desktop, AFailedLoadShowsItsMessageAndStillNamesTheFile) {
    start();
    const QString bad = path("bad.cal");
    WriteText(bad, "[Misc]\r\nRadius=500\r\nStartDate=1/19/1998\r\n");
    services.openAnswers = {bad};
    palette().openAction->trigger();
    EXPECT_EQ(services.messages, QStringList({"'9/' is not a valid integer value"}));
    EXPECT_EQ(g->doc.state.CalendarFileName, bad);
    EXPECT_EQ(g->doc.state.Radius, 500);
    EXPECT_FALSE(g->doc.state.RepaintSuspended);
    EXPECT_EQ(g->recent.RecentCalendars.count, 0);
    EXPECT_EQ(repaints, 1);
}

TEST_F(Desktop, SaveAsksForANameOnlyUntilTheDesignHasOne) {
    start();
    const QString file = path("mine.cal");
    services.saveAnswers = {file};
    palette().saveAction->trigger();
    ASSERT_EQ(services.fileRequests.size(), 1u);
    EXPECT_EQ(services.fileRequests[0].title, "Save Calendar Properties");
    EXPECT_EQ(services.messages, QStringList({"Saved!"}));
    EXPECT_TRUE(ReadText(file).contains("Radius=360"));

    g->doc.state.Radius = 420;
    palette().saveAction->trigger();
    EXPECT_EQ(services.fileRequests.size(), 1u);
    EXPECT_TRUE(ReadText(file).contains("Radius=420"));
    EXPECT_EQ(g->recent.RecentCalendars.count, 0);

    // A cancelled Save As writes nothing and says nothing.
    palette().saveAsAction->trigger();
    EXPECT_EQ(services.messages.size(), 2);

    // A folder that does not exist: the message names the file, nothing says "Saved!".
    services.saveAnswers = {path("no/such/folder/x.cal")};
    palette().saveAsAction->trigger();
    EXPECT_EQ(services.messages.last(),
              QStringLiteral("Unable to write to %1").arg(path("no/such/folder/x.cal")));
}

TEST_F(Desktop, ExportWritesTheDrawingThenSaysSaved) {
    start();
    services.saveAnswers = {path("wheel")};
    palette().exportIllustratorAction->trigger();
    ASSERT_EQ(services.fileRequests.size(), 1u);
    EXPECT_EQ(services.fileRequests[0].title, "Export to Adobe Illustrator");
    EXPECT_EQ(services.fileRequests[0].defaultExtension, "ai");
    EXPECT_EQ(services.fileRequests[0].filter,
              "Adobe Illustrator Files (*.ai)|*.ai|All Files (*.*)|*.*");
    EXPECT_EQ(services.messages, QStringList({"Saved!"}));
    EXPECT_TRUE(ReadText(path("wheel")).startsWith("%!PS-Adobe-3.0 EPSF-3.0\r\n"));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// "Save Bitmap As" writes a PNG for a ".png" name, pixel for pixel, and "Save Bitmap" then
// keeps writing PNG to it; "Load Bitmap" offers and opens PNG and JPEG files.
TEST_F(Desktop, BitmapsMayBePngOrJpeg) {
    start();
    const QString png = path("wheel.png");
    services.saveAnswers = {png};
    palette().saveBitmapAsAction->trigger();
    EXPECT_EQ(services.messages, QStringList({"Saved!"}));
    const QByteArray head = ReadText(png).left(4);
    EXPECT_EQ(head, QByteArray("\x89PNG"));
    EXPECT_EQ(QImage(png).convertToFormat(QImage::Format_RGB32),
              g->canvas.image().convertToFormat(QImage::Format_RGB32));
    palette().saveBitmapAction->trigger();
    EXPECT_EQ(ReadText(png).left(4), head);
    EXPECT_EQ(g->doc.state.BitmapFileName, png);

    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::darkRed);
    const QString jpeg = path("photo.jpg");
    ASSERT_TRUE(picture.save(jpeg, "JPEG"));
    for (const QString& file : {png, jpeg}) {
        services.openAnswers = {file};
        palette().loadBitmapAction->trigger();
        EXPECT_EQ(services.fileRequests.back().filter,
                  "Bitmaps (*.bmp)|*.bmp|PNG Images (*.png)|*.png|JPEG Images "
                  "(*.jpg;*.jpeg)|*.jpg;*.jpeg|All Files (*.*)|*.*");
        EXPECT_EQ(g->doc.state.BitmapFileName, file);
    }
    EXPECT_EQ(services.messages, QStringList({"Saved!", "Saved!"}));
    EXPECT_EQ(g->canvas.image().size(), QSize(300, 200));
    EXPECT_EQ(g->recent.RecentBitmaps.count, 2);
}

TEST_F(Desktop, SaveBitmapIsEnabledByTheFirstFileAndAsksAgainAfterAResize) {
    start();
    Palette& p = palette();
    EXPECT_FALSE(p.saveBitmapAction->isEnabled());
    // Without a file "Save Bitmap" is "Save Bitmap As"; cancelling writes nothing.
    main().saveBitmap();
    ASSERT_EQ(services.fileRequests.size(), 1u);
    EXPECT_EQ(services.fileRequests[0].title, "Save Bitmap");
    EXPECT_EQ(services.fileRequests[0].defaultExtension, "BMP");
    EXPECT_EQ(services.fileRequests[0].filter,
              "Bitmaps (*.bmp)|*.bmp|PNG Images (*.png)|*.png|All Files (*.*)|*.*");
    EXPECT_TRUE(services.fileRequests[0].picturePreview);
    EXPECT_TRUE(services.messages.isEmpty());
    EXPECT_FALSE(p.saveBitmapAction->isEnabled());

    const QString shot = path("shot.bmp");
    services.saveAnswers = {shot};
    p.saveBitmapAsAction->trigger();
    EXPECT_EQ(services.messages, QStringList({"Saved!"}));
    EXPECT_TRUE(p.saveBitmapAction->isEnabled());
    EXPECT_EQ(g->doc.state.BitmapFileName, shot);
    EXPECT_EQ(QImage(shot).size(), QSize(1024, 768));
    EXPECT_EQ(g->recent.RecentBitmaps.count, 0);

    p.saveBitmapAction->trigger();
    EXPECT_EQ(services.fileRequests.size(), 2u);
    EXPECT_EQ(services.messages.size(), 2);

    // After a resize the image has no file: Save Bitmap asks, and stays enabled.
    services.dialogScripts.push_back([](QDialog& d) {
        auto& size = dynamic_cast<ImageSizeDialog&>(d);
        size.widthField->setValue(800);
        size.heightField->setValue(600);
        size.okButton->click();
    });
    p.sizeAction->trigger();
    EXPECT_EQ(g->doc.state.BitmapFileName, "$");
    EXPECT_TRUE(p.saveBitmapAction->isEnabled());
    p.saveBitmapAction->trigger();
    EXPECT_EQ(services.fileRequests.size(), 3u);
}

TEST_F(Desktop, SizeDialogPresetsCancelAndTheFrameRule) {
    start();
    ImageSizeDialog& size = *g->mainWindow->imageSizeDialog;
    EXPECT_EQ(size.windowTitle(), "New Image Size");
    EXPECT_EQ(size.widthField->value(), 1024);
    EXPECT_EQ(size.heightField->value(), 768);
    EXPECT_EQ(size.presetBox->currentIndex(), -1);
    EXPECT_EQ(size.presetBox->count(), 7);
    size.presetChosen(size.presetBox->findText("1280x1024"));
    EXPECT_EQ(size.widthField->value(), 1280);
    EXPECT_EQ(size.heightField->value(), 1024);

    // Cancel leaves the image alone.
    services.dialogScripts.push_back([](QDialog& d) { d.reject(); });
    palette().sizeAction->trigger();
    EXPECT_EQ(g->canvas.image().size(), QSize(1024, 768));
    EXPECT_EQ(repaints, 1);

    // Any other size than the screen's gets a tool-window frame, at the screen's corner.
    services.dialogScripts.push_back([](QDialog& d) { d.accept(); });
    palette().sizeAction->trigger();
    EXPECT_EQ(g->canvas.image().size(), QSize(1280, 1024));
    EXPECT_EQ(main().size(), QSize(1280, 1024));
    EXPECT_EQ(main().imageView->size(), QSize(1280, 1024));
    EXPECT_TRUE(main().windowFlags().testFlag(Qt::Tool));
    EXPECT_FALSE(main().windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(main().pos(), QPoint(0, 0));
    EXPECT_EQ(g->doc.state.CentreX, 640);
    EXPECT_EQ(repaints, 2);
    EXPECT_TRUE(main().isVisible());

    // Exactly the screen's size: frameless again. The dialog kept its last values.
    services.dialogScripts.push_back([](QDialog& d) {
        auto& s = dynamic_cast<ImageSizeDialog&>(d);
        EXPECT_EQ(s.widthField->value(), 1280);
        s.widthField->setValue(1024);
        s.heightField->setValue(768);
        d.accept();
    });
    palette().sizeAction->trigger();
    EXPECT_TRUE(main().windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(main().size(), QSize(1024, 768));

    // A size that can't be made keeps the image and says why.
    services.dialogScripts.push_back([](QDialog& d) {
        auto& s = dynamic_cast<ImageSizeDialog&>(d);
        s.widthField->setValue(0);
        s.heightField->setValue(-5);
        d.accept();
    });
    palette().sizeAction->trigger();
    EXPECT_EQ(services.messages, QStringList({"Invalid image size 0x-5"}));
    EXPECT_EQ(g->canvas.image().size(), QSize(1024, 768));
}

TEST_F(Desktop, LoadingABitmapShowsItUnpaintedAndCentresTheWindow) {
    start();
    QImage picture(1200, 900, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    const QString big = path("big.bmp");
    WriteText(big, BitmapFileBytes(picture));
    services.openAnswers = {big};
    palette().loadBitmapAction->trigger();
    ASSERT_EQ(services.fileRequests.size(), 1u);
    EXPECT_EQ(services.fileRequests[0].title, "Load Bitmap");
    EXPECT_TRUE(services.fileRequests[0].picturePreview);
    EXPECT_TRUE(services.messages.isEmpty());
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(g->canvas.image().pixel(600, 450), QColor(Qt::darkGreen).rgb());
    EXPECT_EQ(main().size(), QSize(1200, 900));
    EXPECT_LT(main().pos().x(), 0);
    EXPECT_LT(main().pos().y(), 0);
    EXPECT_TRUE(palette().saveBitmapAction->isEnabled());
    EXPECT_EQ(g->recent.RecentBitmaps.count, 1);
    EXPECT_EQ(palette().recentBitmapActions[0]->text(), big);

    // Reopen keeps the list; a file that is no bitmap changes nothing.
    palette().recentBitmapActions[0]->trigger();
    EXPECT_EQ(g->recent.RecentBitmaps.count, 1);
    const QString junk = path("junk.bmp");
    WriteText(junk, "not a bitmap");
    services.openAnswers = {junk};
    palette().loadBitmapAction->trigger();
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_TRUE(services.messages[0].startsWith("Unable to read " + junk))
        << services.messages[0].toStdString();
    EXPECT_EQ(g->doc.state.BitmapFileName, big);
    EXPECT_EQ(g->recent.RecentBitmaps.count, 1);
}

TEST_F(Desktop, PrintSendsTheWindowAsDrawnToThePrinterOfTheRun) {
    start();
    QPrinter& printer = g->Printer();
    EXPECT_EQ(&printer, &g->Printer());
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path("page.pdf"));
    palette().printButton->click(); // cancelled
    EXPECT_FALSE(QFile::exists(path("page.pdf")));
    services.printAnswers = {true};
    palette().printButton->click();
    EXPECT_TRUE(services.messages.isEmpty());
    EXPECT_TRUE(ReadText(path("page.pdf")).startsWith("%PDF"));
}

TEST(EdgeSnap, SnapsWithinSixteenPixelsOfEachEdge) {
    const QSize screen(1024, 768);
    EXPECT_EQ(EdgeSnap(QRect(10, 300, 77, 283), screen), QPoint(0, 300));
    EXPECT_EQ(EdgeSnap(QRect(16, 300, 77, 283), screen), QPoint(16, 300));
    EXPECT_EQ(EdgeSnap(QRect(400, 10, 77, 283), screen), QPoint(400, 0));
    EXPECT_EQ(EdgeSnap(QRect(400, 16, 77, 283), screen), QPoint(400, 16));
    // Right edge 10 pixels from the screen's: flush; 16 pixels: stays.
    EXPECT_EQ(EdgeSnap(QRect(1024 - 77 - 10, 300, 77, 283), screen), QPoint(1024 - 77, 300));
    EXPECT_EQ(EdgeSnap(QRect(1024 - 77 - 16, 300, 77, 283), screen), QPoint(1024 - 77 - 16, 300));
    EXPECT_EQ(EdgeSnap(QRect(400, 768 - 283 - 10, 77, 283), screen), QPoint(400, 768 - 283));
    EXPECT_EQ(EdgeSnap(QRect(400, 768 - 283 - 16, 77, 283), screen), QPoint(400, 768 - 283 - 16));
    // Partly off the screen: brought back inside.
    EXPECT_EQ(EdgeSnap(QRect(-40, -5, 77, 283), screen), QPoint(0, 0));
    EXPECT_EQ(EdgeSnap(QRect(1000, 700, 77, 283), screen), QPoint(1024 - 77, 768 - 283));
}

TEST_F(Desktop, PaintColoursAndTheRepaintButton) {
    start();
    Palette& p = palette();
    p.chooseAlternateColour();
    EXPECT_EQ(p.currentSwatch->colour(), 0u);
    EXPECT_EQ(p.alternateSwatch->colour(), 0xFFFFFFu);
    p.chooseAlternateColour();
    EXPECT_EQ(p.currentSwatch->colour(), 0xFFFFFFu);
    EXPECT_EQ(p.alternateSwatch->colour(), 0u);

    p.chooseCurrentColour(); // cancelled
    EXPECT_EQ(services.colourDialogs, 1);
    EXPECT_EQ(p.currentSwatch->colour(), 0xFFFFFFu);
    services.colourAnswers = {0x123456};
    p.chooseCurrentColour();
    EXPECT_EQ(p.currentSwatch->colour(), 0x123456u);
    EXPECT_EQ(repaints, 1);

    p.previewBox->setChecked(false);
    EXPECT_FALSE(g->doc.state.AutoPreview);
    p.repaintButton->click();
    EXPECT_EQ(repaints, 2);
}

TEST_F(Desktop, ARepaintStoppedByABadHighlightShowsItsMessage) {
    start();
    g->doc.highlights.add(QStringLiteral("12/09/2026$red#Party"));
    palette().repaintButton->click();
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_EQ(services.messages[0], "'red' is not a valid integer value");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// The program's 8-point font for the windows made while it lives, as the program runs them;
// the font before it afterwards.
class ProgramFontScope {
public:
    ProgramFontScope() : before_(QApplication::font()) { QApplication::setFont(ProgramFont()); }
    ~ProgramFontScope() { QApplication::setFont(before_); }
    ProgramFontScope(const ProgramFontScope&) = delete;
    ProgramFontScope& operator=(const ProgramFontScope&) = delete;

private:
    QFont before_;
};

// Whether a label shows the whole of its text: wrapped to its width when it wraps, on one line
// otherwise.
::testing::AssertionResult ShowsWholeText(const QLabel& label) {
    const QRect room = label.contentsRect();
    const QString text = QString(label.text()).remove(QLatin1Char('&'));
    const QRect needed = label.fontMetrics().boundingRect(
        QRect(0, 0, room.width(), 100000), label.wordWrap() ? Qt::TextWordWrap : 0, text);
    if (needed.width() <= room.width() && needed.height() <= room.height())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << '"' << text.toStdString() << "\" needs " << needed.width() << 'x' << needed.height()
           << " and has " << room.width() << 'x' << room.height();
}

// A message box is as wide as its text needs: the period corrections and a long file name are
// shown whole in the program's font.
TEST(ProgramFont, MessageBoxesShowTheirWholeText) {
    const ProgramFontScope font;
    const QStringList texts = {
        "Wrong Date. Setting Start Date 364 days before End Date.",
        "Wrong Date. Setting End Date 364 days after Start  Date.",
        "Unable to read /home/someone/Documents/Calendars/school-year-2027-2028/term-plans/"
        "autumn-term-with-every-highlight.cal"};
    for (const QString& text : texts) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->text(), text);
            EXPECT_TRUE(ShowsWholeText(*label));
            seen = true;
            box->accept();
        });
        QtServices services;
        services.information(text);
        EXPECT_TRUE(seen) << text.toStdString();
    }
}

// "Program Setup" shows every line of its help text whole in the program's font, and every
// label and switch of the program's dialogs its whole caption.
TEST_F(Desktop, DialogsShowTheirWholeTextInTheProgramFont) {
    const ProgramFontScope font;
    start();
    SetupDialog& setup = *g->setupDialog;
    setup.show();
    const QPlainTextEdit& help = *setup.helpView;
    const QRect room = help.viewport()->rect();
    for (const QString& line : SetupDialog::HelpText().split('\n')) {
        const int width =
            help.fontMetrics()
                .boundingRect(QRect(), Qt::TextExpandTabs, line, SetupDialog::kHelpTabStop)
                .width();
        EXPECT_LE(width, room.width() - 2) << line.toStdString();
    }
    EXPECT_LE(help.fontMetrics().lineSpacing() * 14, room.height());
    EXPECT_TRUE(setup.rect().contains(help.geometry()));
    EXPECT_EQ(help.pos(), QPoint(8, 92));
    EXPECT_EQ(setup.height(), 277);
    setup.hide();

    const QList<QWidget*> dialogs = {g->setupDialog, main().dayDialog, main().imageSizeDialog,
                                     g->highlightDialog};
    for (QWidget* dialog : dialogs) {
        for (const QLabel* label : dialog->findChildren<QLabel*>()) {
            if (!label->text().isEmpty()) {
                EXPECT_TRUE(ShowsWholeText(*label)) << dialog->windowTitle().toStdString();
            }
        }
        for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            if (qobject_cast<const QRadioButton*>(button) ||
                qobject_cast<const QCheckBox*>(button)) {
                EXPECT_LE(button->sizeHint().width(), button->width())
                    << button->text().toStdString();
            }
        }
    }
}

TEST_F(Desktop, SetupDialogShowsAndStoresTheHintSettings) {
    start();
    SetupDialog& setup = *g->setupDialog;
    ProgramSettings& ini = g->settings;
    EXPECT_EQ(setup.windowTitle(), "Program Setup");
    // At least its laid-out size; it grows to its help text's widest line.
    EXPECT_GE(setup.width(), 373);
    EXPECT_GE(setup.height(), 277);
    EXPECT_EQ(setup.minimumSize(), setup.maximumSize());
    EXPECT_EQ(setup.hintGroupBox->title(), " Hint on Date ");
    EXPECT_EQ(SetupDialog::HelpText().split('\n').size(), 14);
    EXPECT_EQ(SetupDialog::HelpText().split('\n').last(),
              "'xx'/\"xx\"\tCharacters enclosed in single or double quotes are displayed as-is");

    // OK stores both fields as shown.
    services.dialogScripts.push_back([](QDialog& d) {
        auto& s = dynamic_cast<SetupDialog&>(d);
        EXPECT_TRUE(s.onlyHighlightedButton->isChecked());
        EXPECT_EQ(s.dateFormatField->text(), "ddd");
        s.displayDateButton->setChecked(true);
        s.dateFormatField->setText("dd mmm");
        s.okButton->click();
    });
    palette().programSetupAction->trigger();
    EXPECT_EQ(ini.GetInteger("HintType"), 1);
    EXPECT_EQ(ini.GetString("DateFormat"), "dd mmm");

    // Cancel after changing both fields keeps them.
    services.dialogScripts.push_back([](QDialog& d) {
        auto& s = dynamic_cast<SetupDialog&>(d);
        s.onlyHighlightedButton->setChecked(true);
        s.dateFormatField->setText("yyyy");
        s.cancelButton->click();
    });
    palette().programSetupAction->trigger();
    EXPECT_EQ(ini.GetInteger("HintType"), 1);
    EXPECT_EQ(ini.GetString("DateFormat"), "dd mmm");

    // An empty format is stored as empty.
    services.dialogScripts.push_back([](QDialog& d) {
        auto& s = dynamic_cast<SetupDialog&>(d);
        s.dateFormatField->clear();
        s.okButton->click();
    });
    palette().programSetupAction->trigger();
    EXPECT_EQ(ini.GetString("DateFormat"), "");

    // Out of range: above 1 shows the last item, below 0 none, and OK then stores -1.
    ini.SetInteger("HintType", 7);
    services.dialogScripts.push_back([](QDialog& d) {
        auto& s = dynamic_cast<SetupDialog&>(d);
        EXPECT_TRUE(s.displayDateButton->isChecked());
        d.reject();
    });
    palette().programSetupAction->trigger();
    ini.SetInteger("HintType", -3);
    services.dialogScripts.push_back([](QDialog& d) {
        auto& s = dynamic_cast<SetupDialog&>(d);
        EXPECT_FALSE(s.displayDateButton->isChecked());
        EXPECT_FALSE(s.onlyHighlightedButton->isChecked());
        s.okButton->click();
    });
    palette().programSetupAction->trigger();
    EXPECT_EQ(ini.GetInteger("HintType"), -1);
    EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(Desktop, EndingTheProgramWritesSettingsAndRecentListsOnly) {
    WriteText(path("bin/gyrodex.ini"), "[Integers]\r\nHintType=1\r\n");
    start();
    EXPECT_EQ(g->settings.GetInteger("HintType"), 1);
    g->settings.SetString("DateFormat", "mmmm");
    const QString a = calendar("a.cal");
    services.openAnswers = {a};
    palette().openAction->trigger();
    g->doc.state.Radius = 999;

    int quits = 0;
    QObject::connect(g.get(), &DesktopApp::quitRequested, [&] { ++quits; });
    palette().exitButton->click();
    EXPECT_EQ(quits, 1);
    g->Shutdown(true);
    const QByteArray settings = ReadText(path("bin/gyrodex.ini"));
    EXPECT_TRUE(settings.startsWith("[Integers]\r\nHintType=1\r\n")) << settings.constData();
    EXPECT_TRUE(settings.contains("[Strings]\r\nDateFormat=mmmm\r\n")) << settings.constData();
    EXPECT_EQ(storedCalendars().names[0], a);
    EXPECT_TRUE(ReadText(a).contains("Radius=300")); // the design is never saved by itself

    // The window manager closing the main window ends the program the same way.
    main().close();
    EXPECT_EQ(quits, 2);
}

TEST_F(Desktop, ASettingsFileThatCannotBeWrittenIsReportedAtTheEnd) {
    start();
    QFile::setPermissions(path("bin"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFileInfo(path("bin")).isWritable() || ::geteuid() == 0) {
        QFile::setPermissions(path("bin"), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner);
        // As root every folder is writable: take a settings name that is a folder instead.
        QDir(path("bin")).mkpath("gyrodex.ini");
    }
    g->Shutdown(true);
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_EQ(services.messages[0],
              QStringLiteral("Unable to write to %1").arg(path("bin/gyrodex.ini")));
    QFile::setPermissions(path("bin"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(FileFilter, PipeFiltersBecomeQtFiltersMatchingBothCases) {
    EXPECT_EQ(QtFileFilter("Calendar Files (*.cal)|*.cal|All Files (*.*)|*.*"),
              "Calendar Files (*.cal) (*.cal *.CAL);;All Files (*.*) (*)");
    EXPECT_EQ(QtFileFilter("Pictures|*.bmp;*.Png"), "Pictures (*.bmp *.BMP *.Png *.png *.PNG)");
    EXPECT_EQ(WithDefaultExtension("/home/me/x", "CAL"), "/home/me/x.cal");
    EXPECT_EQ(WithDefaultExtension("/home/me/x.txt", "CAL"), "/home/me/x.txt");
    EXPECT_EQ(WithDefaultExtension("/home/me.d/x", "ai"), "/home/me.d/x.ai");
    EXPECT_EQ(WithDefaultExtension("", "ai"), "");
}

} // namespace

TEST_F(Desktop, AFileOnTheCommandLineOpensAsOpenWould) {
    start();
    const QString file = calendar("given.cal", 300);
    g->mainWindow->openCalendarFile(file);
    EXPECT_EQ(g->doc.state.Radius, 300);
    EXPECT_EQ(g->doc.state.CalendarFileName, file);
    EXPECT_EQ(g->recent.RecentCalendars.names[0], file);
    EXPECT_EQ(palette().recentCalendarActions[0]->text(), file);
    EXPECT_EQ(repaints, 2);
    EXPECT_TRUE(services.messages.isEmpty());

    // The same message as Open for a file that can't be read; the program goes on.
    const QString bad = path("bad.cal");
    WriteText(bad, "[Misc]\r\nStartDate=1/19/1998\r\n");
    g->mainWindow->openCalendarFile(bad);
    EXPECT_EQ(services.messages, QStringList({"'9/' is not a valid integer value"}));
    ASSERT_TRUE(QDir(path("folder.cal")).mkpath("."));
    g->mainWindow->openCalendarFile(path("folder.cal"));
    EXPECT_EQ(services.messages.last(), "Unable to read " + path("folder.cal"));
}

TEST(DesktopCommandLine, AFileHelpVersionAndBadOptions) {
    using gyrodex::ParseDesktopCommandLine;
    const auto none = ParseDesktopCommandLine({"/usr/bin/gyrodex"});
    EXPECT_FALSE(none.exitNow);
    EXPECT_TRUE(none.file.isEmpty());

    // A relative name is taken from the folder the program was started in.
    const auto file = ParseDesktopCommandLine({"gyrodex", "designs/../a.cal"});
    EXPECT_FALSE(file.exitNow);
    EXPECT_EQ(file.file, QDir::currentPath() + "/a.cal");
    EXPECT_EQ(ParseDesktopCommandLine({"gyrodex", "/tmp/x y.cal"}).file, "/tmp/x y.cal");
    // A name in another 8-bit character set keeps its bytes, relative or not.
    EXPECT_EQ(FileNameBytes(
                  ParseDesktopCommandLine({"gyrodex", FileNameFromBytes("d/../caf\xE9.cal")}).file),
              QFile::encodeName(QDir::currentPath()) + "/caf\xE9.cal");

    // Qt's own options pass, with their values, and are not taken for the file.
    const auto qt = ParseDesktopCommandLine(
        {"gyrodex", "-platform", "offscreen", "-display", ":1", "/tmp/a.cal", "-reverse"});
    EXPECT_FALSE(qt.exitNow);
    EXPECT_EQ(qt.file, "/tmp/a.cal");

    const auto version = ParseDesktopCommandLine({"gyrodex", "--version"});
    EXPECT_TRUE(version.exitNow);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.text, "gyrodex 1.0\n");
    EXPECT_FALSE(version.toStderr);

    const auto help = ParseDesktopCommandLine({"/opt/x/gyrodex", "--help"});
    EXPECT_TRUE(help.exitNow);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.text.startsWith("Usage: gyrodex [options] [FILE]")) << qPrintable(help.text);
    EXPECT_TRUE(help.text.contains("--version"));
    EXPECT_FALSE(help.text.contains("platform"));

    const auto unknown = ParseDesktopCommandLine({"gyrodex", "--frobnicate"});
    EXPECT_TRUE(unknown.exitNow);
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.toStderr);
    EXPECT_EQ(unknown.text, "gyrodex: Unknown option 'frobnicate'.\n");
    EXPECT_EQ(unknown.text.count('\n'), 1);

    const auto two = ParseDesktopCommandLine({"gyrodex", "a.cal", "b.cal"});
    EXPECT_EQ(two.exitCode, 2);
    EXPECT_EQ(two.text.count('\n'), 1);
}
