// iCalendar import: any bytes give entries of the entry form within the period, or a reason;
// the entries exported and read back are the same entries.
#include "Error.h"
#include "FuzzCommon.h"
#include "ICalendar.h"

#include <QRegularExpression>

using namespace gyrodex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    IcsImport how;
    how.first = MakeDayDate(2, 8, 2027);
    how.last = MakeDayDate(30, 7, 2028);
    how.localZone = QTimeZone("America/New_York");
    how.colour = 255;
    how.legend = [](const QString& name) -> std::optional<Colour> {
        if (name.compare(QLatin1String("holiday"), Qt::CaseInsensitive) == 0)
            return 65535;
        return std::nullopt;
    };
    // Fewer steps than a file import may take, so that one input stays within the time limit.
    how.maxSteps = 50000;
    constexpr qsizetype kRoom = 5000;

    IcsEntriesResult result;
    try {
        result = IcsEntries(bytes, how, {}, kRoom);
    } catch (const Error& e) {
        Require(!e.message().isEmpty());
        return 0;
    }
    Require(result.entries.size() <= kRoom);
    static const QRegularExpression form(QStringLiteral("^\\d\\d/\\d\\d/\\d{4}\\$-?\\d+#"));
    HighlightList list;
    for (const QString& entry : result.entries) {
        Require(form.match(entry).hasMatch());
        Require(!entry.contains(u'\r') && !entry.contains(u'\n'));
        const QString date = entry.left(10);
        const DayDate d = MakeDayDate(static_cast<std::uint16_t>(date.mid(3, 2).toUInt()),
                                      static_cast<std::uint16_t>(date.left(2).toUInt()),
                                      static_cast<std::uint16_t>(date.mid(6, 4).toUInt()));
        Require(IsRealDate(d) && CompareDays(d, how.first) >= 0 && CompareDays(d, how.last) <= 0);
        list.add(entry);
    }
    if (result.tooMany)
        return 0;

    // Exported and read back: the same entries, and nothing new for the same list.
    const QByteArray text = IcsText(list, how.first, how.last);
    const IcsEntriesResult back = IcsEntries(text, how, {}, kRoom);
    Require(!back.tooMany && back.entries == result.entries);
    const QSet<QString> existing(list.entries().begin(), list.entries().end());
    Require(IcsEntries(text, how, existing, kRoom).entries.isEmpty());
    Require(IcsText(list, how.first, how.last) == text);
    return 0;
}
