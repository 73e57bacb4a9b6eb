#include "HelpWindows.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtGlobal>
#include <algorithm>

namespace gyrodex {

namespace {

// A command's caption as a list shows it: without access-key marks and trailing dots.
QString PlainCaption(const QAction& action) {
    QString caption = action.text();
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(u'&');
    caption.replace(u'\x01', u'&');
    while (caption.endsWith(u'.'))
        caption.chop(1);
    return caption;
}

} // namespace

ShortcutsDialog::ShortcutsDialog(const QList<QAction*>& commands, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      commands_(commands) {
    setObjectName(QStringLiteral("frmShortcuts"));
    setWindowTitle(QStringLiteral("Keyboard Shortcuts"));
    setModal(true);

    // Two columns, laid out by the grid so that no caption or key is cut in any font.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    int row = 0;
    for (const QAction* action : commands_) {
        auto* caption = new QLabel(PlainCaption(*action), this);
        auto* keys = new QLabel(action->shortcut().toString(QKeySequence::NativeText), this);
        grid->addWidget(caption, row, 0);
        grid->addWidget(keys, row, 1);
        ++row;
    }
    setAccessibleDescription(listText());

    closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->setObjectName(QStringLiteral("btnClose"));
    closeButton->setDefault(true);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(closeButton, 0, Qt::AlignRight);
    // Fixed at the list's size, and wide enough for the caption in the window managers' title
    // bars (a bolder font and three buttons).
    const QSize list = layout->sizeHint();
    setFixedSize(std::max(list.width(), fontMetrics().horizontalAdvance(windowTitle()) * 2 + 96),
                 list.height());
}

QString ShortcutsDialog::listText() const {
    QStringList lines;
    for (const QAction* action : commands_)
        lines << PlainCaption(*action) + u'\t' +
                     action->shortcut().toString(QKeySequence::NativeText);
    return lines.join(u'\n');
}

QString AboutText() {
    return QStringLiteral("Gyrodex " GYRODEX_VERSION " - calendar wheel designer\n"
                          "Built with Qt %1, running with Qt %2.\n"
                          "Licence: Qt is used under the GNU Lesser General Public License, "
                          "version 3.")
        .arg(QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion()));
}

} // namespace gyrodex
