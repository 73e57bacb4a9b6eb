#pragma once

#include "Colour.h"
#include "Registry.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace gyrodex {

constexpr int kRecentSlots = 4;

// One recent-files list: the newest name in slot 1 (names[0]); a name may occur twice.
struct RecentList {
    std::array<QString, kRecentSlots> names;
    std::int32_t count = 0; // slots in use, 0..4

    // Puts a non-empty name in front, dropping the oldest when all four slots are used.
    void add(const QString& name);
};

// How a Reopen submenu shows a list.
struct RecentMenu {
    bool enabled = false; // the submenu itself
    std::array<QString, kRecentSlots> captions;
    std::array<bool, kRecentSlots> itemEnabled{};
};
RecentMenu MenuOf(const RecentList& list);

// The recent calendar files and bitmaps, kept in the user's registry hive under
// Software\Vantoric\Gyrodex\Recent.
class RecentFiles {
public:
    RecentList RecentCalendars;
    RecentList RecentBitmaps;

    // Fills both lists; a missing key or value gives empty slots, a count that is no number
    // is 0 and a count outside 0..4 is held inside it. A hive file that is no regular file or
    // can't be read leaves both lists empty and raises "Unable to read %s".
    void ReadRecentLists(const RegistryService& registry);
    // Stores both lists; values above the counts are left as they are. Raises "Failed to
    // create key %s" when the key can't be written. A hive file the last read could not read,
    // or could not parse, is left alone, silently.
    void WriteRecentLists(const RegistryService& registry) const;

    // With a non-empty name, puts it at the front of the list. Either way returns how the
    // list's Reopen submenu shows it now, for the caller to refresh the submenu with.
    RecentMenu AddRecentCalendar(const QString& name);
    RecentMenu AddRecentBitmap(const QString& name);

private:
    bool keepHive_ = false; // the hive file was unreadable or unparsable when read
};

// The colours taken with the colour picker, handed to the colour chooser as its 16 custom
// colours. Not stored between runs.
class PickedColours {
public:
    std::array<Colour, 16> PickedColors{};
    std::uint8_t PickedColorIndex = 1; // the slot (1..16) the next pick fills
    // The chooser's custom colour lines; a single placeholder line until the first pick.
    QStringList CustomColors{QStringLiteral("$00FF0000")};

    // Rebuilds CustomColors from PickedColors: "ColorA=000000FF" … "ColorP=…".
    void UpdateCustomColors();
    // Stores a picked colour in the current slot, rebuilds the custom colours and moves on to
    // the next slot (after 16 back to 1).
    void Pick(Colour colour);
};

} // namespace gyrodex
