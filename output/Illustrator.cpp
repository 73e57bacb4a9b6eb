#include "Illustrator.h"

#include "Error.h"
#include "Geometry.h"
#include "IllustratorLabels.h"
#include "Painter.h"
#include "PeriodWalk.h"
#include "SaveFile.h"

#include <charconv>

namespace gyrodex {

const std::array<const char*, 65> IllustratorHeader = {
    "%!PS-Adobe-3.0 EPSF-3.0",
    "%%Creator: Adobe Illustrator(TM) exported from Vantoric's Gyrodex",
    "%%Title: (Vantoric's Gyrodex)",
    "%%CreationDate:(Unknown)",
    "%%BoundingBox:84 389 481 750",
    "%%DocumentProcessColors: Cyan Magenta Yellow Black",
    "%%DocumentFonts: ArialMT",
    "%%DocumentNeededResources: procset Adobe_packedarray 2.0 0",
    "%%+ procset Adobe_cmykcolor 1.1 0",
    "%%+ procset Adobe_cshow 1.1 0",
    "%%+ procset Adobe_customcolor 1.0 0",
    "%%+ procset Adobe_typography_AI3 1.0 1",
    "%%+ procset Adobe_pattern_AI3 1.0 1",
    "%%+ procset Adobe_IllustratorA_AI3 1.0 1",
    "%AI3_ColorUsage: Color",
    "%AI3_TemplateBox:297 421 297 421",
    "%AI3_DocumentPreview: None",
    "%AI5_NumLayers: 2",
    "%AI5_FileFormat 2.0",
    "%%EndComments",
    "%%BeginProlog",
    "%%IncludeResource: procset Adobe_packedarray 2.0 0",
    "Adobe_packedarray /initialize get exec",
    "%%IncludeResource: procset Adobe_cmykcolor 1.1 0",
    "%%IncludeResource: procset Adobe_cshow 1.1 0",
    "%%IncludeResource: procset Adobe_customcolor 1.0 0",
    "%%IncludeResource: procset Adobe_typography_AI3 1.0 1",
    "%%IncludeResource: procset Adobe_pattern_AI3 1.0 1",
    "%%IncludeResource: procset Adobe_IllustratorA_AI3 1.0 1",
    "%%EndProlog",
    "%%BeginSetup",
    "%%IncludeFont: ArialMT",
    "Adobe_cmykcolor /initialize get exec",
    "Adobe_cshow /initialize get exec",
    "Adobe_customcolor /initialize get exec",
    "Adobe_typography_AI3 /initialize get exec",
    "Adobe_pattern_AI3 /initialize get exec",
    "Adobe_IllustratorA_AI3 /initialize get exec",
    "[",
    "39/quotesingle 96/grave",
    "128/Adieresis/Aring/Ccedilla/Eacute/Ntilde/Odieresis",
    "/Udieresis/aacute/agrave/acircumflex/adieresis/atilde/aring/ccedilla/eacute",
    "/egrave/ecircumflex/edieresis/iacute/igrave/icircumflex/idieresis/ntilde",
    "/oacute/ograve/ocircumflex/odieresis/otilde/uacute/ugrave/ucircumflex",
    "/udieresis/dagger/degree/cent/sterling/section/bullet/paragraph/germandbls",
    "/registered/copyright/trademark/acute/dieresis/.notdef/AE/Oslash",
    "/.notdef/plusminus/.notdef/.notdef/yen/mu/.notdef/.notdef",
    "/.notdef/.notdef/.notdef/ordfeminine/ordmasculine/.notdef/ae/oslash",
    "/questiondown/exclamdown/logicalnot/.notdef/florin/.notdef/.notdef",
    "/guillemotleft/guillemotright/ellipsis/.notdef/Agrave/Atilde/Otilde/OE/oe",
    "/endash/emdash/quotedblleft/quotedblright/quoteleft/quoteright/divide",
    "/.notdef/ydieresis/Ydieresis/fraction/currency/guilsinglleft/guilsinglright",
    "/fi/fl/daggerdbl/periodcentered/quotesinglbase/quotedblbase/perthousand",
    "/Acircumflex/Ecircumflex/Aacute/Edieresis/Egrave/Iacute/Icircumflex",
    "/Idieresis/Igrave/Oacute/Ocircumflex/.notdef/Ograve/Uacute/Ucircumflex",
    "/Ugrave/dotlessi/circumflex/tilde/macron/breve/dotaccent/ring/cedilla",
    "/hungarumlaut/ogonek/caron",
    "TE",
    "%AI3_BeginEncoding: _Courier Courier",
    "[/_Courier/Courier 0 0 1 TZ",
    "%AI3_EndEncoding",
    "%AI3_BeginEncoding: _ArialMT ArialMT",
    "[/_ArialMT/ArialMT 0 0 1 TZ",
    "%AI3_EndEncoding",
    "%%EndSetup",
};

const std::array<const char*, 4> IllustratorTrailer = {
    "%%PageTrailer",
    "gsave annotatepage grestore showpage",
    "%%Trailer",
    "%%EOF",
};

QString FormatFixed(int width, int decimals, double value) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    const QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    return text.size() >= width ? text : QString(width - text.size(), u' ') + text;
}

