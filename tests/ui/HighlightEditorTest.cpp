#include "DesktopFixture.h"
#include "HighlightDialog.h"
#include "ImageCanvas.h"
#include "Palette.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

using namespace gyrodex;

namespace {

class Editor : public DesktopFixture {
protected:
    void SetUp() override {
        DesktopFixture::SetUp();
        start();
    }
    HighlightDialog& ed() { return *g->highlightDialog; }
    void setDate(int month, int day, int year) { ed().dateField->setDate(QDate(year, month, day)); }
    QString dateText() { return ed().dateField->text(); }
    QAction* menuItem(QMenu* menu, const QString& caption) {
        for (QAction* a : menu->actions())
            if (a->text() == caption)
                return a;
        ADD_FAILURE() << qPrintable(caption);
        return nullptr;
    }
    // Shows the editor as a window of its own, active, for keyboard tests.
    void showActive() {
        ed().model->refresh();
        ed().show();
        ed().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&ed()));
    }
    void fill(const QStringList& entries) {
        for (const QString& e : entries)
            g->doc.highlights.add(e);
        ed().model->refresh();
    }
};

TEST_F(Editor, StartsLaidOutWithItsDesignedValues) {
    HighlightDialog& e = ed();
    EXPECT_EQ(e.windowTitle(), "Highlight Dates");
    EXPECT_EQ(e.parentWidget(), &main());
    EXPECT_FALSE(e.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(dateText(), "01/01/1999");
    EXPECT_EQ(e.dateField->geometry(), QRect(50, 4, 93, 21));
    EXPECT_EQ(e.colourSwatch->colour(), 8454016u);
    EXPECT_EQ(e.descriptionField->geometry(), QRect(4, 76, 139, 21));
    EXPECT_EQ(e.daysField->minimum(), 1);
    EXPECT_EQ(e.daysField->maximum(), 99);
    EXPECT_TRUE(e.autoAdvanceBox->isChecked());
    EXPECT_TRUE(e.previewBox->isChecked());
    EXPECT_EQ(e.okButton->geometry(), QRect(7, 324, 133, 25));
    EXPECT_TRUE(e.okButton->isDefault());
    EXPECT_EQ(e.leftPane->width(), 149);

    // The list grows with the window.
    e.resize(600, 500);
    e.show();
    EXPECT_EQ(e.listView->geometry().left(), 149);
    EXPECT_EQ(e.listView->geometry().right(), e.width() - 1);
    EXPECT_EQ(e.listView->height(), 500);

    // The tab order.
    QWidget* order[] = {e.dateField,     e.colourSwatch, e.descriptionField, e.addButton,
                        e.daysField,     e.deleteButton, e.clearButton,      e.importButton,
                        e.exportButton,  e.previewBox,   e.okButton,         e.cancelButton,
                        e.autoAdvanceBox};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        QWidget* next = order[i]->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus || next->focusProxy())
            next = next->nextInFocusChain();
        EXPECT_EQ(next, order[i + 1]) << i;
    }
    e.hide();
}

TEST_F(Editor, DescriptionLimitsTypingButShowsALongEntryWhole) {
    showActive();
    ed().descriptionField->setFocus();
    QTest::keyClicks(ed().descriptionField, QString(50, QLatin1Char('a')));
    EXPECT_EQ(ed().descriptionField->text().size(), 40);

    const QString longText = QString(300, QLatin1Char('b'));
    fill({QStringLiteral("01/02/2000$255#") + longText});
    ed().selectIndex(0);
    ed().showSelection();
    EXPECT_EQ(ed().descriptionField->text(), longText.left(255));
    EXPECT_EQ(ed().colourSwatch->colour(), 255u);
    // Such a text can be shortened but not lengthened by typing.
    QTest::keyClick(ed().descriptionField, Qt::Key_Backspace);
    EXPECT_EQ(ed().descriptionField->text().size(), 254);
    QTest::keyClicks(ed().descriptionField, QStringLiteral("cc"));
    EXPECT_EQ(ed().descriptionField->text().size(), 254);
    ed().hide();
}

