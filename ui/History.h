#pragma once

#include "Document.h"

#include <QUndoCommand>
#include <functional>

namespace gyrodex {

// The parts of the document an undo step gives back: the design and the highlight list.
struct DocumentParts {
    CalendarDesign design;
    HighlightList highlights; // a shared copy: taking it costs nothing until the list changes
};

// The cell a canvas tool worked on, repainted again when its change is undone or redone.
struct ToolCell {
    int spoke = 0;
    int ring = -1;
    DayDate day;
};

// One step of the undo history: a change to the design or the list, with the parts as they
// were before and after it. Undo and redo hand them back to `restore`, which puts them into
// the document, tells the views and repaints as the change itself did.
class EditStep final : public QUndoCommand {
public:
    using Restore = std::function<void(const Change&, const DocumentParts&, const ToolCell&)>;

    // `change` is kept without its functions; `msecs` is when it was made, for merging.
    EditStep(Restore restore, const Change& change, DocumentParts before, DocumentParts after,
             ToolCell cell, qint64 msecs);

    void undo() override;
    void redo() override;
    int id() const override { return 1; }
    // Typing in one field merges until another field or command comes, or a second passes.
    bool mergeWith(const QUndoCommand* other) override;

    // How long after a field's change its next change still merges into the same step.
    static constexpr qint64 kMergeMsecs = 1000;

private:
    Restore restore_;
    Change change_;
    DocumentParts before_;
    DocumentParts after_;
    ToolCell cell_;
    qint64 last_;
    bool pushed_ = false; // the first redo is the change itself, already applied
};

} // namespace gyrodex
