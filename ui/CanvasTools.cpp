// The main window's canvas tools and date hint: pointer events on the image, the pointer
// shapes, and what a left release does with each tool.
#include "DateFormat.h"
#include "DayDialog.h"
#include "Geometry.h"
#include "Highlights.h"
#include "ImageCanvas.h"
#include "ImageView.h"
#include "MainWindow.h"
#include "Painter.h"
#include "Palette.h" // ColourSwatch
#include "ProgramSettings.h"
#include "SharedDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

namespace gyrodex {

namespace {

constexpr Colour kHintBackground = 16744576; // RGB 128, 128, 255

// The date formatter's names and formats, from the user's locale, made once. Without a
// configured locale (the C locale, whose short format has no date separator) the English
// names and M/d/yyyy are used, as by the command-line tool.
const DateFormatLocale& HintLocale() {
    static const DateFormatLocale locale = QLocale().language() == QLocale::C
                                               ? DateFormatLocale::UsEnglish()
                                               : DateFormatLocale::FromLocale(QLocale());
    return locale;
}

} // namespace

void MainWindow::createToolParts() {
    const struct {
        int number;
        const char* resource;
        int hotX, hotY;
    } shapes[] = {{1, ":/cursors/normal", 0, 0},
                  {2, ":/cursors/picker", 3, 15},
                  {4, ":/cursors/bucket", 14, 20},
                  {5, ":/cursors/text", 5, 10},
                  {6, ":/cursors/eraser", 0, 14}};
    for (const auto& shape : shapes)
        cursors.emplace(shape.number, QCursor(QPixmap(QString::fromLatin1(shape.resource)),
                                              shape.hotX, shape.hotY));
    // Until a tool is chosen on the palette the image shows the standard arrow.
    imageView->setCursor(Qt::ArrowCursor);

    hintLabel = new QLabel(this);
    hintLabel->setObjectName(QStringLiteral("pnlHint"));
    hintLabel->setFrameStyle(QFrame::Box | QFrame::Plain);
    hintLabel->setLineWidth(1);
    hintLabel->setAutoFillBackground(true);
    QPalette pal = hintLabel->palette();
    pal.setColor(QPalette::Window, ToQColor(kHintBackground));
    pal.setColor(QPalette::WindowText, Qt::yellow);
    hintLabel->setPalette(pal);
    QFont font = QApplication::font();
    font.setPointSize(8);
    hintLabel->setFont(font);
    hintLabel->setTextFormat(Qt::PlainText);
    // The pointer stays over the image: the hint never takes its events.
    hintLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    hintLabel->hide();
    hintLabel->raise();

    connect(imageView, &ImageView::mousePressed, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint p) {
                imageMousePress(b, m, p.x(), p.y());
            });
    connect(imageView, &ImageView::mouseMoved, this,
            [this](Qt::KeyboardModifiers m, QPoint p) { imageMouseMove(m, p.x(), p.y()); });
    connect(imageView, &ImageView::mouseReleased, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint p) {
                imageMouseRelease(b, m, p.x(), p.y());
            });
}

void MainWindow::setTool(PaintTool tool) {
    p_.document.state.CurrentTool = tool;
    // The shape numbered tool + 1; the date picker has none and shows the standard arrow.
    const auto shape = cursors.find(static_cast<int>(tool) + 1);
    if (shape == cursors.end())
        imageView->setCursor(Qt::ArrowCursor);
    else
        imageView->setCursor(shape->second);
}

void MainWindow::imageMousePress(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
    p_.document.state.PressX = x;
    p_.document.state.PressY = y;
}

void MainWindow::imageMouseMove(Qt::KeyboardModifiers, int x, int y) {
    CalendarState& s = p_.document.state;
    const HitResult hit = HitTest(s, x, y);
    // Off the rings the hover spoke keeps its last value.
    s.HoverRing = hit.ring;
    if (hit.ring > 0)
        s.HoverSpoke = hit.spoke;
    if (hit.date.Day == 0) {
        hintLabel->hide();
        return;
    }
    const DayCell& cell = s.Cells.at(s.HoverSpoke, s.HoverRing);
    // The settings are read at every move: the setup dialog's changes count at once.
    const DateHint hint =
        MakeDateHint(hit.date, cell.description, p_.settings.GetInteger(QStringLiteral("HintType")),
                     p_.settings.GetString(QStringLiteral("DateFormat")), HintLocale());
    if (hint.kind == DateHint::Kind::Hidden) {
        hintLabel->hide();
        return;
    }
    if (hint.kind == DateHint::Kind::Text && hintLabel->text() != hint.text) {
        hintLabel->setText(hint.text);
        hintLabel->adjustSize();
    }
    // Placed in the window's logical pixels, beside the pointer.
    const QPoint at = imageView->toLogical(QPoint(x, y));
    const int top = imageView->height() < at.y() + 40 ? at.y() - 24 : at.y() + 20;
    int left = at.x() - 4;
    const int screenWidth = p_.env.screen.width();
    if (screenWidth < left + hintLabel->width())
        left = screenWidth - hintLabel->width();
    if (hintLabel->pos() != QPoint(left, top))
        hintLabel->move(left, top);
    hintLabel->show();
}

