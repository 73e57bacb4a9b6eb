#include "HighlightDialog.h"

#include "Busy.h"
#include "Error.h"
#include "Highlights.h"
#include "ICalendar.h"
#include "ImageCanvas.h"
#include "Palette.h"
#include "SharedDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTimeZone>
#include <QValidator>

namespace gyrodex {

namespace {

constexpr int kRowHeight = 16;
constexpr int kTypedDescription = 40;
constexpr Colour kNewEntryColour = 0x80FF80; // RGB 128, 255, 128
constexpr Colour kCheckBoxText = 0x400000;   // RGB 0, 0, 64

// The text files first (the default); the file's extension chooses the format.
const QString kTextFilter =
    QStringLiteral("Text Files (*.txt)|*.txt|iCalendar Files (*.ics)|*.ics|All Files (*.*)|*.*");

// Typing stops at 40 characters, but a longer description put into the field by the program
// (a selected entry's, up to 255) is shown whole and may still be shortened.
class TypedLengthLimit : public QValidator {
public:
    TypedLengthLimit(QLineEdit* edit, int limit) : QValidator(edit), limit_(limit) {
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& t) { shown_ = t.size(); });
    }
    State validate(QString& input, int&) const override {
        return input.size() <= limit_ || input.size() <= shown_ ? Acceptable : Invalid;
    }

private:
    int limit_;
    qsizetype shown_ = 0;
};

void DarkBlueText(QCheckBox* box) {
    QPalette pal = box->palette();
    pal.setColor(QPalette::WindowText, ToQColor(kCheckBoxText));
    box->setPalette(pal);
}

} // namespace

int HighlightListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(list_.size());
}

QVariant HighlightListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= list_.size())
        return {};
    return list_.at(index.row());
}

void HighlightListModel::refresh() {
    beginResetModel();
    endResetModel();
}

void HighlightRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& pal = option.palette;
    painter->save();
    painter->fillRect(option.rect,
                      selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base));
    const HighlightRow row = RowDrawing(index.data().toString(), option.rect);
    if (row.fill)
        painter->fillRect(row.square, ToQColor(*row.fill));
    painter->setPen(Qt::black);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(row.square.adjusted(0, 0, -1, -1));
    painter->setPen(selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text));
    painter->setFont(option.font);
    const QRect text(row.textPos, QPoint(option.rect.right(), option.rect.bottom()));
    painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, row.text);
    painter->restore();
}

QSize HighlightRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return {option.rect.width(), kRowHeight};
}

