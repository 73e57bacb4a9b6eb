#include "LabelsPanel.h"

#include "Busy.h"
#include "CaptionDrag.h"
#include "ColoursPanel.h"
#include "ImageCanvas.h"
#include "Integer.h"
#include "Services.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTableWidget>
#include <algorithm>
#include <map>

namespace gyrodex {

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 334;
constexpr QRgb kCaptionColour = qRgb(255, 236, 160);

// The day an entry names as a sortable number (year, month, day); entries without a date
// text sort last.
long long EntryDay(const QString& entry) {
    bool okYear = false, okMonth = false, okDay = false;
    const int year = QStringView(entry).mid(6, 4).toInt(&okYear);
    const int month = QStringView(entry).mid(0, 2).toInt(&okMonth);
    const int day = QStringView(entry).mid(3, 2).toInt(&okDay);
    if (!okYear || !okMonth || !okDay)
        return std::numeric_limits<long long>::max();
    return (static_cast<long long>(year) * 100 + month) * 100 + day;
}

QString FontText(const LabelSettings& l) {
    return QStringLiteral("%1, %2 pt").arg(l.FontName).arg(l.FontSize);
}

} // namespace

std::vector<Colour> NamedColourRows(const HighlightList& highlights, const LabelSettings& labels) {
    std::map<Colour, long long> first;
    for (const QString& entry : highlights.entries()) {
        const auto colour = ParseDecimal(EntryColourField(entry));
        if (!colour)
            continue;
        const long long day = EntryDay(entry);
        auto [it, added] = first.emplace(static_cast<Colour>(*colour), day);
        if (!added)
            it->second = std::min(it->second, day);
    }
    std::vector<std::pair<long long, Colour>> order;
    for (const auto& [colour, day] : first)
        order.emplace_back(day, colour);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Colour> rows;
    for (const auto& o : order)
        rows.push_back(o.second);
    for (const auto& [colour, name] : labels.ColourNames)
        if (!first.contains(colour))
            rows.push_back(colour);
    return rows;
}

LabelsPanel::LabelsPanel(EditPath& edits, Services& services, QRect screen, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      edits_(edits), services_(services), screen_(screen) {
    setObjectName(QStringLiteral("frmLabels"));
    setWindowTitle(QStringLiteral("Labels"));
    setFixedSize(kWidth, kHeight);

    frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("pnlLabels"));
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setGeometry(0, 0, kWidth, kHeight);

    captionBar = new CaptionLabel(QStringLiteral(" Labels"), kCaptionColour, screen, frame);
    captionBar->setObjectName(QStringLiteral("lblLabelsCaption"));
    captionBar->setGeometry(1, 1, kWidth - 2, 14);

    monthsBox = checkBox(QStringLiteral("chkMonths"), QStringLiteral("Month Names"), 6, 22);
    weeksBox = checkBox(QStringLiteral("chkWeeks"), QStringLiteral("Week Numbers"), 122, 22);
    titleBox = checkBox(QStringLiteral("chkTitle"), QStringLiteral("Title"), 6, 42);
    yearsBox = checkBox(QStringLiteral("chkYears"), QStringLiteral("Years after Title"), 122, 42);
    legendBox = checkBox(QStringLiteral("chkLegend"), QStringLiteral("Legend"), 6, 62);
    agendaBox = checkBox(QStringLiteral("chkAgenda"), QStringLiteral("Agenda"), 122, 62);

    auto* titleLabel = new QLabel(QStringLiteral("Title:"), frame);
    titleLabel->setGeometry(6, 86, 100, 13);
    titleField = new QLineEdit(frame);
    titleField->setObjectName(QStringLiteral("edtTitle"));
    titleField->setGeometry(6, 101, kWidth - 12, 21);
    titleField->setMaxLength(200);
    titleLabel->setBuddy(titleField);
    connect(titleField, &QLineEdit::textEdited, this, &LabelsPanel::titleEdited);

    fontPanel = new FontPanel(QStringLiteral("pnlLabelFont"), QStringLiteral("Label Font"), frame);
    fontPanel->setGeometry(6, 128, 77, 29);
    connect(fontPanel, &FontPanel::clicked, this, &LabelsPanel::chooseLabelFont);

    auto* namesLabel = new QLabel(QStringLiteral("Legend names of the highlight colors:"), frame);
    namesLabel->setGeometry(6, 163, kWidth - 12, 13);
    colourTable = new QTableWidget(0, 2, frame);
    colourTable->setObjectName(QStringLiteral("grdLegend"));
    colourTable->setGeometry(6, 178, kWidth - 12, kHeight - 184);
    colourTable->setHorizontalHeaderLabels({QStringLiteral("Color"), QStringLiteral("Name")});
    colourTable->verticalHeader()->hide();
    colourTable->verticalHeader()->setDefaultSectionSize(18);
    colourTable->horizontalHeader()->setStretchLastSection(true);
    colourTable->setColumnWidth(0, 44);
    colourTable->setSelectionMode(QAbstractItemView::SingleSelection);
    namesLabel->setBuddy(colourTable);
    connect(colourTable, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == 1)
            colourNameEdited(item->row());
    });

    for (QCheckBox* box : {monthsBox, weeksBox, titleBox, yearsBox, legendBox, agendaBox})
        connect(box, &QCheckBox::toggled, this, &LabelsPanel::switchClicked);

    showState();
    connect(&edits_, &EditPath::changed, this, [this](const Change& change) {
        if ((change.parts & (Change::Looks | Change::Highlights)) && change.source != this)
            showState();
    });
}

