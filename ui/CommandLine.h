#pragma once

#include <QString>
#include <QStringList>

namespace gyrodex {

// What the desktop program's command line asks for: `gyrodex [options] [FILE]`.
struct DesktopCommandLine {
    // The design to open after start-up, as an absolute path; empty for none.
    QString file;
    // Set when the program ends at once without a window: the text to print, where, and the
    // exit status (0 for --help and --version, 2 for a bad command line).
    bool exitNow = false;
    int exitCode = 0;
    QString text;
    bool toStderr = false;
};

// Reads the command line (argv as given, program name first) before the application object
// exists, so --help and --version work without a display. Qt's own options (-platform xcb,
// -display :1, -style …) are passed over: the application object reads them itself.
DesktopCommandLine ParseDesktopCommandLine(const QStringList& arguments);

} // namespace gyrodex
