// The main window's canvas tools and date hint: pointer events on the image, the pointer
// shapes, and what a left release does with each tool.
#include "DateFormat.h"
#include "Geometry.h"
#include "Globals.h"
#include "Highlights.h"
#include "ImageView.h"
#include "Painter.h"
#include "UDMod.h"
#include "UFloatMenu.h"
#include "UHigh.h"
#include "UMain.h"
#include "UOneDay.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

namespace gyrodex {

namespace {

constexpr Colour kHintBackground = 16744576; // RGB 128, 128, 255

// Passes drawing on to the image's canvas and keeps the rectangle it wrote, so that only that
// part of the screen is updated after a single cell was painted.
class WrittenRect final : public RasterCanvas {
public:
    explicit WrittenRect(RasterCanvas& canvas) : c_(canvas) {}
    QRect rect() const { return rect_; }

    int width() const override { return c_.width(); }
    int height() const override { return c_.height(); }
    void setPen(Colour colour, int width) override {
        penWidth_ = width;
        c_.setPen(colour, width);
    }
    void setBrush(Colour colour) override { c_.setBrush(colour); }
    void setFont(const QString& name, int points, unsigned style, Colour colour,
                 int escapement) override {
        c_.setFont(name, points, style, colour, escapement);
    }
    void setFontColour(Colour colour) override { c_.setFontColour(colour); }
    void fillRect(const QRect& r) override {
        add(r);
        c_.fillRect(r);
    }
    void polygon(std::span<const QPoint> points) override {
        QRect bounds;
        for (const QPoint& p : points)
            bounds |= QRect(p, QSize(1, 1));
        addStroked(bounds);
        c_.polygon(points);
    }
    void moveTo(QPoint p) override {
        pos_ = p;
        c_.moveTo(p);
    }
    void lineTo(QPoint p) override {
        addStroked(QRect(pos_, QSize(1, 1)) | QRect(p, QSize(1, 1)));
        pos_ = p;
        c_.lineTo(p);
    }
    void textOut(int x, int y, const QString& text) override {
        // The day numbers are written unrotated; their glyphs may reach a little past the
        // measured extent, so the rectangle keeps a margin.
        add(QRect(QPoint(x, y), c_.textExtent(text)).adjusted(-2, -2, 2, 2));
        c_.textOut(x, y, text);
    }
    QSize textExtent(const QString& text) override { return c_.textExtent(text); }
    Colour pixel(int x, int y) const override { return c_.pixel(x, y); }

private:
    void add(const QRect& r) { rect_ |= r; }
    // A line or outline reaches half the pen's width (and a pixel of rounding) beyond its
    // points.
    void addStroked(const QRect& r) {
        const int m = penWidth_ / 2 + 1;
        add(r.adjusted(-m, -m, m, m));
    }

    RasterCanvas& c_;
    QRect rect_;
    QPoint pos_;
    int penWidth_ = 1;
};

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

void TfrmMain::createToolParts() {
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
        Cursors.emplace(shape.number, QCursor(QPixmap(QString::fromLatin1(shape.resource)),
                                              shape.hotX, shape.hotY));
    // Until a tool is chosen on the palette the image shows the standard arrow.
    Img->setCursor(Qt::ArrowCursor);

    pnlHint = new QLabel(this);
    pnlHint->setObjectName(QStringLiteral("pnlHint"));
    pnlHint->setFrameStyle(QFrame::Box | QFrame::Plain);
    pnlHint->setLineWidth(1);
    pnlHint->setAutoFillBackground(true);
    QPalette pal = pnlHint->palette();
    pal.setColor(QPalette::Window, ToQColor(kHintBackground));
    pal.setColor(QPalette::WindowText, Qt::yellow);
    pnlHint->setPalette(pal);
    QFont font = QApplication::font();
    font.setPointSize(8);
    pnlHint->setFont(font);
    pnlHint->setTextFormat(Qt::PlainText);
    // The pointer stays over the image: the hint never takes its events.
    pnlHint->setAttribute(Qt::WA_TransparentForMouseEvents);
    pnlHint->hide();
    pnlHint->raise();

    connect(Img, &ImageView::mousePressed, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint p) {
                ImgMouseDown(b, m, p.x(), p.y());
            });
    connect(Img, &ImageView::mouseMoved, this,
            [this](Qt::KeyboardModifiers m, QPoint p) { ImgMouseMove(m, p.x(), p.y()); });
    connect(Img, &ImageView::mouseReleased, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint p) {
                ImgMouseUp(b, m, p.x(), p.y());
            });
}

void TfrmMain::SetTool(PaintTool tool) {
    g_.state.CurrentTool = tool;
    // The shape numbered tool + 1; the date picker has none and shows the standard arrow.
    const auto shape = Cursors.find(static_cast<int>(tool) + 1);
    if (shape == Cursors.end())
        Img->setCursor(Qt::ArrowCursor);
    else
        Img->setCursor(shape->second);
}

void TfrmMain::ImgMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
    g_.state.PressX = x;
    g_.state.PressY = y;
}

