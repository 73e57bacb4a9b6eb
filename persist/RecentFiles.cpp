#include "RecentFiles.h"

#include "FileName.h"

#include <algorithm>

namespace gyrodex {

namespace {

const QString kKeyPath = QStringLiteral("Vantoric\\Gyrodex");

void ReadList(const RegistryKey& key, const QString& countName, const QString& prefix,
              RecentList& list) {
    list = RecentList{};
    list.count = std::clamp(key.readInteger(countName, 0), 0, kRecentSlots);
    for (int i = 0; i < list.count; ++i)
        list.names[static_cast<std::size_t>(i)] =
            FileNameFromText(key.readString(prefix + QString::number(i + 1), {}));
}

void WriteList(RegistryKey& key, const QString& countName, const QString& prefix,
               const RecentList& list) {
    const int count = std::clamp(list.count, 0, kRecentSlots);
    key.writeInteger(countName, count);
    for (int i = 0; i < count; ++i)
        key.writeString(prefix + QString::number(i + 1),
                        FileNameText(list.names[static_cast<std::size_t>(i)]));
}

} // namespace

void RecentList::add(const QString& name) {
    if (name.isEmpty())
        return;
    std::move_backward(names.begin(), names.end() - 1, names.end());
    names[0] = name;
    if (count < kRecentSlots)
        ++count;
}

RecentMenu MenuOf(const RecentList& list) {
    RecentMenu menu;
    menu.enabled = list.count != 0;
    for (int k = 0; k < kRecentSlots; ++k) {
        menu.captions[static_cast<std::size_t>(k)] = list.names[static_cast<std::size_t>(k)];
        menu.itemEnabled[static_cast<std::size_t>(k)] = list.count >= k + 1;
    }
    return menu;
}

void RecentFiles::ReadRecentLists(const RegistryService& registry) {
    RecentCalendars = RecentList{};
    RecentBitmaps = RecentList{};
    keepHive_ = true;
    const RegistryKey software =
        registry.openKey(RegRoot::CurrentUser, QStringLiteral("Software"), false);
    // A file QSettings can't parse would be replaced by the lists alone at the next write.
    if (software.hiveUnparsable())
        return;
    keepHive_ = false;
    const RegistryKey recent =
        software.openKey(kKeyPath, false).openKey(QStringLiteral("Recent"), false);
    ReadList(recent, QStringLiteral("CalCount"), QStringLiteral("Cal"), RecentCalendars);
    ReadList(recent, QStringLiteral("BMPCount"), QStringLiteral("Bitmap"), RecentBitmaps);
}

void RecentFiles::WriteRecentLists(const RegistryService& registry) const {
    if (keepHive_)
        return;
    const RegistryKey software =
        registry.openKey(RegRoot::CurrentUser, QStringLiteral("Software"), true);
    RegistryKey recent = software.openKey(kKeyPath, true).openKey(QStringLiteral("Recent"), true);
    WriteList(recent, QStringLiteral("CalCount"), QStringLiteral("Cal"), RecentCalendars);
    WriteList(recent, QStringLiteral("BMPCount"), QStringLiteral("Bitmap"), RecentBitmaps);
    recent.close();
}

RecentMenu RecentFiles::AddRecentCalendar(const QString& name) {
    RecentCalendars.add(name);
    return MenuOf(RecentCalendars);
}

RecentMenu RecentFiles::AddRecentBitmap(const QString& name) {
    RecentBitmaps.add(name);
    return MenuOf(RecentBitmaps);
}

void PickedColours::UpdateCustomColors() {
    CustomColors.clear();
    for (int s = 1; s <= 16; ++s)
        CustomColors << QStringLiteral("Color%1=%2")
                            .arg(QChar(64 + s))
                            .arg(QStringLiteral("%1")
                                     .arg(PickedColors[static_cast<std::size_t>(s - 1)], 8, 16,
                                          QLatin1Char('0'))
                                     .toUpper());
}

void PickedColours::Pick(Colour colour) {
    if (PickedColorIndex < 1 || PickedColorIndex > 16)
        PickedColorIndex = 1;
    PickedColors[static_cast<std::size_t>(PickedColorIndex - 1)] = colour;
    UpdateCustomColors();
    PickedColorIndex = static_cast<std::uint8_t>(PickedColorIndex % 16 + 1);
}

} // namespace gyrodex
