#include "RecentFiles.h"

#include "../QtPrinters.h"
#include "FileName.h"
#include "SaveFile.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>

using namespace gyrodex;

namespace {

class Recent : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RegistryService registry{dir.filePath("cfg/Vantoric/Gyrodex.conf"),
                             dir.filePath("etc/Vantoric/Gyrodex.conf")};
    QString value(const QString& name) {
        QSettings hive(registry.hiveFile(RegRoot::CurrentUser), QSettings::IniFormat);
        return hive.value("Software/Vantoric/Gyrodex/Recent/" + name).toString();
    }
};

} // namespace

TEST_F(Recent, ListsKeepTheLastFourNewestFirstAndSurviveARun) {
    RecentFiles run;
    run.ReadRecentLists(registry);
    EXPECT_FALSE(MenuOf(run.RecentCalendars).enabled);
    QList<RecentMenu> menus;
    menus << run.AddRecentCalendar("A");
    menus << run.AddRecentCalendar("B");
    menus << run.AddRecentCalendar("");
    EXPECT_EQ(menus.first().captions[0], "A");
    EXPECT_TRUE(menus.last().enabled);
    EXPECT_EQ(menus.last().captions[1], "A");
    EXPECT_EQ(menus.last().captions[2], "");
    EXPECT_EQ(menus.last().itemEnabled, (std::array<bool, 4>{true, true, false, false}));
    run.AddRecentBitmap("pic.bmp");
    run.WriteRecentLists(registry);
    EXPECT_EQ(value("CalCount"), "2");
    EXPECT_EQ(value("Cal1"), "B");
    EXPECT_EQ(value("Cal2"), "A");
    EXPECT_EQ(value("BMPCount"), "1");
    EXPECT_EQ(value("Bitmap1"), "pic.bmp");

    RecentFiles next;
    next.ReadRecentLists(registry);
    EXPECT_EQ(next.RecentCalendars.count, 2);
    EXPECT_EQ(next.RecentCalendars.names[0], "B");
    for (const char* name : {"C", "C", "D", "E"})
        next.AddRecentCalendar(name);
    EXPECT_EQ(next.RecentCalendars.count, 4);
    EXPECT_EQ(next.RecentCalendars.names, (std::array<QString, 4>{"E", "D", "C", "C"}));
}

TEST_F(Recent, StoredCountsAreHeldInsideTheFourSlots) {
    QSettings hive(registry.hiveFile(RegRoot::CurrentUser), QSettings::IniFormat);
    hive.setValue("Software/Vantoric/Gyrodex/Recent/CalCount", "9");
    hive.setValue("Software/Vantoric/Gyrodex/Recent/Cal5", "five");
    hive.setValue("Software/Vantoric/Gyrodex/Recent/Cal1", "one");
    hive.setValue("Software/Vantoric/Gyrodex/Recent/BMPCount", "-3");
    hive.sync();
    RecentFiles lists;
    lists.ReadRecentLists(registry);
    EXPECT_EQ(lists.RecentCalendars.count, 4);
    EXPECT_EQ(lists.RecentCalendars.names[0], "one");
    EXPECT_EQ(lists.RecentCalendars.names[1], ""); // missing values read as empty
    EXPECT_EQ(lists.RecentBitmaps.count, 0);
    hive.setValue("Software/Vantoric/Gyrodex/Recent/CalCount", "many");
    hive.sync();
    lists.ReadRecentLists(registry);
    EXPECT_EQ(lists.RecentCalendars.count, 0);
}

TEST_F(Recent, WriteFailureNamesTheKey) {
    WriteBytes(dir.filePath("cfg"), "a file, not a folder");
    RecentFiles lists;
    lists.ReadRecentLists(registry); // nothing stored: empty lists
    EXPECT_EQ(lists.RecentCalendars.count, 0);
    EXPECT_EQ(MessageOf([&] { lists.WriteRecentLists(registry); }),
              "Failed to create key Software");
}

TEST_F(Recent, AHiveThatIsNoRegularFileIsReportedOnceAndLeftAlone) {
    const QString hive = registry.hiveFile(RegRoot::CurrentUser);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(hive).path()));
    ASSERT_EQ(mkfifo(QFile::encodeName(hive).constData(), 0600), 0); // would block an open()
    RecentFiles lists;
    lists.AddRecentCalendar("/x/a.cal");
    EXPECT_EQ(MessageOf([&] { lists.ReadRecentLists(registry); }), "Unable to read " + hive);
    EXPECT_EQ(lists.RecentCalendars.count, 0);
    lists.AddRecentCalendar("/x/b.cal");
    EXPECT_EQ(MessageOf([&] { lists.WriteRecentLists(registry); }), "");
    EXPECT_FALSE(QFileInfo(hive).isFile());

    ASSERT_TRUE(QFile::remove(hive));
    ASSERT_TRUE(QDir().mkdir(hive));
    EXPECT_EQ(MessageOf([&] { lists.ReadRecentLists(registry); }), "Unable to read " + hive);
    EXPECT_EQ(MessageOf([&] { lists.WriteRecentLists(registry); }), "");
    EXPECT_TRUE(QFileInfo(hive).isDir());
}

