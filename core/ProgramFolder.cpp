#include "ProgramFolder.h"

namespace gyrodex {

QString ProgramFolder(const QString& programFile) {
    return programFile.left(programFile.lastIndexOf(u'/') + 1);
}

} // namespace gyrodex
