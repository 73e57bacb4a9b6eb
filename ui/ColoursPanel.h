#pragma once

#include "Document.h"

#include <QFrame>
#include <QWidget>
#include <functional>
#include <optional>

class QCheckBox;
class QLabel;

namespace gyrodex {

class CaptionLabel;
class ColourSwatch;
class Services;
class SharedDialogs;
class SpinField;

// A raised panel showing its caption in its text colour on its fill colour, so it previews
// the cells it stands for. A press reports its button at once (not on release).
class ColourPanel : public QFrame {
    Q_OBJECT

public:
    ColourPanel(const QString& name, const QString& caption, QWidget* parent);
    Colour fill() const { return fill_; }
    Colour text() const { return text_; }
    void setColours(Colour fill, Colour text);

signals:
    void pressed(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    Colour fill_ = 0;
    Colour text_ = 0;
};

// A raised panel whose caption is written in a font; a click reports itself.
class FontPanel : public QFrame {
    Q_OBJECT

public:
    FontPanel(const QString& name, const QString& caption, QWidget* parent);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The colours panel: a borderless always-on-top window that edits the colours, pens, day font
// and switches of the wheel. Like the properties panel it is a view of the calendar state.
class ColoursPanel : public QWidget {
    Q_OBJECT

public:
    ColoursPanel(EditPath& edits, Services& services, SharedDialogs& dialogs, QRect screen,
                 QWidget* mainWindow);

    void showPanel();
    // Shows the state's values without running any handler.
    void showState();

    // The four colour panels share one handler; the panel is told apart by its Tag.
    enum Tag { Back, Day, Weekend, Past };
    void colourPanelPressed(Tag tag, Qt::MouseButton button);
    void chooseThinColour();
    void chooseThickColour();
    void chooseDayFont();
    void repaintAllClicked();
    void paintWeekendsClicked();
    void paintPastClicked();
    void todayAsPastClicked();
    void penWidthChanged();

    QFrame* frame;
    CaptionLabel* captionBar;
    ColourPanel* backPanel;
    ColourPanel* dayPanel;
    ColourPanel* weekendPanel;
    ColourPanel* pastPanel;
    FontPanel* fontPanel;
    ColourSwatch* thinSwatch;
    ColourSwatch* thickSwatch;
    SpinField* thinWidthField;
    SpinField* thickWidthField;
    QCheckBox* repaintAllBox;
    QCheckBox* weekendsBox;
    QCheckBox* paintPastBox;
    QCheckBox* todayAsPastBox;

protected:
    void showEvent(QShowEvent* event) override;

private:
    ColourPanel* colourPanel(const QString& name, const QString& caption, Tag tag, int top);
    QCheckBox* checkBox(const QString& name, const QString& caption, int top);
    void label(const QString& text, const QRect& place);
    // The fill (fill = true) or text colour of a colour panel's field of the design.
    static Colour& colourOf(CalendarState& state, Tag tag, bool fill);
    // Runs the shared colour dialog preset to `preset`; the colour the user confirmed.
    std::optional<Colour> askColour(Colour preset);
    // Hands a change of the design's looks to the edit path, repainted when AutoPreview is on;
    // with `refresh` the panel shows the design again afterwards (coupled fields).
    void change(const QString& what, std::function<void(CalendarState&)> apply,
                bool refresh = false);

    EditPath& edits_;
    Services& services_;
    SharedDialogs& dialogs_;
};

} // namespace gyrodex
