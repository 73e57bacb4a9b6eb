#include "SaveFile.h"

#include "CalendarFile.h"
#include "Highlights.h"
#include "IniFile.h"
#include "TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace gyrodex;

namespace {

enum class Stage { Open, Write, LaterWrite, Flush, Commit };

// Fails one stage of a save the way a full disk does; a later write fails after the first
// chunk went through, as when the disk fills during the write.
class FailingSystem : public SaveSystem {
public:
    explicit FailingSystem(Stage stage) : stage_(stage) {}
    int open(QByteArray& pathTemplate) override {
        if (stage_ == Stage::Open)
            return fail(-1);
        return SaveSystem::open(pathTemplate);
    }
    ssize_t write(int fd, const char* data, std::size_t size) override {
        if (stage_ == Stage::Write)
            return fail(-1);
        if (stage_ == Stage::LaterWrite) {
            size /= 2; // a short write, then no more room
            if (writes_++ > 0 || size == 0)
                return fail(-1);
        }
        return SaveSystem::write(fd, data, size);
    }
    bool flush(int fd) override {
        const bool ok = SaveSystem::flush(fd);
        return stage_ == Stage::Flush ? fail(false) : ok;
    }
    bool commit(const QByteArray& from, const QByteArray& to) override {
        if (stage_ == Stage::Commit)
            return fail(false);
        return SaveSystem::commit(from, to);
    }

private:
    template <typename T> T fail(T value) {
        errno = ENOSPC;
        return value;
    }
    Stage stage_;
    int writes_ = 0;
};

class SaveFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList entries() const {
        return QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
};

} // namespace

TEST_F(SaveFileTest, AFailureAtAnyStageLeavesTheOldBytesAndNoTemporaryFile) {
    const QString file = path("my.cal");
    const QByteArray old = "[Colors]\r\nDay=1\r\n";
    for (const Stage stage :
         {Stage::Open, Stage::Write, Stage::LaterWrite, Stage::Flush, Stage::Commit}) {
        for (const qsizetype size : {1, 2, 4095, 4096, 70000}) {
            WriteBytes(file, old);
            FailingSystem system(stage);
            EXPECT_EQ(MessageOf([&] { SaveFileWhole(file, QByteArray(size, 'x'), system); }),
                      "Unable to write to " + file)
                << static_cast<int>(stage) << ' ' << size;
            EXPECT_EQ(ReadBytes(file), old);
            EXPECT_EQ(entries(), QStringList{"my.cal"});
        }
    }
    // Without a failure the file is replaced, also by nothing at all.
    SaveFileWhole(file, QByteArray());
    EXPECT_EQ(ReadBytes(file), QByteArray());
    EXPECT_TRUE(QFileInfo(file).isFile());
}

namespace {

// A save killed during its write: the process ends there, as with kill -9.
class DyingSystem : public SaveSystem {
public:
    ssize_t write(int, const char*, std::size_t) override { ::_exit(0); }
};

} // namespace

TEST_F(SaveFileTest, TemporaryFilesOfKilledSavesAreRemovedByTheNextSave) {
    const QString file = path("my.cal");
    WriteBytes(file, "old");
    for (int kill = 0; kill < 3; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            DyingSystem dying;
            SaveFileWhole(file, "new", dying);
            ::_exit(1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    // Each save removed what the one before it left: one left-over at most.
    EXPECT_EQ(entries().size(), 2);
    EXPECT_EQ(ReadBytes(file), "old");

    // A save in progress holds its file locked; other names are not ours to remove.
    const QStringList kept = {".my.cal.AbC12", ".my.cal.swp",    ".other.cal.AbC123",
                              "my.cal.AbC123", ".my.cal.Busy00", ".my.cal.Link00"};
    for (const QString& name : kept.first(5))
        WriteBytes(path(name), "x");
    ASSERT_TRUE(QFile::link(path("elsewhere"), path(".my.cal.Link00")));
    const int busy = ::open(QFile::encodeName(path(".my.cal.Busy00")).constData(), O_RDONLY);
    ASSERT_GE(busy, 0);
    ASSERT_EQ(::flock(busy, LOCK_EX), 0);
    SaveFileWhole(file, "new");
    ::close(busy);
    EXPECT_EQ(ReadBytes(file), "new");
    QStringList expected = kept;
    expected << "my.cal";
    expected.sort();
    QStringList now = entries();
    now.sort();
    EXPECT_EQ(now, expected);
}

TEST_F(SaveFileTest, LinksAreFollowedToTheirFinalTargetAndStayLinks) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("real"));
    WriteBytes(path("real/a.cal"), "old");
    // A relative chain: link1 -> link2 -> real/a.cal
    ASSERT_EQ(symlink("real/a.cal", QFile::encodeName(path("link2")).constData()), 0);
    ASSERT_EQ(symlink("link2", QFile::encodeName(path("link1")).constData()), 0);
    SaveFileWhole(path("link1"), "new");
    EXPECT_EQ(ReadBytes(path("real/a.cal")), "new");
    EXPECT_TRUE(QFileInfo(path("link1")).isSymLink());
    EXPECT_TRUE(QFileInfo(path("link2")).isSymLink());

    // A dangling link creates its target when the target's folder exists.
    ASSERT_TRUE(QFile::link(path("real/b.cal"), path("dangling")));
    SaveFileWhole(path("dangling"), "made");
    EXPECT_TRUE(QFileInfo(path("dangling")).isSymLink());
    EXPECT_EQ(ReadBytes(path("real/b.cal")), "made");
    ASSERT_TRUE(QFile::link(path("nofolder/c.cal"), path("nowhere")));
    EXPECT_EQ(MessageOf([&] { SaveFileWhole(path("nowhere"), "x"); }),
              "Unable to write to " + path("nowhere"));

    // A loop is refused and stays a loop.
    ASSERT_TRUE(QFile::link(path("loopB"), path("loopA")));
    ASSERT_TRUE(QFile::link(path("loopA"), path("loopB")));
    EXPECT_EQ(MessageOf([&] { SaveFileWhole(path("loopA"), "x"); }),
              "Unable to write to " + path("loopA"));
    EXPECT_TRUE(QFileInfo(path("loopA")).isSymLink());
    EXPECT_TRUE(QFileInfo(path("loopB")).isSymLink());
}

