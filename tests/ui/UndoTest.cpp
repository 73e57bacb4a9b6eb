// Undo and redo, the question before unsaved work is dropped, and the recovery copy.
#include "CalendarFile.h"
#include "ColoursPanel.h"
#include "DesktopFixture.h"
#include "Error.h"
#include "HighlightDialog.h"
#include "Palette.h"
#include "PropertiesPanel.h"
#include "SpinField.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace gyrodex;

namespace {

const DayDate kChristmas = MakeDayDate(25, 12, 2026);

class Undo : public DesktopFixture {
protected:
    void SetUp() override {
        DesktopFixture::SetUp();
        start();
        repaints = 0;
    }
    QImage image() { return g->canvas.image().copy(); }
    QString path(const QString& name) const { return dir.filePath(name); }
    QAction& undo() { return *g->palette->undoAction; }
    QAction& redo() { return *g->palette->redoAction; }
    void fill(const DayDate& day, Colour colour) {
        g->doc.colours.current = colour;
        main().setTool(PaintTool::Fill);
        click(pointOf(day));
    }
    // Keys typed into a spin field as a user types them, with the events' timestamps.
    void type(SpinField* field, const QString& text) {
        field->selectAll();
        QTest::keyClicks(field, text);
    }
};

} // namespace

TEST_F(Undo, EachKindOfChangeIsOneStepThatGivesBackTheDesignAndThePicture) {
    const QImage first = image();
    const CalendarState original = state();

    // Typing "400" into the radius is one step, however many repaints it made.
    type(g->propertiesPanel->radiusField, QStringLiteral("400"));
    EXPECT_EQ(state().Radius, 400);
    EXPECT_EQ(g->history.count(), 1);
    EXPECT_EQ(undo().text(), QStringLiteral("&Undo Radius"));

    // A fill click and a colour from the colours panel, one step each.
    fill(kChristmas, 0x00FF00);
    EXPECT_EQ(g->doc.highlights.size(), 1);
    services.colourAnswers.push_back(0x123456);
    g->coloursPanel->colourPanelPressed(ColoursPanel::Day, Qt::LeftButton);
    EXPECT_EQ(state().DayColour, 0x123456u);
    EXPECT_EQ(g->history.count(), 3);
    EXPECT_EQ(undo().text(), QStringLiteral("&Undo Colour"));
    const QImage last = image();

    undo().trigger();
    EXPECT_EQ(state().DayColour, original.DayColour);
    EXPECT_EQ(g->coloursPanel->dayPanel->fill(), original.DayColour);
    undo().trigger();
    EXPECT_TRUE(g->doc.highlights.isEmpty());
    undo().trigger();
    EXPECT_EQ(state().Radius, original.Radius);
    EXPECT_EQ(g->propertiesPanel->radiusField->value(), original.Radius);
    EXPECT_EQ(image(), first);
    EXPECT_FALSE(undo().isEnabled());
    EXPECT_FALSE(g->isChanged());

    for (int i = 0; i < 3; ++i)
        redo().trigger();
    EXPECT_EQ(state().Radius, 400);
    EXPECT_EQ(state().DayColour, 0x123456u);
    EXPECT_EQ(g->doc.highlights.size(), 1);
    EXPECT_EQ(image(), last);
    EXPECT_FALSE(redo().isEnabled());
    EXPECT_TRUE(g->isChanged());
}

TEST_F(Undo, FieldsMergeOnlyWithThemselvesAndDatesCorrectedByTheOtherDateAreOneStep) {
    type(g->propertiesPanel->radiusField, QStringLiteral("300"));
    type(g->propertiesPanel->dayHeightField, QStringLiteral("20"));
    type(g->propertiesPanel->radiusField, QStringLiteral("310"));
    EXPECT_EQ(g->history.count(), 3);

    // An end date before the start moves the start date too: one step gives both back.
    const DayDate start = state().StartDate;
    const DayDate end = state().EndDate;
    g->propertiesPanel->endDateField->setDate(QDate(2025, 1, 1));
    EXPECT_EQ(services.messages.size(), 1);
    EXPECT_EQ(g->history.count(), 4);
    undo().trigger();
    EXPECT_EQ(state().StartDate, start);
    EXPECT_EQ(state().EndDate, end);
    EXPECT_EQ(ToQDate(end), g->propertiesPanel->endDateField->date());
}

