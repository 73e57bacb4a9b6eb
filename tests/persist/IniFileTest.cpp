#include "IniFile.h"

#include "../QtPrinters.h"
#include "TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
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

TEST_F(IniFileSave, EachLineIsDecodedByItselfAndUnchangedLinesKeepTheirBytes) {
    const QString file = path("mixed.ini");
    // One Windows-1252 line ("Caf\xe9", curly quotes, euro) among UTF-8 lines.
    WriteBytes(file, "[Font]\nName=Caf\xe9 \x93q\x94 \x80\nOther=Gr\xc3\xbc\xc3\x9f"
                     "e\n"
                     "[Misc]\nRadius=1\n");
    IniFile ini(file);
    EXPECT_EQ(ini.readString("Font", "Name", ""), QStringLiteral("Caf\u00e9 \u201cq\u201d \u20ac"));
    EXPECT_EQ(ini.readString("Font", "Other", ""), QStringLiteral("Gr\u00fc\u00dfe"));
    ini.writeInteger("Misc", "Radius", 2);
    ini.writeString("Font", "New", QStringLiteral("\u00e9"));
    ini.save();
    // Only the written entries are new; line ends become CR LF.
    EXPECT_EQ(ReadBytes(file), "[Font]\r\nName=Caf\xe9 \x93q\x94 \x80\r\nOther=Gr\xc3\xbc\xc3\x9f"
                               "e\r\nNew=\xc3\xa9\r\n[Misc]\r\nRadius=2\r\n");
    // A rewritten Windows-1252 entry is written as UTF-8 and reads back the same.
    IniFile again(file);
    again.writeString("Font", "Name", again.readString("Font", "Name", "") + "!");
    again.save();
    EXPECT_EQ(IniFile(file).readString("Font", "Name", ""),
              QStringLiteral("Caf\u00e9 \u201cq\u201d \u20ac!"));
}

TEST(IniFile, LoneCarriageReturnsEndLines) {
    const IniFile ini = IniFile::fromBytes("[Misc]\rRadius=400\r\r[Font]\r\nSize=9\nName=A\r");
    EXPECT_EQ(ini.readInteger("Misc", "Radius", 0), 400);
    EXPECT_EQ(ini.readInteger("Font", "Size", 0), 9);
    EXPECT_EQ(ini.readString("Font", "Name", ""), "A");
    EXPECT_EQ(ini.bytes(), "[Misc]\r\nRadius=400\r\n\r\n[Font]\r\nSize=9\r\nName=A\r\n");
}

TEST(IniFile, AByteOrderMarkStartingALineIsNoBlank) {
    // Found by fuzzing: a mark dropped from a later line made "[" a header on the next read.
    const IniFile ini = IniFile::fromBytes("\xEF\xBB\xBF[A]\nk=1\n\xEF\xBB\xBF[B]\nk=2\n");
    EXPECT_EQ(ini.sections(), QStringList{"A"});
    EXPECT_EQ(ini.readInteger("A", "k", 0), 1);
    EXPECT_EQ(IniFile::fromText(ini.text()).text(), ini.text());
    EXPECT_EQ(ini.bytes(), "\xEF\xBB\xBF[A]\r\nk=1\r\n\xEF\xBB\xBF[B]\r\nk=2\r\n");
    // A text starting with U+FEFF keeps it: a text is no file with a mark.
    const QString marked = QStringLiteral("\ufeff\0\r\n");
    EXPECT_EQ(IniFile::fromText(marked).text(), marked);
}

TEST(IniFile, NamesOutsideAsciiAreFoldedLikeTheRest) {
    IniFile ini = IniFile::fromBytes("[\xc3\x84rger]\n\xc3\x9c"
                                     "ber=1\nKey=2\n");
    EXPECT_EQ(ini.readInteger(QStringLiteral("\u00e4RGER"), QStringLiteral("\u00fcBER"), 0), 1);
    // The Kelvin sign folds to "k", as the rest of the names do.
    EXPECT_EQ(ini.readInteger(QStringLiteral("\u00c4rger"), QStringLiteral("\u212aey"), 0), 2);
    ini.writeInteger(QStringLiteral("\u00c4RGER"), QStringLiteral("\u00dcber"), 3);
    EXPECT_EQ(ini.bytes(), "[\xc3\x84rger]\r\n\xc3\x9c"
                           "ber=3\r\nKey=2\r\n");
}

// Files of many tiny lines were the costly ones: memory stays near the file's size and the
// time grows with it, not faster.
// A long section written entry by entry (a design with many highlights): the text grows by
// more than one line at a time. Growing it to the exact size per entry moved the whole text each
// time, which took minutes for 100000 entries with some allocators (the sanitizer builds').
TEST(IniFile, ManyNewEntriesAreWrittenInLinearTime) {
    QElapsedTimer timer;
    timer.start();
    IniFile ini;
    ini.writeString("Misc", "Radius", "360");
    for (int i = 0; i < 100000; ++i)
        ini.writeString("Highlights", "H" + QString::number(i), "01/01/2000$255#x");
    ini.writeString("Misc", "DayHeight", "24");
    const IniFile back = IniFile::fromBytes(ini.bytes());
    EXPECT_EQ(back.readString("Highlights", "H99999", ""), "01/01/2000$255#x");
    EXPECT_EQ(back.keys("Highlights").size(), 100000);
    EXPECT_EQ(back.readInteger("Misc", "DayHeight", 0), 24);
    EXPECT_LT(timer.elapsed(), 20000);
}

TEST(IniFile, ManyTinyLinesAndSectionsStayCheap) {
    QByteArray sections, blanks, keys;
    for (int i = 0; i < 400000; ++i) {
        sections += "[a]\nk=\n";
        keys += "k" + QByteArray::number(i) + "=\n";
    }
    blanks.fill('\n', 4000000);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(IniFile::fromBytes(sections).readString("A", "K", "x"), "");
    EXPECT_EQ(IniFile::fromBytes(sections).readString("B", "K", "x"), "x");
    EXPECT_EQ(IniFile::fromBytes(blanks).readString("A", "K", "x"), "x");
    const IniFile many = IniFile::fromBytes("[Highlights]\n" + keys);
    for (int i = 0; i < 400000; i += 997)
        EXPECT_EQ(many.readString("Highlights", "K" + QString::number(i), "x"), "");
    // Every one of many distinct sections is found without a walk through the others.
    QByteArray distinct;
    for (int i = 0; i < 200000; ++i)
        distinct += "[s" + QByteArray::number(i) + "]\nk=" + QByteArray::number(i) + "\n";
    const IniFile named = IniFile::fromBytes(distinct);
    int found = 0;
    for (const QString& section : named.sections())
        found += named.readInteger(section, "k", -1) == section.mid(1).toInt();
    EXPECT_EQ(found, 200000);
    EXPECT_LT(timer.elapsed(), 20000);
}
