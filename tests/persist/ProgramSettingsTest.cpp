#include "ProgramSettings.h"

#include "../QtPrinters.h"
#include "../RecordingHost.h"
#include "TestFiles.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gyrodex;

namespace {

class Settings : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RegistryService registry{dir.filePath("user/hive.conf"), dir.filePath("machine/hive.conf")};
    QString program = dir.filePath("bin/gyrodex");
    QString iniFile = dir.filePath("bin/gyrodex.ini");

    void SetUp() override { ASSERT_TRUE(QDir(dir.path()).mkdir("bin")); }
    ProgramSettings store() { return MakeProgramSettings(program, registry); }
};

} // namespace

TEST_F(Settings, FirstStartUsesTheDesignValuesAndWritesThemAtExit) {
    ProgramSettings ini = store();
    EXPECT_EQ(ini.SettingsFileName(), iniFile);
    ini.ReadSettings();
    EXPECT_EQ(ini.GetInteger("HintType"), 0);
    EXPECT_EQ(ini.GetString("DateFormat"), "ddd");
    ini.WriteSettings();
    EXPECT_EQ(ReadBytes(iniFile),
              "[Integers]\r\nHintType=0\r\n\r\n[Strings]\r\nDateFormat=ddd\r\n");
}

TEST_F(Settings, StoredValuesAreReadLeniently) {
    WriteBytes(iniFile, "[integers]\nhinttype=abc\n[Strings]\nDateFormat=\n[Other]\nX=1\n");
    ProgramSettings ini = store();
    ini.ReadSettings();
    EXPECT_EQ(ini.GetInteger("HintType"), 0);
    EXPECT_EQ(ini.GetString("dateformat"), "");
    EXPECT_EQ(ini.Strings, QStringList{"DateFormat="});
    ini.WriteSettings();
    EXPECT_EQ(ReadBytes(iniFile),
              "[integers]\r\nhinttype=0\r\n[Strings]\r\nDateFormat=\r\n[Other]\r\nX=1\r\n");

    WriteBytes(iniFile, "[Integers]\nHintType=$1\n");
    ini.ReadSettings();
    EXPECT_EQ(ini.Integers, QStringList{"HintType=1"});
}

TEST_F(Settings, ByNameOperationsNameTheMissingField) {
    ProgramSettings ini = store();
    EXPECT_EQ(MessageOf([&] { ini.GetInteger("Nope"); }), "Integer Field \"Nope\" not found");
    EXPECT_EQ(MessageOf([&] { ini.SetInteger("Nope", 1); }), "Integer Field \"Nope\" not found");
    EXPECT_EQ(MessageOf([&] { ini.GetString("Nope"); }), "String Field \"Nope\" not found");
    EXPECT_EQ(MessageOf([&] { ini.SetString("HintType", ""); }),
              "String Field \"HintType\" not found");
    EXPECT_EQ(ini.Integers, QStringList{"HintType=0"});
    ini.Integers = QStringList{"HintType=x1"};
    EXPECT_EQ(MessageOf([&] { ini.GetInteger("hinttype"); }),
              "Error in conversion of integer \"hinttype\", Value = \"x1\"");
    EXPECT_EQ(MessageOf([&] { ini.ReadSettings(); }),
              "Error in conversion of integer[0], Value = \"x1\"");
    ini.SetString("DateFormat", "");
    EXPECT_EQ(ini.Strings, QStringList{"DateFormat="});
}

TEST_F(Settings, ByPositionSettersChangeTheFirstEntryOfAName) {
    ProgramSettings ini(program, registry);
    ini.Booleans = QStringList{"A=", "B=0", "C=yes", "a=1"};
    EXPECT_FALSE(ini.BooleanAt(0));
    EXPECT_FALSE(ini.BooleanAt(1));
    EXPECT_TRUE(ini.BooleanAt(2));
    ini.SetBooleanAt(3, true);
    EXPECT_EQ(ini.Booleans, (QStringList{"A=1", "B=0", "C=yes", "a=1"}));
    ini.Integers = QStringList{"N=$1F", "M=-7"};
    EXPECT_EQ(ini.IntegerAt(0), 31);
    ini.SetIntegerAt(1, 12);
    EXPECT_EQ(ini.Integers.at(1), "M=12");
    EXPECT_EQ(MessageOf([&] { ini.IntegerAt(5); }), "List index out of bounds (5)");
}

