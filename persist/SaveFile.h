#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <sys/types.h>

namespace gyrodex {

// The system calls a whole-file save makes, one per stage, so that a test can make any stage
// fail as a full disk, a quota or a failing device would. Each returns false (or -1) on
// failure with errno set.
class SaveSystem {
public:
    virtual ~SaveSystem() = default;
    // Creates and opens a new file from a mkstemp() template, which it completes.
    virtual int open(QByteArray& pathTemplate);
    // Writes some of the bytes; returns how many, or -1.
    virtual ssize_t write(int fd, const char* data, std::size_t size);
    // Brings the written bytes to the disk (fsync) and closes the file.
    virtual bool flush(int fd);
    // Puts the new file in the target's place (rename).
    virtual bool commit(const QByteArray& from, const QByteArray& to);
};

// Replaces the content of a file as a whole: the bytes go to a temporary file in the target's
// folder, which then takes the target's place, so a failure at any stage (a full disk, a quota,
// a disk that fills during the write) leaves the old file exactly as it was. A symbolic link is
// followed to the file it finally names (created when missing and its folder exists) and stays a
// link; a loop of links is refused. The file keeps its permissions and, for root, its owner; a
// hard link to it is not kept. A file whose owner may not write it is refused. Any failure
// raises "Unable to write to %s" with `fileName` as given. The temporary file (".NAME.XXXXXX"
// beside the target) is locked while it is written; a save first removes the temporary files
// of the same target that saves killed on the way left behind (ours, unlocked, of that
// pattern only).
void SaveFileWhole(const QString& fileName, const QByteArray& content);
void SaveFileWhole(const QString& fileName, const QByteArray& content, SaveSystem& system);

// Largest calendar, highlight or settings file read. Well above the largest file the program
// writes (a calendar of 100,000 highlights of 2,047 characters is about 210 MB).
constexpr qint64 kMaxTextFileBytes = 256LL * 1024 * 1024;

// Reads a whole file of at most `limit` bytes. Only a regular file is read: a folder, a FIFO or
// a device is refused at once, without waiting for data. Gives nothing when the file does not
// exist; raises "Unable to read %s" when it exists but can't be read or is larger than `limit`.
std::optional<QByteArray> ReadFileWhole(const QString& fileName, qint64 limit = kMaxTextFileBytes);

// Opens a regular file for reading without blocking on a FIFO or a device; returns the file
// descriptor, or -1 with errno set (EINVAL for something that is not a regular file).
int OpenRegularFile(const QString& fileName);

// Decodes text line by line: a line that is valid UTF-8 is read as UTF-8, any other line as
// Windows-1252, the 8-bit character set of files made on older systems. Line ends are kept. A
// leading byte order mark is dropped.
QString DecodeText(const QByteArray& bytes);
// One line (or any text without line ends) by the same rule.
QString DecodeLine(QByteArrayView bytes);

} // namespace gyrodex
