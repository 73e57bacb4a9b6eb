#pragma once

#include <QStringList>
#include <QTextStream>

namespace gyrodex {

// Runs one gyrodex-cli command (args without the program name). Returns the exit status:
// 0 success, 1 a failure of the command itself, 2 bad arguments.
int RunCli(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace gyrodex
