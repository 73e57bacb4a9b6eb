#pragma once

#include "CalendarState.h"
#include "RecentFiles.h"

#include <QCursor>
#include <QRegion>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>

class QLabel;

namespace gyrodex {

class Globals;
class ImageView;

// The main window: borderless and as large as the screen, it shows the calendar image 1:1.
// It owns the operations on the whole design and the image (calendar files, bitmaps, export,
// printing); the palette's commands call them.
class TfrmMain : public QWidget {
    Q_OBJECT

public:
    explicit TfrmMain(Globals& globals); // FormCreate
    ~TfrmMain() override;

    // The first show: a screen-sized image with the two start texts, today's default period,
    // then one repaint. Runs once, from the start-up sequence.
    void FormShow();
    // Writes the recent lists; a failure goes to `report`.
    void FormDestroy(const std::function<void(const QString&)>& report);

    // Operations; each raises the program's error and leaves the state as far as it got.
    void RepaintCalendar();
    void LoadCalendarFile(const QString& fileName, bool addToRecent);
    void SaveCalendarFile(const QString& fileName);
    void LoadBitmapFile(const QString& fileName, bool addToRecent);

    // User commands; each shows an error's text and goes on.
    void Open2Click();
    // Opens a named design as "Open" does after its dialog (the command line's FILE).
    void openCalendarFile(const QString& fileName);
    void Save1Click();
    void SaveAs1Click();
    void ExporttoAIformat1Click();
    void cmRecentCal1Click(int tag);
    void Size1Click();
    void LoadBitmap1Click();
    void cmRecentBMP1Click(int tag);
    void SaveBitmap1Click();
    void SaveBitmapAs1Click();
    void SpeedButton2Click(); // Repaint
    void SpeedButton5Click(); // Print
    void SpeedButton6Click(); // Print Setup

    // The canvas tool for the next release on the image; the image takes its pointer shape.
    void SetTool(PaintTool tool);

    // Pointer events on the image, in image pixels (UMainTools.cpp).
    void ImgMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void ImgMouseMove(Qt::KeyboardModifiers shift, int x, int y);
    void ImgMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

    // What a left release does with each tool.
    void MoveWheel();
    void PickColour();
    void ShowDayInEditor();
    void FillCell();
    void EditDay();
    void EraseHighlight();

    // The pointer shapes registered at creation: 1 "NORMAL", 2 "PICKER", 4 "BUCKET", 5 "TEXT",
    // 6 "ERASER".
    std::map<int, QCursor> Cursors;
    // The date hint over the image.
    QLabel* pnlHint;

    // True once the image has had a file: "&Save Bitmap" is enabled from then on.
    bool SaveBitmapEnabled() const { return saveBitmapEnabled_; }

    ImageView* Img;

signals:
    void recentCalendarsChanged(const gyrodex::RecentMenu& menu);
    void recentBitmapsChanged(const gyrodex::RecentMenu& menu);
    void saveBitmapEnabledChanged(bool enabled);
    // A full repaint ran (not while repaints were suspended).
    void calendarRepainted();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void command(const std::function<void()>& body);
    void enableSaveBitmap();
    // Frameless when the image is exactly the screen's size, else a tool-window frame; the
    // client area takes the image's size.
    void fitToImage();
    // Loads the five pointer shapes and makes the date hint (UMainTools.cpp).
    void createToolParts();
    // Paints the cell of the release point for CurrentDate and shows what changed.
    void paintReleasedCell();
    // Tells the views of a change made by a tool, with repaints suspended meanwhile.
    void designChangedByTool();

    // Shows what a repaint (and anyone drawing since the last one) changed on the image.
    void showRepaint();

    Globals& g_;
    bool saveBitmapEnabled_ = false;
    // What lies on the image over a plain background: the wheels, texts and cells drawn since
    // the last repaint cleared it, and the colour it was cleared with (none when the image was
    // filled or replaced otherwise since).
    QRegion overBackground_;
    std::optional<Colour> clearedWith_;
};

} // namespace gyrodex
