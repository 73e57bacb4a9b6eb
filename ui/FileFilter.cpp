#include "FileFilter.h"

#include <QFileInfo>
#include <QStringList>

namespace gyrodex {

namespace {

QString QtPatterns(const QString& patterns) {
    QStringList out;
    for (const QString& raw : patterns.split(u';', Qt::SkipEmptyParts)) {
        const QString p = raw.trimmed();
        if (p == u"*.*" || p == u"*") {
            out << QStringLiteral("*");
            continue;
        }
        for (const QString& variant : {p, p.toLower(), p.toUpper()})
            if (!out.contains(variant))
                out << variant;
    }
    return out.join(u' ');
}

} // namespace

QString QtFileFilter(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << QStringLiteral("%1 (%2)").arg(parts.at(i), QtPatterns(parts.at(i + 1)));
    return filters.join(QStringLiteral(";;"));
}

QString WithDefaultExtension(const QString& fileName, const QString& extension) {
    if (fileName.isEmpty() || extension.isEmpty() || fileName.endsWith(u'/'))
        return fileName;
    if (QFileInfo(fileName).fileName().contains(u'.'))
        return fileName;
    return fileName + u'.' + extension.toLower();
}

} // namespace gyrodex
