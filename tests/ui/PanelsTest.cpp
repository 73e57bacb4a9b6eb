#include "CaptionDrag.h"
#include "ColoursPanel.h"
#include "DesktopApp.h"
#include "ImageCanvas.h"
#include "ImageView.h"
#include "MainWindow.h"
#include "Palette.h"
#include "PropertiesPanel.h"
#include "ScriptedServices.h"
#include "SpinField.h"

#include <QApplication>
#include <QBackingStore>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QTextCharFormat>
#include <QToolButton>
#include <gtest/gtest.h>
#include <limits>

using namespace gyrodex;

namespace {

const QString kEndAsStart = QStringLiteral("Wrong Date. Setting End Date as Start Date.");
const QString kEndAfterStart =
    QStringLiteral("Wrong Date. Setting End Date 364 days after Start  Date.");
const QString kStartAsEnd = QStringLiteral("Wrong Date. Setting Start Date as End Date.");
const QString kStartBeforeEnd =
    QStringLiteral("Wrong Date. Setting Start Date 364 days defore End Date.");

void Key(QWidget* w, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

// Types the text key by key, as the user would.
void Type(SpinField* field, const QString& text) {
    for (const QChar c : text)
        Key(field, c.isDigit() ? Qt::Key_0 + c.digitValue() : c.toUpper().unicode(), QString(c));
}

void ClearField(SpinField* field) {
    field->selectAll();
    Key(field, Qt::Key_Backspace);
}

// Focus moving on to another control of the panel.
void Leave(QWidget* field) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &out);
}

void Mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button,
           Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void Click(QWidget* w) {
    Mouse(w, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    Mouse(w, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton);
}

class Panels : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        g = std::make_unique<DesktopApp>(services,
                                         Environment{dir.filePath(QStringLiteral("bin/gyrodex")),
                                                     {dir.filePath(QStringLiteral("cfg.conf")),
                                                      dir.filePath(QStringLiteral("etc.conf"))},
                                                     QRect(0, 0, 1024, 768),
                                                     [] { return QDate(2026, 12, 8); }});
        QObject::connect(g->mainWindow.get(), &MainWindow::calendarRepainted,
                         [this] { radii.push_back(g->doc.state.Radius); });
        g->Start();
        radii.clear();
    }

    PropertiesPanel& props() { return *g->propertiesPanel; }
    ColoursPanel& colours() { return *g->coloursPanel; }
    int repaints() const { return static_cast<int>(radii.size()); }
    // A period set as a loaded file sets it: no checks, no repaint.
    void setPeriod(DayDate start, DayDate end) {
        g->edit({Change::Geometry, QString(),
                 [&](Document& d) {
                     d.state.StartDate = start;
                     d.state.EndDate = end;
                 },
                 Change::Repaint::None, nullptr});
    }
    int datedCells() const {
        int n = 0;
        for (int spoke = 0; spoke < kSpokes; ++spoke)
            for (int ring = 1; ring <= kRings; ++ring)
                n += g->doc.state.Cells.at(spoke, ring).date.isNoDate() ? 0 : 1;
        return n;
    }

    QTemporaryDir dir;
    ScriptedServices services;
    std::unique_ptr<DesktopApp> g;
    std::vector<int> radii; // the radius of every repaint
};

