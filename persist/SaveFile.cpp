#include "SaveFile.h"

#include "Error.h"
#include "FileName.h"

#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace gyrodex {

int SaveSystem::open(QByteArray& pathTemplate) {
    return ::mkostemp(pathTemplate.data(), O_CLOEXEC);
}

ssize_t SaveSystem::write(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}

bool SaveSystem::flush(int fd) {
    const bool synced = ::fsync(fd) == 0;
    const int syncError = errno;
    const bool closed = ::close(fd) == 0;
    if (!synced)
        errno = syncError;
    return synced && closed;
}

bool SaveSystem::commit(const QByteArray& from, const QByteArray& to) {
    return ::rename(from.constData(), to.constData()) == 0;
}

namespace {

// Most links followed before a chain is taken for a loop (the kernel's own limit).
constexpr int kMaxLinks = 40;

QByteArray FolderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// Follows a chain of symbolic links to the path finally named, which need not exist. Nothing
// for a loop (or a chain too long to be anything else) and for a link that can't be read.
std::optional<QByteArray> FinalTarget(QByteArray path) {
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0)
            return errno == ELOOP ? std::nullopt : std::optional<QByteArray>(path);
        if (!S_ISLNK(st.st_mode))
            return path;
        QByteArray target(PATH_MAX + 1, Qt::Uninitialized);
        const ssize_t n =
            ::readlink(path.constData(), target.data(), static_cast<std::size_t>(target.size()));
        if (n <= 0 || n > PATH_MAX)
            return std::nullopt;
        target.truncate(n);
        path = target.startsWith('/') ? target : FolderOf(path) + '/' + target;
    }
    return std::nullopt;
}

// The temporary file of a save: removed unless it took the target's place.
class TempFile {
public:
    TempFile(SaveSystem& system, QByteArray pathTemplate)
        : path_(std::move(pathTemplate)), fd_(system.open(path_)) {}
    ~TempFile() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!committed_ && fd_ != kNever)
            ::unlink(path_.constData());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    const QByteArray& path() const { return path_; }
    // The descriptor was closed by a flush, whatever its outcome.
    void closed() { fd_ = kClosed; }
    void committed() { committed_ = true; }

private:
    static constexpr int kNever = -1;  // the file was never created
    static constexpr int kClosed = -2; // created, then closed
    QByteArray path_;
    int fd_;
    bool committed_ = false;
};

// Whether a folder entry is named as a save of `base` names its temporary file: "." base "."
// and the six letters and digits mkstemp() puts in place of "XXXXXX".
bool IsTemporaryOf(const char* entry, const QByteArray& base) {
    const QByteArrayView name(entry);
    const qsizetype prefix = base.size() + 2;
    if (name.size() != prefix + 6 || name[0] != '.' || name[prefix - 1] != '.' ||
        name.sliced(1, base.size()) != base)
        return false;
    for (const char c : name.sliced(prefix))
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

// Removes what saves of the same target that were killed left behind: temporary files of its
// pattern, our own, that no running save holds locked. Nothing else in the folder is touched.
void RemoveStaleTemporaries(const QByteArray& folder, const QByteArray& base) {
    DIR* dir = ::opendir(folder.isEmpty() ? "." : folder.constData());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryOf(entry->d_name, base))
            continue;
        const QByteArray path = folder + entry->d_name;
        const int fd =
            ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
        ::close(fd);
    }
    ::closedir(dir);
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

} // namespace

void SaveFileWhole(const QString& fileName, const QByteArray& content) {
    SaveSystem system;
    SaveFileWhole(fileName, content, system);
}

