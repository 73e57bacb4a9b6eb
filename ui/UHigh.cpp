#include "UHigh.h"

#include "Busy.h"
#include "Error.h"
#include "Highlights.h"
#include "ImageCanvas.h"
#include "UDMod.h"
#include "UFloatMenu.h"
#include "UMain.h"

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
#include <QValidator>

namespace gyrodex {

namespace {

constexpr int kRowHeight = 16;
constexpr int kTypedDescription = 40;
constexpr Colour kNewEntryColour = 0x80FF80; // RGB 128, 255, 128
constexpr Colour kCheckBoxText = 0x400000;   // RGB 0, 0, 64

const QString kTextFilter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*");

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

TfrmHighlight::TfrmHighlight(Globals& globals)
    // A window of the main window's, so that the window manager keeps it above the image.
    : QDialog(globals.frmMain.get(), Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      g_(globals) {
    setObjectName(QStringLiteral("frmHighlight"));
    setWindowTitle(QStringLiteral("Highlight Dates"));
    setModal(true);
    setSizeGripEnabled(false);
    // The designed 426 x 387 window, less a tool window's frame.
    resize(418, 360);
    setMinimumSize(149 + 60, 352);
    const QRect designed(QPoint(738, 373), frameGeometry().size().expandedTo(QSize(426, 387)));
    const QRect screen = g_.env.screen;
    move(std::max(screen.left(), std::min(designed.left(), screen.right() + 1 - designed.width())),
         std::max(screen.top(), std::min(designed.top(), screen.bottom() + 1 - designed.height())));

    pnlLeft = new QWidget(this);
    pnlLeft->setObjectName(QStringLiteral("pnlLeft"));
    pnlLeft->setFixedWidth(149);
    lb = new QListView(this);
    lb->setObjectName(QStringLiteral("lb"));
    lb->setAccessibleName(QStringLiteral("Highlights"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pnlLeft);
    layout->addWidget(lb, 1);

    lblDate = new QLabel(QStringLiteral("Date:"), pnlLeft);
    lblDate->setGeometry(8, 8, 40, 13);
    DT = new QDateEdit(QDate(1999, 1, 1), pnlLeft);
    DT->setObjectName(QStringLiteral("DT"));
    DT->setAccessibleName(QStringLiteral("Date"));
    DT->setGeometry(50, 4, 93, 21);
    DT->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    DT->setCalendarPopup(true);
    lblDate->setBuddy(DT);

    Pop = new QMenu(this);
    Pop->setObjectName(QStringLiteral("Pop"));
    Pop->addAction(QStringLiteral("&Today"), this, &TfrmHighlight::Today1Click);
    Pop->addAction(QStringLiteral("&Calendar Start"), this, &TfrmHighlight::CalendarStart1Click);
    Pop->addAction(QStringLiteral("Calendar &End"), this, &TfrmHighlight::CalendarEnd1Click);
    Add1 = Pop->addMenu(QStringLiteral("&Add"));
    Subtract1 = Pop->addMenu(QStringLiteral("&Subtract"));
    for (const int tag : {1, 5, 10, 50, 100}) {
        const QString caption =
            tag == 1 ? QStringLiteral("1 day") : QStringLiteral("%1 days").arg(tag);
        Add1->addAction(caption, this, [this, tag] { N1day1Click(tag); });
        Subtract1->addAction(caption, this, [this, tag] { N1day2Click(tag); });
    }
    // The right button on the field or on its text opens the menu.
    for (QWidget* w :
         {static_cast<QWidget*>(DT), static_cast<QWidget*>(DT->findChild<QLineEdit*>())}) {
        if (!w)
            continue;
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& pos) { popupDateMenu(w->mapToGlobal(pos)); });
    }

    pnlHigh = new ColourSwatch(QStringLiteral("pnlHigh"), kNewEntryColour, pnlLeft);
    pnlHigh->setAccessibleName(QStringLiteral("Color"));
    pnlHigh->setGeometry(4, 28, 139, 29);
    pnlHigh->setFocusPolicy(Qt::TabFocus);
    auto* caption = new QLabel(QStringLiteral("Color"), pnlHigh);
    caption->setAlignment(Qt::AlignCenter);
    caption->setGeometry(1, 1, 137, 27);
    caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(pnlHigh, &ColourSwatch::clicked, this, &TfrmHighlight::pnlHighClick);

    lblDesc = new QLabel(QStringLiteral("Description:"), pnlLeft);
    lblDesc->setGeometry(4, 61, 139, 13);
    edtDesc = new QLineEdit(pnlLeft);
    edtDesc->setObjectName(QStringLiteral("edtDesc"));
    edtDesc->setAccessibleName(QStringLiteral("Description"));
    edtDesc->setGeometry(4, 76, 139, 21);
    edtDesc->setValidator(new TypedLengthLimit(edtDesc, kTypedDescription));
    lblDesc->setBuddy(edtDesc);

    btnAdd = button(QStringLiteral("btnAdd"), QStringLiteral("&Add Days..."), {4, 100, 93, 25},
                    QStyle::SP_ArrowRight);
    connect(btnAdd, &QPushButton::clicked, this,
            [this] { RunCommand(g_.services, [this] { btnAddClick(); }); });
    spnDays = new QSpinBox(pnlLeft);
    spnDays->setObjectName(QStringLiteral("spnDays"));
    spnDays->setAccessibleName(QStringLiteral("Days"));
    spnDays->setGeometry(100, 102, 45, 21);
    spnDays->setRange(1, 99);
    spnDays->setValue(1);

    chkAutoAdvance = new QCheckBox(QStringLiteral("Automatic Advance"), pnlLeft);
    chkAutoAdvance->setObjectName(QStringLiteral("chkAutoAdvance"));
    chkAutoAdvance->move(12, 132);
    chkAutoAdvance->adjustSize();
    chkAutoAdvance->setChecked(true);
    DarkBlueText(chkAutoAdvance);

    btnDelete = button(QStringLiteral("btnDelete"), QStringLiteral("&Delete Highlight"),
                       {7, 156, 133, 25}, QStyle::SP_TrashIcon);
    connect(btnDelete, &QPushButton::clicked, this,
            [this] { RunCommand(g_.services, [this] { btnDeleteClick(); }); });
    btnClear = button(QStringLiteral("btnClear"), QStringLiteral("&Clear All Highlights"),
                      {7, 184, 133, 25}, QStyle::SP_DialogResetButton);
    connect(btnClear, &QPushButton::clicked, this,
            [this] { RunCommand(g_.services, [this] { btnClearClick(); }); });
    btnSave = button(QStringLiteral("btnSave"), QStringLiteral("&Export Highlights"),
                     {7, 212, 133, 25}, QStyle::SP_DialogSaveButton);
    connect(btnSave, &QPushButton::clicked, this,
            [this] { RunCommand(g_.services, [this] { btnSaveClick(); }); });
    btnLoad = button(QStringLiteral("btnLoad"), QStringLiteral("&Import Highlights"),
                     {7, 240, 133, 25}, QStyle::SP_DialogOpenButton);
    connect(btnLoad, &QPushButton::clicked, this,
            [this] { RunCommand(g_.services, [this] { btnLoadClick(); }); });

    chkPreview = new QCheckBox(QStringLiteral("Automatic Preview"), pnlLeft);
    chkPreview->setObjectName(QStringLiteral("chkPreview"));
    chkPreview->move(9, 276);
    chkPreview->adjustSize();
    chkPreview->setChecked(true);
    DarkBlueText(chkPreview);

    btnCancel = new QPushButton(QStringLiteral("Cancel"), pnlLeft);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(7, 296, 133, 25);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    btnOK = new QPushButton(QStringLiteral("OK"), pnlLeft);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(7, 324, 133, 25);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    model = new HighlightListModel(g_.highlights, this);
    lb->setModel(model);
    lb->setItemDelegate(new HighlightRowDelegate(lb));
    // Every row is as high as the first: the view lays out 100,000 rows without measuring each.
    lb->setUniformItemSizes(true);
    lb->setSelectionMode(QAbstractItemView::SingleSelection);
    lb->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lb->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(lb->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (!selecting_)
            lbClick();
    });
    connect(lb, &QListView::clicked, this, &TfrmHighlight::lbClick);

