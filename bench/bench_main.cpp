#include "Bitmap.h"
#include "DesktopApp.h"
#include "Geometry.h"
#include "Illustrator.h"
#include "ImageCanvas.h"
#include "ImageView.h"
#include "MainWindow.h"
#include "Painter.h"
#include "PropertiesPanel.h"
#include "SpinField.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace gyrodex;

namespace {

const DayDate kToday = MakeDayDate(19, 10, 1998);

// A 365-day period with one highlight for every day of it.
struct Design {
    CalendarState state;
    HighlightList highlights;
    Design() {
        state.StartDate = MakeDayDate(7, 10, 1998);
        state.EndDate = AddDays(state.StartDate, 364);
        DayDate d = state.StartDate;
        for (int i = 0; i < 365; ++i, NextDay(d))
            highlights.add(MakeEntry(DateText(d), 0x00FF8080u + static_cast<unsigned>(i),
                                     QStringLiteral("Highlight number %1").arg(i)));
    }
};

void Repaint(benchmark::State& st) {
    Design design;
    ImageCanvas canvas(QSize(static_cast<int>(st.range(0)), static_cast<int>(st.range(1))));
    for (auto _ : st) {
        RepaintCalendar(design.state, design.highlights, canvas, kToday);
        benchmark::DoNotOptimize(canvas.pixel(0, 0));
    }
}
BENCHMARK(Repaint)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);

// A drag of the radius field: every repaint has a new geometry, so no shape drawn before can be
// reused. The radius climbs from 310 to 409, around the default of 360, and starts again.
void RepaintRadiusDrag(benchmark::State& st) {
    Design design;
    ImageCanvas canvas(QSize(static_cast<int>(st.range(0)), static_cast<int>(st.range(1))));
    int step = 0;
    for (auto _ : st) {
        design.state.Radius = 310 + step++ % 100;
        RepaintCalendar(design.state, design.highlights, canvas, kToday);
        benchmark::DoNotOptimize(canvas.pixel(0, 0));
    }
}
BENCHMARK(RepaintRadiusDrag)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);

// The repaints of KeystrokeToFrame without the window: the radius climbs one step of the radius
// field (10) at a time from 100 to 1000 and back down, in an image of the benchmark's size with
// the wheel at its centre, so that the window's share of a keystroke is the difference.
void RepaintRadiusSweep(benchmark::State& st) {
    Design design;
    ImageCanvas canvas(QSize(static_cast<int>(st.range(0)), static_cast<int>(st.range(1))));
    design.state.Radius = 100;
    int step = 10;
    for (auto _ : st) {
        if (design.state.Radius >= 1000)
            step = -10;
        else if (design.state.Radius <= 100)
            step = 10;
        design.state.Radius += step;
        RepaintCalendar(design.state, design.highlights, canvas, kToday);
        benchmark::DoNotOptimize(canvas.pixel(0, 0));
    }
}
BENCHMARK(RepaintRadiusSweep)
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMicrosecond);

// The same wheel with a long highlight list: N entries for consecutive days ending with the
// period, so that 365 of them match a painted day and the rest lie in earlier years.
void RepaintWithHighlights(benchmark::State& st) {
    Design design;
    design.highlights.clear();
    DayDate d = AddDays(design.state.EndDate, -static_cast<int>(st.range(0)) + 1);
    for (int i = 0; i < st.range(0); ++i, NextDay(d))
        design.highlights.add(MakeEntry(DateText(d), 0x00FF8080u + static_cast<unsigned>(i % 365),
                                        QStringLiteral("Highlight number %1").arg(i)));
    ImageCanvas canvas(QSize(1920, 1080));
    for (auto _ : st) {
        RepaintCalendar(design.state, design.highlights, canvas, kToday);
        benchmark::DoNotOptimize(canvas.pixel(0, 0));
    }
}
BENCHMARK(RepaintWithHighlights)->Arg(365)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The floor: a plain fill of the same image through the same canvas.
void Fill(benchmark::State& st) {
    ImageCanvas canvas(QSize(static_cast<int>(st.range(0)), static_cast<int>(st.range(1))));
    unsigned colour = 0;
    for (auto _ : st) {
        canvas.setBrush(colour++ & 0xFFFFFF);
        canvas.fillRect(QRect(0, 0, canvas.width(), canvas.height()));
        benchmark::DoNotOptimize(canvas.pixel(0, 0));
    }
}
BENCHMARK(Fill)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);

void HitTestBench(benchmark::State& st) {
    Design design;
    ImageCanvas canvas(QSize(1024, 768));
    RepaintCalendar(design.state, design.highlights, canvas, kToday);
    int i = 0;
    for (auto _ : st) {
        const int x = 100 + (i * 37) % 824;
        const int y = 50 + (i * 53) % 668;
        ++i;
        benchmark::DoNotOptimize(HitTest(design.state, x, y));
    }
}
BENCHMARK(HitTestBench)->Name("HitTest");