void TfrmMain::ImgMouseMove(Qt::KeyboardModifiers, int x, int y) {
    CalendarState& s = g_.state;
    const HitResult hit = HitTest(s, x, y);
    // Off the rings the hover spoke keeps its last value.
    s.HoverRing = hit.ring;
    if (hit.ring > 0)
        s.HoverSpoke = hit.spoke;
    if (hit.date.Day == 0) {
        pnlHint->hide();
        return;
    }
    const DayCell& cell = s.Cells.at(s.HoverSpoke, s.HoverRing);
    // The settings are read at every move: the setup dialog's changes count at once.
    const DateHint hint = MakeDateHint(
        hit.date, cell.description, g_.DMod->ini.GetInteger(QStringLiteral("HintType")),
        g_.DMod->ini.GetString(QStringLiteral("DateFormat")), HintLocale());
    if (hint.kind == DateHint::Kind::Hidden) {
        pnlHint->hide();
        return;
    }
    if (hint.kind == DateHint::Kind::Text && pnlHint->text() != hint.text) {
        pnlHint->setText(hint.text);
        pnlHint->adjustSize();
    }
    const int top = g_.canvas.height() < y + 40 ? y - 24 : y + 20;
    int left = x - 4;
    const int screenWidth = g_.env.screen.width();
    if (screenWidth < left + pnlHint->width())
        left = screenWidth - pnlHint->width();
    if (pnlHint->pos() != QPoint(left, top))
        pnlHint->move(left, top);
    pnlHint->show();
}

void TfrmMain::ImgMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
    CalendarState& s = g_.state;
    pnlHint->hide();
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
            MoveWheel();
            break;
        case PaintTool::Picker:
            PickColour();
            break;
        case PaintTool::PickDate:
            if (onDay)
                ShowDayInEditor();
            break;
        case PaintTool::Fill:
            FillCell();
            break;
        case PaintTool::Text:
            if (onDay)
                EditDay();
            break;
        case PaintTool::Erase:
            if (onDay)
                EraseHighlight();
            break;
        }
    });
}

void TfrmMain::MoveWheel() {
    CalendarState& s = g_.state;
    {
        // The offset fields' own handlers do not repaint during the move; the one repaint
        // comes after it, whether or not AutoPreview is on.
        const SuspendRepaint batch(s);
        s.CentreOffsetX += s.ReleaseX - s.PressX;
        s.CentreOffsetY += s.ReleaseY - s.PressY;
        emit g_.designChanged();
    }
    RepaintCalendar();
}

void TfrmMain::PickColour() {
    const Colour colour = g_.canvas.pixel(g_.state.ReleaseX, g_.state.ReleaseY);
    g_.frmFloatMenu->Current->setColour(colour);
    g_.DMod->PickColour(colour);
}

void TfrmMain::ShowDayInEditor() {
    g_.frmHighlightWindow->setDate(g_.state.CurrentDate);
}

void TfrmMain::FillCell() {
    CalendarState& s = g_.state;
    const Colour current = g_.frmFloatMenu->Current->colour();
    if (s.CurrentDate.Day == 0) {
        // Off the days: the background takes the colour and the whole wheel is repainted on a
        // cleared image, "Repaint All" or not; the box keeps its setting.
        s.BackColour = current;
        designChangedByTool();
        struct Restore {
            CalendarState& s;
            bool repaintAll;
            ~Restore() { s.RepaintAll = repaintAll; }
        } restore{s, std::exchange(s.RepaintAll, true)};
        RepaintCalendar();
        return;
    }
    SetDayColour(g_.highlights, s.CurrentDate, current);
    designChangedByTool();
    paintReleasedCell();
}

void TfrmMain::EditDay() {
    CalendarState& s = g_.state;
    const DayCell& cell = s.Cells.at(s.HoverSpoke, s.HoverRing);
    // The cell keeps at most 40 characters of a description: the dialog gets the whole one of
    // the entry the cell shows, so OK without a change keeps a longer description.
    QString description = cell.description;
    const auto [first, last] = g_.highlights.matching(DateText(s.CurrentDate));
    if (last > first) {
        const QString& entry = g_.highlights.at(last - 1);
        const QString whole = EntryDescription(entry, entry.size());
        if (!description.isEmpty() && whole.startsWith(description))
            description = whole;
    }
    TfrmOneDay& dialog = *g_.frmOneDay;
    dialog.edtDesc->setText(description);
    dialog.pnlColor->setColour(cell.fill);
    if (g_.services.exec(dialog) != QDialog::Accepted)
        return;
    ReplaceDay(g_.highlights, s.CurrentDate, dialog.pnlColor->colour(), dialog.edtDesc->text());
    designChangedByTool();
    paintReleasedCell();
}

void TfrmMain::EraseHighlight() {
    CalendarState& s = g_.state;
    RemoveDay(g_.highlights, s.CurrentDate);
    s.Cells.at(s.HoverSpoke, s.HoverRing).description.clear();
    designChangedByTool();
    paintReleasedCell();
}

void TfrmMain::designChangedByTool() {
    // The views refresh from the model; their change handlers must not repaint meanwhile.
    const SuspendRepaint batch(g_.state);
    emit g_.designChanged();
}

void TfrmMain::paintReleasedCell() {
    CalendarState& s = g_.state;
    WrittenRect canvas(g_.canvas);
    // The view shows what the painter got to, also when a highlight's colour stops it.
    struct Show {
        ImageView* view;
        WrittenRect& canvas;
        ~Show() {
            if (!canvas.rect().isEmpty())
                view->imageChanged(canvas.rect());
        }
    } show{Img, canvas};
    PaintCell(s, g_.highlights, canvas, s.HoverSpoke, s.HoverRing);
}

} // namespace gyrodex
