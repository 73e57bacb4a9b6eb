#include "SaveFile.h"

#include "Error.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace gyrodex {

namespace {

// Follows a chain of symbolic links to the file finally named, even when that file does not
// exist yet. Gives up (and keeps the name) on a loop.
QString ResolveLinks(const QString& fileName) {
    QFileInfo info(fileName);
    for (int depth = 0; depth < 64 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? fileName : info.filePath();
}

} // namespace

void SaveFileWhole(const QString& fileName, const QByteArray& content) {
    const Error failure(QStringLiteral("Unable to write to %1").arg(fileName));
    if (fileName.isEmpty())
        throw failure;
    const QString target = ResolveLinks(fileName);
    const QFileInfo info(target);
    // The owner's write bit decides, so that a read-only file is refused even for a user
    // (such as root) whom the system would let write it.
    if (info.exists() && (!info.isFile() || !(info.permissions() & QFileDevice::WriteOwner)))
        throw failure;
    QSaveFile file(target);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        throw failure;
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        throw failure;
    }
    if (!file.commit())
        throw failure;
}

QString DecodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

} // namespace gyrodex
