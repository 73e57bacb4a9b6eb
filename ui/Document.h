#pragma once

#include "CalendarState.h"
#include "Colour.h"
#include "HighlightList.h"

#include <QObject>
#include <QString>
#include <functional>

namespace gyrodex {

// The two paint colours of the palette: the canvas tools paint with the current one; the
// alternate one is swapped in by a click on it.
struct PaintColours {
    Colour current = 0xFFFFFF;
    Colour alternate = 0x000000;
};

// The one document of the program: the design with the session's values, the highlight list
// and the paint colours. Windows show it; they change it only through the edit path.
struct Document {
    CalendarState state;
    HighlightList highlights;
    PaintColours colours;
};

// One change to the document, as a window hands it to the edit path.
struct Change {
    // The parts of the document a change touches; views refresh only for their parts.
    enum Part : unsigned {
        Geometry = 1,     // the properties panel's fields: radius, rings, offsets, period, …
        Looks = 2,        // the colours panel's: colours, pens, day font, switches
        Highlights = 4,   // the highlight list
        PaintColours = 8, // the palette's two paint colours
        Session = 16,     // the tool, Automatic Preview, file names
        Everything = 31,
    };
    // What the wheel needs after the change is applied.
    enum class Repaint {
        None,         // nothing now
        Preview,      // a full repaint while "Automatic Preview" is on
        Always,       // a full repaint whatever "Automatic Preview" says
        ClearedImage, // a full repaint on an image cleared first, whatever "Repaint All" says
        Cell,         // the cell of the canvas tool's release point only
    };

    unsigned parts = 0;
    QString what; // names the change for the user: "Radius", "Fill", "Delete Highlight"
    std::function<void(Document&)> apply;
    Repaint repaint = Repaint::None;
    // The view the change came from: it shows the change already and is not refreshed.
    const QObject* source = nullptr;
    // Runs after the views were told and before the repaint (a view's own follow-up that must
    // not wait for a repaint that may fail).
    std::function<void()> after = {};
    // A step of typing or arrows in a field: merged into one undo step with the changes of the
    // same field that follow it within about a second.
    bool merges = false;
};

// A change of the design's fields by a panel: `apply` on the calendar state, repainted by `rule`.
// A change that comes from a spin field (`sender`) merges with the field's next ones into one
// undo step.
Change PanelChange(unsigned parts, const QString& what, std::function<void(CalendarState&)> apply,
                   Change::Repaint rule, const QObject* panel, const QObject* sender);

// The one way a window changes the document. The edit path applies a change, repaints the
// wheel as the change asks, and tells every view through changed().
class EditPath : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    virtual const Document& document() const = 0;
    virtual void edit(const Change& change) = 0;

signals:
    // After every change; views refresh what they show of change.parts unless they are
    // change.source. Repaints are suspended while the views refresh.
    void changed(const gyrodex::Change& change);
};

} // namespace gyrodex