TEST_F(Editor, DateMenuMovesAcrossMonthsLeapDaysAndThePeriod) {
    EXPECT_EQ(menuItem(ed().dateMenu, "&Add")->menu(), ed().addMenu);
    QStringList captions;
    for (QAction* a : ed().subtractMenu->actions())
        captions << a->text();
    EXPECT_EQ(captions, QStringList({"1 day", "5 days", "10 days", "50 days", "100 days"}));

    setDate(2, 26, 2000);
    menuItem(ed().addMenu, "5 days")->trigger();
    EXPECT_EQ(dateText(), "03/02/2000");
    setDate(1, 1, 2000);
    menuItem(ed().subtractMenu, "1 day")->trigger();
    EXPECT_EQ(dateText(), "12/31/1999");
    setDate(2, 28, 2000);
    menuItem(ed().addMenu, "1 day")->trigger();
    EXPECT_EQ(dateText(), "02/29/2000");
    setDate(3, 1, 1999);
    menuItem(ed().subtractMenu, "1 day")->trigger();
    EXPECT_EQ(dateText(), "02/28/1999");
    menuItem(ed().addMenu, "100 days")->trigger();
    EXPECT_EQ(dateText(), "06/08/1999");

    menuItem(ed().dateMenu, "&Today")->trigger();
    EXPECT_EQ(dateText(), "12/08/2026");
    state().StartDate = MakeDayDate(1, 1, 1999);
    state().EndDate = MakeDayDate(16, 9, 1999);
    main().RepaintCalendar();
    menuItem(ed().dateMenu, "Calendar &End")->trigger();
    EXPECT_EQ(dateText(), "09/16/1999");
    menuItem(ed().dateMenu, "&Calendar Start")->trigger();
    EXPECT_EQ(dateText(), "01/01/1999");
}

TEST_F(Editor, AddDaysAcrossAYearEndWithAndWithoutAdvance) {
    setDate(12, 30, 1999);
    ed().daysField->setValue(3);
    ed().descriptionField->setText(QStringLiteral("New # $ year"));
    repaints = 0;
    ed().addButton->click();
    EXPECT_EQ(g->doc.highlights.entries(),
              QStringList({"01/01/2000$8454016#New # $ year", "12/30/1999$8454016#New # $ year",
                           "12/31/1999$8454016#New # $ year"}));
    EXPECT_EQ(dateText(), "01/02/2000");
    EXPECT_EQ(ed().daysField->value(), 1);
    EXPECT_EQ(ed().model->rowCount(), 3);
    EXPECT_EQ(repaints, 1);

    ed().autoAdvanceBox->setChecked(false);
    ed().previewBox->setChecked(false);
    setDate(2, 28, 1999);
    ed().daysField->setValue(2);
    ed().addButton->click();
    EXPECT_EQ(dateText(), "02/28/1999");
    EXPECT_EQ(ed().daysField->value(), 1);
    EXPECT_TRUE(g->doc.highlights.entries().contains("03/01/1999$8454016#New # $ year"));
    EXPECT_EQ(repaints, 1);
}

TEST_F(Editor, DeleteSelectsTheNextRowAndKeepsTheFields) {
    fill({"01/01/2000$1#a", "01/02/2000$2#b", "01/03/2000$3#c"});
    ed().colourSwatch->setColour(7);
    ed().descriptionField->setText(QStringLiteral("typed"));
    repaints = 0;
    // Nothing selected: nothing happens, nothing is repainted.
    ed().deleteButton->click();
    EXPECT_EQ(g->doc.highlights.size(), 3);
    EXPECT_EQ(repaints, 0);

    ed().selectIndex(2);
    ed().deleteButton->click();
    EXPECT_EQ(g->doc.highlights.entries(), QStringList({"01/01/2000$1#a", "01/02/2000$2#b"}));
    EXPECT_EQ(ed().selectedIndex(), 1);
    EXPECT_EQ(ed().colourSwatch->colour(), 7u);
    EXPECT_EQ(ed().descriptionField->text(), "typed");
    EXPECT_EQ(repaints, 1);

    ed().selectIndex(0);
    ed().deleteButton->click();
    EXPECT_EQ(ed().selectedIndex(), 0);
    ed().deleteButton->click();
    EXPECT_TRUE(g->doc.highlights.isEmpty());
    EXPECT_EQ(ed().selectedIndex(), -1);
    EXPECT_EQ(ed().model->rowCount(), 0);
    EXPECT_EQ(repaints, 3);
}

TEST_F(Editor, DeleteKeyWorksWhileTypingAndStillReachesTheField) {
    fill({"01/01/2000$1#a", "01/02/2000$2#b", "01/03/2000$3#c"});
    showActive();
    ed().selectIndex(0);
    ed().descriptionField->setText(QStringLiteral("abc"));
    ed().descriptionField->setFocus();
    ed().descriptionField->setCursorPosition(1);
    QTest::keyClick(ed().descriptionField, Qt::Key_Delete);
    EXPECT_EQ(ed().descriptionField->text(), "ac");
    EXPECT_EQ(g->doc.highlights.entries(), QStringList({"01/02/2000$2#b", "01/03/2000$3#c"}));

    // A spin box hands the key on to its text: still one entry per key press.
    ed().dateField->setFocus();
    QTest::keyClick(ed().dateField, Qt::Key_Delete);
    EXPECT_EQ(g->doc.highlights.entries(), QStringList({"01/03/2000$3#c"}));
    ed().hide();
}

