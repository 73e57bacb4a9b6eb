#pragma once

#include "Registry.h"

#include <QDate>
#include <QRect>
#include <QString>
#include <QtGlobal>
#include <functional>

namespace gyrodex {

// What the program takes from the machine it runs on, read once in main() and passed in, so
// tests can fix every one of them.
struct Environment {
    QString programFile;      // full path of the program file; its folder holds gyrodex.ini
    RegistryService registry; // the hives of the recent lists
    QRect screen;             // the primary screen, in the desktop's (logical) pixels
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    // The user's configuration folder, which holds gyrodex.ini where the program's folder is
    // not writable (an installed program); empty keeps the file beside the program.
    QString configFolder = {};
    // Whether a folder is writable; empty asks the system. Tests decide it.
    std::function<bool(const QString&)> folderWritable = {};
    // The user's state folder, which holds the recovery copies of unsaved designs
    // (recovery-PID.cal); empty keeps none.
    QString stateFolder = {};
    // This process's id, which names its recovery copy, and whether a process still runs.
    qint64 processId = 0;
    std::function<bool(qint64)> processRuns = {};
    // Device pixels per logical pixel of the screen: 2 on a desktop scaled to 200%. The image
    // has device pixels, so a design paints the same picture on every screen.
    qreal pixelRatio = 1.0;

    // The screen's size in device pixels: the size of a screen-sized image.
    QSize screenPixels() const {
        return {qRound(screen.width() * pixelRatio), qRound(screen.height() * pixelRatio)};
    }
};

} // namespace gyrodex