TEST_F(Panels, BothPanelsAreFramelessToolWindowsOfTheMainWindowLaidOutAsDesigned) {
    for (QWidget* w : {static_cast<QWidget*>(&props()), static_cast<QWidget*>(&colours())}) {
        EXPECT_EQ(w->parentWidget(), g->mainWindow.get());
        EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_FALSE(w->isVisible());
    }
    PropertiesPanel& p = props();
    EXPECT_EQ(p.size(), QSize(394, 107));
    EXPECT_EQ(p.captionBar->text(), " Calendar Properties");
    EXPECT_EQ(p.captionBar->height(), 14);
    EXPECT_EQ(p.captionBar->palette().color(QPalette::Window), QColor(238, 210, 136));
    EXPECT_EQ(p.radiusField->geometry(), QRect(80, 20, 49, 21));
    EXPECT_EQ(p.startWeekField->geometry(), QRect(80, 68, 49, 21));
    EXPECT_EQ(p.startWeekField->maxLength(), 2);
    EXPECT_EQ(p.offsetYField->geometry(), QRect(224, 36, 57, 21));
    EXPECT_EQ(p.anticlockwiseButton->geometry(), QRect(185, 76, 25, 25));
    EXPECT_EQ(p.anticlockwiseButton->toolTip(), "Anti-Clockwise");
    EXPECT_EQ(p.clockwiseButton->accessibleName(), "Clockwise");
    EXPECT_TRUE(p.clockwiseButton->isChecked());
    EXPECT_TRUE(p.weekendInsideButton->isChecked());
    EXPECT_FALSE(p.clockwiseButton->icon().isNull());
    EXPECT_EQ(p.endDateField->geometry(), QRect(292, 80, 97, 21));
    EXPECT_FALSE(p.startDateField->keyboardTracking());
    EXPECT_EQ(
        p.startDateField->calendarWidget()->weekdayTextFormat(Qt::Sunday).foreground().color(),
        QColor(0, 0, 128));
    // The first show fills the period in without checking it.
    EXPECT_EQ(p.startDateField->date(), QDate(2026, 11, 28));
    EXPECT_EQ(p.endDateField->date(), QDate(2027, 8, 15));

    ColoursPanel& c = colours();
    EXPECT_EQ(c.size(), QSize(183, 262));
    EXPECT_EQ(c.pos(), QPoint(426, 239));
    EXPECT_EQ(c.captionBar->text(), " Calendar Colors");
    EXPECT_EQ(c.captionBar->palette().color(QPalette::Window), QColor(174, 255, 174));
    EXPECT_EQ(c.pastPanel->geometry(), QRect(4, 116, 77, 29));
    EXPECT_EQ(c.backPanel->fill(), 13720687u);
    EXPECT_EQ(c.backPanel->text(), 8388608u);
    EXPECT_EQ(c.thickSwatch->geometry(), QRect(44, 228, 33, 29));
    EXPECT_EQ(c.thickWidthField->value(), 3);
    EXPECT_EQ(c.thinWidthField->maxLength(), 1);
    EXPECT_EQ(c.todayAsPastBox->text(), "Today as Past");

    // "Properties >>" centres the panel on the screen.
    g->palette->propertiesButton->click();
    EXPECT_TRUE(p.isVisible());
    EXPECT_EQ(p.pos(), QPoint((1024 - 394) / 2, (768 - 107) / 2));
}

