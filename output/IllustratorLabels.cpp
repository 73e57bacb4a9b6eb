#include "IllustratorLabels.h"

#include "Illustrator.h"
#include "Labels.h"

#include <cmath>

namespace gyrodex {

namespace {

// The characters of codes 128 to 255 in the header's encoding vector; a space where it names
// no glyph.
const char16_t kUpperHalf[] = u"ÄÅÇÉÑÖÜáàâäãåçéè"
                              u"êëíìîïñóòôöõúùûü"
                              u"†°¢£§•¶ß®©™´¨ ÆØ"
                              u" ±  ¥µ     ªº æø"
                              u"¿¡¬ ƒ  «»… ÀÃÕŒœ"
                              u"–—“”‘’÷ ÿŸ⁄¤‹›ﬁﬂ"
                              u"‡·‚„‰ÂÊÁËÈÍÎÏÌÓÔ"
                              u" ÒÚÛÙıˆ˜¯˘˙˚¸˝˛ˇ";
static_assert(sizeof kUpperHalf / sizeof kUpperHalf[0] == 129);

QByteArray Fixed(double v) {
    return FormatFixed(0, 4, v).toLatin1();
}

void Line(QByteArray& out, const QByteArray& text) {
    out += text;
    out += "\r\n";
}

} // namespace

QByteArray IllustratorText(const QString& text) {
    QByteArray out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        char byte = '?';
        if (u == u'(' || u == u')' || u == u'\\') {
            out += '\\';
            byte = static_cast<char>(u);
        } else if (u >= 0x20 && u < 0x7F) {
            byte = static_cast<char>(u);
        } else if (u == 0xA0) {
            byte = ' ';
        } else {
            for (int i = 0; i < 128; ++i)
                if (kUpperHalf[i] == u && u != u' ')
                    byte = static_cast<char>(128 + i);
        }
        out += byte;
    }
    return out;
}

void WriteIllustratorLabels(QByteArray& out, const CalendarState& state,
                            const HighlightList& highlights, QSize image) {
    if (!state.Labels.anyShown())
        return;
    CalendarState drawn = state;
    drawn.Clockwise = true;
    drawn.WeekendInside = true;
    const auto words = state.LabelWords.agendaDate ? state.LabelWords : LabelTexts::English();
    // Page coordinates: one pixel is one point, y grows upward; the drawing's cells are the
    // image's turned over about the centre's row.
    const auto pageY = [&](double y) { return 2.0 * state.CentreY - y; };
    const Cmyk text = RgbToCmyk(state.BackTextColour);
    for (const PlacedLabel& label : LayoutLabels(drawn, highlights, drawn, words, image)) {
        if (label.kind == PlacedLabel::Kind::Swatch) {
            const Cmyk c = RgbToCmyk(label.colour);
            Line(out, "0 O");
            Line(out, IllustratorCmyk(c) + " k");
            Line(out, "0 R");
            Line(out, IllustratorCmyk(text) + " K");
            Line(out, "0 J");
            Line(out, "0 j");
            Line(out, "0.2160 w");
            for (std::size_t i = 0; i <= label.box.size(); ++i) {
                const QPointF& p = label.box[i % label.box.size()];
                Line(out, Fixed(p.x()) + ' ' + Fixed(pageY(p.y())) + (i == 0 ? " m" : " L"));
            }
            Line(out, "b");
            continue;
        }
        // The text's point is the left end of its base line: the bottom-left corner of its box.
        const double a = label.escapement / 10.0 * 3.14159265358979323846 / 180.0;
        const QPointF at = label.box[3];
        const double size = std::lround(label.points * 96.0 / 72.0);
        Line(out, "0 O");
        Line(out, IllustratorCmyk(text) + " k");
        WriteIllustratorText(
            out, {std::cos(a), std::sin(a), -std::sin(a), std::cos(a), at.x(), pageY(at.y())}, size,
            IllustratorText(label.text));
    }
}

} // namespace gyrodex