void SaveFileWhole(const QString& fileName, const QByteArray& content, SaveSystem& system) {
    const Error failure(QStringLiteral("Unable to write to %1").arg(fileName));
    if (fileName.isEmpty())
        throw failure;
    const auto resolved = FinalTarget(FileNameBytes(fileName));
    if (!resolved)
        throw failure;
    const QByteArray& target = *resolved;

    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        throw failure;
    // The owner's write bit decides, so that a read-only file is refused even for a user
    // (such as root) whom the system would let write it.
    if (exists && (!S_ISREG(old.st_mode) || !(old.st_mode & S_IWUSR)))
        throw failure;

    const qsizetype slash = target.lastIndexOf('/');
    RemoveStaleTemporaries(target.left(slash + 1), target.mid(slash + 1));
    TempFile temp(system, target.left(slash + 1) + '.' + target.mid(slash + 1) + ".XXXXXX");
    if (!temp.isOpen())
        throw failure;
    // Locked for as long as it is open: a save killed on the way leaves an unlocked file,
    // which the next save of the same target removes.
    (void)::flock(temp.fd(), LOCK_EX | LOCK_NB);
    const mode_t mode = exists ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
    if (::fchmod(temp.fd(), mode) != 0)
        throw failure;
    // Only root may give a file away; anyone else's new file is their own.
    if (exists && ::geteuid() == 0 && ::fchown(temp.fd(), old.st_uid, old.st_gid) != 0)
        throw failure;

    // Unbuffered: every byte reaches the system before the file is flushed, so that a full
    // disk shows as a failed or short write here rather than as a lost buffer.
    const char* data = content.constData();
    std::size_t left = static_cast<std::size_t>(content.size());
    while (left > 0) {
        const ssize_t n = system.write(temp.fd(), data, std::min<std::size_t>(left, 1u << 30));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw failure;
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    const bool flushed = system.flush(temp.fd());
    temp.closed();
    if (!flushed)
        throw failure;
    if (!system.commit(temp.path(), target))
        throw failure;
    temp.committed();
}

namespace {

[[noreturn]] void ReadFailure(const QString& fileName) {
    throw Error(QStringLiteral("Unable to read %1").arg(fileName));
}

} // namespace

int OpenRegularFile(const QString& fileName) {
    const QByteArray path = FileNameBytes(fileName);
    // Look before opening, so that no device is opened at all; then check what was opened.
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        return -1;
    if (!S_ISREG(st.st_mode)) {
        errno = EINVAL;
        return -1;
    }
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

std::optional<QByteArray> ReadFileWhole(const QString& fileName, qint64 limit) {
    const int fd = OpenRegularFile(fileName);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return std::nullopt;
        ReadFailure(fileName);
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_size > limit)
        ReadFailure(fileName);
    // The size may change while the file is read: read to its end, but never past the limit.
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(st.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ReadFailure(fileName);
        if (n == 0)
            break;
        if (bytes.size() + n > limit)
            ReadFailure(fileName);
        bytes.append(chunk, static_cast<qsizetype>(n));
    }
    return bytes;
}

namespace {

// Windows-1252 at 0x80..0x9F; the five unassigned bytes stay the C1 controls of their value.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DecodeCp1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t{b});
    }
    return text;
}

bool IsAscii(QByteArrayView bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

QString DecodeLine(QByteArrayView bytes) {
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes);
    // A byte order mark inside the text is a character like any other; only the file's first
    // one is dropped, by the callers.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? DecodeCp1252(bytes) : text;
}

QString DecodeText(const QByteArray& bytes) {
    QByteArrayView rest(bytes);
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    QStringDecoder whole(QStringDecoder::Utf8,
                         QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = whole.decode(rest);
    if (!whole.hasError())
        return text;
    // Each line by itself: a stray byte in one line leaves the others as they are.
    text.clear();
    text.reserve(rest.size());
    qsizetype start = 0;
    while (start < rest.size()) {
        qsizetype end = start;
        while (end < rest.size() && rest[end] != '\n' && rest[end] != '\r')
            ++end;
        text += DecodeLine(rest.sliced(start, end - start));
        qsizetype next = end;
        if (next < rest.size() && rest[next] == '\r')
            ++next;
        if (next < rest.size() && rest[next] == '\n' && (next == end || rest[end] == '\r'))
            ++next;
        text += QString::fromLatin1(rest.sliced(end, next - end));
        start = next;
    }
    return text;
}

} // namespace gyrodex
