#pragma once

#include <QString>
#include <functional>

namespace gyrodex {

// Where a program keeps its settings file: the file it reads at start and the file it writes
// at exit. They differ only when an administrator's file beside an installed program is read
// while the user's own copy is still to be made.
struct SettingsLocation {
    QString readFile;
    QString writeFile;
};

// Chooses the settings file `name` (e.g. "gyrodex.ini"):
// - beside the program (`programFolder`, ending in "/") when that folder is writable: the build
//   tree, or a copy unpacked into a folder of the user's;
// - otherwise in the user's configuration folder `configFolder`, read from there when the file
//   exists, else from beside the program when a file is there (read only, never written), else
//   nothing is read and the defaults stand; written to the configuration folder.
// `folderWritable` tells whether the program may create files in a folder; the default asks
// the system (access(2), so a read-only mount counts as unwritable).
SettingsLocation
ChooseSettingsLocation(const QString& programFolder, const QString& configFolder,
                       const QString& name,
                       const std::function<bool(const QString&)>& folderWritable = {});

// The user's configuration folder for Gyrodex, the same for the desktop program and the
// command-line tool: $XDG_CONFIG_HOME/Vantoric/Gyrodex (normally ~/.config/Vantoric/Gyrodex).
QString UserConfigFolder();

// Whether the program may keep its settings in `folder`: an existing folder it can write into,
// and not one of the system's program folders (/usr/bin, /usr/local/bin, /bin, /usr/games).
bool FolderWritable(const QString& folder);

} // namespace gyrodex
