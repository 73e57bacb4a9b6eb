#include "SettingsLocation.h"

#include "FileName.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <unistd.h>

namespace gyrodex {

bool FolderWritable(const QString& folder) {
    const QString path = folder.isEmpty() ? QStringLiteral(".") : folder;
    // The system's program folders hold no settings, also for root, who may write there.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (const char* system : {"/usr/bin", "/usr/local/bin", "/bin", "/usr/games"})
        if (canonical == QLatin1String(system))
            return false;
    if (!QFileInfo(path).isDir())
        return false;
    return ::access(FileNameBytes(path).constData(), W_OK | X_OK) == 0;
}

QString UserConfigFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Vantoric/Gyrodex");
}

SettingsLocation ChooseSettingsLocation(const QString& programFolder, const QString& configFolder,
                                        const QString& name,
                                        const std::function<bool(const QString&)>& folderWritable) {
    const QString beside = programFolder + name;
    const bool writable =
        folderWritable ? folderWritable(programFolder) : FolderWritable(programFolder);
    if (writable || configFolder.isEmpty())
        return {beside, beside};
    const QString own = configFolder + QLatin1Char('/') + name;
    // Anything at the user's path counts as the user's file: a folder or FIFO there is reported
    // by the read, not silently passed over for the administrator's file.
    if (QFileInfo::exists(own) || !QFileInfo::exists(beside))
        return {own, own};
    return {beside, own};
}

} // namespace gyrodex
