// Highlight lines: field extraction, list rows and the day tools on any entry text.
#include "Error.h"
#include "FuzzCommon.h"
#include "Highlights.h"

using namespace gyrodex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = FuzzText(data, size);

    HighlightList list;
    for (const QString& line : HighlightLines(text)) {
        Require(!line.contains(u'\r') && !line.contains(u'\n') && !line.contains(QChar(26)));
        if (!list.hasRoomFor(1))
            break;
        list.add(line);
    }
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString& entry = list.at(i);
        (void)EntryDatePart(entry);
        (void)EntryColourField(entry);
        try {
            (void)EntryColour(entry);
        } catch (const Error&) {
        }
        const QString description = EntryDescription(entry, 40);
        Require(description.size() <= 40 &&
                (description.isEmpty() || !description.back().isHighSurrogate()));
        const HighlightRow row = RowDrawing(entry, QRect(0, 16 * static_cast<int>(i), 100, 16));
        Require(row.square.width() == 14 && row.square.height() == 14);
        (void)SelectionReadOut(list, i);
    }

    // The day tools on a day named by the first bytes; each changes at most one entry.
    const DayDate day =
        MakeDayDate(size > 0 ? data[0] % 32 : 1, size > 1 ? data[1] % 13 : 1,
                    static_cast<std::uint16_t>(size > 2 ? 1990 + data[2] % 20 : 2000));
    if (!list.hasRoomFor(1))
        list.removeAt(list.size() - 1);
    const qsizetype before = list.size();
    SetDayColour(list, day, size > 3 ? data[3] : 0);
    Require(list.size() == before || list.size() == before + 1);
    Require(FindEntryContaining(list, DateText(day)) >= 0);
    ReplaceDay(list, day, 7, LeftWhole(text, 50).toString());
    RemoveDay(list, day);
    Require(list.size() == before || list.size() == before + 1 || list.size() + 1 == before);
    const qsizetype next = DeleteEntry(list, 0);
    Require(next < list.size());
    return 0;
}