TEST_F(Undo, HighlightEditorStepsAndAutomaticPreviewOff) {
    HighlightDialog& editor = *g->highlightDialog;
    editor.setDate(kChristmas);
    editor.descriptionField->setText(QStringLiteral("Xmas"));
    editor.addDays();
    editor.setDate(MakeDayDate(31, 12, 2026));
    editor.addDays();
    editor.selectIndex(0);
    editor.deleteHighlight();
    EXPECT_EQ(g->doc.highlights.size(), 1);
    EXPECT_EQ(undo().text(), QStringLiteral("&Undo Delete Highlight"));
    undo().trigger();
    EXPECT_EQ(g->doc.highlights.size(), 2);
    EXPECT_EQ(editor.model->rowCount(), 2);
    editor.clearHighlights();
    undo().trigger();
    EXPECT_EQ(g->doc.highlights.size(), 2);

    // With "Automatic Preview" off a field's step is undone without a repaint, as it was made.
    g->palette->previewBox->setChecked(false);
    repaints = 0;
    type(g->propertiesPanel->radiusField, QStringLiteral("250"));
    undo().trigger();
    EXPECT_EQ(state().Radius, 360);
    EXPECT_EQ(repaints, 0);
}

TEST_F(Undo, OpeningADesignStartsANewHistory) {
    type(g->propertiesPanel->radiusField, QStringLiteral("300"));
    const QString file = path("a.cal");
    SaveCalendarFile(state(), g->doc.highlights, file);
    services.saveChoices.push_back(Services::SaveAnswer::Discard);
    services.openAnswers.push_back(file);
    g->palette->openAction->trigger();
    EXPECT_EQ(g->history.count(), 0);
    EXPECT_FALSE(g->isChanged());
    EXPECT_FALSE(undo().isEnabled());
}