TEST_F(Editor, ArrowKeysAndClicksReadOutTheSelection) {
    fill({"01/01/2000$255#first", "01/02/2000$65280#second", "01/03/2000$bad#third"});
    showActive();
    ed().listView->setFocus();
    const QRect row0 = ed().listView->visualRect(ed().model->index(0));
    QTest::mouseClick(ed().listView->viewport(), Qt::LeftButton, {}, row0.center());
    EXPECT_EQ(ed().descriptionField->text(), "first");
    EXPECT_EQ(ed().colourSwatch->colour(), 255u);
    QTest::keyClick(ed().listView, Qt::Key_Down);
    EXPECT_EQ(ed().selectedIndex(), 1);
    EXPECT_EQ(ed().descriptionField->text(), "second");
    EXPECT_EQ(ed().colourSwatch->colour(), 65280u);
    // A colour field that is no number leaves the colour as it was.
    QTest::keyClick(ed().listView, Qt::Key_Down);
    EXPECT_EQ(ed().descriptionField->text(), "third");
    EXPECT_EQ(ed().colourSwatch->colour(), 65280u);
    EXPECT_EQ(dateText(), "01/01/1999");

    // Rows are 16 pixels: a 14 x 14 square in the entry's colour with a black outline.
    const QImage shot = ed().listView->viewport()->grab().toImage();
    const QRect row1 = ed().listView->visualRect(ed().model->index(1));
    EXPECT_EQ(row1.height(), 16);
    EXPECT_EQ(shot.pixel(row0.left() + 1, row0.top() + 1), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixel(row0.left() + 14, row0.top() + 14), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixel(row0.left() + 8, row0.top() + 8), qRgb(255, 0, 0));
    EXPECT_NE(shot.pixel(row0.left() + 15, row0.top() + 8), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixel(row1.left() + 8, row1.top() + 8), qRgb(0, 255, 0));
    ed().hide();
}

TEST_F(Editor, ExportThenImportIntoAnEmptyListAndIntoTheSameList) {
    const QStringList entries = {"01/01/2000$255#Party # $", "01/01/2000$255#Party # $",
                                 "12/25/1999$16711680#"};
    fill(entries);
    const QString file = dir.filePath(QStringLiteral("days.txt"));
    services.saveAnswers = {file};
    ed().exportButton->click();
    ASSERT_EQ(services.fileRequests.size(), 1u);
    EXPECT_EQ(services.fileRequests[0].title, "Save Highlighted Days");
    EXPECT_EQ(services.fileRequests[0].defaultExtension, "TXT");
    EXPECT_EQ(services.fileRequests[0].filter,
              "Text Files (*.txt)|*.txt|iCalendar Files (*.ics)|*.ics|All Files (*.*)|*.*");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), entries.join("\r\n").toUtf8() + "\r\n");

    ed().clearButton->click();
    EXPECT_EQ(ed().model->rowCount(), 0);
    services.openAnswers = {file};
    repaints = 0;
    ed().importButton->click();
    EXPECT_EQ(services.fileRequests[1].title, "Load Highlighted Days");
    EXPECT_EQ(g->doc.highlights.entries(), entries);
    EXPECT_EQ(repaints, 1);
    services.openAnswers = {file};
    ed().importButton->click();
    EXPECT_EQ(g->doc.highlights.size(), 6);
    EXPECT_EQ(ed().model->rowCount(), 6);
    // Cancelled: nothing read, still redrawn and repainted.
    ed().importButton->click();
    EXPECT_EQ(g->doc.highlights.size(), 6);
    EXPECT_EQ(repaints, 3);
    EXPECT_TRUE(services.messages.isEmpty());

    // A file that cannot be written or read is reported, the list stays.
    services.saveAnswers = {dir.filePath(QStringLiteral("missing/days.txt"))};
    ed().exportButton->click();
    services.openAnswers = {dir.filePath(QStringLiteral("missing.txt"))};
    ed().importButton->click();
    EXPECT_EQ(services.messages.size(), 2);
    EXPECT_EQ(g->doc.highlights.size(), 6);
}

