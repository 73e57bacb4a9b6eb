#include "HighlightList.h"

#include "DayDate.h"
#include "Error.h"
#include "Integer.h"

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

// Calls f with each day an entry's text starts with: "mm/dd/yyyy" names a day, and an eleventh
// digit making a year from 10000 to 65535 names that day too.
template <typename F> void DaysOf(const QString& e, F&& f) {
    if (e.size() < 10 || e[2] != u'/' || e[5] != u'/')
        return;
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9' ? c.unicode() - u'0' : -1; };
    int digits[11];
    for (const int k : {0, 1, 3, 4, 6, 7, 8, 9})
        if ((digits[k] = digit(e[k])) < 0)
            return;
    const int month = digits[0] * 10 + digits[1];
    const int day = digits[3] * 10 + digits[4];
    const int year = ((digits[6] * 10 + digits[7]) * 10 + digits[8]) * 10 + digits[9];
    const auto keep = [&](int y) {
        const DayDate d =
            MakeDayDate(static_cast<std::uint16_t>(day), static_cast<std::uint16_t>(month),
                        static_cast<std::uint16_t>(y));
        if (IsRealDate(d))
            f(DayNumber(d));
    };
    keep(year);
    if (e.size() > 10 && (digits[10] = digit(e[10])) >= 0 && year * 10 + digits[10] > 9999 &&
        year * 10 + digits[10] <= 65535)
        keep(year * 10 + digits[10]);
}

bool ByDayThenEntry(const HighlightList::DayEntry& a, const HighlightList::DayEntry& b) {
    return a.day != b.day ? a.day < b.day : a.entry < b.entry;
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
    // The entries after it move up one; its days go in among them.
    for (DayEntry& d : byDay_)
        if (d.entry >= index)
            ++d.entry;
    const std::optional<std::int32_t> colour = ParseDecimal(EntryColourField(entry));
    DaysOf(entry, [&](std::int32_t day) {
        const DayEntry added{day, index, colour};
        byDay_.insert(std::lower_bound(byDay_.begin(), byDay_.end(), added, ByDayThenEntry), added);
    });
    return index;
}

void HighlightList::removeAt(qsizetype i) {
    entries_.removeAt(i);
    std::erase_if(byDay_, [i](const DayEntry& d) { return d.entry == i; });
    for (DayEntry& d : byDay_)
        if (d.entry > i)
            --d.entry;
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
    byDay_.clear();
    for (qsizetype i = 0; i < entries_.size(); ++i) {
        const QString& e = entries_.at(i);
        bool read = false;
        std::optional<std::int32_t> colour;
        DaysOf(e, [&](std::int32_t day) {
            if (!read)
                colour = ParseDecimal(EntryColourField(e));
            read = true;
            byDay_.push_back({day, i, colour});
        });
    }
    std::sort(byDay_.begin(), byDay_.end(), ByDayThenEntry);
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
