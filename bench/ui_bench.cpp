// Benchmarks of the desktop program's pointer handling, on the offscreen platform.
#include "DesktopApp.h"
#include "MainWindow.h"
#include "Painter.h"
#include "QtServices.h"
#include "SharedDialogs.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

using namespace gyrodex;

namespace {

// One pointer move over the wheel: the hit test and the hint's update, with the label drawn.
// The pointer visits a described day, an undescribed one (the hint shows its date) and a
// point off the wheel (the hint is hidden) in turn.
void HintMove(benchmark::State& st) {
    QTemporaryDir dir;
    QtServices services;
    Environment env{
        dir.filePath(QStringLiteral("gyrodex")),
        {dir.filePath(QStringLiteral("user.conf")), dir.filePath(QStringLiteral("machine.conf"))},
        QRect(0, 0, 1920, 1080),
        [] { return QDate(2026, 12, 8); }};
    DesktopApp g(services, std::move(env));
    for (DayDate d = MakeDayDate(1, 12, 2026); d.Month == 12; NextDay(d))
        g.doc.highlights.add(MakeEntry(DateText(d), 255, QStringLiteral("Day %1").arg(d.Day)));
    g.settings.SetInteger(QStringLiteral("HintType"), 1);
    g.Start();
    QApplication::processEvents();
    const CalendarState& s = g.doc.state;
    const auto at = [&](int spoke, int ring) {
        const double angle = (spoke + 0.5) * 2 * M_PI / 52;
        const double rho = s.Radius - ring * s.DayHeight + s.DayHeight / 2.0;
        return QPoint(s.CentreX + static_cast<int>(std::lround(rho * std::cos(angle))),
                      s.CentreY + static_cast<int>(std::lround(rho * std::sin(angle))));
    };
    // Spoke 22 holds a December week; spoke 40 a week of the spring.
    const QPoint points[] = {at(22, 3), at(22, 4), at(40, 2), QPoint(10, 10)};
    std::size_t i = 0;
    for (auto _ : st) {
        const QPoint p = points[i++ % std::size(points)];
        g.mainWindow->imageMouseMove({}, p.x(), p.y());
        QApplication::processEvents();
    }
}
BENCHMARK(HintMove)->Unit(benchmark::kMicrosecond);

} // namespace
