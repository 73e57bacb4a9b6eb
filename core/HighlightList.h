#pragma once

#include "Colour.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace gyrodex {

// Most entries a highlight list holds, and so a calendar file: every way of adding entries
// refuses to pass it, so that no save writes a list the loader would cut.
constexpr qsizetype kMaxHighlights = 100000;

// Field extraction of one highlight entry: date text, "$", colour in decimal, "#", description.
// The date part for display: the text before the first "$" (the whole text when there is none).
QString EntryDatePart(const QString& entry);
// The colour field: the text between the first "$" and the first "#".
QStringView EntryColourField(const QString& entry);
// The colour field converted as a decimal number; raises the conversion error when it is not one.
Colour EntryColour(const QString& entry);
// At most maxLength UTF-16 units after the first "#" (empty when there is no "#"), never ending
// in half a character.
QString EntryDescription(const QString& entry, qsizetype maxLength);
QStringView EntryDescriptionView(const QString& entry, qsizetype maxLength);
// Builds an entry text from its fields.
QString MakeEntry(const QString& dateText, Colour colour, const QString& description);

// The highlighted days, kept in ascending case-insensitive order of their whole text.
// Duplicates are allowed; a new entry goes after the entries that compare equal to it.
class HighlightList {
public:
    qsizetype size() const { return entries_.size(); }
    bool isEmpty() const { return entries_.isEmpty(); }
    const QString& at(qsizetype i) const { return entries_.at(i); }
    const QStringList& entries() const { return entries_; }

    // Inserts in sorted position and returns the index it took. Raises "Too many highlights"
    // with the list unchanged when it already holds kMaxHighlights entries.
    qsizetype add(const QString& entry);
    // Adds entries in one go, in the order that adding them one by one would give (each after
    // the entries equal to it), in n log n time rather than one shift of the list per entry.
    // Raises "Too many highlights" and adds none of them when they would not all fit.
    void addAll(QStringList entries);
    // Whether `more` entries can still be added.
    bool hasRoomFor(qsizetype more) const { return more <= kMaxHighlights - entries_.size(); }
    void removeAt(qsizetype i);
    void clear() {
        entries_.clear();
        byDay_.clear();
    }

    // The entries whose first ten characters equal `key` exactly, as [first, last) indexes;
    // they stand next to each other because the list is sorted.
    std::pair<qsizetype, qsizetype> matching(const QString& key) const;

    // An entry that starts with the text of a real day ("mm/dd/yyyy"; one with a five-digit
    // year also names the day of its first four digits), by that day's DayNumber, with its
    // colour read once (none when it is not a number).
    struct DayEntry {
        std::int32_t day;
        qsizetype entry;
        std::optional<std::int32_t> colour;
    };
    // Every such entry in order of day, then of index in the list: a repaint finds a day's
    // entries here without reading their texts. Kept with every change of the list.
    const std::vector<DayEntry>& byDay() const { return byDay_; }

private:
    QStringList entries_;
    std::vector<DayEntry> byDay_;
};

} // namespace gyrodex
