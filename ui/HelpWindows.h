#pragma once

#include <QDialog>
#include <QList>

class QAction;
class QPushButton;

namespace gyrodex {

// "Keyboard Shortcuts": every command with a shortcut and its keys, as the actions give them.
class ShortcutsDialog : public QDialog {
    Q_OBJECT

public:
    ShortcutsDialog(const QList<QAction*>& commands, QWidget* parent);

    // One "command<TAB>keys" line per command, in the order given.
    QString listText() const;

    QPushButton* closeButton;

private:
    QList<QAction*> commands_;
};

// The text of "About Gyrodex": the program and its version, the Qt it was built with and runs
// with, and the licence.
QString AboutText();

} // namespace gyrodex
