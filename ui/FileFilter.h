#pragma once

#include <QString>

namespace gyrodex {

// Converts a "description|pattern|description|pattern" filter to Qt's form, one filter per
// ";;" part. Each description is kept as it stands (the dialog hides the appended patterns);
// "*.*" matches every file and an extension pattern matches both its lower- and upper-case
// spelling, as file names on Linux are case-sensitive.
QString QtFileFilter(const QString& pipeFilter);

// Adds ".ext" (lower case) to a file name typed without an extension.
QString WithDefaultExtension(const QString& fileName, const QString& extension);

} // namespace gyrodex