QCheckBox* LabelsPanel::checkBox(const QString& name, const QString& caption, int left, int top) {
    auto* box = new QCheckBox(caption, frame);
    box->setObjectName(name);
    box->setGeometry(left, top, 112, 17);
    return box;
}

void LabelsPanel::showState() {
    const Document& d = edits_.document();
    const LabelSettings& l = d.state.Labels;
    for (auto [box, on] : {std::pair{monthsBox, l.Months},
                           {weeksBox, l.Weeks},
                           {titleBox, l.Title},
                           {yearsBox, l.TitleYears},
                           {legendBox, l.Legend},
                           {agendaBox, l.Agenda}}) {
        const QSignalBlocker block(box);
        box->setChecked(on);
    }
    if (titleField->text() != l.TitleText) {
        const QSignalBlocker block(titleField);
        titleField->setText(l.TitleText);
    }
    // The caption in the label font, at most as large as the panel holds.
    fontPanel->setFont(MakeFont(l.FontName, std::min(l.FontSize, 12), 0));
    fontPanel->setToolTip(FontText(l));
    fontPanel->setAccessibleDescription(FontText(l));

    const QSignalBlocker block(colourTable);
    rows_ = NamedColourRows(d.highlights, l);
    colourTable->setRowCount(static_cast<int>(rows_.size()));
    for (int row = 0; row < colourTable->rowCount(); ++row) {
        const Colour colour = rows_[static_cast<std::size_t>(row)];
        auto* swatch = new QTableWidgetItem();
        swatch->setFlags(Qt::ItemIsEnabled);
        swatch->setBackground(ToQColor(colour));
        swatch->setToolTip(QString::number(static_cast<std::int32_t>(colour)));
        colourTable->setItem(row, 0, swatch);
        const auto named = l.ColourNames.find(colour);
        auto* name = new QTableWidgetItem(named == l.ColourNames.end() ? QString() : named->second);
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        colourTable->setItem(row, 1, name);
    }
}

void LabelsPanel::showPanel() {
    show();
    raise();
    activateWindow();
}

void LabelsPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    captionBar->endDrag();
    if (!placed_) {
        // First shown beside the colours panel's first place, clear of the palette.
        placed_ = true;
        move(screen_.left() + std::max(0, screen_.width() - width() - 90),
             screen_.top() + std::min(239, std::max(0, screen_.height() - height())));
    }
}

void LabelsPanel::change(const QString& what, std::function<void(LabelSettings&)> apply,
                         bool merges) {
    Change c{Change::Looks, what,
             [apply = std::move(apply)](Document& d) { apply(d.state.Labels); },
             Change::Repaint::Preview, this};
    // The title's typing is one undo step.
    c.merges = merges;
    edits_.edit(c);
}

void LabelsPanel::switchClicked() {
    auto* box = qobject_cast<QCheckBox*>(sender());
    if (!box)
        return;
    const bool on = box->isChecked();
    bool LabelSettings::*flag = &LabelSettings::Months;
    if (box == weeksBox)
        flag = &LabelSettings::Weeks;
    else if (box == titleBox)
        flag = &LabelSettings::Title;
    else if (box == yearsBox)
        flag = &LabelSettings::TitleYears;
    else if (box == legendBox)
        flag = &LabelSettings::Legend;
    else if (box == agendaBox)
        flag = &LabelSettings::Agenda;
    change(box->text(), [flag, on](LabelSettings& l) { l.*flag = on; });
}

void LabelsPanel::titleEdited() {
    change(
        QStringLiteral("Title"),
        [text = titleField->text()](LabelSettings& l) { l.TitleText = text; }, true);
}

void LabelsPanel::chooseLabelFont() {
    const LabelSettings& l = edits_.document().state.Labels;
    std::optional<QFont> chosen;
    RunCommand(services_, [&] { chosen = services_.chooseFont(QFont(l.FontName, l.FontSize)); });
    if (!chosen)
        return;
    // A font given in pixels comes back without a point size: 96 pixels are 72 points.
    const int size =
        std::clamp(chosen->pointSize() > 0 ? chosen->pointSize() : chosen->pixelSize() * 72 / 96,
                   LabelSettings::kMinFontSize, LabelSettings::kMaxFontSize);
    change(QStringLiteral("Label Font"), [name = chosen->family(), size](LabelSettings& s) {
        s.FontName = name;
        s.FontSize = size;
    });
    showState();
}

void LabelsPanel::colourNameEdited(int row) {
    if (row < 0 || row >= static_cast<int>(rows_.size()))
        return;
    const QTableWidgetItem* item = colourTable->item(row, 1);
    const QString name = item ? item->text().simplified() : QString();
    change(QStringLiteral("Legend Name"),
           [colour = rows_[static_cast<std::size_t>(row)], name](LabelSettings& l) {
               if (name.isEmpty())
                   l.ColourNames.erase(colour);
               else
                   l.ColourNames[colour] = name;
           });
}

} // namespace gyrodex
