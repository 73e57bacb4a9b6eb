// The INI engine: parsing any bytes, reading, writing in place and writing out again.
#include "Error.h"
#include "FuzzCommon.h"
#include "IniFile.h"

using namespace gyrodex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = FuzzText(data, size);
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    IniFile ini = IniFile::fromBytes(bytes);

    // Every section and key the file lists can be read back.
    for (const QString& section : ini.sections())
        for (const QString& key : ini.keys(section)) {
            (void)ini.readString(section, key, {});
            (void)ini.readInteger(section, key, 0);
            (void)ini.readBool(section, key, false);
            Require(ini.value(section, key).has_value());
        }
    (void)ParseInteger(text);

    // Writing out is stable: the text of a parsed text parses to the same text.
    const QString once = ini.text();
    Require(IniFile::fromText(once).text() == once);
    const QByteArray saved = ini.bytes();
    Require(IniFile::fromBytes(saved).bytes() == saved);

    // A written entry reads back, on one line, also after a round through the text.
    const QString value = LeftWhole(text, 64).toString();
    QString expected = value;
    expected.replace(u'\r', u' ').replace(u'\n', u' ');
    ini.writeString(QStringLiteral("Fuzz"), QStringLiteral("Key"), value);
    ini.writeInteger(QStringLiteral("Fuzz"), QStringLiteral("Num"), static_cast<int>(size));
    Require(ini.readString(QStringLiteral("fuzz"), QStringLiteral("KEY"), {}) == expected);
    const IniFile again = IniFile::fromText(ini.text());
    Require(again.readString(QStringLiteral("Fuzz"), QStringLiteral("Key"), {}) == expected);
    Require(again.readInteger(QStringLiteral("Fuzz"), QStringLiteral("Num"), -1) ==
            static_cast<int>(size));
    // Bytes the writes did not touch are saved as they were read.
    const IniFile reread = IniFile::fromBytes(ini.bytes());
    Require(reread.readString(QStringLiteral("Fuzz"), QStringLiteral("Key"), {}) == expected);
    return 0;
}