TEST_F(Undo, TheQuestionComesOnlyForAChangedDesignAndEachAnswerDoesWhatItSays) {
    QSignalSpy quit(g.get(), &DesktopApp::quitRequested);
    g->palette->exitButton->click();
    EXPECT_EQ(quit.count(), 1);
    EXPECT_TRUE(services.questions.isEmpty());

    type(g->propertiesPanel->radiusField, QStringLiteral("300"));
    // Cancel (no answer scripted) keeps the program and the design.
    g->palette->exitButton->click();
    EXPECT_EQ(services.questions, QStringList{"Save changes to the new calendar?"});
    EXPECT_EQ(quit.count(), 1);
    EXPECT_EQ(state().Radius, 300);

    // Closing the main window asks the same; Cancel keeps it open.
    QCloseEvent close;
    QApplication::sendEvent(&main(), &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_EQ(services.questions.size(), 2);

    // Open and Reopen ask before their dialog; Cancel opens nothing.
    services.openAnswers.push_back(path("never.cal"));
    g->palette->openAction->trigger();
    EXPECT_EQ(services.questions.size(), 3);
    EXPECT_EQ(services.fileRequests.size(), 0u);

    // Save of a design never saved asks for a name; cancelling that keeps everything.
    services.saveChoices.push_back(Services::SaveAnswer::Save);
    g->palette->exitButton->click();
    EXPECT_EQ(quit.count(), 1);
    const QString file = path("design.cal");
    services.saveChoices.push_back(Services::SaveAnswer::Save);
    services.saveAnswers.push_back(file);
    g->palette->exitButton->click();
    EXPECT_EQ(quit.count(), 2);
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_FALSE(g->isChanged());

    // A save that fails keeps the design and the program.
    type(g->propertiesPanel->radiusField, QStringLiteral("310"));
    QFile::setPermissions(file, QFileDevice::ReadOwner);
    services.saveChoices.push_back(Services::SaveAnswer::Save);
    g->palette->exitButton->click();
    EXPECT_EQ(services.questions.last(), "Save changes to " + file + "?");
    EXPECT_EQ(quit.count(), 2);
    EXPECT_TRUE(g->isChanged());
    EXPECT_EQ(state().Radius, 310);

    // Undoing back to the saved design makes it unchanged: nothing to ask.
    undo().trigger();
    EXPECT_FALSE(g->isChanged());
    const auto asked = services.questions.size();
    g->palette->exitButton->click();
    EXPECT_EQ(services.questions.size(), asked);
    EXPECT_EQ(quit.count(), 3);
}

TEST(Recovery, ACopyIsWrittenWhileChangedOfferedAfterACrashAndGoneAfterASave) {
    QTemporaryDir dir;
    const auto make = [&](qint64 pid) {
        Environment env{
            dir.filePath(QStringLiteral("bin/gyrodex")),
            {dir.filePath(QStringLiteral("cfg.conf")), dir.filePath(QStringLiteral("etc.conf"))},
            QRect(0, 0, 800, 600),
            [] { return QDate(2026, 12, 8); }};
        env.stateFolder = dir.filePath(QStringLiteral("state"));
        env.processId = pid;
        env.processRuns = [](qint64 p) { return p == 7; };
        return env;
    };
    ScriptedServices services;
    QString copy;
    {
        DesktopApp app(services, make(41));
        app.Start();
        copy = app.recoveryFile();
        EXPECT_TRUE(copy.endsWith("state/recovery-41.cal"));
        app.writeRecovery(); // unchanged: nothing to keep
        EXPECT_FALSE(QFile::exists(copy));
        app.propertiesPanel->radiusField->setValue(222);
        app.writeRecovery();
        EXPECT_TRUE(QFile::exists(copy));
        // A running program's copy is left alone by another.
        QFile::copy(copy, dir.filePath(QStringLiteral("state/recovery-7.cal")));
        // Ended without a question (a crash leaves the copy the same way).
        app.Shutdown(false);
    }
    ASSERT_TRUE(QFile::exists(copy));

    // The next start offers it; Recover opens it as a changed design without a name.
    services.recoverChoices.push_back(true);
    DesktopApp app(services, make(42));
    app.Start();
    ASSERT_EQ(services.questions.size(), 1);
    EXPECT_TRUE(services.questions[0].startsWith("Recover the unsaved calendar from "));
    EXPECT_EQ(app.doc.state.Radius, 222);
    EXPECT_TRUE(app.doc.state.CalendarFileName.isEmpty());
    EXPECT_TRUE(app.isChanged());
    EXPECT_FALSE(QFile::exists(copy));
    EXPECT_TRUE(QFile::exists(app.recoveryFile())); // the copy is this program's own now
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("state/recovery-7.cal"))));

    // Saved: the copy goes.
    services.saveAnswers.push_back(dir.filePath(QStringLiteral("saved.cal")));
    app.palette->saveAction->trigger();
    EXPECT_FALSE(app.isChanged());
    EXPECT_FALSE(QFile::exists(app.recoveryFile()));
}

TEST(Recovery, AFolderThatCannotTakeTheCopyIsReportedNotIgnored) {
    QTemporaryDir dir;
    Environment env{
        dir.filePath(QStringLiteral("bin/gyrodex")),
        {dir.filePath(QStringLiteral("cfg.conf")), dir.filePath(QStringLiteral("etc.conf"))},
        QRect(0, 0, 800, 600),
        [] { return QDate(2026, 12, 8); }};
    // A file where the state folder should be.
    QFile blocker(dir.filePath(QStringLiteral("state")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    env.stateFolder = dir.filePath(QStringLiteral("state"));
    env.processId = 5;
    ScriptedServices services;
    DesktopApp app(services, std::move(env));
    app.Start();
    app.propertiesPanel->radiusField->setValue(222);
    try {
        app.writeRecovery();
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), "Unable to write to " + app.recoveryFile());
    }
}

TEST_F(Undo, AFileFromTheCommandLineAsksBeforeItReplacesAChangedDesign) {
    type(g->propertiesPanel->radiusField, QStringLiteral("300"));
    const QString file = path("given.cal");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Misc]\r\nRadius=250\r\n");
    f.close();
    main().openCalendarFile(file); // Cancel
    EXPECT_EQ(state().Radius, 300);
    services.saveChoices.push_back(Services::SaveAnswer::Discard);
    main().openCalendarFile(file);
    EXPECT_EQ(state().Radius, 250);
}