    QWidget* order[] = {DT,      pnlHigh, edtDesc,    btnAdd, spnDays,   btnDelete,      btnClear,
                        btnLoad, btnSave, chkPreview, btnOK,  btnCancel, chkAutoAdvance, lb};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    // Keys reach the window before its controls.
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
}

QPushButton* TfrmHighlight::button(const QString& name, const QString& caption, const QRect& place,
                                   int picture) {
    auto* b = new QPushButton(caption, pnlLeft);
    b->setObjectName(name);
    b->setGeometry(place);
    b->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(picture)));
    b->setIconSize(QSize(12, 12));
    return b;
}

bool TfrmHighlight::RunModal() {
    // The list may have changed since the last showing (a loaded file, the canvas tools).
    model->refresh();
    return g_.services.exec(*this) == QDialog::Accepted;
}

void TfrmHighlight::listChanged() {
    model->refresh();
    if (chkPreview->isChecked())
        g_.frmMain->RepaintCalendar();
}

DayDate TfrmHighlight::date() const {
    return FromQDate(DT->date());
}

void TfrmHighlight::setDate(const DayDate& day) {
    const QDate d = ToQDate(day);
    if (d.isValid())
        DT->setDate(d);
}

qsizetype TfrmHighlight::selectedIndex() const {
    const QModelIndex current = lb->currentIndex();
    if (!current.isValid() || !lb->selectionModel()->isSelected(current))
        return -1;
    return current.row();
}

