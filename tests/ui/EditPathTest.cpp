// The edit path: every change a window makes is applied there, repainted by its rule and told to
// the views that show its part; windows are owned once, so they go in any order.
#include "ColoursPanel.h"
#include "DesktopFixture.h"
#include "Error.h"
#include "HighlightDialog.h"
#include "Palette.h"
#include "PropertiesPanel.h"
#include "SpinField.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <vector>

using namespace gyrodex;

namespace {

class EditPathTest : public DesktopFixture {
protected:
    void SetUp() override {
        DesktopFixture::SetUp();
        start();
        QObject::connect(g.get(), &EditPath::changed,
                         [this](const Change& c) { told.push_back(c.parts); });
        repaints = 0;
    }
    Change change(unsigned parts, Change::Repaint rule, std::function<void(Document&)> apply = {}) {
        return {parts, QStringLiteral("Test"), std::move(apply), rule, nullptr};
    }
    std::vector<unsigned> told;
};

} // namespace

TEST_F(EditPathTest, EachRepaintRuleRepaintsOnlyWhenItShould) {
    g->edit(
        change(Change::Geometry, Change::Repaint::None, [](Document& d) { d.state.Radius = 200; }));
    EXPECT_EQ(state().Radius, 200);
    EXPECT_EQ(repaints, 0);

    g->edit(change(Change::Geometry, Change::Repaint::Preview));
    EXPECT_EQ(repaints, 1);
    state().AutoPreview = false;
    g->edit(change(Change::Geometry, Change::Repaint::Preview));
    EXPECT_EQ(repaints, 1);
    g->edit(change(Change::Geometry, Change::Repaint::Always));
    EXPECT_EQ(repaints, 2);

    // On a cleared image whatever "Repaint All" says, which keeps its setting.
    state().RepaintAll = false;
    g->edit(change(Change::Looks, Change::Repaint::ClearedImage));
    EXPECT_EQ(repaints, 3);
    EXPECT_FALSE(state().RepaintAll);
    EXPECT_EQ(told.size(), 5u);
}

TEST_F(EditPathTest, ViewsRefreshForTheirPartsButNotForTheirOwnChanges) {
    PropertiesPanel& props = *g->propertiesPanel;
    ColoursPanel& colours = *g->coloursPanel;

    // A change from elsewhere reaches the panel that shows it, with repaints suspended.
    bool suspended = false;
    QObject::connect(g.get(), &EditPath::changed,
                     [&](const Change&) { suspended = state().RepaintSuspended; });
    g->edit(
        change(Change::Geometry, Change::Repaint::None, [](Document& d) { d.state.Radius = 222; }));
    EXPECT_TRUE(suspended);
    EXPECT_FALSE(state().RepaintSuspended);
    EXPECT_EQ(props.radiusField->value(), 222);

    // The colours panel shows only the looks.
    g->edit(change(Change::Looks, Change::Repaint::None,
                   [](Document& d) { d.state.PaintWeekends = false; }));
    EXPECT_FALSE(colours.weekendsBox->isChecked());

    // The panel's own typing is not shown back to it: "4" on the way to 400 stays as typed.
    props.radiusField->selectAll();
    QTest::keyClicks(props.radiusField, QStringLiteral("4"));
    EXPECT_EQ(state().Radius, 4);
    EXPECT_EQ(props.radiusField->findChild<QLineEdit*>()->text(), QStringLiteral("4"));
    EXPECT_EQ(told.back(), static_cast<unsigned>(Change::Geometry));

    // The palette shows the paint colours, however they changed.
    g->edit(change(Change::PaintColours, Change::Repaint::None,
                   [](Document& d) { d.colours.current = 0x123456; }));
    EXPECT_EQ(g->palette->currentSwatch->colour(), 0x123456u);
    g->palette->chooseAlternateColour();
    EXPECT_EQ(g->doc.colours.current, 0u);
    EXPECT_EQ(g->doc.colours.alternate, 0x123456u);
    EXPECT_EQ(g->palette->alternateSwatch->colour(), 0x123456u);
}

TEST_F(EditPathTest, AChangeThatStopsHalfWayIsStillShownAndNotRepainted) {
    const Change stops = change(Change::Geometry, Change::Repaint::Always, [](Document& d) {
        d.state.Radius = 250;
        throw Error(QStringLiteral("stopped"));
    });
    EXPECT_THROW(g->edit(stops), Error);
    EXPECT_EQ(g->propertiesPanel->radiusField->value(), 250);
    EXPECT_EQ(repaints, 0);
}

TEST_F(EditPathTest, HighlightEditorChangesGoThroughThePathWithTheEditorsOwnPreviewRule) {
    HighlightDialog& editor = *g->highlightDialog;
    editor.setDate(FromQDate(QDate(2026, 12, 24)));
    editor.descriptionField->setText(QStringLiteral("Eve"));
    editor.previewBox->setChecked(false);
    editor.addDays();
    EXPECT_EQ(g->doc.highlights.size(), 1);
    EXPECT_EQ(editor.model->rowCount(), 1);
    EXPECT_EQ(repaints, 0);
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back(), static_cast<unsigned>(Change::Highlights));

    editor.previewBox->setChecked(true);
    editor.selectIndex(0);
    editor.deleteHighlight();
    EXPECT_EQ(g->doc.highlights.size(), 0);
    EXPECT_EQ(editor.model->rowCount(), 0);
    EXPECT_EQ(repaints, 1);
}

TEST(DesktopOwnership, WindowsMayGoInAnyOrder) {
    QTemporaryDir dir;
    const auto make = [&] {
        Environment env{
            dir.filePath(QStringLiteral("bin/gyrodex")),
            {dir.filePath(QStringLiteral("cfg.conf")), dir.filePath(QStringLiteral("etc.conf"))},
            QRect(0, 0, 800, 600),
            [] { return QDate(2026, 12, 8); }};
        return env;
    };
    ScriptedServices services;
    {
        DesktopApp app(services, make());
        app.Start();
        delete app.palette;
        delete app.coloursPanel;
        delete app.highlightDialog;
    }
    {
        DesktopApp app(services, make());
        app.Start();
        delete app.propertiesPanel;
        app.mainWindow.reset();
    }
    SUCCEED();
}