TEST_F(SaveFileTest, TheReplacedFileKeepsModeAndForRootItsOwner) {
    const QString file = path("shared.cal");
    WriteBytes(file, "old");
    ASSERT_EQ(chmod(QFile::encodeName(file).constData(), 0640), 0);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(QFile::encodeName(file).constData(), 1234, 4321), 0);
    }
    SaveFileWhole(file, "new");
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(file).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, 4321u);
    }
    EXPECT_EQ(ReadBytes(file), "new");
}

TEST_F(SaveFileTest, OnlyRegularFilesWithinTheLimitAreRead) {
    EXPECT_EQ(ReadFileWhole(path("missing")), std::nullopt);
    WriteBytes(path("small"), "12345");
    EXPECT_EQ(ReadFileWhole(path("small"), 5), QByteArray("12345"));
    EXPECT_EQ(MessageOf([&] { ReadFileWhole(path("small"), 4); }),
              "Unable to read " + path("small"));

    // Neither a FIFO without a writer nor a device nor a folder is waited for or read.
    ASSERT_EQ(mkfifo(QFile::encodeName(path("fifo")).constData(), 0600), 0);
    QElapsedTimer timer;
    timer.start();
    for (const QString& name : {path("fifo"), QStringLiteral("/dev/zero"), dir.path()})
        EXPECT_EQ(MessageOf([&] { ReadFileWhole(name); }), "Unable to read " + name);
    EXPECT_LT(timer.elapsed(), 2000);

    // A sparse file one byte over the limit is refused without being read.
    const QString big = path("big.cal");
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(kMaxTextFileBytes + 1));
    }
    EXPECT_FALSE(IniFile(big).readable());
    CalendarState state;
    HighlightList list;
    EXPECT_EQ(LoadCalendarFile(state, list, big).message, "Unable to read " + big);
    EXPECT_EQ(MessageOf([&] { ImportFromFile(list, big); }), "Unable to read " + big);
    EXPECT_EQ(MessageOf([&] { ImportFromFile(list, path("fifo")); }),
              "Unable to read " + path("fifo"));
    EXPECT_TRUE(list.isEmpty());
}

TEST(DecodeText, EachLineInItsOwnEncoding) {
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF"
                         "caf\xc3\xa9\r\ncaf\xe9\rx\x80\x9f\x81\n"),
              QStringLiteral("caf\u00e9\r\ncaf\u00e9\rx\u20ac\u0178\u0081\n"));
    // Only the file's first byte order mark is dropped; one starting a later line is kept.
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF\xEF\xBB\xBF"
                         "a\n\xEF\xBB\xBF[\xe9"),
              QStringLiteral("\ufeffa\n\u00ef\u00bb\u00bf[\u00e9")); // no UTF-8: all of it 1252
    EXPECT_EQ(DecodeLine("\xEF\xBB\xBF[x]"), QStringLiteral("\ufeff[x]"));
    // A UTF-8 sequence cut by a line end is no UTF-8 on either line.
    EXPECT_EQ(DecodeText("a\xc3\n\xa9"), QStringLiteral("a\u00c3\n\u00a9"));
}
