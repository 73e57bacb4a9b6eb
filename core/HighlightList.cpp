#include "HighlightList.h"

#include "Error.h"

#include <algorithm>

namespace gyrodex {

namespace {

bool LessNoCase(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

} // namespace

QString EntryDatePart(const QString& entry) {
    const qsizetype dollar = entry.indexOf(u'$');
    return dollar < 0 ? entry : entry.left(dollar);
}

QStringView EntryColourField(const QString& entry) {
    const qsizetype start = entry.indexOf(u'$') + 1; // 0 when there is no "$"
    const qsizetype hash = entry.indexOf(u'#');
    if (hash < start)
        return {};
    return QStringView(entry).mid(start, hash - start);
}

Colour EntryColour(const QString& entry) {
    return static_cast<Colour>(StrToInt(EntryColourField(entry)));
}

QString EntryDescription(const QString& entry, qsizetype maxLength) {
    const qsizetype hash = entry.indexOf(u'#');
    if (hash < 0)
        return {};
    return entry.mid(hash + 1, maxLength);
}

QString MakeEntry(const QString& dateText, Colour colour, const QString& description) {
    return dateText + QLatin1Char('$') + QString::number(static_cast<std::int32_t>(colour)) +
           QLatin1Char('#') + description;
}

qsizetype HighlightList::add(const QString& entry) {
    const auto it = std::upper_bound(entries_.begin(), entries_.end(), entry, LessNoCase);
    const qsizetype index = it - entries_.begin();
    entries_.insert(index, entry);
    return index;
}

std::pair<qsizetype, qsizetype> HighlightList::matching(const QString& key) const {
    auto it = std::lower_bound(entries_.begin(), entries_.end(), key, LessNoCase);
    const qsizetype first = it - entries_.begin();
    qsizetype last = first;
    while (last < entries_.size() && entries_.at(last).size() >= key.size() &&
           QStringView(entries_.at(last)).left(key.size()) == key)
        ++last;
    return {first, last};
}

} // namespace gyrodex
