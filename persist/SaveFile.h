#pragma once

#include <QByteArray>
#include <QString>

namespace gyrodex {

// Replaces the content of a file as a whole: the bytes go to a temporary file in the target's
// folder, which then takes the target's place, so a failure at any point leaves the old file
// exactly as it was. A symbolic link is written through to the file it points to, and the
// file keeps its permissions. A file whose owner may not write it is refused. Any failure
// raises "Unable to write to %s" with `fileName` as given.
void SaveFileWhole(const QString& fileName, const QByteArray& content);

// Reads a whole text file as UTF-8, or as Latin-1 when it is not valid UTF-8 (files made on
// systems with an 8-bit character set). A leading byte order mark is dropped.
QString DecodeText(const QByteArray& bytes);

} // namespace gyrodex