void TfrmHighlight::selectIndex(qsizetype index) {
    selecting_ = true;
    if (index < 0 || index >= g_.highlights.size()) {
        lb->selectionModel()->clearCurrentIndex();
        lb->selectionModel()->clearSelection();
    } else {
        const QModelIndex row = model->index(static_cast<int>(index));
        lb->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
        lb->scrollTo(row);
    }
    selecting_ = false;
}

void TfrmHighlight::btnAddClick() {
    const DayDate next = AddDays(g_.highlights, date(), spnDays->value(), pnlHigh->colour(),
                                 edtDesc->text(), chkAutoAdvance->isChecked());
    setDate(next);
    spnDays->setValue(1);
    listChanged();
}

void TfrmHighlight::btnDeleteClick() {
    const qsizetype selected = selectedIndex();
    if (selected < 0)
        return;
    const qsizetype next = DeleteEntry(g_.highlights, selected);
    model->refresh();
    selectIndex(next);
    if (chkPreview->isChecked())
        g_.frmMain->RepaintCalendar();
}

void TfrmHighlight::btnClearClick() {
    ClearAll(g_.highlights);
    listChanged();
}

void TfrmHighlight::btnSaveClick() {
    const auto file = g_.DMod->SaveFDlg(QStringLiteral("Save Highlighted Days"),
                                        QStringLiteral("TXT"), kTextFilter);
    if (file)
        ExportToFile(g_.highlights, *file);
}

void TfrmHighlight::btnLoadClick() {
    const auto file = g_.DMod->OpenFDlg(QStringLiteral("Load Highlighted Days"),
                                        QStringLiteral("TXT"), kTextFilter);
    // The list is redrawn (and the wheel repainted) whether or not a file was read, also after
    // an import that stopped part-way; its message comes last.
    std::optional<Error> failure;
    try {
        if (file)
            ImportFromFile(g_.highlights, *file);
    } catch (const Error& e) {
        failure = e;
    }
    listChanged();
    if (failure)
        throw *failure;
}

void TfrmHighlight::pnlHighClick() {
    RunCommand(g_.services, [this] {
        if (const auto colour = g_.DMod->ColorDlg(pnlHigh->colour()))
            pnlHigh->setColour(*colour);
    });
}

void TfrmHighlight::lbClick() {
    const qsizetype selected = selectedIndex();
    if (selected < 0)
        return;
    const EntrySelection entry = SelectionReadOut(g_.highlights, selected);
    // An entry whose colour field is no number leaves the colour panel as it was.
    if (entry.colour)
        pnlHigh->setColour(*entry.colour);
    edtDesc->setText(entry.description);
}

void TfrmHighlight::Today1Click() {
    setDate(g_.Today());
}

void TfrmHighlight::CalendarStart1Click() {
    if (IsRealDate(g_.state.PaintStart))
        setDate(g_.state.PaintStart);
}

void TfrmHighlight::CalendarEnd1Click() {
    // The last repaint keeps the day after the period.
    DayDate end = g_.state.PaintEnd;
    if (!IsRealDate(end))
        return;
    PrevDay(end);
    setDate(end);
}

void TfrmHighlight::N1day1Click(int tag) {
    DayDate day = date();
    for (int i = 0; i < tag; ++i)
        NextDay(day);
    setDate(day);
}

void TfrmHighlight::N1day2Click(int tag) {
    DayDate day = date();
    for (int i = 0; i < tag; ++i)
        PrevDay(day);
    setDate(day);
}

void TfrmHighlight::popupDateMenu(const QPoint& global) {
    Pop->popup(global);
}

bool TfrmHighlight::eventFilter(QObject* watched, QEvent* event) {
    // Only the event as it reaches the focused control counts: a spin box passes the key on to
    // its text and an unused key goes up to the parents, and neither may delete twice.
    if (event->type() == QEvent::KeyPress && watched == QApplication::focusWidget() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete)
        RunCommand(g_.services, [this] { btnDeleteClick(); });
    return QDialog::eventFilter(watched, event);
}

} // namespace gyrodex
