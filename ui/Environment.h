#pragma once

#include "Registry.h"

#include <QDate>
#include <QRect>
#include <QString>
#include <functional>

namespace gyrodex {

// What the program takes from the machine it runs on, read once in main() and passed in, so
// tests can fix every one of them.
struct Environment {
    QString programFile;      // full path of the program file; its folder holds gyrodex.ini
    RegistryService registry; // the hives of the recent lists
    QRect screen;             // the primary screen, in pixels
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    // The user's configuration folder, which holds gyrodex.ini where the program's folder is
    // not writable (an installed program); empty keeps the file beside the program.
    QString configFolder = {};
    // Whether a folder is writable; empty asks the system. Tests decide it.
    std::function<bool(const QString&)> folderWritable = {};
};

} // namespace gyrodex
