#pragma once

#include "CalendarState.h"
#include "RecentFiles.h"

#include <QFrame>
#include <QWidget>
#include <array>

class QAction;
class QButtonGroup;
class QCheckBox;
class QMenu;
class QMenuBar;
class QToolButton;

namespace gyrodex {

class Globals;

// Where the palette goes after a move: flush against any screen edge it came within 16
// pixels of, and never partly off the screen. `window` is its outer rectangle.
QPoint EdgeSnap(const QRect& window, const QSize& screen);

// A plain panel with a single border showing one paint colour; a click reports itself.
class ColourSwatch : public QFrame {
    Q_OBJECT

public:
    ColourSwatch(const QString& name, Colour colour, QWidget* parent);
    Colour colour() const { return colour_; }
    void setColour(Colour colour);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    Colour colour_;
};

// The palette: an always-on-top tool window with the main menu, the commands, the six canvas
// tools, the two paint colours and the automatic-preview switch.
class TfrmFloatMenu : public QWidget {
    Q_OBJECT

public:
    explicit TfrmFloatMenu(Globals& globals);

    void FormShow();
    void btnPointerClick(int tag);
    void CurrentClick();
    void LastClick();
    void SpeedButton1Click(); // Properties >>
    void SpeedButton8Click(); // Colors >>
    void SpeedButton3Click(); // Highlights
    void SpeedButton4Click(); // Exit
    void ProgramSetup1Click();

    // The Reopen submenus as the recent lists give them.
    void showRecentCalendars(const RecentMenu& menu);
    void showRecentBitmaps(const RecentMenu& menu);

    QMenuBar* MainMenu1;
    QMenu* Calendar1;
    QAction* Open2;
    QMenu* cmReopenCalendar1;
    std::array<QAction*, kRecentSlots> cmRecentCal;
    QAction* Save1;
    QAction* SaveAs1;
    QAction* ExporttoAIformat1;
    QAction* ProgramSetup1;
    QMenu* Bitmap1;
    QAction* Size1;
    QAction* LoadBitmap1;
    QMenu* cmReopenBitmap1;
    std::array<QAction*, kRecentSlots> cmRecentBMP;
    QAction* SaveBitmap1;
    QAction* SaveBitmapAs1;

    QWidget* area; // the 75 x 244 client area under the menu bar
    QToolButton* SpeedButton2;
    QCheckBox* chkPreview;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton8;
    QToolButton* SpeedButton3;
    QToolButton* SpeedButton5;
    QToolButton* SpeedButton6;
    QToolButton* SpeedButton4;
    std::array<QToolButton*, 6> tools; // by PaintTool value
    ColourSwatch* Last;
    ColourSwatch* Current;

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QToolButton* commandButton(const QString& name, const QString& caption, int top);
    QToolButton* toolButton(const QString& name, PaintTool tool, const QString& picture,
                            const QString& meaning, int left, int top);

    Globals& g_;
    QButtonGroup* toolGroup_;
};

} // namespace gyrodex
