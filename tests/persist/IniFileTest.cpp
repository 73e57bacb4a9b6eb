#include "IniFile.h"

#include "../QtPrinters.h"
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gyrodex;

TEST(ParseInteger, DecimalAndHexadecimalWithinThirtyTwoBits) {
    EXPECT_EQ(ParseInteger(u"-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseInteger(u"2147483647"), INT32_MAX);
    EXPECT_EQ(ParseInteger(u"2147483648"), std::nullopt);
    EXPECT_EQ(ParseInteger(u"-2147483649"), std::nullopt);
    EXPECT_EQ(ParseInteger(u"99999999999999999999"), std::nullopt);
    EXPECT_EQ(ParseInteger(u"$FF8080"), 16744576);
    EXPECT_EQ(ParseInteger(u"0xff8080"), 16744576);
    EXPECT_EQ(ParseInteger(u"0XFF8080"), 16744576);
    EXPECT_EQ(ParseInteger(u"$80000008"), -2147483640);
    EXPECT_EQ(ParseInteger(u"$FFFFFFFF"), -1);
    EXPECT_EQ(ParseInteger(u"$100000000"), std::nullopt);
    EXPECT_EQ(ParseInteger(u"0x10", false), std::nullopt);
    for (const char16_t* bad : {u"", u"-", u"$", u"0x", u"12a", u"1.5", u" 1", u"$G"})
        EXPECT_EQ(ParseInteger(bad), std::nullopt);
}

TEST(IniFile, ReadsByNameWithoutRegardToCaseOrLineEnds) {
    const IniFile ini = IniFile::fromText(QStringLiteral(
        "stray=1\n[Misc]\r\nRadius=400\nBad=12a\r\nHex=$10\nBlank= 7 \nEq=a=b\n[ flags ]\n"
        "On=-3\nOff=0\nJunk=yes\n[Misc]\nRadius=999\nLater=1"));
    EXPECT_EQ(ini.readInteger("misc", "RADIUS", 0), 400); // the first section of a name counts
    EXPECT_EQ(ini.readInteger("Misc", "Bad", 5), 5);
    EXPECT_EQ(ini.readInteger("Misc", "Hex", 5), 16);
    EXPECT_EQ(ini.readInteger("Misc", "Blank", 5), 7);
    EXPECT_EQ(ini.readString("Misc", "Eq", ""), "a=b");
    EXPECT_EQ(ini.readString("Misc", "Missing", "def"), "def");
    EXPECT_EQ(ini.readString("Nowhere", "Radius", "def"), "def");
    EXPECT_EQ(ini.readString("", "stray", "def"), "def");
    EXPECT_TRUE(ini.readBool("Flags", "On", false));
    EXPECT_FALSE(ini.readBool("Flags", "Off", true));
    EXPECT_TRUE(ini.readBool("Flags", "Junk", true));
    EXPECT_FALSE(ini.readBool("Flags", "Junk", false));
    EXPECT_EQ(ini.sections(), (QStringList{"Misc", "flags", "Misc"}));

    const IniFile big = IniFile::fromText("[S]\nK=" + QString(3000, u'x') + "\n");
    EXPECT_EQ(big.readString("S", "K", "").size(), IniFile::kMaxText);
}

TEST(IniFile, WritesInPlaceAndAppendsKeysAndSections) {
    IniFile ini = IniFile::fromText(
        QStringLiteral("; kept comment\n[One]\nA = 1\nB=2\n\n[Two]\nX=old\n\n\n[Other]\nZ=z"));
    ini.writeString("one", "a", "10");
    ini.writeString("ONE", "C", "3");
    ini.writeString("Two", "Y", "new");
    ini.writeString("Two", "X", "line\r\nbreak");
    ini.writeString("Three", "Q", "");
    ini.writeInteger("Three", "N", -2147483640);
    ini.writeBool("Three", "F", true);
    EXPECT_EQ(ini.text(), QStringLiteral("; kept comment\r\n[One]\r\nA =10\r\nB=2\r\nC=3\r\n\r\n"
                                         "[Two]\r\nX=line  break\r\nY=new\r\n\r\n\r\n"
                                         "[Other]\r\nZ=z\r\n\r\n"
                                         "[Three]\r\nQ=\r\nN=-2147483640\r\nF=1\r\n"));
    EXPECT_EQ(ini.keys("three"), (QStringList{"Q", "N", "F"}));
    EXPECT_EQ(IniFile().text(), QString());
}

class IniFileSave : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

TEST_F(IniFileSave, ReplacesTheFileWholeKeepingPermissionsAndLinks) {
    const QString target = path("real.ini");
    WriteBytes(target, "[A]\nk=1\n");
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QString link = path("link.ini");
    ASSERT_TRUE(QFile::link(target, link));

    IniFile ini(link);
    EXPECT_EQ(ini.readInteger("a", "K", 0), 1);
    ini.writeInteger("A", "k", 2);
    ini.save();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadBytes(target), "[A]\r\nk=2\r\n");
    EXPECT_EQ(QFile::permissions(target), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ReadUser | QFileDevice::WriteUser);
}

TEST_F(IniFileSave, FailuresLeaveTheOldFileAndNameIt) {
    const QString readOnly = path("ro.ini");
    WriteBytes(readOnly, "[A]\nk=1\n");
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner);
    IniFile ini(readOnly);
    ini.writeInteger("A", "k", 2);
    EXPECT_EQ(MessageOf([&] { ini.save(); }), "Unable to write to " + readOnly);
    EXPECT_EQ(ReadBytes(readOnly), "[A]\nk=1\n");

    const QString missing = path("no/such/folder.ini");
    IniFile fresh(missing);
    fresh.writeString("A", "k", "v");
    EXPECT_EQ(MessageOf([&] { fresh.save(); }), "Unable to write to " + missing);

    // A folder in the file's place can't be read, so it must not be written either.
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub.ini"));
    IniFile folder(path("sub.ini"));
    folder.writeString("A", "k", "v");
    EXPECT_EQ(MessageOf([&] { folder.save(); }), "Unable to write to " + path("sub.ini"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"ro.ini"}));
}

TEST_F(IniFileSave, ReadsLatinOneFilesAndWritesUtf8) {
    const QString file = path("latin.ini");
    WriteBytes(file, "[Font]\nName=Caf\xe9\n");
    IniFile ini(file);
    EXPECT_EQ(ini.readString("Font", "Name", ""), QStringLiteral("Caf\u00e9"));
    ini.save();
    EXPECT_EQ(ReadBytes(file), "[Font]\r\nName=Caf\xc3\xa9\r\n");
}
