#include "Illustrator.h"

#include "../QtPrinters.h"
#include "../TestDates.h"
#include "Error.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gyrodex;
using gyrodex::test::D;

namespace {

QSize Measure7x13(const QString&) {
    return {7, 13};
}

CalendarState Centred() {
    CalendarState s;
    s.updateCentre(1024, 768);
    return s;
}

QStringList Lines(const QByteArray& bytes) {
    QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.last(), QString()); // the file ends with CR LF
    lines.removeLast();
    return lines;
}

// The cell blocks of a drawing: each is 28 lines after the 65-line header.
struct Block {
    QString fill, corner, number;
};

std::vector<Block> Blocks(const QStringList& lines) {
    std::vector<Block> blocks;
    for (qsizetype i = 65; i + 28 <= lines.size() - 4; i += 28)
        blocks.push_back({lines[i + 1], lines[i + 7], lines[i + 25]});
    return blocks;
}

} // namespace

TEST(Illustrator, FormatFixedAndCmyk) {
    EXPECT_EQ(FormatFixed(8, 4, 5.0), QStringLiteral("  5.0000"));
    EXPECT_EQ(FormatFixed(8, 4, 848.0), QStringLiteral("848.0000"));
    EXPECT_EQ(FormatFixed(8, 4, 12345.678), QStringLiteral("12345.6780"));
    EXPECT_EQ(FormatFixed(0, 4, -0.00001), QStringLiteral("-0.0000"));
    EXPECT_EQ(FormatFixed(8, 4, -3.25), QStringLiteral(" -3.2500"));
    EXPECT_EQ(FormatFixed(0, 4, 0.49803921), QStringLiteral("0.4980"));
    QLocale::setDefault(QLocale(QLocale::German));
    EXPECT_EQ(FormatFixed(0, 4, 1.5), QStringLiteral("1.5000"));
    QLocale::setDefault(QLocale::c());

    const Cmyk red = RgbToCmyk(0x0000FF);
    EXPECT_DOUBLE_EQ(red.cyan, 0.0);
    EXPECT_DOUBLE_EQ(red.magenta, 1.0);
    EXPECT_DOUBLE_EQ(red.yellow, 1.0);
    EXPECT_DOUBLE_EQ(red.black, 0.0);
    const Cmyk text = RgbToCmyk(kWindowText); // resolved to black
    EXPECT_DOUBLE_EQ(text.cyan, 1.0);
}

TEST(Illustrator, WorkedExampleCell) {
    const CalendarState s = Centred();
    QByteArray out;
    WriteIllustratorCell(out, s, 0, 1, D(6, 14, 1999), 0x0080FFFF, Measure7x13);
    const QStringList lines = Lines(out);
    ASSERT_EQ(lines.size(), 28);
    EXPECT_EQ(lines[1], QStringLiteral("0.0000 0.0000 0.4980 0.0000 k"));
    EXPECT_EQ(lines[7], QStringLiteral("848.0000 384.0000 m"));
    EXPECT_EQ(lines[8], QStringLiteral("872.0000 384.0000 L"));
    EXPECT_EQ(lines[9], QStringLiteral("869.3752 340.6068 L"));
    EXPECT_EQ(lines[10], QStringLiteral("845.5502 343.4997 L"));
    EXPECT_EQ(lines[11], QStringLiteral("848.0000 384.0000 L"));
    EXPECT_EQ(lines[16], QStringLiteral("1.0000 0.0000 0.0000 1.0000 856.3651 356.9883 0 Tp"));
    EXPECT_EQ(lines[25], QStringLiteral("(14) Tx"));
    EXPECT_EQ(lines[26], QStringLiteral("(\\r) TX"));
    EXPECT_EQ(lines[27], QStringLiteral("TO"));
}