HighlightDialog::HighlightDialog(EditPath& edits, Services& services, SharedDialogs& dialogs,
                                 QRect screen, std::function<DayDate()> today, QWidget* mainWindow)
    // A window of the main window's, so that the window manager keeps it above the image.
    : QDialog(mainWindow, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), edits_(edits),
      services_(services), dialogs_(dialogs), today_(std::move(today)) {
    setObjectName(QStringLiteral("frmHighlight"));
    setWindowTitle(QStringLiteral("Highlight Dates"));
    setModal(true);
    setSizeGripEnabled(false);
    // The designed 426 x 387 window, less a tool window's frame.
    resize(418, 360);
    setMinimumSize(149 + 60, 352);
    const QRect designed(QPoint(738, 373), frameGeometry().size().expandedTo(QSize(426, 387)));
    move(std::max(screen.left(), std::min(designed.left(), screen.right() + 1 - designed.width())),
         std::max(screen.top(), std::min(designed.top(), screen.bottom() + 1 - designed.height())));

    leftPane = new QWidget(this);
    leftPane->setObjectName(QStringLiteral("pnlLeft"));
    leftPane->setFixedWidth(149);
    listView = new QListView(this);
    listView->setObjectName(QStringLiteral("lb"));
    listView->setAccessibleName(QStringLiteral("Highlights"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(leftPane);
    layout->addWidget(listView, 1);

    dateLabel = new QLabel(QStringLiteral("Date:"), leftPane);
    dateLabel->setGeometry(8, 8, 40, 13);
    dateField = new QDateEdit(QDate(1999, 1, 1), leftPane);
    dateField->setObjectName(QStringLiteral("DT"));
    dateField->setAccessibleName(QStringLiteral("Date"));
    dateField->setGeometry(50, 4, 93, 21);
    dateField->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    dateField->setCalendarPopup(true);
    dateLabel->setBuddy(dateField);

    dateMenu = new QMenu(this);
    dateMenu->setObjectName(QStringLiteral("Pop"));
    dateMenu->addAction(QStringLiteral("&Today"), this, &HighlightDialog::dateToToday);
    dateMenu->addAction(QStringLiteral("&Calendar Start"), this,
                        &HighlightDialog::dateToPeriodStart);
    dateMenu->addAction(QStringLiteral("Calendar &End"), this, &HighlightDialog::dateToPeriodEnd);
    addMenu = dateMenu->addMenu(QStringLiteral("&Add"));
    subtractMenu = dateMenu->addMenu(QStringLiteral("&Subtract"));
    for (const int tag : {1, 5, 10, 50, 100}) {
        const QString caption =
            tag == 1 ? QStringLiteral("1 day") : QStringLiteral("%1 days").arg(tag);
        addMenu->addAction(caption, this, [this, tag] { addToDate(tag); });
        subtractMenu->addAction(caption, this, [this, tag] { subtractFromDate(tag); });
    }
    // The right button on the field or on its text opens the menu.
    for (QWidget* w : {static_cast<QWidget*>(dateField),
                       static_cast<QWidget*>(dateField->findChild<QLineEdit*>())}) {
        if (!w)
            continue;
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& pos) { popupDateMenu(w->mapToGlobal(pos)); });
    }

    colourSwatch = new ColourSwatch(QStringLiteral("pnlHigh"), kNewEntryColour, leftPane);
    colourSwatch->setAccessibleName(QStringLiteral("Color"));
    colourSwatch->setGeometry(4, 28, 139, 29);
    colourSwatch->setFocusPolicy(Qt::TabFocus);
    auto* caption = new QLabel(QStringLiteral("Color"), colourSwatch);
    caption->setAlignment(Qt::AlignCenter);
    caption->setGeometry(1, 1, 137, 27);
    caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(colourSwatch, &ColourSwatch::clicked, this, &HighlightDialog::chooseHighlightColour);

    descriptionLabel = new QLabel(QStringLiteral("Description:"), leftPane);
    descriptionLabel->setGeometry(4, 61, 139, 13);
    descriptionField = new QLineEdit(leftPane);
    descriptionField->setObjectName(QStringLiteral("edtDesc"));
    descriptionField->setAccessibleName(QStringLiteral("Description"));
    descriptionField->setGeometry(4, 76, 139, 21);
    descriptionField->setValidator(new TypedLengthLimit(descriptionField, kTypedDescription));
    descriptionLabel->setBuddy(descriptionField);

    addButton = button(QStringLiteral("btnAdd"), QStringLiteral("&Add Days..."), {4, 100, 93, 25},
                       QStyle::SP_ArrowRight);
    connect(addButton, &QPushButton::clicked, this,
            [this] { RunCommand(services_, [this] { addDays(); }); });
    daysField = new QSpinBox(leftPane);
    daysField->setObjectName(QStringLiteral("spnDays"));
    daysField->setAccessibleName(QStringLiteral("Days"));
    daysField->setGeometry(100, 102, 45, 21);
    daysField->setRange(1, 99);
    daysField->setValue(1);

    autoAdvanceBox = new QCheckBox(QStringLiteral("Automatic Advance"), leftPane);
    autoAdvanceBox->setObjectName(QStringLiteral("chkAutoAdvance"));
    autoAdvanceBox->move(12, 132);
    autoAdvanceBox->adjustSize();
    autoAdvanceBox->setChecked(true);
    DarkBlueText(autoAdvanceBox);

    deleteButton = button(QStringLiteral("btnDelete"), QStringLiteral("&Delete Highlight"),
                          {7, 156, 133, 25}, QStyle::SP_TrashIcon);
    connect(deleteButton, &QPushButton::clicked, this,
            [this] { RunCommand(services_, [this] { deleteHighlight(); }); });
    clearButton = button(QStringLiteral("btnClear"), QStringLiteral("&Clear All Highlights"),
                         {7, 184, 133, 25}, QStyle::SP_DialogResetButton);
    connect(clearButton, &QPushButton::clicked, this,
            [this] { RunCommand(services_, [this] { clearHighlights(); }); });
    exportButton = button(QStringLiteral("btnSave"), QStringLiteral("&Export Highlights"),
                          {7, 212, 133, 25}, QStyle::SP_DialogSaveButton);
    connect(exportButton, &QPushButton::clicked, this,
            [this] { RunCommand(services_, [this] { exportHighlights(); }); });
    importButton = button(QStringLiteral("btnLoad"), QStringLiteral("&Import Highlights"),
                          {7, 240, 133, 25}, QStyle::SP_DialogOpenButton);
    connect(importButton, &QPushButton::clicked, this,
            [this] { RunCommand(services_, [this] { importHighlights(); }); });

    previewBox = new QCheckBox(QStringLiteral("Automatic Preview"), leftPane);
    previewBox->setObjectName(QStringLiteral("chkPreview"));
    previewBox->move(9, 276);
    previewBox->adjustSize();
    previewBox->setChecked(true);
    DarkBlueText(previewBox);

    cancelButton = new QPushButton(QStringLiteral("Cancel"), leftPane);
    cancelButton->setObjectName(QStringLiteral("btnCancel"));
    cancelButton->setGeometry(7, 296, 133, 25);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    okButton = new QPushButton(QStringLiteral("OK"), leftPane);
    okButton->setObjectName(QStringLiteral("btnOK"));
    okButton->setGeometry(7, 324, 133, 25);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    model = new HighlightListModel(edits_.document().highlights, this);
    // The list shows every change of the highlights, its own included.
    connect(&edits_, &EditPath::changed, this, [this](const Change& change) {
        if (change.parts & Change::Highlights)
            model->refresh();
    });
    listView->setModel(model);
    listView->setItemDelegate(new HighlightRowDelegate(listView));
    // Every row is as high as the first: the view lays out 100,000 rows without measuring each.
    listView->setUniformItemSizes(true);
    listView->setSelectionMode(QAbstractItemView::SingleSelection);
    listView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(listView->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (!selecting_)
            showSelection();
    });
    connect(listView, &QListView::clicked, this, &HighlightDialog::showSelection);

    QWidget* order[] = {dateField,    colourSwatch, descriptionField, addButton,    daysField,
                        deleteButton, clearButton,  importButton,     exportButton, previewBox,
                        okButton,     cancelButton, autoAdvanceBox,   listView};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    // Keys reach the window before its controls.
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
}

