#include "RecentFiles.h"

#include "../QtPrinters.h"
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
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
