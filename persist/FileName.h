#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace gyrodex {

// File names as the system keeps them: bytes, usually UTF-8 but not always (a name made on an
// older system or copied from a Latin-1 disk). Qt decodes such a name with replacement
// characters, after which no QString opens the file again. These two carry every byte through
// a QString: a byte that is not part of valid UTF-8 becomes the lone surrogate U+DC80..U+DCFF
// (one per byte), which no valid UTF-8 decodes to, and goes back to the same byte.
QString FileNameFromBytes(QByteArrayView bytes);
QByteArray FileNameBytes(const QString& name);

// Whether anything exists under the name (the name's own bytes are looked up).
bool FileExists(const QString& name);

// A file name as one line of text that keeps its bytes: the name itself when it is valid UTF-8,
// else "file://" followed by its bytes percent-encoded. FileNameFromText reads both forms.
QString FileNameText(const QString& name);
QString FileNameFromText(const QString& text);

} // namespace gyrodex
