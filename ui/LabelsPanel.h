#pragma once

#include "Document.h"

#include <QWidget>
#include <functional>
#include <vector>

class QCheckBox;
class QFrame;
class QLineEdit;
class QTableWidget;

namespace gyrodex {

class CaptionLabel;
class FontPanel;
class Services;

// The highlight colours the labels panel names: each colour of the list once, in the order of
// its first day, then the colours that have a name but no highlight any more.
std::vector<Colour> NamedColourRows(const HighlightList& highlights, const LabelSettings& labels);

// The labels panel: a borderless always-on-top window, like the colours panel, that switches
// the wheel's labels on and off and edits the title, the label font and the names of the
// highlight colours in the colour key. It is a view of the design's labels and the list's
// colours.
class LabelsPanel : public QWidget {
    Q_OBJECT

public:
    LabelsPanel(EditPath& edits, Services& services, QRect screen, QWidget* mainWindow);

    void showPanel();
    // Shows the document's values without running any handler.
    void showState();

    void switchClicked();
    void titleEdited();
    void chooseLabelFont();
    void colourNameEdited(int row);

    QFrame* frame;
    CaptionLabel* captionBar;
    QCheckBox* monthsBox;
    QCheckBox* weeksBox;
    QCheckBox* titleBox;
    QCheckBox* yearsBox;
    QCheckBox* legendBox;
    QCheckBox* agendaBox;
    QLineEdit* titleField;
    FontPanel* fontPanel;
    QTableWidget* colourTable; // a swatch and the name of each highlight colour

protected:
    void showEvent(QShowEvent* event) override;

private:
    QCheckBox* checkBox(const QString& name, const QString& caption, int left, int top);
    void change(const QString& what, std::function<void(LabelSettings&)> apply,
                bool merges = false);

    EditPath& edits_;
    Services& services_;
    QRect screen_;
    bool placed_ = false;
    std::vector<Colour> rows_; // the colour of each row of the table
};

} // namespace gyrodex