QPushButton* HighlightDialog::button(const QString& name, const QString& caption,
                                     const QRect& place, int picture) {
    auto* b = new QPushButton(caption, leftPane);
    b->setObjectName(name);
    b->setGeometry(place);
    b->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(picture)));
    b->setIconSize(QSize(12, 12));
    return b;
}

bool HighlightDialog::runModal() {
    // The list may have changed since the last showing (a loaded file, the canvas tools).
    model->refresh();
    return services_.exec(*this) == QDialog::Accepted;
}

void HighlightDialog::changeList(const QString& what, std::function<void(HighlightList&)> apply,
                                 std::function<void()> after) {
    edits_.edit({Change::Highlights, what, [&apply](Document& d) { apply(d.highlights); },
                 previewBox->isChecked() ? Change::Repaint::Always : Change::Repaint::None, this,
                 std::move(after)});
}

DayDate HighlightDialog::date() const {
    return FromQDate(dateField->date());
}

void HighlightDialog::setDate(const DayDate& day) {
    const QDate d = ToQDate(day);
    if (d.isValid())
        dateField->setDate(d);
}

qsizetype HighlightDialog::selectedIndex() const {
    const QModelIndex current = listView->currentIndex();
    if (!current.isValid() || !listView->selectionModel()->isSelected(current))
        return -1;
    return current.row();
}

void HighlightDialog::selectIndex(qsizetype index) {
    selecting_ = true;
    if (index < 0 || index >= edits_.document().highlights.size()) {
        listView->selectionModel()->clearCurrentIndex();
        listView->selectionModel()->clearSelection();
    } else {
        const QModelIndex row = model->index(static_cast<int>(index));
        listView->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
        listView->scrollTo(row);
    }
    selecting_ = false;
}

