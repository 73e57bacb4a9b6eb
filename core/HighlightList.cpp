#include "HighlightList.h"

#include "Error.h"

#include <algorithm>

namespace gyrodex {

namespace {

// Character by character without regard to case. Entries are mostly digits, "/", "$" and "#",
// so plain ASCII is folded inline; other characters by their Unicode case folding.
char16_t Fold(char16_t c) {
    if (c < 128)
        return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
    return QChar::toCaseFolded(c);
}

bool LessNoCase(const QString& a, const QString& b) {
    const qsizetype n = std::min(a.size(), b.size());
    const QChar* pa = a.constData();
    const QChar* pb = b.constData();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t fa = Fold(pa[i].unicode());
        const char16_t fb = Fold(pb[i].unicode());
        if (fa != fb)
            return fa < fb;
    }
    return a.size() < b.size();
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
    return EntryDescriptionView(entry, maxLength).toString();
}

QStringView EntryDescriptionView(const QString& entry, qsizetype maxLength) {
    const qsizetype hash = entry.indexOf(u'#');
    if (hash < 0)
        return {};
    return LeftWhole(QStringView(entry).mid(hash + 1), maxLength);
}

QString MakeEntry(const QString& dateText, Colour colour, const QString& description) {
    return dateText + QLatin1Char('$') + QString::number(static_cast<std::int32_t>(colour)) +
           QLatin1Char('#') + description;
}

namespace {

[[noreturn]] void TooMany() {
    throw Error(QStringLiteral("Too many highlights"));
}

} // namespace

qsizetype HighlightList::add(const QString& entry) {
    if (!hasRoomFor(1))
        TooMany();
    const auto it = std::upper_bound(entries_.begin(), entries_.end(), entry, LessNoCase);
    const qsizetype index = it - entries_.begin();
    entries_.insert(index, entry);
    return index;
}

void HighlightList::addAll(QStringList entries) {
    if (!hasRoomFor(entries.size()))
        TooMany();
    // A stable sort keeps equal entries in the order given, and the merge puts the entries
    // already in the list before equal new ones: exactly where add() would put each.
    std::stable_sort(entries.begin(), entries.end(), LessNoCase);
    const qsizetype old = entries_.size();
    entries_.append(std::move(entries));
    std::inplace_merge(entries_.begin(), entries_.begin() + old, entries_.end(), LessNoCase);
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
