#include "Geometry.h"
#include "Illustrator.h"
#include "ImageCanvas.h"
#include "Painter.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gyrodex;

// Renders an exported drawing with Ghostscript (operators defined by a small prolog) and checks
// that every day lies where the image shows it, in nearly the same colour.
TEST(IllustratorRender, GhostscriptShowsTheSameWheel) {
    const QString gs = QStandardPaths::findExecutable(QStringLiteral("gs"));
    if (gs.isEmpty())
        GTEST_SKIP() << "Ghostscript is not installed";
    QTemporaryDir dir;
    CalendarState s;
    s.StartDate = MakeDayDate(9, 10, 1998);
    s.EndDate = MakeDayDate(26, 6, 1999);
    HighlightList h;
    h.add(QStringLiteral("12/25/1998$255#Christmas"));
    const DayDate today = MakeDayDate(19, 10, 1998);
    ImageCanvas canvas(QSize(1024, 768));
    RepaintCalendar(s, h, canvas, today);
    const QString ai = dir.filePath(QStringLiteral("wheel.ai"));
    ExportToIllustrator(ai, s, h, today, [&](const QString& t) { return canvas.textExtent(t); });

    const QString png = dir.filePath(QStringLiteral("wheel.png"));
    QProcess proc;
    proc.start(gs, {QStringLiteral("-q"), QStringLiteral("-dNOPAUSE"), QStringLiteral("-dBATCH"),
                    QStringLiteral("-dSAFER"), QStringLiteral("-sDEVICE=png16m"),
                    QStringLiteral("-r72"), QStringLiteral("-dDEVICEWIDTHPOINTS=1024"),
                    QStringLiteral("-dDEVICEHEIGHTPOINTS=768"), QStringLiteral("-dFIXEDMEDIA"),
                    QStringLiteral("-sOutputFile=") + png,
                    QStringLiteral(GYRODEX_TEST_DATA "/ai-prolog.ps"), ai});
    ASSERT_TRUE(proc.waitForFinished(60000));
    ASSERT_EQ(proc.exitCode(), 0) << proc.readAllStandardError().toStdString();
    const QImage rendered(png);
    ASSERT_EQ(rendered.size(), QSize(1024, 768));

    int checked = 0;
    for (int spoke = 0; spoke < kSpokes; ++spoke)
        for (int ring = 1; ring <= kRings; ++ring) {
            if (s.Cells.at(spoke, ring).date.isNoDate())
                continue;
            // A point inside the cell, near its start edge, clear of its number.
            const auto c = CellPolygon(s, spoke, ring);
            const QPoint p = (c[0] * 7 + c[1] * 7 + c[2] + c[3]) / 16;
            const QColor want = ToQColor(s.Cells.at(spoke, ring).fill);
            const QColor got = rendered.pixelColor(p);
            EXPECT_LE(std::abs(want.red() - got.red()) + std::abs(want.green() - got.green()) +
                          std::abs(want.blue() - got.blue()),
                      120)
                << spoke << ' ' << ring << ' ' << got.name().toStdString();
            ++checked;
        }
    EXPECT_EQ(checked, 261);
}
