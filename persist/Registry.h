#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QSettings;

namespace gyrodex {

// The two hives keys are opened below.
enum class RegRoot { CurrentUser, LocalMachine };

class RegistryKey;

// A hierarchical store of text values, on this system a QSettings file per hive: the user hive
// in the user's configuration folder, the machine hive in the system's. A key path such as
// Software\Vantoric\Gyrodex\Recent becomes the group path Software/Vantoric/Gyrodex/Recent.
class RegistryService {
public:
    // Hives in the given files (tests use a temporary folder).
    RegistryService(QString userHiveFile, QString machineHiveFile);
    // The hives of this system: <user config>/Vantoric/Gyrodex.conf and the same name in the
    // first system configuration folder (/etc/xdg by default).
    static RegistryService System();

    const QString& hiveFile(RegRoot root) const;

    // Opens `path` (components separated by "\" or "/") below the hive. With `create` the
    // hive must be writable, else "Failed to create key %s" is raised with `path`. Only a
    // regular file is read: a hive file that is a folder, FIFO or device, or that can't be
    // opened, raises "Unable to read %s" (naming the file) before anything touches it.
    RegistryKey openKey(RegRoot root, const QString& path, bool create) const;

private:
    QString userFile_;
    QString machineFile_;
};

// An open key. Names of keys and values are matched without regard to case; a missing key or
// value reads as the default. Writes reach the hive by close(), which the destructor also
// does (silently).
class RegistryKey {
public:
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    RegistryKey(RegistryKey&&) noexcept;
    RegistryKey& operator=(RegistryKey&&) noexcept;
    ~RegistryKey();

    // Opens a key below this one, relative to it; `create` as in RegistryService::openKey.
    RegistryKey openKey(const QString& path, bool create) const;

    std::optional<QString> readValue(const QString& name) const;
    QString readString(const QString& name, const QString& def) const;
    // A value that is not an integer (decimal, or hexadecimal after "$") gives the default.
    std::int32_t readInteger(const QString& name, std::int32_t def) const;
    void writeString(const QString& name, const QString& value);
    void writeInteger(const QString& name, std::int32_t value);

    // Stores what was written; raises "Failed to create key %s" when the hive can't be
    // written.
    void close();
    // True when the hive file exists but does not parse as a settings file: what a write would
    // store over it is all that would be left of it.
    bool hiveUnparsable() const;

private:
    friend class RegistryService;
    RegistryKey(std::shared_ptr<QSettings> hive, QStringList groups, QString name);
    // The stored spelling of a name below the group, or the name itself when it is new.
    QString storedKey(const QString& name, bool group) const;
    QString fullKey(const QString& name) const;

    std::shared_ptr<QSettings> hive_;
    QStringList groups_; // group path components as stored
    QString name_;       // the path the key was opened with, for messages
    bool dirty_ = false;
};

} // namespace gyrodex
