#include "History.h"

namespace gyrodex {

EditStep::EditStep(Restore restore, const Change& change, DocumentParts before, DocumentParts after,
                   ToolCell cell, qint64 msecs)
    : restore_(std::move(restore)), before_(std::move(before)), after_(std::move(after)),
      cell_(cell), last_(msecs) {
    change_.parts = change.parts;
    change_.what = change.what;
    change_.repaint = change.repaint;
    change_.source = change.source;
    change_.merges = change.merges;
    setText(change.what);
}

void EditStep::undo() {
    restore_(change_, before_, cell_);
}

void EditStep::redo() {
    if (!pushed_) {
        pushed_ = true;
        return;
    }
    restore_(change_, after_, cell_);
}

bool EditStep::mergeWith(const QUndoCommand* other) {
    const auto* next = static_cast<const EditStep*>(other);
    if (!change_.merges || !next->change_.merges || next->change_.what != change_.what ||
        next->change_.source != change_.source || next->last_ - last_ > kMergeMsecs)
        return false;
    after_ = next->after_;
    last_ = next->last_;
    return true;
}

Change PanelChange(unsigned parts, const QString& what, std::function<void(CalendarState&)> apply,
                   Change::Repaint rule, const QObject* panel, const QObject* sender) {
    Change c{parts, what, [apply = std::move(apply)](Document& d) { apply(d.state); }, rule, panel};
    c.merges = sender && sender->inherits("gyrodex::SpinField");
    return c;
}

} // namespace gyrodex