Cmyk RgbToCmyk(Colour colour) {
    // System colours are resolved first; ordinary colours are used as they are.
    const Colour c = ResolveColour(colour);
    return {1.0 - (c & 0xFF) / 255.0, 1.0 - ((c >> 8) & 0xFF) / 255.0,
            1.0 - ((c >> 16) & 0xFF) / 255.0, 0.0};
}

namespace {

void Line(QByteArray& out, const char* text) {
    out += text;
    out += "\r\n";
}

void Line(QByteArray& out, const QByteArray& text) {
    out += text;
    out += "\r\n";
}

void Line(QByteArray& out, const QString& text) {
    Line(out, text.toLatin1());
}

QString Fixed(double v, int width = 0) {
    return FormatFixed(width, 4, v);
}

} // namespace

QByteArray IllustratorCmyk(const Cmyk& c) {
    return (Fixed(c.cyan) + u' ' + Fixed(c.magenta) + u' ' + Fixed(c.yellow) + u' ' +
            Fixed(c.black))
        .toLatin1();
}

void WriteIllustratorText(QByteArray& out, const std::array<double, 6>& transform, double size,
                          const QByteArray& text) {
    Line(out, "0 To");
    QByteArray matrix;
    for (const double v : transform)
        matrix += Fixed(v).toLatin1() + ' ';
    Line(out, matrix + "0 Tp");
    Line(out, "TP");
    Line(out, "0 Tr");
    Line(out, "/_Arial " + Fixed(size).toLatin1() + " Tf");
    Line(out, "0 Ta");
    Line(out, "0 0 0 TC");
    Line(out, "100 100 100 TW");
    Line(out, "0.0000 Tc");
    Line(out, "0.0000 Tw");
    Line(out, '(' + text + ") Tx");
    Line(out, "(\\r) TX");
    Line(out, "TO");
}

void WriteIllustratorCell(QByteArray& out, const CalendarState& s, int spoke, int ring,
                          const DayDate& date, Colour fill, const TextMeasurer& measure) {
    const Cmyk c = RgbToCmyk(fill);
    const auto inner = static_cast<long double>(RingInnerRadius(s, ring));
    const long double outer = inner + s.DayHeight;
    const Trig a = BoundaryTrig(spoke);
    const Trig b = BoundaryTrig(spoke + 1);
    // Page coordinates: one pixel is one point, y grows upward from the page's bottom edge.
    auto point = [&](long double rho, const Trig& t, const char* op) {
        const auto x = static_cast<double>(s.CentreX + rho * t.cos);
        const auto y = static_cast<double>(s.CentreY - rho * t.sin);
        return Fixed(x, 8) + u' ' + Fixed(y, 8) + u' ' + QLatin1String(op);
    };

    Line(out, "0 O");
    Line(out, IllustratorCmyk(c) + " k");
    Line(out, "0 R");
    Line(out, "0.0000 0.0000 0.0000 1.0000 K");
    Line(out, "0 J");
    Line(out, "0 j");
    Line(out, "0.2160 w");
    Line(out, point(inner, a, "m"));
    Line(out, point(outer, a, "L"));
    Line(out, point(outer, b, "L"));
    Line(out, point(inner, b, "L"));
    Line(out, point(inner, a, "L"));
    Line(out, "b");
    Line(out, "0 O");
    Line(out, "0.0000 0.0000 0.0000 1.0000 k");

    const QString number = QString::number(date.Day);
    const QSize extent = measure(number);
    const long double middle = inner + s.DayHeight / 2;
    const Trig m = MiddleTrig(spoke);
    const auto tx = static_cast<double>(s.CentreX + middle * m.cos - extent.width() / 2);
    const auto ty = static_cast<double>(s.CentreY - middle * m.sin - extent.height() / 2);
    WriteIllustratorText(out, {1, 0, 0, 1, tx, ty}, 12, number.toLatin1());
}

QByteArray IllustratorDrawing(const CalendarState& s, const HighlightList& highlights,
                              const DayDate& today, const TextMeasurer& measure, QSize image) {
    QByteArray out;
    out.reserve(64 * 1024);
    for (const char* line : IllustratorHeader)
        Line(out, line);

    // The drawing always holds the clockwise layout with Monday outermost, whatever the screen
    // shows. A period that ends before it starts (possible from a hand-edited file) has no cell.
    const WheelLayout layout{s.StartWeek, true, true};
    WalkPeriod(s.StartDate, s.EndDate, layout, [&](const WalkDay& day) {
        const Colour fill = ChooseCellColours(s, highlights, day.date, today, day.weekendRing).fill;
        WriteIllustratorCell(out, s, day.spoke, day.ring, day.date, fill, measure);
    });
    if (image.isEmpty())
        image = QSize(2 * (s.CentreX - s.CentreOffsetX), 2 * (s.CentreY - s.CentreOffsetY));
    WriteIllustratorLabels(out, s, highlights, image);

    for (const char* line : IllustratorTrailer)
        Line(out, line);
    return out;
}

void ExportToIllustrator(const QString& fileName, const CalendarState& state,
                         const HighlightList& highlights, const DayDate& today,
                         const TextMeasurer& measure, QSize image) {
    SaveFileWhole(fileName, IllustratorDrawing(state, highlights, today, measure, image));
}

} // namespace gyrodex
