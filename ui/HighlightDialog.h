#pragma once

#include "Document.h"

#include <QAbstractListModel>
#include <QDialog>
#include <QRect>
#include <QStyledItemDelegate>
#include <functional>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;
class QSpinBox;

namespace gyrodex {

class ColourSwatch;
class Services;
class SharedDialogs;

// The highlight list as rows of a view. The list itself is the one store; the model only
// reads it, and is told to refresh when the list changed.
class HighlightListModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit HighlightListModel(const HighlightList& list, QObject* parent = nullptr)
        : QAbstractListModel(parent), list_(list) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    // The display role gives the entry's text.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The list changed: the view reads it again.
    void refresh();

private:
    const HighlightList& list_;
};

// Draws a row of the highlight list: a colour square with a black outline, then "date,
// description"; every row is 16 pixels high.
class HighlightRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// "Highlight Dates": adds runs of days to the highlight list, deletes, clears, exports and
// imports entries. Every change goes to the list at once, so Cancel undoes nothing.
class HighlightDialog : public QDialog {
    Q_OBJECT

public:
    HighlightDialog(EditPath& edits, Services& services, SharedDialogs& dialogs, QRect screen,
                    std::function<DayDate()> today, QWidget* mainWindow);

    // Shows the editor modally over the current list; true when closed with OK.
    bool runModal();

    void addDays();
    void deleteHighlight();
    void clearHighlights();
    void exportHighlights();
    void importHighlights();
    void chooseHighlightColour();
    // The selection read-out: the colour panel and the description take the selected entry's.
    void showSelection();
    void dateToToday();
    void dateToPeriodStart();
    void dateToPeriodEnd();
    // Moves the date `tag` days forward (Add) or back (Subtract).
    void addToDate(int tag);
    void subtractFromDate(int tag);

    // The date field as a day, and setting it.
    DayDate date() const;
    void setDate(const DayDate& day);
    // The selected row, or -1.
    qsizetype selectedIndex() const;
    // Selects a row (-1: none) without the read-out, as a program change does.
    void selectIndex(qsizetype index);

    QWidget* leftPane;
    QLabel* dateLabel;
    QDateEdit* dateField;
    QMenu* dateMenu;
    QMenu* addMenu;
    QMenu* subtractMenu;
    ColourSwatch* colourSwatch;
    QLabel* descriptionLabel;
    QLineEdit* descriptionField;
    QPushButton* addButton;
    QSpinBox* daysField;
    QCheckBox* autoAdvanceBox;
    QPushButton* deleteButton;
    QPushButton* clearButton;
    QPushButton* exportButton;
    QPushButton* importButton;
    QCheckBox* previewBox;
    QPushButton* cancelButton;
    QPushButton* okButton;
    QListView* listView;
    HighlightListModel* model;

protected:
    // Keys of the whole dialog: the Delete key runs "Delete Highlight" and still reaches the
    // focused control.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Changes the list through the edit path: the view reads it again, `after` runs, and the
    // wheel is repainted when the editor's own "Automatic Preview" is checked.
    void changeList(const QString& what, std::function<void(HighlightList&)> apply,
                    std::function<void()> after = {});
    QPushButton* button(const QString& name, const QString& caption, const QRect& place,
                        int picture);
    void popupDateMenu(const QPoint& global);

    EditPath& edits_;
    Services& services_;
    SharedDialogs& dialogs_;
    std::function<DayDate()> today_;
    bool selecting_ = false;
};

} // namespace gyrodex