void MainWindow::imageMouseRelease(Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
    CalendarState& s = p_.document.state;
    hintLabel->hide();
    const HitResult hit = HitTest(s, x, y);
    s.CurrentDate = hit.date;
    s.ReleaseX = x;
    s.ReleaseY = y;
    // The cell tools work on the cell under the release point; it is the hover cell whenever
    // the pointer moved there, and a release without a move before it (a touch, a tablet) must
    // not paint this date into another cell.
    if (hit.ring > 0) {
        s.HoverRing = hit.ring;
        s.HoverSpoke = hit.spoke;
    }
    if (button != Qt::LeftButton)
        return;
    const bool onDay = s.CurrentDate.Day != 0;
    command([&] {
        switch (s.CurrentTool) {
        case PaintTool::Pointer:
            moveWheel();
            break;
        case PaintTool::Picker:
            pickColour();
            break;
        case PaintTool::PickDate:
            if (onDay)
                showDayInEditor();
            break;
        case PaintTool::Fill:
            fillCell();
            break;
        case PaintTool::Text:
            if (onDay)
                editDay();
            break;
        case PaintTool::Erase:
            if (onDay)
                eraseHighlight();
            break;
        }
    });
}

void MainWindow::moveWheel() {
    // One repaint after the move, whether or not AutoPreview is on.
    p_.edits.edit({Change::Geometry, QStringLiteral("Move"),
                   [](Document& d) {
                       CalendarState& s = d.state;
                       s.CentreOffsetX += s.ReleaseX - s.PressX;
                       s.CentreOffsetY += s.ReleaseY - s.PressY;
                   },
                   Change::Repaint::Always, nullptr});
}

void MainWindow::pickColour() {
    const Colour colour = p_.canvas.pixel(p_.document.state.ReleaseX, p_.document.state.ReleaseY);
    p_.edits.edit({Change::PaintColours, QStringLiteral("Pick Colour"),
                   [colour](Document& d) { d.colours.current = colour; }, Change::Repaint::None,
                   nullptr});
    p_.dialogs.rememberPickedColour(colour);
}

void MainWindow::showDayInEditor() {
    emit dayPicked(p_.document.state.CurrentDate);
}

void MainWindow::fillCell() {
    const Colour current = p_.document.colours.current;
    if (p_.document.state.CurrentDate.Day == 0) {
        // Off the days: the background takes the colour and the whole wheel is repainted on a
        // cleared image, "Repaint All" or not; the box keeps its setting.
        p_.edits.edit({Change::Looks, QStringLiteral("Fill"),
                       [current](Document& d) { d.state.BackColour = current; },
                       Change::Repaint::ClearedImage, nullptr});
        return;
    }
    p_.edits.edit(
        {Change::Highlights, QStringLiteral("Fill"),
         [current](Document& d) { SetDayColour(d.highlights, d.state.CurrentDate, current); },
         Change::Repaint::Cell, nullptr});
}

void MainWindow::editDay() {
    CalendarState& s = p_.document.state;
    const DayCell& cell = s.Cells.at(s.HoverSpoke, s.HoverRing);
    // The cell keeps at most 40 characters of a description: the dialog gets the whole one of
    // the entry the cell shows, so OK without a change keeps a longer description.
    QString description = cell.description;
    const auto [first, last] = p_.document.highlights.matching(DateText(s.CurrentDate));
    if (last > first) {
        const QString& entry = p_.document.highlights.at(last - 1);
        const QString whole = EntryDescription(entry, entry.size());
        if (!description.isEmpty() && whole.startsWith(description))
            description = whole;
    }
    DayDialog& dialog = *dayDialog;
    // The day in the hint's date format, so the dialog names the day as the hint did.
    dialog.dateLabel->setText(FormatDate(p_.settings.GetString(QStringLiteral("DateFormat")),
                                         s.CurrentDate, HintLocale()));
    dialog.descriptionField->setText(description);
    dialog.colourSwatch->setColour(cell.fill);
    if (p_.services.exec(dialog) != QDialog::Accepted)
        return;
    const Colour colour = dialog.colourSwatch->colour();
    const QString text = dialog.descriptionField->text();
    p_.edits.edit(
        {Change::Highlights, QStringLiteral("Text"),
         [&](Document& d) { ReplaceDay(d.highlights, d.state.CurrentDate, colour, text); },
         Change::Repaint::Cell, nullptr});
}

void MainWindow::eraseHighlight() {
    p_.edits.edit({Change::Highlights, QStringLiteral("Erase"),
                   [](Document& d) {
                       CalendarState& s = d.state;
                       RemoveDay(d.highlights, s.CurrentDate);
                       s.Cells.at(s.HoverSpoke, s.HoverRing).description.clear();
                   },
                   Change::Repaint::Cell, nullptr});
}

void MainWindow::repaintOnClearedImage() {
    CalendarState& s = p_.document.state;
    struct Restore {
        CalendarState& s;
        bool repaintAll;
        ~Restore() { s.RepaintAll = repaintAll; }
    } restore{s, std::exchange(s.RepaintAll, true)};
    RepaintCalendar();
}

void MainWindow::paintReleasedCell() {
    CalendarState& s = p_.document.state;
    // The view shows what the painter got to, also when a highlight's colour stops it.
    struct Show {
        MainWindow* main;
        ~Show() { main->showDrawn(); }
    } show{this};
    PaintCell(s, p_.document.highlights, p_.canvas, s.HoverSpoke, s.HoverRing);
}

} // namespace gyrodex