TEST_F(Editor, IcsFilesAreImportedAndExportedByTheirExtension) {
    state().StartDate = MakeDayDate(1, 12, 2026);
    state().EndDate = MakeDayDate(31, 12, 2026);
    g->doc.colours.current = 0x123456;
    const QString ics = dir.filePath(QStringLiteral("days.ics"));
    QFile f(ics);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:a\r\nDTSTART;VALUE=DATE:20261224\r\n"
            "DTEND;VALUE=DATE:20261226\r\nSUMMARY:Holidays\r\nEND:VEVENT\r\n"
            "END:VCALENDAR\r\n");
    f.close();
    services.openAnswers = {ics};
    repaints = 0;
    ed().importButton->click();
    // The current paint colour for an event without one; the wheel is repainted.
    const QStringList entries = {"12/24/2026$1193046#Holidays", "12/25/2026$1193046#Holidays"};
    EXPECT_EQ(g->doc.highlights.entries(), entries);
    EXPECT_EQ(ed().model->rowCount(), 2);
    EXPECT_EQ(repaints, 1);
    const auto [spoke, ring] = cellOf(MakeDayDate(25, 12, 2026));
    EXPECT_EQ(state().Cells.at(spoke, ring).fill, 0x123456u);
    EXPECT_EQ(state().Cells.at(spoke, ring).description, "Holidays");

    const QString out = dir.filePath(QStringLiteral("out.ics"));
    services.saveAnswers = {out};
    ed().exportButton->click();
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray text = written.readAll();
    EXPECT_TRUE(text.startsWith("BEGIN:VCALENDAR\r\n"));
    EXPECT_EQ(text.count("BEGIN:VEVENT"), 1);
    // A file libical can't read is reported, the list stays.
    QFile bad(dir.filePath(QStringLiteral("bad.ics")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("BEGIN:VCALENDAR\r\nBEGIN:VEV");
    bad.close();
    services.openAnswers = {bad.fileName()};
    ed().importButton->click();
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_TRUE(services.messages[0].startsWith("Unable to read " + bad.fileName() + ": "));
    EXPECT_EQ(g->doc.highlights.entries(), entries);
}

TEST_F(Editor, PaletteRepaintsAfterOkOnlyAndCancelKeepsTheChanges) {
    state().AutoPreview = false;
    ed().previewBox->setChecked(false);
    g->doc.highlights.add(QStringLiteral("12/25/2026$255#Outside"));
    services.dialogScripts.push_back([this](QDialog& d) {
        // The list was read again when the editor opened.
        EXPECT_EQ(ed().model->rowCount(), 1);
        setDate(12, 24, 2026);
        ed().descriptionField->setText(QStringLiteral("Eve"));
        ed().addButton->click();
        d.reject();
    });
    repaints = 0;
    g->palette->highlightsButton->click();
    EXPECT_EQ(repaints, 0);
    EXPECT_EQ(g->doc.highlights.size(), 2);
    // The fields keep their values for the next showing.
    EXPECT_EQ(ed().descriptionField->text(), "Eve");
    EXPECT_EQ(dateText(), "12/25/2026");
    EXPECT_FALSE(ed().previewBox->isChecked());

    services.dialogScripts.push_back([](QDialog& d) { d.accept(); });
    g->palette->highlightsButton->click();
    EXPECT_EQ(repaints, 1);
}

TEST_F(Editor, HundredThousandEntriesStayOneListOfRows) {
    // Made in the list's own (textual) order, so that each entry is appended.
    for (int month = 1; month <= 12; ++month)
        for (int dayOfMonth = 1; dayOfMonth <= 31; ++dayOfMonth)
            for (int year = 1800; year < 2200 && g->doc.highlights.size() < 100000; ++year) {
                const DayDate day = MakeDayDate(dayOfMonth, month, year);
                if (IsRealDate(day))
                    g->doc.highlights.add(MakeEntry(DateText(day), 255, QStringLiteral("x")));
            }
    ASSERT_EQ(g->doc.highlights.size(), 100000);
    ed().previewBox->setChecked(false);
    services.dialogScripts.push_back([this](QDialog& d) {
        EXPECT_EQ(ed().model->rowCount(), 100000);
        ed().selectIndex(99999);
        ed().deleteButton->click();
        EXPECT_EQ(ed().selectedIndex(), 99998);
        ed().addButton->click();
        EXPECT_EQ(ed().model->rowCount(), 100000);
        d.accept();
    });
    EXPECT_TRUE(ed().runModal());
}

} // namespace
