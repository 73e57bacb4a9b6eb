#include "LabelsPanel.h"

#include "DesktopFixture.h"
#include "Palette.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QTableWidget>
#include <QTest>

using namespace gyrodex;

namespace {

class LabelsPanelTest : public DesktopFixture {
protected:
    LabelsPanel& panel() { return *g->labelsPanel; }
    void addHighlights(const QStringList& entries) {
        g->edit({Change::Highlights, QStringLiteral("Add"),
                 [entries](Document& d) {
                     for (const QString& e : entries)
                         d.highlights.add(e);
                 },
                 Change::Repaint::None, nullptr});
    }
};

} // namespace

TEST_F(LabelsPanelTest, OpensFromItsOwnMenuRowAndEditsThroughTheEditPath) {
    start();
    Palette& p = *g->palette;
    // A row of its own under the two rows of the palette's menus, which keep theirs.
    EXPECT_EQ(p.mainMenu->actions().size(), 2);
    EXPECT_EQ(p.moreMenus->actions().size(), 2);
    EXPECT_EQ(p.viewMenus->actions(), QList<QAction*>{p.viewMenu->menuAction()});
    EXPECT_GE(p.viewMenus->geometry().top(), p.moreMenus->geometry().bottom());
    EXPECT_EQ(p.area->size(), QSize(75, 244));
    EXPECT_FALSE(panel().isVisible());
    p.labelsAction->trigger();
    EXPECT_TRUE(panel().isVisible());
    EXPECT_EQ(panel().parentWidget(), &main());
    EXPECT_TRUE(panel().windowFlags() & Qt::FramelessWindowHint);

    // Each switch repaints while Automatic Preview is on and is one undo step.
    const int before = repaints;
    panel().monthsBox->click();
    panel().agendaBox->click();
    EXPECT_TRUE(state().Labels.Months);
    EXPECT_TRUE(state().Labels.Agenda);
    EXPECT_EQ(repaints, before + 2);
    p.undoAction->trigger();
    EXPECT_FALSE(state().Labels.Agenda);
    EXPECT_FALSE(panel().agendaBox->isChecked());

    // The title's typing is one step; the label font comes from the font dialog, held in range.
    QTest::keyClicks(panel().titleField, QStringLiteral("Year"));
    EXPECT_EQ(state().Labels.TitleText, QStringLiteral("Year"));
    p.undoAction->trigger();
    EXPECT_EQ(state().Labels.TitleText, QString());
    EXPECT_EQ(panel().titleField->text(), QString());
    QFont big(QStringLiteral("DejaVu Serif"));
    big.setPixelSize(2000);
    services.fontAnswers = {big, std::nullopt};
    panel().chooseLabelFont();
    EXPECT_EQ(state().Labels.FontName, QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(state().Labels.FontSize, LabelSettings::kMaxFontSize);
    panel().chooseLabelFont(); // cancelled
    EXPECT_EQ(state().Labels.FontSize, LabelSettings::kMaxFontSize);

    // Without Automatic Preview a switch waits for the Repaint button.
    p.previewBox->setChecked(false);
    const int quiet = repaints;
    panel().weeksBox->click();
    EXPECT_EQ(repaints, quiet);
    EXPECT_TRUE(state().Labels.Weeks);
}

TEST_F(LabelsPanelTest, TheColourTableNamesEachHighlightColourOnce) {
    start();
    addHighlights({"03/01/2027$255#Holiday", "01/05/2027$65280#Fair", "02/01/2027$255#Break",
                   "04/01/2027$red#Bad"});
    QTableWidget& table = *panel().colourTable;
    // In the order of each colour's first day, whatever the list's textual order.
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(NamedColourRows(g->doc.highlights, state().Labels),
              (std::vector<Colour>{65280, 255}));

    table.item(1, 1)->setText(QStringLiteral(" Holidays "));
    EXPECT_EQ(state().Labels.ColourNames, (std::map<Colour, QString>{{255, "Holidays"}}));
    g->palette->undoAction->trigger();
    EXPECT_TRUE(state().Labels.ColourNames.empty());
    EXPECT_EQ(table.item(1, 1)->text(), QString());
    g->palette->redoAction->trigger();
    EXPECT_EQ(table.item(1, 1)->text(), QStringLiteral("Holidays"));

    // A named colour whose highlights are gone keeps its row, so its name can be taken away.
    g->edit({Change::Highlights, QStringLiteral("Clear"), [](Document& d) { d.highlights.clear(); },
             Change::Repaint::None, nullptr});
    ASSERT_EQ(table.rowCount(), 1);
    table.item(0, 1)->setText(QString());
    EXPECT_TRUE(state().Labels.ColourNames.empty());
}
