#include "Highlights.h"

#include "CalendarFile.h"
#include "Error.h"
#include "SaveFile.h"

#include <algorithm>

namespace gyrodex {

namespace {

std::optional<Colour> ColourOf(const QString& entry) {
    try {
        return EntryColour(entry);
    } catch (const Error&) {
        return std::nullopt;
    }
}

} // namespace

DayDate AddDays(HighlightList& list, DayDate start, int count, Colour colour,
                const QString& description, bool advance) {
    const int n = std::clamp(count, 1, 99);
    if (!list.hasRoomFor(n))
        throw Error(QStringLiteral("Too many highlights"));
    DayDate day = start;
    for (int i = 0; i < n; ++i) {
        list.add(MakeEntry(DateText(day), colour, description));
        NextDay(day);
    }
    return advance ? day : start;
}

qsizetype DeleteEntry(HighlightList& list, qsizetype selected) {
    if (selected < 0 || selected >= list.size())
        return -1;
    list.removeAt(selected);
    if (list.isEmpty())
        return -1;
    return std::min(selected, list.size() - 1);
}

void ClearAll(HighlightList& list) {
    list.clear();
}

EntrySelection SelectionReadOut(const HighlightList& list, qsizetype selected) {
    if (selected < 0 || selected >= list.size())
        return {};
    const QString& entry = list.at(selected);
    return {ColourOf(entry), EntryDescription(entry, kShownDescription)};
}

HighlightRow RowDrawing(const QString& entry, const QRect& item) {
    HighlightRow row;
    row.square = QRect(item.left() + 1, item.top() + 1, 14, 14);
    row.fill = ColourOf(entry);
    row.textPos = QPoint(item.left() + 16, item.top() + 2);
    row.text =
        EntryDatePart(entry) + QStringLiteral(", ") + EntryDescription(entry, kShownDescription);
    return row;
}

void ExportToFile(const HighlightList& list, const QString& fileName) {
    QString text;
    for (const QString& entry : list.entries()) {
        text += entry;
        text += QLatin1String("\r\n");
    }
    SaveFileWhole(fileName, text.toUtf8());
}

QStringList HighlightLines(const QString& text) {
    QStringView rest(text);
    const qsizetype eof = rest.indexOf(QChar(26));
    if (eof >= 0)
        rest = rest.left(eof);
    QStringList lines;
    qsizetype start = 0;
    while (start < rest.size()) {
        qsizetype end = start;
        while (end < rest.size() && rest[end] != u'\n' && rest[end] != u'\r')
            ++end;
        lines << rest.mid(start, end - start).toString();
        // A line ends with CR LF, LF or a lone CR.
        if (end < rest.size() && rest[end] == u'\r' && end + 1 < rest.size() &&
            rest[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

void ImportFromFile(HighlightList& list, const QString& fileName) {
    const auto bytes = ReadFileWhole(fileName);
    if (!bytes)
        throw Error(QStringLiteral("Unable to read %1").arg(fileName));
    // Line by line from the bytes, so that neither a decoded copy of the whole file nor more
    // lines than the list may take are ever held.
    QByteArrayView rest(*bytes);
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    if (const qsizetype eof = rest.indexOf('\x1A'); eof >= 0)
        rest = rest.first(eof);
    QStringList lines;
    bool tooMany = false;
    qsizetype start = 0;
    while (start < rest.size()) {
        qsizetype end = start;
        while (end < rest.size() && rest[end] != '\n' && rest[end] != '\r')
            ++end;
        if (!list.hasRoomFor(lines.size() + 1)) {
            tooMany = true;
            break;
        }
        lines << DecodeLine(rest.sliced(start, end - start));
        // A line ends with CR LF, LF or a lone CR.
        if (end + 1 < rest.size() && rest[end] == '\r' && rest[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    // All or nothing: a file that would pass the limit adds none of its lines.
    if (tooMany)
        throw Error(QStringLiteral("Too many highlights in %1").arg(fileName));
    list.addAll(std::move(lines));
}

qsizetype FindEntryContaining(const HighlightList& list, const QString& dateText) {
    for (qsizetype i = 0; i < list.size(); ++i)
        if (list.at(i).contains(dateText))
            return i;
    return -1;
}

void SetDayColour(HighlightList& list, const DayDate& day, Colour colour) {
    const QString date = DateText(day);
    const qsizetype i = FindEntryContaining(list, date);
    if (i < 0) {
        list.add(MakeEntry(date, colour, {}));
        return;
    }
    const QString old = list.at(i);
    // Keep everything up to the first "$" and from the first "#" on; an entry lacking either
    // separator gets the day's own date text or an empty description in its place.
    const qsizetype dollar = old.indexOf(u'$');
    const qsizetype hash = old.indexOf(u'#');
    const QString head = dollar < 0 ? date + QLatin1Char('$') : old.left(dollar + 1);
    const QString tail = hash < 0
                             ? QStringLiteral("#")
                             : LeftWhole(QStringView(old).mid(hash), kShownDescription).toString();
    list.removeAt(i);
    list.add(head + QString::number(static_cast<std::int32_t>(colour)) + tail);
}

void RemoveDay(HighlightList& list, const DayDate& day) {
    const qsizetype i = FindEntryContaining(list, DateText(day));
    if (i >= 0)
        list.removeAt(i);
}

void ReplaceDay(HighlightList& list, const DayDate& day, Colour colour,
                const QString& description) {
    RemoveDay(list, day);
    list.add(MakeEntry(DateText(day), colour, description));
}

} // namespace gyrodex
