#include "../TestDates.h"
#include "Error.h"
#include "ImageCanvas.h"
#include "Painter.h"
#include "TestRandom.h"

#include <QPolygon>
#include <gtest/gtest.h>

// A repaint into an image paints it in two bands of rows at once. These tests hold it to what
// one painting of the whole image gives: the same pixels, the same result, the same error, and a
// change record that covers every pixel it changed, over runs of repaints and other drawings.

using namespace gyrodex;
using gyrodex::test::D;
using gyrodex::test::TestRandom;

namespace {

const DayDate kToday = D(10, 19, 1998);

// A design of random geometry, pens, font, switches, labels and highlights; now and then one
// highlight has a colour that is not a number, which stops the paint at its day.
void Randomise(CalendarState& s, HighlightList& h, TestRandom& random) {
    s.StartDate = AddDays(D(1, 1, 1998), random(400));
    s.EndDate = AddDays(s.StartDate, random(400));
    s.Radius = 20 + random(900);
    s.DayHeight = 4 + random(60);
    s.CentreOffsetX = random(801) - 400;
    s.CentreOffsetY = random(801) - 400;
    s.Clockwise = random(2) == 0;
    s.WeekendInside = random(2) == 0;
    s.ThinWidth = 1 + random(7);
    s.ThickWidth = 1 + random(7);
    s.Font.size = 4 + random(20);
    s.RepaintAll = random(5) != 0;
    s.PaintPast = random(2) == 0;
    s.BackColour = random(3) == 0 ? 0x203040u : 0xD15C6Fu;
    s.Labels.Months = random(3) == 0;
    s.Labels.Weeks = random(3) == 0;
    s.Labels.Legend = random(4) == 0;
    h.clear();
    DayDate day = s.StartDate;
    for (int i = random(60); i > 0; --i) {
        day = AddDays(day, 1 + random(9));
        h.add(MakeEntry(DateText(day), static_cast<Colour>(random(0x1000000)),
                        QStringLiteral("Day %1").arg(i)));
    }
    if (random(6) == 0)
        h.add(DateText(AddDays(s.StartDate, random(300))) + QStringLiteral("$x#bad"));
}

// Paints and returns the error's message, or an empty text.
template <typename Canvas> QString Paint(CalendarState& s, const HighlightList& h, Canvas& canvas) {
    try {
        RepaintCalendar(s, h, canvas, kToday);
    } catch (const Error& e) {
        return e.message();
    }
    return {};
}

void ExpectSameResult(const CalendarState& a, const CalendarState& b, int round) {
    EXPECT_EQ(a.CentreX, b.CentreX) << round;
    EXPECT_EQ(a.CentreY, b.CentreY) << round;
    EXPECT_TRUE(SameDay(a.StopDay, b.StopDay)) << round;
    EXPECT_TRUE(SameDay(a.CurrentDate, b.CurrentDate)) << round;
    for (int spoke = 0; spoke < kSpokes; ++spoke)
        for (int ring = 1; ring <= kRings; ++ring) {
            const DayCell& x = a.Cells.at(spoke, ring);
            const DayCell& y = b.Cells.at(spoke, ring);
            ASSERT_TRUE(SameDay(x.date, y.date)) << round << " " << spoke << "/" << ring;
            ASSERT_EQ(x.fill, y.fill) << round << " " << spoke << "/" << ring;
            ASSERT_EQ(x.description, y.description) << round << " " << spoke << "/" << ring;
        }
}

// The first pixel that differs between the images and is not in the region, as text.
QString Uncovered(const QImage& before, const QImage& after, const QRegion& region) {
    for (int y = 0; y < after.height(); ++y) {
        const auto* b = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        const auto* a = reinterpret_cast<const QRgb*>(after.constScanLine(y));
        for (int x = 0; x < after.width(); ++x)
            if (a[x] != b[x] && !region.contains(QPoint(x, y)))
                return QStringLiteral("%1,%2").arg(x).arg(y);
    }
    return {};
}

} // namespace

