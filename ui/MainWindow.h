#pragma once

#include "CalendarState.h"
#include "Document.h"
#include "Environment.h"
#include "RecentFiles.h"

#include <QCursor>
#include <QRegion>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>

class QLabel;
class QPrinter;

namespace gyrodex {

class DayDialog;
class Host;
class ImageCanvas;
class ImageSizeDialog;
class ProgramSettings;
class Services;
class SharedDialogs;

// What the main window works with: the edit path and the document (it keeps the session's
// values of the pointer and the files there), the image, the recent lists, the hint settings,
// the dialogs and services, and the machine.
struct MainWindowParts {
    EditPath& edits;
    Document& document;
    ImageCanvas& canvas;
    RecentFiles& recent;
    const ProgramSettings& settings;
    SharedDialogs& dialogs;
    Services& services;
    Host& host;
    const Environment& env;
    std::function<QPrinter&()> printer;
    // Asks before the open design is dropped while it has unsaved changes; false to keep it.
    std::function<bool()> mayDropDesign;
};
class ImageView;

// The main window: borderless and as large as the screen, it shows the calendar image 1:1.
// It owns the operations on the whole design and the image (calendar files, bitmaps, export,
// printing); the palette's commands call them.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(MainWindowParts parts); // no files yet, every cell without a date
    ~MainWindow() override;

    // The first show: a screen-sized image with the two start texts, today's default period,
    // then one repaint. Runs once, from the start-up sequence.
    void firstShow();
    // Writes the recent lists; a failure goes to `report`.
    void writeRecentLists(const std::function<void(const QString&)>& report);

    // Operations; each raises the program's error and leaves the state as far as it got.
    void RepaintCalendar();
    void LoadCalendarFile(const QString& fileName, bool addToRecent);
    void SaveCalendarFile(const QString& fileName);
    void LoadBitmapFile(const QString& fileName, bool addToRecent);

    // User commands; each shows an error's text and goes on.
    void openCalendar();
    // Opens a named design as "Open" does after its dialog (the command line's FILE).
    void openCalendarFile(const QString& fileName);
    // "Save", or "Save As" for a design never saved; true when the design was saved.
    bool saveDesign();
    void saveCalendar();
    void saveCalendarAs();
    void exportIllustrator();
    void openRecentCalendar(int tag);
    void changeImageSize();
    void loadBitmap();
    void openRecentBitmap(int tag);
    void saveBitmap();
    void saveBitmapAs();
    void repaintNow(); // Repaint
    void print();      // Print
    void printSetup(); // Print Setup

    // The canvas tool for the next release on the image; the image takes its pointer shape.
    void setTool(PaintTool tool);

    // Pointer events on the image, in image pixels (CanvasTools.cpp).
    void imageMousePress(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void imageMouseMove(Qt::KeyboardModifiers shift, int x, int y);
    void imageMouseRelease(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

    // What a left release does with each tool.
    void moveWheel();
    void pickColour();
    void showDayInEditor();
    void fillCell();
    void editDay();
    void eraseHighlight();

    // Paints the cell of the release point for CurrentDate and shows what changed.
    void paintReleasedCell();
    // A full repaint on an image cleared to the background, whatever "Repaint All" says.
    void repaintOnClearedImage();

    // The dialogs of the main window's commands.
    DayDialog* dayDialog;
    ImageSizeDialog* imageSizeDialog;

    // The pointer shapes registered at creation: 1 "NORMAL", 2 "PICKER", 4 "BUCKET", 5 "TEXT",
    // 6 "ERASER".
    std::map<int, QCursor> cursors;
    // The date hint over the image.
    QLabel* hintLabel;

    // True once the image has had a file: "&Save Bitmap" is enabled from then on.
    bool SaveBitmapEnabled() const { return saveBitmapEnabled_; }

    ImageView* imageView;

signals:
    void recentCalendarsChanged(const gyrodex::RecentMenu& menu);
    void recentBitmapsChanged(const gyrodex::RecentMenu& menu);
    void saveBitmapEnabledChanged(bool enabled);
    // A full repaint ran (not while repaints were suspended).
    void calendarRepainted();
    // The date picker was released on a day: the highlight editor shows it.
    void dayPicked(const gyrodex::DayDate& day);
    // The window manager closed the window: the program ends as through "Exit".
    void closeRequested();
    // The design was saved under its name.
    void calendarSaved();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void command(const std::function<void()>& body);
    void enableSaveBitmap();
    // Frameless when the image is exactly the screen's size, else a tool-window frame; the
    // client area takes the image's size.
    void fitToImage();
    // Loads the five pointer shapes and makes the date hint (CanvasTools.cpp).
    void createToolParts();

    // Shows what a repaint (and anyone drawing since the last one) changed on the image.
    void showRepaint();
    // Shows what was drawn without a repaint (a single cell): the canvas's record of what it
    // wrote is the one record of the changed region.
    void showDrawn();

    DayDate today() const;

    MainWindowParts p_;
    bool saveBitmapEnabled_ = false;
    // What lies on the image over a plain background: the wheels, texts and cells drawn since
    // the last repaint cleared it, and the colour it was cleared with (none when the image was
    // filled or replaced otherwise since).
    QRegion overBackground_;
    std::optional<Colour> clearedWith_;
};

} // namespace gyrodex
