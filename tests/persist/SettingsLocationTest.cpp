#include "SettingsLocation.h"

#include "../QtPrinters.h"
#include "ProgramSettings.h"
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gyrodex;

namespace {

// A program in bin/ of a temporary folder, with the user's configuration folder in cfg/. Whether
// bin/ is writable is the test's to say: root may write anywhere, so permissions can't decide it.
class SettingsPlace : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString program = dir.filePath("bin/gyrodex");
    QString beside = dir.filePath("bin/gyrodex.ini");
    QString config = dir.filePath("cfg/Vantoric/Gyrodex");
    QString own = config + "/gyrodex.ini";
    RegistryService registry{dir.filePath("user/hive.conf"), dir.filePath("machine/hive.conf")};

    void SetUp() override { ASSERT_TRUE(QDir(dir.path()).mkdir("bin")); }
    ProgramSettings store(bool programFolderWritable) {
        return MakeProgramSettings(program, registry, config,
                                   [=](const QString&) { return programFolderWritable; });
    }
};

} // namespace

TEST_F(SettingsPlace, AWritableProgramFolderKeepsTheFileBesideTheProgram) {
    const SettingsLocation l = ChooseSettingsLocation(dir.filePath("bin/"), config, "gyrodex.ini",
                                                      [](const QString&) { return true; });
    EXPECT_EQ(l.readFile, beside);
    EXPECT_EQ(l.writeFile, beside);

    ASSERT_TRUE(QDir().mkpath(config));
    WriteBytes(own, ""); // a file in the configuration folder changes nothing
    ProgramSettings ini = store(true);
    ini.SetInteger("HintType", 1);
    ini.WriteSettings();
    EXPECT_EQ(ReadBytes(beside), "[Integers]\r\nHintType=1\r\n\r\n[Strings]\r\nDateFormat=ddd\r\n");
    EXPECT_EQ(ReadBytes(own), "");
}

TEST_F(SettingsPlace, AnUnwritableProgramFolderUsesTheConfigurationFolderMadeAtExit) {
    ProgramSettings ini = store(false);
    ini.ReadSettings(); // nothing anywhere: the defaults, silently
    EXPECT_EQ(ini.GetInteger("HintType"), 0);
    ini.SetString("DateFormat", "dd/mm");
    ini.WriteSettings(); // the folder is made
    EXPECT_EQ(ReadBytes(own), "[Integers]\r\nHintType=0\r\n\r\n[Strings]\r\nDateFormat=dd/mm\r\n");
    EXPECT_FALSE(QFileInfo::exists(beside));

    ProgramSettings again = store(false);
    again.ReadSettings();
    EXPECT_EQ(again.GetString("DateFormat"), "dd/mm");
}

TEST_F(SettingsPlace, AnAdministratorsFileIsReadUntilTheUserHasOneAndNeverWritten) {
    const QByteArray admin = "[Integers]\nHintType=1\n[Strings]\nDateFormat=yyyy\n";
    WriteBytes(beside, admin);
    ProgramSettings ini = store(false);
    EXPECT_EQ(ini.SettingsReadFileName(), beside);
    EXPECT_EQ(ini.SettingsFileName(), own);
    ini.ReadSettings();
    EXPECT_EQ(ini.GetInteger("HintType"), 1);
    EXPECT_EQ(ini.GetString("DateFormat"), "yyyy");
    ini.SetInteger("HintType", 0);
    ini.WriteSettings();
    EXPECT_EQ(ReadBytes(beside), admin);
    EXPECT_EQ(ReadBytes(own), "[Integers]\r\nHintType=0\r\n\r\n[Strings]\r\nDateFormat=yyyy\r\n");

    // From now on the user's own file is read.
    ProgramSettings next = store(false);
    EXPECT_EQ(next.SettingsReadFileName(), own);
    next.ReadSettings();
    EXPECT_EQ(next.GetInteger("HintType"), 0);
}

TEST_F(SettingsPlace, NothingIsWrittenWhenNoSettingChanged) {
    const QByteArray admin = "[Integers]\nHintType=1\n[Strings]\nDateFormat=yyyy\n";
    WriteBytes(beside, admin);
    ProgramSettings ini = store(false);
    ini.ReadSettings();
    ini.SetInteger("HintType", 1); // the same value
    EXPECT_EQ(MessageOf([&] { ini.WriteSettings(); }), "");
    EXPECT_FALSE(QFileInfo::exists(config));
    // A read-only file of the user's own, unchanged: left alone without a word.
    ASSERT_TRUE(QDir().mkpath(config));
    WriteBytes(own, admin);
    ASSERT_TRUE(QFile::setPermissions(own, QFileDevice::ReadOwner));
    ProgramSettings mine = store(false);
    mine.ReadSettings();
    EXPECT_EQ(MessageOf([&] { mine.WriteSettings(); }), "");
    // A text longer than a read gives back is cut when it is set, so it is stored whole.
    const QString tree = QString::fromUtf8("\xF0\x9F\x8E\x84");
    ASSERT_TRUE(QFile::setPermissions(own, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    mine.SetString("DateFormat", QString(2046, u'd') + tree + "yyyy");
    EXPECT_EQ(mine.GetString("DateFormat"), QString(2046, u'd'));
    mine.WriteSettings();
    ProgramSettings again = store(false);
    again.ReadSettings();
    EXPECT_EQ(again.GetString("DateFormat"), QString(2046, u'd'));
    const QByteArray bytes = ReadBytes(own);
    again.WriteSettings(); // unchanged: not written again
    EXPECT_EQ(ReadBytes(own), bytes);
}

TEST_F(SettingsPlace, SomethingUnreadableAtTheUsersPathIsReportedThere) {
    ASSERT_TRUE(QDir().mkpath(own)); // a folder where the file should be
    WriteBytes(beside, "[Integers]\nHintType=1\n");
    ProgramSettings ini = store(false);
    EXPECT_EQ(MessageOf([&] { ini.ReadSettings(); }), "Unable to read " + own);
}

TEST(SettingsFolder, SystemProgramFoldersAndMissingFoldersAreNotWritable) {
    EXPECT_FALSE(FolderWritable("/usr/bin/"));
    EXPECT_FALSE(FolderWritable("/usr/bin"));
    EXPECT_FALSE(FolderWritable("/no/such/folder/"));
    QTemporaryDir dir;
    EXPECT_TRUE(FolderWritable(dir.path() + "/"));
    EXPECT_TRUE(UserConfigFolder().endsWith("/Vantoric/Gyrodex"));
}
