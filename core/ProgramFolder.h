#pragma once

#include <QString>

namespace gyrodex {

// The folder of the program file, up to and including its last "/": where the settings file
// lives. A name without "/" gives an empty folder. The program file's path is read by the
// executable (QCoreApplication::applicationFilePath) and passed down.
QString ProgramFolder(const QString& programFile);

} // namespace gyrodex
