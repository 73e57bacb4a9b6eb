#include "DayDialog.h"
#include "DesktopFixture.h"
#include "HighlightDialog.h"
#include "ImageSizeDialog.h"
#include "ImageView.h"
#include "Painter.h"
#include "Palette.h"
#include "ProgramSettings.h"
#include "SharedDialogs.h"
#include "SpinField.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

using namespace gyrodex;

namespace {

const DayDate kChristmas = MakeDayDate(25, 12, 2026); // a Friday after today
const DayDate kBoxingDay = MakeDayDate(26, 12, 2026); // a Saturday

class Tools : public DesktopFixture {
protected:
    void SetUp() override {
        DesktopFixture::SetUp();
        start();
    }
    void tool(PaintTool t) { main().setTool(t); }
    void hintSettings(int type, const QString& format = QStringLiteral("ddd")) {
        g->settings.SetInteger(QStringLiteral("HintType"), type);
        g->settings.SetString(QStringLiteral("DateFormat"), format);
    }
    void repaint() { main().RepaintCalendar(); }
    QLabel& hint() { return *main().hintLabel; }
    QRgb pixelAt(QPoint p) { return g->canvas.image().pixel(p); }
};

TEST_F(Tools, PointerShapesFollowTheToolFromTheFirstChoiceOn) {
    EXPECT_EQ(main().imageView->cursor().shape(), Qt::ArrowCursor);
    const struct {
        PaintTool tool;
        QPoint hotSpot;
    } shapes[] = {{PaintTool::Pointer, {0, 0}},
                  {PaintTool::Picker, {3, 15}},
                  {PaintTool::Fill, {14, 20}},
                  {PaintTool::Text, {5, 10}},
                  {PaintTool::Erase, {0, 14}}};
    for (const auto& s : shapes) {
        tool(s.tool);
        const QCursor c = main().imageView->cursor();
        EXPECT_EQ(c.shape(), Qt::BitmapCursor);
        EXPECT_EQ(c.hotSpot(), s.hotSpot) << static_cast<int>(s.tool);
        EXPECT_EQ(c.pixmap().size(), QSize(32, 32));
    }
    tool(PaintTool::PickDate);
    EXPECT_EQ(main().imageView->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(main().cursors.count(3), 0u);
    EXPECT_EQ(main().cursors.size(), 5u);
}

TEST_F(Tools, PointerEventsOnTheImageReachTheHandlers) {
    tool(PaintTool::Fill);
    const QPoint p = pointOf(kChristmas);
    QTest::mouseMove(main().imageView, p);
    EXPECT_EQ(state().HoverRing, cellOf(kChristmas).second);
    QTest::mousePress(main().imageView, Qt::LeftButton, {}, p);
    EXPECT_EQ(QPoint(state().PressX, state().PressY), p);
    QTest::mouseRelease(main().imageView, Qt::LeftButton, {}, p);
    EXPECT_EQ(QPoint(state().ReleaseX, state().ReleaseY), p);
    EXPECT_EQ(g->doc.highlights.entries(), QStringList({"12/25/2026$16777215#"}));
}

TEST_F(Tools, RightAndMiddleReleasesOnlyHideTheHintAndTakeTheDate) {
    g->doc.highlights.add(QStringLiteral("12/25/2026$255#Christmas"));
    repaint();
    tool(PaintTool::Fill);
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        const QPoint p = pointOf(kChristmas);
        main().imageMouseMove({}, p.x(), p.y());
        ASSERT_TRUE(hint().isVisibleTo(&main()));
        main().imageMousePress(button, {}, p.x(), p.y());
        main().imageMouseRelease(button, {}, p.x(), p.y());
        EXPECT_FALSE(hint().isVisibleTo(&main()));
        EXPECT_EQ(state().CurrentDate, kChristmas);
        EXPECT_EQ(g->doc.highlights.size(), 1);
        EXPECT_EQ(state().BackColour, 0xD15C6Fu);
    }
    // Off the wheel the date is the no-date value.
    main().imageMouseRelease(Qt::RightButton, {}, 3, 3);
    EXPECT_EQ(state().CurrentDate.Day, 0);
    EXPECT_EQ(repaints, 2);
}

TEST_F(Tools, PointerMovesTheWheelByTheDragWithOneRepaint) {
    state().AutoPreview = false;
    int changes = 0;
    QObject::connect(g.get(), &EditPath::changed, [&] {
        ++changes;
        EXPECT_TRUE(state().RepaintSuspended);
    });
    tool(PaintTool::Pointer);
    repaints = 0;
    main().imageMousePress(Qt::LeftButton, {}, 100, 100);
    main().imageMouseRelease(Qt::LeftButton, {}, 100, 100);
    EXPECT_EQ(state().CentreOffsetX, 0);
    EXPECT_EQ(state().CentreOffsetY, 0);
    EXPECT_EQ(repaints, 1);

    main().imageMousePress(Qt::LeftButton, {}, 200, 300);
    main().imageMouseMove({}, 215, 295);
    main().imageMouseRelease(Qt::LeftButton, {}, 230, 290);
    EXPECT_EQ(state().CentreOffsetX, 30);
    EXPECT_EQ(state().CentreOffsetY, -10);
    EXPECT_EQ(state().CentreX, 512 + 30);
    EXPECT_EQ(state().CentreY, 384 - 10);
    EXPECT_EQ(repaints, 2);
    EXPECT_EQ(changes, 2);
    EXPECT_FALSE(state().RepaintSuspended);
}

TEST_F(Tools, FillOnTheBackgroundRecoloursItWithRepaintAllLeftOff) {
    state().RepaintAll = false;
    g->doc.colours.current = 0x00FF00;
    tool(PaintTool::Fill);
    repaints = 0;
    click({5, 5});
    EXPECT_EQ(state().BackColour, 0x00FF00u);
    EXPECT_FALSE(state().RepaintAll);
    EXPECT_EQ(repaints, 1);
    EXPECT_TRUE(g->doc.highlights.isEmpty());
    // The whole image was cleared to the new background, not only the cells.
    EXPECT_EQ(g->canvas.pixel(5, 5), 0x00FF00u);
    EXPECT_EQ(g->canvas.pixel(1000, 20), 0x00FF00u);
}

TEST_F(Tools, FillOnADayRecoloursItsFirstEntryAndPaintsOnlyItsCell) {
    g->doc.highlights.add(QStringLiteral("12/25/2026$255#Christmas #1 $5"));
    g->doc.highlights.add(QStringLiteral("12/25/2026$65280#Second"));
    repaint();
    state().AutoPreview = false;
    g->doc.colours.current = 0xFF0000;
    tool(PaintTool::Fill);
    repaints = 0;
    const QImage before = g->canvas.image().copy();
    click(pointOf(kChristmas));
    EXPECT_EQ(repaints, 0);
    // The first entry of the day takes the colour and keeps its description; the painter
    // still shows the later entry.
    EXPECT_EQ(g->doc.highlights.entries(),
              QStringList({"12/25/2026$16711680#Christmas #1 $5", "12/25/2026$65280#Second"}));
    // Only pixels near the cell changed.
    const QImage& after = g->canvas.image();
    const QPoint centre = pointOf(kChristmas);
    for (int y = 0; y < after.height(); y += 2)
        for (int x = 0; x < after.width(); x += 2)
            if (before.pixel(x, y) != after.pixel(x, y)) {
                ASSERT_LT((QPoint(x, y) - centre).manhattanLength(), 60) << x << "," << y;
            }

    // A day without an entry gets one with an empty description, and the cell its colour.
    click(pointOf(kBoxingDay));
    EXPECT_TRUE(g->doc.highlights.entries().contains("12/26/2026$16711680#"));
    EXPECT_EQ(pixelAt(pointOf(kBoxingDay)), ToQColor(0xFF0000).rgb());
}

TEST_F(Tools, TextOkWithoutChangesCreatesTheEntryTheCellShowed) {
    tool(PaintTool::Text);
    services.dialogScripts.push_back([](QDialog& d) {
        auto& day = dynamic_cast<DayDialog&>(d);
        EXPECT_EQ(day.dateLabel->text(), "Fri"); // the hint's default format, "ddd"
        EXPECT_EQ(day.descriptionField->text(), "");
        EXPECT_EQ(day.colourSwatch->colour(), 0x80FFFFu);
        d.accept();
    });
    click(pointOf(kChristmas));
    EXPECT_EQ(g->doc.highlights.entries(), QStringList({"12/25/2026$8454143#"}));

    // A description longer than the 40 characters a cell keeps survives an unchanged OK.
    const QString longText = QString(60, QLatin1Char('x'));
    g->doc.highlights.clear();
    g->doc.highlights.add(QStringLiteral("12/26/2026$255#") + longText);
    repaint();
    hintSettings(0, QStringLiteral("dddd, mm/dd/yyyy"));
    services.dialogScripts.push_back([&](QDialog& d) {
        EXPECT_EQ(dynamic_cast<DayDialog&>(d).dateLabel->text(), "Saturday, 12/26/2026");
        EXPECT_EQ(dynamic_cast<DayDialog&>(d).descriptionField->text(), longText);
        d.accept();
    });
    click(pointOf(kBoxingDay));
    EXPECT_EQ(g->doc.highlights.entries(), QStringList({"12/26/2026$255#" + longText}));

    // Cancel changes nothing; OK with an emptied description leaves an entry ending in "#".
    services.dialogScripts.push_back([](QDialog& d) {
        dynamic_cast<DayDialog&>(d).descriptionField->setText(QStringLiteral("changed"));
        d.reject();
    });
    click(pointOf(kBoxingDay));
    EXPECT_EQ(g->doc.highlights.entries(), QStringList({"12/26/2026$255#" + longText}));
    services.dialogScripts.push_back([](QDialog& d) {
        auto& day = dynamic_cast<DayDialog&>(d);
        day.descriptionField->clear();
        day.colourSwatch->setColour(0x123456);
        d.accept();
    });
    click(pointOf(kBoxingDay));
    EXPECT_EQ(g->doc.highlights.entries(), QStringList({"12/26/2026$1193046#"}));
    EXPECT_EQ(state().Cells.at(cellOf(kBoxingDay).first, cellOf(kBoxingDay).second).description,
              "");
    EXPECT_EQ(pixelAt(pointOf(kBoxingDay)), ToQColor(0x123456).rgb());

    // Off the days the dialog does not open.
    click({5, 5});
    EXPECT_TRUE(services.dialogScripts.empty());
}

TEST_F(Tools, EraseOnADayWithoutAnEntryEmptiesTheCellOnly) {
    g->doc.highlights.add(QStringLiteral("12/20/2026$255#Note about 12/25/2026"));
    g->doc.highlights.add(QStringLiteral("12/25/2026$255#Christmas"));
    repaint();
    tool(PaintTool::Erase);
    // The first entry containing the date is the note on another day.
    click(pointOf(kChristmas));
    EXPECT_EQ(g->doc.highlights.entries(), QStringList({"12/25/2026$255#Christmas"}));
    // The cell is painted again from the entry that is left.
    const auto [spoke, ring] = cellOf(kChristmas);
    EXPECT_EQ(state().Cells.at(spoke, ring).description, "Christmas");
    click(pointOf(kChristmas));
    EXPECT_TRUE(g->doc.highlights.isEmpty());
    EXPECT_EQ(state().Cells.at(spoke, ring).description, "");
    EXPECT_EQ(pixelAt(pointOf(kChristmas)), ToQColor(0x80FFFF).rgb());
    // Nothing left to erase: the list stays empty, the cell is painted again.
    click(pointOf(kChristmas));
    EXPECT_TRUE(g->doc.highlights.isEmpty());
    EXPECT_EQ(pixelAt(pointOf(kChristmas)), ToQColor(0x80FFFF).rgb());
}

// A new image size moves the wheel away from under the hint: the hint goes, whether the
// window keeps its frame or gets another.
TEST_F(Tools, ANewImageSizeHidesTheHint) {
    g->doc.highlights.add(QStringLiteral("12/25/2026$255#Christmas"));
    repaint();
    for (const QSize size : {QSize(800, 600), QSize(1024, 768), QSize(1024, 768)}) {
        const QPoint described = pointOf(kChristmas);
        main().imageMouseMove({}, described.x(), described.y());
        ASSERT_TRUE(hint().isVisibleTo(&main()));
        services.dialogScripts.push_back([size](QDialog& d) {
            auto& dialog = dynamic_cast<ImageSizeDialog&>(d);
            dialog.widthField->setValue(size.width());
            dialog.heightField->setValue(size.height());
            d.accept();
        });
        g->palette->sizeAction->trigger();
        EXPECT_EQ(g->canvas.image().size(), size);
        EXPECT_FALSE(hint().isVisibleTo(&main())) << size.width();
    }
}

TEST_F(Tools, HintTextsFollowTheSettingsReadAtEveryMove) {
    g->doc.highlights.add(QStringLiteral("12/25/2026$255#Christmas"));
    repaint();
    const QPoint described = pointOf(kChristmas);
    const QPoint plain = pointOf(kBoxingDay);
    hintSettings(0);
    main().imageMouseMove({}, plain.x(), plain.y());
    EXPECT_FALSE(hint().isVisibleTo(&main()));
    main().imageMouseMove({}, described.x(), described.y());
    EXPECT_TRUE(hint().isVisibleTo(&main()));
    EXPECT_EQ(hint().text(), "  Christmas  ");
    EXPECT_EQ(hint().pos(), described + QPoint(-4, 20));
    EXPECT_EQ(hint().size(), hint().sizeHint());

    hintSettings(1, QStringLiteral("mm/dd/yyyy"));
    main().imageMouseMove({}, described.x(), described.y());
    EXPECT_EQ(hint().text(), "  Christmas,  12/25/2026  ");
    main().imageMouseMove({}, plain.x(), plain.y());
    EXPECT_EQ(hint().text(), "  12/26/2026  ");
    EXPECT_EQ(hint().size(), hint().sizeHint());

    // An unknown hint type shows the hint with the text it had.
    hintSettings(2);
    main().imageMouseMove({}, described.x(), described.y());
    EXPECT_TRUE(hint().isVisibleTo(&main()));
    EXPECT_EQ(hint().text(), "  12/26/2026  ");

    // Off the dated cells the hint goes.
    main().imageMouseMove({}, 5, 5);
    EXPECT_FALSE(hint().isVisibleTo(&main()));
}

TEST_F(Tools, HintStaysOnTheScreenNearTheBottomAndRightEdges) {
    hintSettings(1);
    // The wheel moved down, its first week straight below the centre: the period's first
    // day, a Saturday, lies within 40 pixels of the bottom edge.
    state().CentreOffsetY = 150;
    state().StartWeek = 13;
    repaint();
    const auto bottom = pointIn(13, 6);
    ASSERT_NE(state().Cells.at(13, 6).date.Day, 0);
    ASSERT_GT(bottom.y() + 40, 768);
    main().imageMouseMove({}, bottom.x(), bottom.y());
    EXPECT_EQ(hint().y(), bottom.y() - 24);
    main().imageMouseMove({}, bottom.x(), 767 - 40);
    EXPECT_EQ(hint().y(), 767 - 40 + 20);

    state().CentreOffsetY = 0;
    state().StartWeek = 21;
    state().CentreOffsetX = 160;
    repaint();
    g->doc.highlights.add(DateText(state().Cells.at(0, 1).date) +
                          QStringLiteral("$255#A long note"));
    repaint();
    const QPoint right = pointIn(0, 1);
    main().imageMouseMove({}, right.x(), right.y());
    ASSERT_TRUE(hint().isVisibleTo(&main()));
    ASSERT_GT(right.x() - 4 + hint().width(), 1024);
    EXPECT_EQ(hint().geometry().right(), 1023);
}

TEST_F(Tools, SeventeenthPickOverwritesTheFirstCustomColour) {
    tool(PaintTool::Picker);
    repaints = 0;
    for (int i = 1; i <= 17; ++i) {
        g->canvas.setBrush(static_cast<Colour>(i * 0x010203));
        g->canvas.fillRect(QRect(i, 2, 1, 1));
        click({i, 2});
        EXPECT_EQ(g->palette->currentSwatch->colour(), static_cast<Colour>(i * 0x010203));
    }
    EXPECT_EQ(g->dialogs->customColours[0], 17u * 0x010203);
    EXPECT_EQ(g->dialogs->customColours[1], 2u * 0x010203);
    EXPECT_EQ(g->dialogs->customColours[15], 16u * 0x010203);
    EXPECT_EQ(repaints, 0);
}

TEST_F(Tools, PickDatePutsTheDayIntoTheEditorWithoutOpeningIt) {
    tool(PaintTool::PickDate);
    click(pointOf(kChristmas));
    EXPECT_EQ(g->highlightDialog->dateField->date(), QDate(2026, 12, 25));
    EXPECT_FALSE(g->highlightDialog->isVisible());
    click({5, 5});
    EXPECT_EQ(g->highlightDialog->dateField->date(), QDate(2026, 12, 25));
}

TEST_F(Tools, SingleDayDialogIsAFixedToolWindowOverTheImage) {
    DayDialog& d = *g->mainWindow->dayDialog;
    EXPECT_EQ(d.windowTitle(), "Highlight Day");
    EXPECT_EQ(d.size(), QSize(216, 83));
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    EXPECT_EQ(d.parentWidget(), &main());
    EXPECT_EQ(d.descriptionField->maxLength(), 32767);
    EXPECT_EQ(d.colourSwatch->geometry(), QRect(190, 25, 21, 21));
    EXPECT_LT(d.dateLabel->geometry().bottom(), d.descriptionField->geometry().top());
    EXPECT_TRUE(d.okButton->isDefault());
    d.okButton->setFocus();
    d.show();
    EXPECT_EQ(d.focusWidget(), d.descriptionField);
    d.hide();
    services.colourAnswers = {0x0000FF};
    emit d.colourSwatch->clicked();
    EXPECT_EQ(d.colourSwatch->colour(), 0x0000FFu);
}

} // namespace