TEST(Illustrator, DrawingWalksTheClockwiseLayout) {
    CalendarState s = Centred();
    s.StartWeek = 51;
    s.StartDate = D(10, 11, 1998); // a Sunday: rings 1 to 6 of the first spoke stay empty
    s.EndDate = D(10, 19, 1998);   // a Monday: the last spoke has ring 1 only
    s.Clockwise = false;           // ignored by the drawing
    s.WeekendInside = false;       // ignored by the drawing
    HighlightList h;
    h.add(QStringLiteral("10/17/1998$16777215#white Saturday"));
    h.add(QStringLiteral("10/11/1998$0#black past Sunday"));
    const QStringList lines = Lines(IllustratorDrawing(s, h, D(10, 14, 1998), Measure7x13));
    ASSERT_EQ(lines.size(), 65 + 9 * 28 + 4);
    EXPECT_EQ(lines.first(), QStringLiteral("%!PS-Adobe-3.0 EPSF-3.0"));
    EXPECT_EQ(lines.last(), QStringLiteral("%%EOF"));
    const auto blocks = Blocks(lines);
    ASSERT_EQ(blocks.size(), 9u);
    // The Sunday is ring 7 of spoke 51: inner radius 360 - 7*24 = 192 at angle 51 steps.
    EXPECT_EQ(blocks[0].corner, FormatFixed(8, 4, 512 + 192 * std::cos(51 * 2 * M_PI / 52)) + u' ' +
                                    FormatFixed(8, 4, 384 - 192 * std::sin(51 * 2 * M_PI / 52)) +
                                    QStringLiteral(" m"));
    EXPECT_EQ(blocks[0].fill, QStringLiteral("1.0000 1.0000 1.0000 0.0000 k"));
    // Monday 12 October is ring 1 of spoke 0; 12 and 13 are past, 14 is today (past too).
    EXPECT_EQ(blocks[1].corner, QStringLiteral("848.0000 384.0000 m"));
    EXPECT_EQ(blocks[1].fill, QStringLiteral("0.5961 0.5961 0.5961 0.0000 k"));
    EXPECT_EQ(blocks[3].fill, QStringLiteral("0.5961 0.5961 0.5961 0.0000 k"));
    EXPECT_EQ(blocks[4].fill, QStringLiteral("0.0000 0.0000 0.4980 0.0000 k")); // Thursday
    EXPECT_EQ(blocks[6].fill, QStringLiteral("0.0000 0.0000 0.0000 0.0000 k")); // highlight
    EXPECT_EQ(blocks[7].fill, QStringLiteral("0.0000 0.4980 1.0000 0.0000 k")); // Sunday
    EXPECT_EQ(blocks[8].number, QStringLiteral("(19) Tx"));
    EXPECT_EQ(blocks[8].corner.right(1), QStringLiteral("m"));

    s.PaintWeekends = false;
    s.PaintPast = false;
    const auto plain = Blocks(Lines(IllustratorDrawing(s, h, D(10, 14, 1998), Measure7x13)));
    EXPECT_EQ(plain[1].fill, QStringLiteral("0.0000 0.0000 0.4980 0.0000 k"));
    EXPECT_EQ(plain[7].fill, QStringLiteral("0.0000 0.0000 0.4980 0.0000 k"));
    EXPECT_EQ(plain[0].fill, QStringLiteral("1.0000 1.0000 1.0000 0.0000 k"));
}

TEST(Illustrator, FiftyThirdWeekAndEmptyPeriod) {
    CalendarState s = Centred();
    s.StartDate = D(1, 3, 1999); // a Sunday; 365 days touch 53 weeks
    s.EndDate = D(1, 2, 2000);
    HighlightList none;
    const QStringList lines = Lines(IllustratorDrawing(s, none, D(1, 1, 1990), Measure7x13));
    const auto blocks = Blocks(lines);
    ASSERT_EQ(blocks.size(), 365u);
    // The last week (27 December to 2 January) lies on spoke StartWeek again, ring 1 first.
    CalendarState t = s;
    t.StartDate = D(12, 27, 1999);
    t.EndDate = D(12, 27, 1999);
    const auto single = Blocks(Lines(IllustratorDrawing(t, none, D(1, 1, 1990), Measure7x13)));
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(blocks[358].corner, single[0].corner);

    s.StartDate = D(3, 3, 1999);
    s.EndDate = D(3, 1, 1999);
    EXPECT_EQ(Lines(IllustratorDrawing(s, none, D(1, 1, 1990), Measure7x13)).size(), 65 + 4);
}

TEST(Illustrator, FailuresLeaveNoFileBehind) {
    QTemporaryDir dir;
    CalendarState s = Centred();
    s.StartDate = D(10, 12, 1998);
    s.EndDate = D(10, 20, 1998);
    const QString name = dir.filePath(QStringLiteral("wheel.ai"));
    HighlightList bad;
    bad.add(QStringLiteral("10/15/1998$blue#"));
    try {
        ExportToIllustrator(name, s, bad, D(1, 1, 1990), Measure7x13);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'blue' is not a valid integer value"));
    }
    EXPECT_FALSE(QFile::exists(name));

    HighlightList none;
    ExportToIllustrator(name, s, none, D(1, 1, 1990), Measure7x13);
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().endsWith("%%EOF\r\n"));

    const QString missing = dir.filePath(QStringLiteral("no/such/folder/wheel.ai"));
    try {
        ExportToIllustrator(missing, s, none, D(1, 1, 1990), Measure7x13);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Unable to write to ") + missing);
    }
}