// The vector export of the same design, with day numbers measured on the image canvas.
void ExportAi(benchmark::State& st) {
    Design design;
    ImageCanvas canvas(QSize(1024, 768));
    RepaintCalendar(design.state, design.highlights, canvas, kToday);
    const TextMeasurer measure = [&](const QString& t) { return canvas.textExtent(t); };
    for (auto _ : st)
        benchmark::DoNotOptimize(
            IllustratorDrawing(design.state, design.highlights, kToday, measure));
}
BENCHMARK(ExportAi)->Unit(benchmark::kMicrosecond);

QImage PaintedImage(QSize size) {
    Design design;
    ImageCanvas canvas(size);
    RepaintCalendar(design.state, design.highlights, canvas, kToday);
    return canvas.image();
}

void BmpSave(benchmark::State& st) {
    const QImage image = PaintedImage(QSize(1920, 1080));
    for (auto _ : st)
        benchmark::DoNotOptimize(BitmapFileBytes(image));
}
BENCHMARK(BmpSave)->Unit(benchmark::kMicrosecond);

void BmpLoad(benchmark::State& st) {
    const QString name = QDir::temp().filePath(QStringLiteral("gyrodex-bench.bmp"));
    CalendarState state;
    SaveBitmapFile(state, PaintedImage(QSize(1920, 1080)), name);
    ImageCanvas canvas;
    for (auto _ : st) {
        LoadBitmapFile(state, canvas, name);
        benchmark::DoNotOptimize(canvas.pixel(0, 0));
    }
    QFile::remove(name);
}
BENCHMARK(BmpLoad)->Unit(benchmark::kMicrosecond);

// Dialogs that are never needed here: every request is cancelled.
class NoDialogs final : public Services {
public:
    std::optional<QString> openFile(const FileRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileRequest&) override { return std::nullopt; }
    std::optional<Colour> chooseColour(Colour, CustomColours&) override { return std::nullopt; }
    std::optional<QFont> chooseFont(const QFont&) override { return std::nullopt; }
    bool printDialog(QPrinter&) override { return false; }
    bool printerSetup(QPrinter&) override { return false; }
    void information(const QString&) override {}
    SaveAnswer askToSave(const QString&) override { return SaveAnswer::Cancel; }
    bool askToRecover(const QString&) override { return false; }
    int exec(QDialog&) override { return QDialog::Rejected; }
};

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            ++paints;
            for (const QRect& r : static_cast<QPaintEvent*>(e)->region())
                area += static_cast<long>(r.width()) * r.height();
        }
        return false;
    }
    long paints = 0;
    long area = 0;
};

// The main window over a screen of the benchmark's size with the design of Repaint painted, and
// a count of the image's paints.
struct KeystrokeFixture {
    QTemporaryDir dir;
    NoDialogs services;
    DesktopApp g;
    std::unique_ptr<PaintCounter> counter;
    SpinField* radius = nullptr;

    explicit KeystrokeFixture(QSize size)
        : g(services, Environment{dir.filePath(QStringLiteral("gyrodex")),
                                  {dir.filePath(QStringLiteral("u.conf")),
                                   dir.filePath(QStringLiteral("m.conf"))},
                                  QRect(QPoint(0, 0), size),
                                  [] { return ToQDate(kToday); }}) {
        Design design;
        g.doc.highlights = design.highlights;
        g.Start();
        g.edit({Change::Geometry, QString(),
                [&](Document& d) {
                    d.state.StartDate = design.state.StartDate;
                    d.state.EndDate = design.state.EndDate;
                },
                Change::Repaint::None, nullptr});
        g.mainWindow->RepaintCalendar();
        QCoreApplication::processEvents();
        counter = std::make_unique<PaintCounter>(g.mainWindow->imageView);
        radius = g.propertiesPanel->radiusField;
    }

    // Pixels the main window painted per change; an error when a change went unpainted.
    void report(benchmark::State& st) const {
        st.counters["px"] =
            static_cast<double>(counter->area) / static_cast<double>(counter->paints);
        if (counter->paints < static_cast<long>(st.iterations()))
            st.SkipWithError("the main window did not paint every change");
    }
};

// From a keystroke to the frame, as a user sizes the wheel: one arrow step of the radius field,
// the repaint it runs and the main window's paint of the changed region. The radius climbs one
// step at a time from 100 to 1000 and back down to 100, so every frame has a new geometry.
void KeystrokeToFrame(benchmark::State& st) {
    KeystrokeFixture f(QSize(static_cast<int>(st.range(0)), static_cast<int>(st.range(1))));
    f.radius->setValue(100);
    QCoreApplication::processEvents();
    int step = 1;
    for (auto _ : st) {
        if (f.radius->value() >= 1000)
            step = -1;
        else if (f.radius->value() <= 100)
            step = 1;
        f.radius->stepBy(step);
        QCoreApplication::processEvents();
    }
    f.report(st);
}
BENCHMARK(KeystrokeToFrame)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);

// The same with the radius stepped up and down by one in turn: two geometries, each the one
// before the last.
void KeystrokeToFrameAlternating(benchmark::State& st) {
    KeystrokeFixture f(QSize(static_cast<int>(st.range(0)), static_cast<int>(st.range(1))));
    int step = 1;
    for (auto _ : st) {
        f.radius->stepBy(step);
        step = -step;
        QCoreApplication::processEvents();
    }
    f.report(st);
}
BENCHMARK(KeystrokeToFrameAlternating)
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMicrosecond);

} // namespace
