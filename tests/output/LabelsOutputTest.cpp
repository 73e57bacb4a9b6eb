#include "Illustrator.h"
#include "IllustratorLabels.h"
#include "ImageCanvas.h"
#include "Painter.h"
#include "VectorImage.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace gyrodex;

namespace {

// A school year of 1600 x 1200 pixels with every label on and three highlights.
struct Labelled {
    CalendarState s;
    HighlightList h;
    Labelled() {
        s.StartDate = MakeDayDate(1, 9, 2027);
        s.EndDate = MakeDayDate(21, 7, 2028);
        s.Radius = 500;
        s.DayHeight = 36;
        s.Labels.Months = s.Labels.Weeks = s.Labels.Title = s.Labels.Legend = true;
        s.Labels.Agenda = true;
        s.Labels.TitleText = QStringLiteral("Riverside (School)");
        h.add(QStringLiteral("09/17/2027$65280#Sports <day> & fair"));
        h.add(QStringLiteral("12/20/2027$255#Winter holidays"));
        h.add(QStringLiteral("01/05/2028$255#Spring term"));
        s.updateCentre(1600, 1200);
    }
};

int DaysOf(const CalendarDesign& s) {
    return DayNumber(s.EndDate) - DayNumber(s.StartDate) + 1;
}

} // namespace

TEST(LabelsOutput, SvgDayCellsCarryTheirDateAndDescriptionOnlyWithLabels) {
    Labelled l;
    const QString svg = QString::fromUtf8(
        RenderVector(VectorFormat::Svg, l.s, l.h, MakeDayDate(1, 8, 2027), QSize(1600, 1200)));
    EXPECT_EQ(svg.count(QStringLiteral("data-date=\"")), DaysOf(l.s));
    EXPECT_TRUE(svg.contains(QStringLiteral(
        "data-date=\"2027-09-17\"><title>Fri 9/17/2027: Sports &lt;day&gt; &amp; fair</title>")));
    EXPECT_TRUE(
        svg.contains(QStringLiteral("data-date=\"2028-07-21\"><title>Fri 7/21/2028</title>")));
    // The agenda and the key are text, the title's brackets as they are.
    EXPECT_TRUE(svg.contains(QStringLiteral(">Riverside (School)</text>")));
    EXPECT_TRUE(svg.contains(QStringLiteral("Winter holidays</text>")));

    l.s.Labels = LabelSettings{};
    const QByteArray plain =
        RenderVector(VectorFormat::Svg, l.s, l.h, MakeDayDate(1, 8, 2027), QSize(1600, 1200));
    EXPECT_FALSE(plain.contains("data-date"));
    EXPECT_FALSE(plain.contains("<title>Fri"));
}

TEST(LabelsOutput, IllustratorDrawingHoldsTheLabelsAsTextObjects) {
    Labelled l;
    ImageCanvas canvas(QSize(1600, 1200));
    RepaintCalendar(l.s, l.h, canvas, MakeDayDate(1, 8, 2027));
    const auto measure = [&](const QString& t) { return canvas.textExtent(t); };
    const QByteArray drawing =
        IllustratorDrawing(l.s, l.h, MakeDayDate(1, 8, 2027), measure, QSize(1600, 1200));
    EXPECT_TRUE(drawing.endsWith("%%EOF\r\n"));
    for (const char* text : {"(September) Tx", "(Riverside \\(School\\)) Tx",
                             "(Sports <day> & fair) Tx", "(Winter holidays) Tx", "(1) Tx"})
        EXPECT_TRUE(drawing.contains(text)) << text;
    // Week numbers and month names are turned: a text matrix other than the identity.
    static const QRegularExpression turned(
        QStringLiteral("\r\n(-?0\\.\\d{4}) (-?\\d\\.\\d{4}) -?\\d\\.\\d{4} -?\\d\\.\\d{4} [-\\d.]+ "
                       "[-\\d.]+ 0 Tp\r\n"));
    EXPECT_GE(QString::fromLatin1(drawing).count(turned), 40);
    // The day cells come first, as without labels; the labels follow them.
    CalendarState plain = l.s;
    plain.Labels = LabelSettings{};
    const QByteArray cells =
        IllustratorDrawing(plain, l.h, MakeDayDate(1, 8, 2027), measure, QSize(1600, 1200));
    const qsizetype trailer = cells.indexOf("%%PageTrailer");
    EXPECT_TRUE(drawing.startsWith(cells.left(trailer)));
    EXPECT_GT(drawing.size(), cells.size());

    // The drawing's encoding: the header's vector from 128 up, brackets and backslashes escaped.
    EXPECT_EQ(IllustratorText(QStringLiteral("é–…(\\) €\u00a0ﬁ")),
              QByteArray("\x8e\xd0\xc9\\(\\\\\\) ? \xde"));
}
