#pragma once

#include "Integer.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace gyrodex {

// An INI-layout text file held in memory: named sections of "key=value" lines, ended by CR LF,
// LF or a lone CR. Reading follows the profile file rules (names matched without regard to case,
// missing file, section or key gives the default); writing changes an entry in place, adds a new
// key at the end of its section and a new section at the end of the file, and keeps every other
// line byte for byte (a save ends every line with CR LF). Each line is decoded by itself, as
// UTF-8 when it is valid UTF-8 and as Windows-1252 otherwise, so one stray byte changes nothing
// beyond its line. The file's bytes are kept as read and indexed lazily: memory stays a small
// multiple of the file's size and reading takes time linear in it. Nothing reaches the disk
// before save(), which replaces the file as a whole.
class IniFile {
public:
    // Longest text a read returns.
    static constexpr qsizetype kMaxText = 2047;

    IniFile() = default;
    // Reads the named file; a missing file reads as empty. A file that is no regular file or is
    // larger than kMaxTextFileBytes is not read (see readable()).
    explicit IniFile(const QString& fileName);
    static IniFile fromText(const QString& text);
    // The content of a file as its bytes.
    static IniFile fromBytes(const QByteArray& bytes);

    const QString& fileName() const { return fileName_; }
    // False when the file exists but could not be read (a folder, a FIFO, no permission, over
    // the size limit).
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

    // The whole content, every line ended by CR LF: decoded, and as the bytes a save writes.
    QString text() const;
    QByteArray bytes() const;
    // Writes the content to fileName() as a whole; raises "Unable to write to %s". A file that
    // exists but could not be read is refused too, so its content is never replaced unseen.
    void save() const;

private:
    // Byte offsets into the file's bytes, which are at most kMaxTextFileBytes long.
    using Offset = std::uint32_t;
    struct Span {
        Offset start, end, next; // a line's first byte, its end (before the line end), the next
    };
    struct Section {
        Offset begin; // the header line, or the first line of the lines before any header
        Offset body;  // the first line after the header
    };
    // Open addressing over references to names held elsewhere (a line start, a section's or
    // an added line's number, plus 1; 0 marks an empty slot): memory grows with the distinct
    // names only.
    struct NameTable {
        std::vector<Offset> refs;
        std::size_t count = 0;
    };
    // What writes did to one section: kept apart from the bytes read.
    struct Edits {
        QByteArray header;    // the header line of a section the writes added
        QString foldedName;   // and its name as looked for
        QByteArray addedText; // the new entries' lines, one after another
        std::vector<std::pair<Offset, Offset>> added;   // start and length of each in addedText,
                                                        // in order, at the insertion point
        NameTable addedKeys;                            // over the indexes of added
        std::unordered_map<Offset, QByteArray> changed; // line start -> the line written
        std::int64_t insertAt = -1; // after the section's last line that is not blank
        bool blankAfter = false;    // a blank line ends the section (a section follows it)
        QByteArrayView addedLine(std::size_t i) const {
            return QByteArrayView(addedText).sliced(added[i].first, added[i].second);
        }
        void setAdded(std::size_t i, const QByteArray& line) {
            added[i] = {static_cast<Offset>(addedText.size()), static_cast<Offset>(line.size())};
            addedText += line;
        }
    };
    struct Found {
        std::int64_t line = -1; // start of a line read from the file
        qsizetype added = -1;   // or index of an added line
        bool found() const { return line >= 0 || added >= 0; }
    };

    void parse(bool dropByteOrderMark);
    Span lineAt(Offset pos) const;
    Offset sectionEnd(qsizetype i) const;
    bool isAdded(qsizetype i) const { return i >= rawSections_; }
    QByteArrayView lineBytes(const Span& s) const;
    qsizetype findSection(const QString& name) const;
    const NameTable& keyTable(qsizetype section) const;
    const NameTable& sectionTable() const;
    auto sectionNameOf() const;
    Found find(qsizetype section, const QString& key) const;
    QByteArrayView lineText(qsizetype section, const Found& f) const;
    template <typename F> void forEachLine(qsizetype section, F&& f) const;
    qsizetype sectionForWrite(const QString& section);

    QString fileName_;
    bool unreadable_ = false;
    QByteArray raw_;
    Offset first_ = 0;      // after a byte order mark
    bool preamble_ = false; // sections_[0] holds lines before any header
    std::vector<Section> sections_;
    qsizetype rawSections_ = 0; // sections read; those after them were added by writes
    std::unordered_map<qsizetype, Edits> edits_;
    mutable std::unordered_map<qsizetype, NameTable> keyTables_; // of the sections looked in
    mutable NameTable sectionTable_; // first section of each name, made at the first look-up
    mutable bool sectionTableMade_ = false;
};

} // namespace gyrodex
