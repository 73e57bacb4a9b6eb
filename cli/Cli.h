#pragma once

#include "DayDate.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <QTimeZone>

namespace gyrodex {

// What a command takes from the system around it. main reads the clock and the program's path;
// tests choose both, so no run depends on the day or on files beside the test program.
struct CliEnvironment {
    DayDate today;       // the day taken as today when --today is not given
    QString programFile; // the program file; "gyrodex.ini" in its folder holds the hint settings
    // The user's configuration folder, read for gyrodex.ini where the program's folder is not
    // writable (an installed program); empty keeps the file beside the program.
    QString configFolder = {};
    // The zone in which the UTC and floating times of .ics files are read.
    QTimeZone localZone = QTimeZone::systemTimeZone();
};

// Runs one gyrodex-cli command (args without the program name). Returns the exit status:
// 0 success, 1 a failure of the command itself, 2 bad arguments.
int RunCli(const QStringList& args, QTextStream& out, QTextStream& err,
           const CliEnvironment& environment);

} // namespace gyrodex
