#include "Registry.h"

#include "Error.h"
#include "IniFile.h"
#include "SaveFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <cerrno>
#include <unistd.h>

namespace gyrodex {

namespace {

QStringList SplitPath(const QString& path) {
    QString p = path;
    p.replace(u'\\', u'/');
    return p.split(u'/', Qt::SkipEmptyParts);
}

Error CreateFailure(const QString& name) {
    return Error(QStringLiteral("Failed to create key %1").arg(name));
}

// True when the hive file can be written: it is writable, or it can be made in a folder that
// exists or can be made.
bool HiveWritable(const QString& file) {
    const QFileInfo info(file);
    if (info.exists())
        return info.isFile() && (info.permissions() & QFileDevice::WriteOwner);
    QDir dir = info.absoluteDir();
    return dir.exists() || QDir().mkpath(dir.absolutePath());
}

} // namespace

RegistryService::RegistryService(QString userHiveFile, QString machineHiveFile)
    : userFile_(std::move(userHiveFile)), machineFile_(std::move(machineHiveFile)) {}

RegistryService RegistryService::System() {
    const QString name = QStringLiteral("/Vantoric/Gyrodex.conf");
    const QString user =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + name;
    QStringList system = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    system.removeAll(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    return RegistryService(user,
                           (system.isEmpty() ? QStringLiteral("/etc/xdg") : system.first()) + name);
}

const QString& RegistryService::hiveFile(RegRoot root) const {
    return root == RegRoot::CurrentUser ? userFile_ : machineFile_;
}

RegistryKey RegistryService::openKey(RegRoot root, const QString& path, bool create) const {
    const QString& file = hiveFile(root);
    // QSettings would open (and block on) whatever the name holds.
    const int fd = OpenRegularFile(file);
    if (fd >= 0)
        ::close(fd);
    else if (errno != ENOENT && errno != ENOTDIR)
        throw Error(QStringLiteral("Unable to read %1").arg(file));
    if (create && !HiveWritable(file))
        throw CreateFailure(path);
    auto hive = std::make_shared<QSettings>(file, QSettings::IniFormat);
    RegistryKey top(hive, {}, {});
    return top.openKey(path, create);
}

RegistryKey::RegistryKey(std::shared_ptr<QSettings> hive, QStringList groups, QString name)
    : hive_(std::move(hive)), groups_(std::move(groups)), name_(std::move(name)) {}

RegistryKey::RegistryKey(RegistryKey&&) noexcept = default;
RegistryKey& RegistryKey::operator=(RegistryKey&&) noexcept = default;

RegistryKey::~RegistryKey() {
    if (hive_ && dirty_)
        hive_->sync();
}

QString RegistryKey::storedKey(const QString& name, bool group) const {
    hive_->beginGroup(groups_.join(u'/'));
    const QStringList names = group ? hive_->childGroups() : hive_->childKeys();
    hive_->endGroup();
    for (const QString& n : names)
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return n;
    return name;
}

QString RegistryKey::fullKey(const QString& name) const {
    const QString stored = storedKey(name, false);
    return groups_.isEmpty() ? stored : groups_.join(u'/') + u'/' + stored;
}

RegistryKey RegistryKey::openKey(const QString& path, bool create) const {
    if (create && !HiveWritable(hive_->fileName()))
        throw CreateFailure(path);
    RegistryKey key(hive_, groups_, path);
    for (const QString& part : SplitPath(path))
        key.groups_ << key.storedKey(part, true);
    return key;
}

std::optional<QString> RegistryKey::readValue(const QString& name) const {
    const QString key = fullKey(name);
    if (!hive_->contains(key))
        return std::nullopt;
    return hive_->value(key).toString();
}

QString RegistryKey::readString(const QString& name, const QString& def) const {
    return readValue(name).value_or(def);
}

std::int32_t RegistryKey::readInteger(const QString& name, std::int32_t def) const {
    const auto text = readValue(name);
    if (!text)
        return def;
    return ParseInteger(QStringView(*text).trimmed(), false).value_or(def);
}

void RegistryKey::writeString(const QString& name, const QString& value) {
    hive_->setValue(fullKey(name), value);
    dirty_ = true;
}

void RegistryKey::writeInteger(const QString& name, std::int32_t value) {
    writeString(name, QString::number(value));
}

bool RegistryKey::hiveUnparsable() const {
    (void)hive_->childGroups(); // reads the file, if it wasn't yet
    return hive_->status() == QSettings::FormatError;
}

void RegistryKey::close() {
    if (!dirty_)
        return;
    dirty_ = false;
    hive_->sync();
    if (hive_->status() != QSettings::NoError)
        throw CreateFailure(name_);
}

} // namespace gyrodex