TEST_F(Settings, FloatsFallBackToTheirOwnValueThenZero) {
    ProgramSettings ini(program, registry);
    ini.IniFileName = "f.ini";
    ini.Locale = QLocale::c();
    RecordingHost host;
    ini.Floats = QStringList{"Good=1.5", "Stored=2", "Bad=abc", "Big=1"};
    WriteBytes(dir.filePath("bin/f.ini"), "[Floats]\nGood=x\nStored=2.25\nBig=1e20\n");
    ini.ReadSettings(&host);
    EXPECT_EQ(ini.Floats, (QStringList{"Good=1.5", "Stored=2.25", "Bad=0", "Big=1E20"}));
    EXPECT_EQ(host.messages,
              QStringList{"Error in default value of Float \"Bad\". Value = \"abc\". "
                          "Value set to 0.0"});
    EXPECT_EQ(MessageOf([&] {
                  ini.Floats = QStringList{"X=1,5"};
                  ini.FloatAt(0);
              }),
              "Error in conversion of float[0], Value = \"1,5\"");
    ini.SetFloatAt(0, 0.000012345);
    EXPECT_EQ(ini.Floats, QStringList{"X=1.2345E-5"});
}

TEST_F(Settings, SectionPrefixAndRegistryMode) {
    ProgramSettings ini = store();
    ini.IniSection = "Main";
    ini.Booleans = QStringList{"Flag=1"};
    ini.WriteSettings();
    EXPECT_EQ(ReadBytes(iniFile), "[Main\\Booleans]\r\nFlag=1\r\n\r\n[Main\\Integers]\r\n"
                                  "HintType=0\r\n\r\n[Main\\Strings]\r\nDateFormat=ddd\r\n");

    ini.UseRegistry = true;
    ini.IniFileName = "Software\\Vantoric\\Gyrodex";
    ini.SetInteger("HintType", 1);
    ini.WriteSettings();
    QSettings hive(registry.hiveFile(RegRoot::CurrentUser), QSettings::IniFormat);
    EXPECT_EQ(hive.value("Software/Vantoric/Gyrodex/Main/Integers/HintType").toString(), "1");
    EXPECT_EQ(hive.value("Software/Vantoric/Gyrodex/Main/Booleans/Flag").toString(), "1");

    ProgramSettings back = store();
    back.UseRegistry = true;
    back.IniFileName = "software\\vantoric\\gyrodex";
    back.IniSection = "MAIN";
    back.ReadSettings();
    EXPECT_EQ(back.GetInteger("HintType"), 1);
    EXPECT_EQ(back.GetString("DateFormat"), "ddd");
}

TEST_F(Settings, WriteFailuresNameTheFileOrKey) {
    WriteBytes(iniFile, "[Integers]\nHintType=1\n[Strings]\nDateFormat=ddd\n");
    QFile::setPermissions(iniFile, QFileDevice::ReadOwner);
    ProgramSettings ini = store();
    ini.ReadSettings();
    EXPECT_EQ(MessageOf([&] { ini.WriteSettings(); }), ""); // nothing changed: not written
    ini.SetInteger("HintType", 2);
    EXPECT_EQ(MessageOf([&] { ini.WriteSettings(); }), "Unable to write to " + iniFile);

    // A plain file where the hive's folder should be: the key can't be created.
    WriteBytes(dir.filePath("machine"), "not a folder");
    ini.UseRegistry = true;
    ini.RegistryRoot = SettingsRoot::LocalMachine;
    ini.IniFileName = "Software\\Vantoric\\Gyrodex";
    EXPECT_EQ(MessageOf([&] { ini.WriteSettings(); }),
              "Failed to create key Software\\Vantoric\\Gyrodex");
    ini.ReadSettings(); // reading a missing hive just keeps the values
    EXPECT_EQ(ini.GetInteger("HintType"), 2);
}