TEST_F(Recent, AHiveThatDoesNotParseIsNotRewritten) {
    const QString hive = registry.hiveFile(RegRoot::CurrentUser);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(hive).path()));
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk += static_cast<char>((i * 7919 + 13) % 251);
    WriteBytes(hive, junk);
    RecentFiles lists;
    EXPECT_EQ(MessageOf([&] { lists.ReadRecentLists(registry); }), "");
    lists.AddRecentCalendar("/x/a.cal");
    EXPECT_EQ(MessageOf([&] { lists.WriteRecentLists(registry); }), "");
    EXPECT_EQ(ReadBytes(hive), junk);
}

TEST(FileName, EveryByteSequenceComesBackAndUtf8ReadsAsText) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255), length(0, 24);
    for (int run = 0; run < 20000; ++run) {
        QByteArray bytes;
        for (int n = length(random); n > 0; --n)
            bytes.append(static_cast<char>(byte(random)));
        ASSERT_EQ(FileNameBytes(FileNameFromBytes(bytes)), bytes) << bytes.toHex().constData();
        const QString text = FileNameText(FileNameFromBytes(bytes));
        ASSERT_EQ(FileNameBytes(FileNameFromText(text)), bytes) << bytes.toHex().constData();
    }
    // Valid UTF-8, including characters outside the basic plane, reads as Qt reads it and is
    // stored as it stands; overlong forms and encoded surrogates are bytes, not characters.
    for (const QByteArray& utf8 : {QByteArray("/home/ann/caf\xC3\xA9 \xF0\x9F\x93\x85.cal"),
                                   QByteArray("plain.cal"), QByteArray("100%25.cal")}) {
        EXPECT_EQ(FileNameFromBytes(utf8), QString::fromUtf8(utf8));
        EXPECT_EQ(FileNameText(QString::fromUtf8(utf8)), QString::fromUtf8(utf8));
    }
    EXPECT_EQ(FileNameFromBytes("\xC0\xAF").size(), 2);
    EXPECT_EQ(FileNameFromBytes("\xED\xA0\x80").size(), 3);
    EXPECT_EQ(FileNameText(FileNameFromBytes("/tmp/caf\xE9.cal")), "file:///tmp/caf%E9.cal");
    // A name that happens to start like the stored form is stored in that form itself.
    EXPECT_EQ(FileNameFromText(FileNameText("file://x")), "file://x");
}

TEST_F(Recent, ANameThatIsNotUtf8IsStoredWithoutLossAndOpensItsFile) {
    const QByteArray bytes = QFile::encodeName(dir.path()) + "/caf\xE9.cal";
    const QString name = FileNameFromBytes(bytes);
    SaveFileWhole(name, "[Misc]\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(bytes.constData(), &st), 0) << "saved under its own bytes";

    RecentFiles run;
    run.ReadRecentLists(registry);
    run.AddRecentCalendar(name);
    run.AddRecentBitmap(QFile::decodeName(bytes)); // as a lossy decoder left it in older runs
    run.WriteRecentLists(registry);
    EXPECT_TRUE(value("Cal1").startsWith("file://"));
    EXPECT_FALSE(value("Bitmap1").startsWith("file://"));

    RecentFiles next;
    next.ReadRecentLists(registry);
    EXPECT_EQ(FileNameBytes(next.RecentCalendars.names[0]), bytes);
    EXPECT_EQ(ReadFileWhole(next.RecentCalendars.names[0]), QByteArray("[Misc]\r\n"));
    EXPECT_EQ(next.RecentBitmaps.names[0], QFile::decodeName(bytes));
}

TEST(PickedColours, PicksFillTheSixteenCustomColoursInTurn) {
    PickedColours picked;
    EXPECT_EQ(picked.CustomColors, QStringList{"$00FF0000"});
    picked.Pick(0x0000FF);
    ASSERT_EQ(picked.CustomColors.size(), 16);
    EXPECT_EQ(picked.CustomColors.first(), "ColorA=000000FF");
    EXPECT_EQ(picked.CustomColors.last(), "ColorP=00000000");
    EXPECT_EQ(picked.PickedColorIndex, 2);
    for (int i = 2; i <= 16; ++i)
        picked.Pick(0x80000008);
    EXPECT_EQ(picked.PickedColorIndex, 1);
    EXPECT_EQ(picked.CustomColors.at(15), "ColorP=80000008");
    picked.Pick(0xABCDEF);
    EXPECT_EQ(picked.CustomColors.first(), "ColorA=00ABCDEF");
}
