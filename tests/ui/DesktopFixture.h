#pragma once

#include "DesktopApp.h"
#include "Geometry.h"
#include "MainWindow.h"
#include "ScriptedServices.h"

#include <QDir>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

// The whole program on a 1024 x 768 screen with scripted dialogs and a fixed today, counting
// full repaints.
class DesktopFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkpath(QStringLiteral("bin"));
    }

    void start() {
        gyrodex::Environment env{dir.filePath(QStringLiteral("bin/gyrodex")),
                                 {dir.filePath(QStringLiteral("cfg/Vantoric/Gyrodex.conf")),
                                  dir.filePath(QStringLiteral("etc/Vantoric/Gyrodex.conf"))},
                                 QRect(0, 0, 1024, 768),
                                 [this] { return today; }};
        g = std::make_unique<gyrodex::DesktopApp>(services, std::move(env));
        QObject::connect(g->mainWindow.get(), &gyrodex::MainWindow::calendarRepainted,
                         [this] { ++repaints; });
        g->Start();
    }

    gyrodex::MainWindow& main() { return *g->mainWindow; }
    gyrodex::CalendarState& state() { return g->doc.state; }

    // The cell a date was painted into, by the last full repaint.
    std::pair<int, int> cellOf(const gyrodex::DayDate& day) {
        for (int spoke = 0; spoke < gyrodex::kSpokes; ++spoke)
            for (int ring = 1; ring <= gyrodex::kRings; ++ring)
                if (state().Cells.at(spoke, ring).date == day)
                    return {spoke, ring};
        ADD_FAILURE() << "no cell for " << qPrintable(gyrodex::DateText(day));
        return {0, 1};
    }
    // A point in the middle of a cell.
    QPoint pointIn(int spoke, int ring) {
        const gyrodex::CalendarState& s = state();
        const double angle = (spoke + 0.5) * 2 * M_PI / 52;
        const double rho = s.Radius - ring * s.DayHeight + s.DayHeight / 2.0;
        return {s.CentreX + static_cast<int>(std::lround(rho * std::cos(angle))),
                s.CentreY + static_cast<int>(std::lround(rho * std::sin(angle)))};
    }
    QPoint pointOf(const gyrodex::DayDate& day) {
        const auto [spoke, ring] = cellOf(day);
        return pointIn(spoke, ring);
    }
    // A left click of the current tool: the pointer moves there, presses and releases.
    void click(QPoint p, Qt::MouseButton button = Qt::LeftButton) {
        main().imageMouseMove({}, p.x(), p.y());
        main().imageMousePress(button, {}, p.x(), p.y());
        main().imageMouseRelease(button, {}, p.x(), p.y());
    }

    QTemporaryDir dir;
    ScriptedServices services;
    QDate today{2026, 12, 8};
    std::unique_ptr<gyrodex::DesktopApp> g;
    int repaints = 0;
};