void HighlightDialog::addDays() {
    DayDate next;
    changeList(
        QStringLiteral("Add Days"),
        [&](HighlightList& list) {
            next = AddDays(list, date(), daysField->value(), colourSwatch->colour(),
                           descriptionField->text(), autoAdvanceBox->isChecked());
        },
        [&] {
            setDate(next);
            daysField->setValue(1);
        });
}

void HighlightDialog::deleteHighlight() {
    const qsizetype selected = selectedIndex();
    if (selected < 0)
        return;
    qsizetype next = -1;
    changeList(
        QStringLiteral("Delete Highlight"),
        [&](HighlightList& list) { next = DeleteEntry(list, selected); },
        [&] { selectIndex(next); });
}

void HighlightDialog::clearHighlights() {
    changeList(QStringLiteral("Clear All"), [](HighlightList& list) { ClearAll(list); });
}

void HighlightDialog::exportHighlights() {
    const auto file = dialogs_.askSaveFile(QStringLiteral("Save Highlighted Days"),
                                           QStringLiteral("TXT"), kTextFilter);
    if (!file)
        return;
    const Document& d = edits_.document();
    if (IsIcsFileName(*file))
        ExportIcsFile(d.highlights, *file, d.state.StartDate, d.state.EndDate);
    else
        ExportToFile(d.highlights, *file);
}

void HighlightDialog::importHighlights() {
    const auto file = dialogs_.askOpenFile(QStringLiteral("Load Highlighted Days"),
                                           QStringLiteral("TXT"), kTextFilter);
    // The list is redrawn (and the wheel repainted) whether or not a file was read, also after
    // an import that stopped part-way; its message comes last.
    std::optional<Error> failure;
    // Events of an .ics file fill the period's days, in the current paint colour when they
    // name no colour of their own.
    IcsImport how;
    how.first = edits_.document().state.StartDate;
    how.last = edits_.document().state.EndDate;
    how.colour = edits_.document().colours.current;
    how.localZone = QTimeZone::systemTimeZone();
    changeList(QStringLiteral("Import"), [&](HighlightList& list) {
        try {
            if (file && IsIcsFileName(*file))
                ImportIcsFile(list, *file, how);
            else if (file)
                ImportFromFile(list, *file);
        } catch (const Error& e) {
            failure = e;
        }
    });
    if (failure)
        throw *failure;
}

void HighlightDialog::chooseHighlightColour() {
    RunCommand(services_, [this] {
        if (const auto colour = dialogs_.chooseColourFor(colourSwatch->colour()))
            colourSwatch->setColour(*colour);
    });
}

void HighlightDialog::showSelection() {
    const qsizetype selected = selectedIndex();
    if (selected < 0)
        return;
    const EntrySelection entry = SelectionReadOut(edits_.document().highlights, selected);
    // An entry whose colour field is no number leaves the colour panel as it was.
    if (entry.colour)
        colourSwatch->setColour(*entry.colour);
    descriptionField->setText(entry.description);
}

void HighlightDialog::dateToToday() {
    setDate(today_());
}

void HighlightDialog::dateToPeriodStart() {
    const CalendarState& s = edits_.document().state;
    if (IsRealDate(s.PaintStart))
        setDate(s.PaintStart);
}

void HighlightDialog::dateToPeriodEnd() {
    // The last repaint keeps the day after the period.
    DayDate end = edits_.document().state.PaintEnd;
    if (!IsRealDate(end))
        return;
    PrevDay(end);
    setDate(end);
}

void HighlightDialog::addToDate(int tag) {
    DayDate day = date();
    for (int i = 0; i < tag; ++i)
        NextDay(day);
    setDate(day);
}

void HighlightDialog::subtractFromDate(int tag) {
    DayDate day = date();
    for (int i = 0; i < tag; ++i)
        PrevDay(day);
    setDate(day);
}

void HighlightDialog::popupDateMenu(const QPoint& global) {
    dateMenu->popup(global);
}

bool HighlightDialog::eventFilter(QObject* watched, QEvent* event) {
    // Only the event as it reaches the focused control counts: a spin box passes the key on to
    // its text and an unused key goes up to the parents, and neither may delete twice.
    if (event->type() == QEvent::KeyPress && watched == QApplication::focusWidget() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete)
        RunCommand(services_, [this] { deleteHighlight(); });
    return QDialog::eventFilter(watched, event);
}

} // namespace gyrodex