TEST_F(Panels, TypingRepaintsWithEachTypedNumberAndLeavingBringsItIntoRange) {
    SpinField* r = props().radiusField;
    r->selectAll();
    Type(r, QStringLiteral("400"));
    EXPECT_EQ(radii, (std::vector<int>{4, 40, 400}));
    EXPECT_EQ(g->doc.state.Radius, 400);
    Leave(r); // in range: no change, no repaint
    EXPECT_EQ(repaints(), 3);

    ClearField(r); // empty counts as the minimum
    EXPECT_EQ(radii.back(), 60);
    Type(r, QStringLiteral("5"));
    EXPECT_EQ(radii.back(), 5);
    Leave(r);
    EXPECT_EQ(radii.back(), 60);
    EXPECT_EQ(r->text(), "60");
    EXPECT_EQ(repaints(), 6);

    // The arrows stay in range and a step that changes nothing repaints nothing.
    r->stepBy(1000);
    EXPECT_EQ(g->doc.state.Radius, 2048);
    const int before = repaints();
    r->stepBy(1);
    EXPECT_EQ(repaints(), before);

    // Unlimited fields: empty and a lone sign count as 0, a number beyond 32 bits is held in
    // the 32-bit range.
    SpinField* x = props().offsetXField;
    x->selectAll();
    Type(x, QStringLiteral("-2147483648"));
    EXPECT_EQ(g->doc.state.CentreOffsetX, std::numeric_limits<std::int32_t>::min());
    x->selectAll();
    Type(x, QStringLiteral("-"));
    EXPECT_EQ(g->doc.state.CentreOffsetX, 0);
    Type(x, QStringLiteral("7"));
    EXPECT_EQ(g->doc.state.CentreOffsetX, -7);
    x->selectAll();
    Type(x, QStringLiteral("99999999999"));
    EXPECT_EQ(g->doc.state.CentreOffsetX, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(x->text(), "99999999999");
    x->stepBy(-1);
    EXPECT_EQ(g->doc.state.CentreOffsetX, std::numeric_limits<std::int32_t>::max() - 1);
    x->selectAll();
    Type(x, QStringLiteral("-99999999999"));
    EXPECT_EQ(g->doc.state.CentreOffsetX, std::numeric_limits<std::int32_t>::min());
    x->selectAll();
    Type(x, QStringLiteral("-5"));
    x->setValue(std::numeric_limits<std::int32_t>::max());
    x->stepBy(1);
    EXPECT_EQ(g->doc.state.CentreOffsetX, std::numeric_limits<std::int32_t>::max());

    // Letters and signs where the range has no negative numbers are not taken.
    SpinField* w = props().startWeekField;
    w->selectAll();
    Type(w, QStringLiteral("a-123"));
    EXPECT_EQ(w->text(), "12");
    EXPECT_EQ(g->doc.state.StartWeek, 12);
}

TEST_F(Panels, PeriodChecksCorrectTheOtherDateWithTheirMessages) {
    PropertiesPanel& p = props();
    setPeriod(MakeDayDate(10, 1, 2000), MakeDayDate(20, 1, 2000));
    p.endDateField->setDate(QDate(2000, 1, 5));
    EXPECT_EQ(services.messages, QStringList{kStartAsEnd});
    EXPECT_EQ(g->doc.state.StartDate, MakeDayDate(5, 1, 2000));
    EXPECT_EQ(p.startDateField->date(), QDate(2000, 1, 5));
    // The start field's own check found the pair valid and repainted, then the end field's.
    EXPECT_EQ(repaints(), 2);

    services.messages.clear();
    setPeriod(MakeDayDate(1, 1, 1999), MakeDayDate(1, 6, 1999));
    p.endDateField->setDate(QDate(2000, 1, 1));
    EXPECT_EQ(services.messages, QStringList{kStartBeforeEnd});
    EXPECT_EQ(g->doc.state.StartDate, MakeDayDate(2, 1, 1999));

    services.messages.clear();
    setPeriod(MakeDayDate(1, 6, 1999), MakeDayDate(31, 12, 1999));
    p.startDateField->setDate(QDate(1998, 12, 31));
    EXPECT_EQ(services.messages, QStringList{kEndAfterStart});
    EXPECT_EQ(g->doc.state.EndDate, MakeDayDate(30, 12, 1999));

    services.messages.clear();
    setPeriod(MakeDayDate(1, 6, 1999), MakeDayDate(31, 12, 1999));
    p.startDateField->setDate(QDate(2000, 1, 2));
    EXPECT_EQ(services.messages, QStringList{kEndAsStart});
    EXPECT_EQ(g->doc.state.EndDate, MakeDayDate(2, 1, 2000));

    // 364 days with 29 February inside are accepted from either field without a message.
    services.messages.clear();
    setPeriod(MakeDayDate(1, 6, 2000), MakeDayDate(1, 7, 2000));
    radii.clear();
    p.startDateField->setDate(QDate(2000, 1, 1));
    p.endDateField->setDate(QDate(2000, 12, 30));
    EXPECT_TRUE(services.messages.isEmpty());
    EXPECT_EQ(g->doc.state.StartDate, MakeDayDate(1, 1, 2000));
    EXPECT_EQ(g->doc.state.EndDate, MakeDayDate(30, 12, 2000));
    EXPECT_EQ(repaints(), 2);
    p.endDateField->setDate(QDate(2000, 12, 31));
    EXPECT_EQ(services.messages, QStringList{kStartBeforeEnd});
    EXPECT_EQ(g->doc.state.StartDate, MakeDayDate(2, 1, 2000));
}

TEST_F(Panels, SuspendedRepaintSilencesDateAndOffsetHandlersOnly) {
    PropertiesPanel& p = props();
    {
        const SuspendRepaint batch(g->doc.state);
        p.startDateField->setDate(QDate(2030, 1, 1)); // after the end date
        p.offsetXField->setValue(40);
        p.offsetYField->setValue(-40);
        p.radiusField->setValue(300); // the painter itself does nothing meanwhile
    }
    EXPECT_TRUE(services.messages.isEmpty());
    EXPECT_EQ(repaints(), 0);
    EXPECT_EQ(g->doc.state.StartDate, MakeDayDate(1, 1, 2030));
    EXPECT_EQ(g->doc.state.CentreOffsetX, 40);
    EXPECT_EQ(g->doc.state.CentreOffsetY, -40);
}

TEST_F(Panels, AutoPreviewOffStopsEveryPanelRepaintButNotTheRepaintButton) {
    g->palette->previewBox->setChecked(false);
    PropertiesPanel& p = props();
    ColoursPanel& c = colours();
    p.radiusField->setValue(200);
    p.anticlockwiseButton->click();
    p.startDateField->setDate(QDate(2026, 12, 1));
    c.weekendsBox->click();
    c.thickWidthField->setValue(5);
    services.colourAnswers.push_back(0x123456);
    c.colourPanelPressed(ColoursPanel::Day, Qt::LeftButton);
    EXPECT_EQ(repaints(), 0);
    EXPECT_FALSE(g->doc.state.Clockwise);
    EXPECT_FALSE(g->doc.state.PaintWeekends);
    EXPECT_EQ(g->doc.state.DayColour, 0x123456u);
    g->palette->repaintButton->click();
    EXPECT_EQ(radii, std::vector<int>{200});
}

TEST_F(Panels, CaptionDragStopsAtEveryScreenEdgeAndDoubleClickHides) {
    EXPECT_EQ(CaptionDragTarget(QRect(100, 100, 394, 107), {10, 5}, {-500, -500}, {1024, 768}),
              QPoint(0, 0));
    EXPECT_EQ(CaptionDragTarget(QRect(100, 100, 394, 107), {10, 5}, {5000, 5000}, {1024, 768}),
              QPoint(1024 - 394, 768 - 107));
    EXPECT_EQ(CaptionDragTarget(QRect(100, 100, 394, 107), {10, 5}, {30, 0}, {1024, 768}),
              QPoint(120, 95));

    ColoursPanel& c = colours();
    c.showPanel();
    QLabel* caption = c.captionBar;
    Mouse(caption, QEvent::MouseButtonPress, {20, 5}, Qt::RightButton, Qt::RightButton);
    Mouse(caption, QEvent::MouseMove, {-400, 5}, Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(c.pos(), QPoint(426, 239)); // only the left button drags

    Mouse(caption, QEvent::MouseButtonPress, {20, 5}, Qt::LeftButton, Qt::LeftButton);
    Mouse(caption, QEvent::MouseMove, {-1000, -1000}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(c.pos(), QPoint(0, 0));
    Mouse(caption, QEvent::MouseMove, {3000, 3000}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(c.pos(), QPoint(1024 - 183, 768 - 262));
    Mouse(caption, QEvent::MouseMove, {-80, -95}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(c.pos(), QPoint(1024 - 183 - 100, 768 - 262 - 100));
    Mouse(caption, QEvent::MouseButtonRelease, {-80, -95}, Qt::LeftButton, Qt::NoButton);
    Mouse(caption, QEvent::MouseMove, {300, 300}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(c.pos(), QPoint(741, 406));

    // A double click hides it with a drag under way; the palette shows it where it was, and
    // the show ends the drag.
    Mouse(caption, QEvent::MouseButtonPress, {20, 5}, Qt::LeftButton, Qt::LeftButton);
    Mouse(caption, QEvent::MouseButtonDblClick, {20, 5}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(c.isVisible());
    g->palette->coloursButton->click();
    EXPECT_TRUE(c.isVisible());
    EXPECT_EQ(c.pos(), QPoint(741, 406));
    EXPECT_FALSE(c.captionBar->dragging());
}

TEST_F(Panels, ColourPanelsEditOnPressAndCancelledDialogsChangeNothing) {
    ColoursPanel& c = colours();
    Mouse(c.weekendPanel, QEvent::MouseButtonPress, {5, 5}, Qt::MiddleButton, Qt::MiddleButton);
    EXPECT_EQ(services.colourDialogs, 0);

    Mouse(c.weekendPanel, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(services.colourDialogs, 1); // cancelled
    EXPECT_EQ(services.colourPresets.back(), 33023u);
    EXPECT_EQ(repaints(), 0);
    EXPECT_EQ(g->doc.state.WeekendColour, 33023u);

    services.colourAnswers.push_back(0x0000FF);
    Mouse(c.weekendPanel, QEvent::MouseButtonPress, {5, 5}, Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(services.colourPresets.back(), kWindowText);
    EXPECT_EQ(g->doc.state.WeekendTextColour, 0x0000FFu);
    EXPECT_EQ(g->doc.state.WeekendColour, 33023u);
    EXPECT_EQ(c.weekendPanel->text(), 0x0000FFu);
    EXPECT_EQ(repaints(), 1);

    services.colourAnswers.push_back(0x00FF00);
    c.thickSwatch->setFocus();
    Mouse(c.thickSwatch, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(g->doc.state.ThickColour, 0x00FF00u);
    EXPECT_EQ(repaints(), 2);

    // The font dialog, preset to the day font; cancelled, then confirmed.
    Click(c.fontPanel);
    EXPECT_EQ(services.fontDialogs, 1);
    EXPECT_EQ(services.fontPresets.back().family(), DayFont::defaultName());
    EXPECT_EQ(services.fontPresets.back().pointSize(), 8);
    EXPECT_EQ(repaints(), 2);
    QFont chosen(QStringLiteral("Liberation Serif"), 14);
    chosen.setBold(true);
    services.fontAnswers.push_back(chosen);
    Click(c.fontPanel);
    EXPECT_EQ(g->doc.state.Font.name, "Liberation Serif");
    EXPECT_EQ(g->doc.state.Font.size, 14);
    EXPECT_EQ(g->doc.state.Font.style, unsigned{Bold});
    EXPECT_EQ(c.fontPanel->font().bold(), true);
    EXPECT_EQ(repaints(), 3);
}

TEST_F(Panels, PastDaysCouplingAndOneDigitPenWidths) {
    ColoursPanel& c = colours();
    c.paintPastBox->click();
    EXPECT_FALSE(g->doc.state.PaintPast);
    EXPECT_FALSE(c.todayAsPastBox->isChecked());
    EXPECT_FALSE(c.todayAsPastBox->isEnabled());
    EXPECT_EQ(repaints(), 1);
    c.paintPastBox->click();
    EXPECT_TRUE(c.todayAsPastBox->isEnabled());
    EXPECT_FALSE(c.todayAsPastBox->isChecked());
    EXPECT_FALSE(g->doc.state.TodayAsPast);
    c.todayAsPastBox->click();
    EXPECT_TRUE(g->doc.state.TodayAsPast);
    EXPECT_EQ(repaints(), 3);

    SpinField* thin = c.thinWidthField;
    thin->selectAll();
    Type(thin, QStringLiteral("12"));
    EXPECT_EQ(thin->text(), "1");
    thin->selectAll();
    Type(thin, QStringLiteral("0"));
    EXPECT_EQ(g->doc.state.ThinWidth, 0); // as typed, painted as 1
    Leave(thin);
    EXPECT_EQ(g->doc.state.ThinWidth, 1);
    c.thickWidthField->stepBy(10);
    EXPECT_EQ(g->doc.state.ThickWidth, 9);
}

TEST_F(Panels, BackgroundChangeShowsOnlyWhenRepaintAllIsOn) {
    ColoursPanel& c = colours();
    const QImage& image = g->canvas.image();
    const QRgb before = image.pixel(2, 2);
    c.repaintAllBox->click();
    services.colourAnswers.push_back(0x00FF00);
    c.colourPanelPressed(ColoursPanel::Back, Qt::LeftButton);
    EXPECT_EQ(repaints(), 2);
    EXPECT_EQ(image.pixel(2, 2), before);
    c.repaintAllBox->click();
    EXPECT_EQ(image.pixel(2, 2), qRgb(0, 255, 0));
}

TEST_F(Panels, LoadingACalendarFileRefreshesBothHiddenPanels) {
    const QString file = dir.filePath(QStringLiteral("a.cal"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Colors]\r\nBackground=255\r\n[Flags]\r\nPastDays=0\r\n[Misc]\r\nRadius=300\r\n"
            "CXOffset=-25\r\nStartWeek=3\r\nStartDate=01/05/2026\r\nEndDate=12/20/2026\r\n"
            "Thick=7\r\n");
    f.close();
    g->mainWindow->LoadCalendarFile(file, false);
    EXPECT_TRUE(services.messages.isEmpty());
    EXPECT_EQ(repaints(), 1);
    PropertiesPanel& p = props();
    EXPECT_EQ(p.radiusField->value(), 300);
    EXPECT_EQ(p.radiusField->text(), "300");
    EXPECT_EQ(p.offsetXField->text(), "-25");
    EXPECT_EQ(p.startWeekField->value(), 3);
    EXPECT_EQ(p.startDateField->date(), QDate(2026, 1, 5));
    EXPECT_EQ(p.endDateField->date(), QDate(2026, 12, 20));
    ColoursPanel& c = colours();
    EXPECT_EQ(c.backPanel->fill(), 255u);
    EXPECT_EQ(c.thickWidthField->value(), 7);
    EXPECT_FALSE(c.paintPastBox->isChecked());
    EXPECT_FALSE(c.todayAsPastBox->isEnabled());
}

// Records the region of every paint of a widget.
class PaintRegions : public QObject {
public:
    explicit PaintRegions(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            regions.push_back(static_cast<QPaintEvent*>(e)->region());
        return false;
    }
    std::vector<QRegion> regions;
};

TEST_F(Panels, TheScreenShowsOnlyWhatARepaintChanged) {
    QCoreApplication::processEvents();
    PaintRegions paints(g->mainWindow->imageView);
    const QRect image(0, 0, 1024, 768);
    const auto shown = [&] {
        QCoreApplication::processEvents();
        QRegion all;
        for (const QRegion& r : paints.regions)
            all += r;
        paints.regions.clear();
        return all;
    };
    // One step of the radius: the old wheel's box (the larger) and the credit line.
    props().radiusField->stepBy(-1);
    const QRegion step = shown();
    const QRect wheel(512 - 364, 384 - 364, 2 * 364 + 1, 2 * 364 + 1);
    for (const QRect& r : step - wheel - QRect(990, 0, 34, 768))
        ADD_FAILURE() << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    EXPECT_TRUE(step.contains(wheel.adjusted(8, 8, -8, -8)));
    // Moved wheel: old and new place; the screen then matches the image.
    props().offsetXField->setValue(200);
    EXPECT_TRUE(shown().contains(QRect(512 - 340, 384 - 340, 880, 680)));
    // A new background colour shows everywhere.
    services.colourAnswers.push_back(0x00FF00);
    colours().colourPanelPressed(ColoursPanel::Back, Qt::LeftButton);
    EXPECT_EQ(shown().boundingRect(), image);
    EXPECT_EQ(g->mainWindow->imageView->grab().toImage().convertToFormat(QImage::Format_RGB32),
              g->canvas.image());
}

// Forty steps up of the radius, each a new geometry: after every step the window's backing store
// shows, over the image view, the canvas's image (every step reached the screen, and nothing of
// an older wheel was left behind).
TEST_F(Panels, EveryRadiusStepReachesTheScreenAndLeavesNothingBehind) {
    QCoreApplication::processEvents();
    ImageView* view = g->mainWindow->imageView;
    QBackingStore* store = view->window()->backingStore();
    ASSERT_TRUE(store);
    for (int i = 0; i < 40; ++i) {
        props().radiusField->stepBy(1);
        QCoreApplication::processEvents();
        QPaintDevice* device = store->paintDevice();
        ASSERT_EQ(device->devType(), QInternal::Image);
        const QRect visible = view->visibleRegion().boundingRect();
        ASSERT_FALSE(visible.isEmpty());
        const QPoint at = view->mapTo(view->window(), visible.topLeft());
        const QImage shown = static_cast<QImage*>(device)
                                 ->copy(QRect(at, visible.size()))
                                 .convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown, g->canvas.image().copy(visible)) << "step " << i;
    }
}

// Every number the fields take paints the whole period, records every cell and stays within a
// small factor of a normal repaint, wherever the wheel ends up.
TEST_F(Panels, ExtremeFieldValuesPaintSafelyAndFast) {
    PropertiesPanel& p = props();
    const auto timed = [&] {
        QElapsedTimer t;
        qint64 best = std::numeric_limits<qint64>::max();
        for (int i = 0; i < 3; ++i) {
            t.start();
            g->mainWindow->RepaintCalendar();
            best = std::min(best, t.nsecsElapsed());
        }
        return best;
    };
    const qint64 normal = timed();
    const int cells = datedCells();
    ASSERT_GT(cells, 250);

    const auto check = [&](const char* what) {
        const qint64 took = timed();
        EXPECT_TRUE(services.messages.isEmpty()) << what;
        EXPECT_EQ(datedCells(), cells) << what;
        EXPECT_LT(took, 6 * normal + 20'000'000) << what << ": " << took << " ns vs " << normal;
    };
    p.radiusField->selectAll();
    Type(p.radiusField, QStringLiteral("9999"));
    ASSERT_EQ(g->doc.state.Radius, 9999);
    check("largest radius");
    Type(p.dayHeightField, QStringLiteral("9")); // 249 high rings
    check("largest radius, tall rings");
    p.radiusField->selectAll();
    Type(p.radiusField, QStringLiteral("0"));
    check("radius 0, negative inner radii");
    p.radiusField->selectAll();
    Type(p.radiusField, QStringLiteral("4"));
    p.dayHeightField->selectAll();
    Type(p.dayHeightField, QStringLiteral("1"));
    check("radius 4, ring height 1");
    p.radiusField->setValue(2048);
    for (const std::int32_t offset : {std::numeric_limits<std::int32_t>::max(),
                                      std::numeric_limits<std::int32_t>::min(), 5000, -3000}) {
        p.offsetXField->setValue(offset);
        p.offsetYField->setValue(-std::int64_t{offset});
        check("offset wheel");
    }

    // Drawing is clipped, the rules are not: a bad highlight colour in a cell off the image
    // still stops the paint.
    g->doc.highlights.add(QStringLiteral("12/10/2026$red#Off the image"));
    p.offsetXField->setValue(100000);
    EXPECT_EQ(services.messages.size(), 1);
}

} // namespace
