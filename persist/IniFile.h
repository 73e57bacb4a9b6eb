#pragma once

#include "Integer.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace gyrodex {

// An INI-layout text file held in memory: named sections of "key=value" lines. Reading follows
// the profile file rules (names matched without regard to case, missing file, section or key
// gives the default); writing changes an entry in place, adds a new key at the end of its
// section and a new section at the end of the file, and keeps every other line as it was.
// Nothing reaches the disk before save(), which replaces the file as a whole.
class IniFile {
public:
    // Longest text a read returns.
    static constexpr qsizetype kMaxText = 2047;

    IniFile() = default;
    // Reads the named file; a missing or unreadable file reads as empty.
    explicit IniFile(const QString& fileName);
    static IniFile fromText(const QString& text);

    const QString& fileName() const { return fileName_; }
    // False when the file exists but could not be read (a folder, no permission).
    bool readable() const { return !unreadable_; }

    QString readString(const QString& section, const QString& key, const QString& def) const;
    // Decimal, or hexadecimal after "$", "0x" or "0X" (surrounding blanks are ignored).
    std::int32_t readInteger(const QString& section, const QString& key, std::int32_t def) const;
    // An integer other than 0 is true, 0 is false, anything else gives the default.
    bool readBool(const QString& section, const QString& key, bool def) const;
    // The stored text, or nothing when the section or key is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;

    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, std::int32_t value);
    void writeBool(const QString& section, const QString& key, bool value);

    // Sections in file order, and the keys of one section in file order (first occurrence of
    // each name only).
    QStringList sections() const;
    QStringList keys(const QString& section) const;

    // The whole content, every line ended by CR LF.
    QString text() const;
    // Writes the content to fileName() as a whole; raises "Unable to write to %s". A file that
    // exists but could not be read is refused too, so its content is never replaced unseen.
    void save() const;

private:
    struct Line {
        QString text;      // the line as read or written, without its line end
        QString key;       // case-folded key name; empty for lines that are no entry
        qsizetype eq = -1; // position of "=" in text
    };
    struct Section {
        QString name;            // as written in the header
        std::vector<Line> lines; // header first (absent for the lines before any section)
        QHash<QString, qsizetype> keyIndex; // case-folded key -> first line holding it
        bool hasHeader = true;
    };

    void parse(const QString& text);
    const Line* find(const QString& section, const QString& key) const;
    Section& sectionForWrite(const QString& section);

    QString fileName_;
    bool unreadable_ = false;
    std::vector<Section> sections_;
    QHash<QString, qsizetype> sectionIndex_; // case-folded name -> first section of that name
};

} // namespace gyrodex
