#pragma once

#include "Colour.h"
#include "DayDate.h"
#include "HighlightList.h"

#include <QRect>
#include <QString>
#include <optional>

namespace gyrodex {

// Longest description the editor's list and fields show.
constexpr qsizetype kShownDescription = 255;

// Appends `count` (held in 1..99) entries for consecutive days from `start`, all with the same
// colour and description. Returns the date the editor shows next: the day after the last one
// added with `advance`, else `start`. Raises "Too many highlights" and adds none when they would
// pass kMaxHighlights.
DayDate AddDays(HighlightList& list, DayDate start, int count, Colour colour,
                const QString& description, bool advance);

// Removes the selected entry (-1 or an index outside the list: nothing happens). Returns the
// index to select next: the same index, the new last entry, or -1 when none remain or nothing
// was removed.
qsizetype DeleteEntry(HighlightList& list, qsizetype selected);

void ClearAll(HighlightList& list);

// What the editor's fields take from a selected entry. The colour is missing when the entry's
// colour field is not a decimal number.
struct EntrySelection {
    std::optional<Colour> colour;
    QString description; // at most kShownDescription characters
};
EntrySelection SelectionReadOut(const HighlightList& list, qsizetype selected);

// How one row of the list is drawn (rows are 16 pixels high). Any text gives a row: a colour
// field that is not a number leaves the square unfilled.
struct HighlightRow {
    QRect square; // 14 x 14, its top-left one pixel inside the item, outlined in black
    std::optional<Colour> fill;
    QPoint textPos; // where "date, description" is written, transparent background
    QString text;
};
HighlightRow RowDrawing(const QString& entry, const QRect& item);

// Writes every entry, each followed by CR LF; the file is replaced as a whole. Raises "Unable
// to write to %s".
void ExportToFile(const HighlightList& list, const QString& fileName);
// Adds each line of a text file as an entry (a Ctrl-Z ends the text; an empty line inside it
// is an entry, a final line end is not; each line is decoded by itself, see DecodeLine). Raises
// "Unable to read %s" with the list unchanged when the file can't be read, is no regular file
// or is larger than kMaxTextFileBytes, and "Too many highlights in %s", also with the list
// unchanged, when its lines would pass kMaxHighlights entries.
void ImportFromFile(HighlightList& list, const QString& fileName);
// The lines an import adds, from the file's text.
QStringList HighlightLines(const QString& text);

// Index of the first entry whose text contains the date text anywhere, or -1.
qsizetype FindEntryContaining(const HighlightList& list, const QString& dateText);

// The fill tool: the day's first entry gets the new colour and keeps its description (at most
// 254 UTF-16 units, never half a character), or a new entry without description is added
// ("Too many highlights" when the list is full).
void SetDayColour(HighlightList& list, const DayDate& day, Colour colour);
// The erase tool: removes the day's first entry, if any.
void RemoveDay(HighlightList& list, const DayDate& day);
// The text tool: replaces the day's first entry (if any) by a new one ("Too many highlights",
// with the list unchanged, when there is none and the list is full).
void ReplaceDay(HighlightList& list, const DayDate& day, Colour colour, const QString& description);

} // namespace gyrodex