// Runs of random designs on two canvases, one painted in bands and one painted whole (through
// the plain canvas interface), with drawings on the whole canvas between repaints now and then.
// The images, results and errors agree at every step, and the banded canvas reports every pixel
// it changed.
TEST(BandedPaint, GivesThePictureResultAndErrorOfOnePainting) {
    const QSize sizes[] = {{1024, 768}, {640, 200}, {300, 127}, {1500, 1100}, {400, 64}};
    int errors = 0;
    for (int round = 0; round < 60; ++round) {
        TestRandom random(static_cast<std::uint32_t>(round) * 7919u + 13u);
        const QSize size = sizes[round % std::size(sizes)];
        ImageCanvas banded(size), whole(size);
        CalendarState a, b;
        HighlightList h;
        for (int step = 0; step < 6; ++step) {
            Randomise(a, h, random);
            static_cast<CalendarDesign&>(b) = a;
            const QImage before = banded.image().copy();
            banded.takeDrawn();
            banded.takeFilled();
            const QString error = Paint(a, h, banded);
            EXPECT_EQ(error, Paint(b, h, static_cast<RasterCanvas&>(whole))) << round;
            errors += error.isEmpty() ? 0 : 1;
            ASSERT_EQ(banded.image(), whole.image()) << "round " << round << " step " << step;
            ExpectSameResult(a, b, round);
            // A small image is painted once, on this thread.
            EXPECT_EQ(banded.bandSplit() == 0, size.height() < 128) << round;
            if (banded.bandSplit() > 0) {
                EXPECT_EQ(banded.bandSplit() % 64, 0);
                EXPECT_GT(banded.bandSplit(), 0);
                EXPECT_LT(banded.bandSplit(), size.height());
            }
            QRegion changed = banded.takeDrawn();
            changed += banded.takeFilled();
            ASSERT_EQ(Uncovered(before, banded.image(), changed), QString())
                << "round " << round << " step " << step;

            // Drawn on the whole canvas, outside a painting in bands: the next clearing must
            // take it away too.
            if (random(2) == 0) {
                const int pen = 1 + random(5);
                const QPolygon shape({QPoint(random(size.width()), random(size.height())),
                                      QPoint(random(size.width()), random(size.height())),
                                      QPoint(random(size.width()), random(size.height()))});
                const QPoint text(random(size.width()), random(size.height()));
                for (ImageCanvas* c : {&banded, &whole}) {
                    c->setPen(0x00FF00, pen);
                    c->setBrush(0x0000FF);
                    c->polygon(std::span<const QPoint>(shape.constData(), 3));
                    c->setFont(QStringLiteral("Arial"), 12, 0, 0x000000, 0);
                    c->textOut(text.x(), text.y(), QStringLiteral("17"));
                }
                ASSERT_EQ(banded.image(), whole.image()) << round;
            }
        }
    }
    EXPECT_GT(errors, 10); // stopped paints were among the runs
}

// Runs two jobs at once and passes on what either threw, after both ended.
TEST(BandedPaint, RunTwoRunsBothJobsAndRethrowsAfterBoth) {
    ImageCanvas canvas(QSize(200, 200));
    int here = 0, beside = 0;
    canvas.runTwo([&] { here = 1; }, [&] { beside = 2; });
    EXPECT_EQ(here + beside, 3);
    beside = 0;
    EXPECT_THROW(canvas.runTwo([] { throw Error(QStringLiteral("here")); }, [&] { beside = 5; }),
                 Error);
    EXPECT_EQ(beside, 5);
    try {
        canvas.runTwo([] {}, [] { throw Error(QStringLiteral("beside")); });
        ADD_FAILURE() << "nothing thrown";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("beside"));
    }
    // The worker is still there for the next pair.
    canvas.runTwo([&] { here = 7; }, [&] { beside = 8; });
    EXPECT_EQ(here + beside, 15);
    // Called from inside either job, the inner pair runs on the calling thread.
    int inner = 0;
    canvas.runTwo([&] { canvas.runTwo([&] { inner += 1; }, [&] { inner += 2; }); },
                  [&] { canvas.runTwo([&] { beside = 9; }, [&] { beside += 1; }); });
    EXPECT_EQ(inner, 3);
    EXPECT_EQ(beside, 10);
}
