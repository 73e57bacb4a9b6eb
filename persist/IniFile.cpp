#include "IniFile.h"

#include "Error.h"
#include "SaveFile.h"

#include <QSet>
#include <algorithm>
#include <limits>
#include <utility>

namespace gyrodex {

namespace {

// Names are compared without regard to case and to surrounding blanks.
QString NameKey(QStringView name) {
    return name.trimmed().toString().toCaseFolded();
}

// Keeps a written key or value on its own line: line breaks would start new entries.
QString OneLine(QString text) {
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

} // namespace

namespace {

bool IsSpaceByte(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsAsciiBytes(QByteArrayView v) {
    for (const char c : v)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

QByteArrayView TrimAscii(QByteArrayView v) {
    while (!v.isEmpty() && IsSpaceByte(v.front()))
        v = v.sliced(1);
    while (!v.isEmpty() && IsSpaceByte(v.back()))
        v.chop(1);
    return v;
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A name as it is compared: ASCII bytes when the name is plain ASCII (no allocation), else the
// decoded and case-folded text. ASCII folds to ASCII, so the two forms never need mixing except
// through the folded text.
struct NameRef {
    QByteArrayView ascii;
    QString folded;
    bool isAscii = true;
};

// Hash of a case-folded name over its UTF-16 units, the same for both forms of NameRef.
std::size_t HashFolded(const NameRef& n) {
    std::size_t h = 1469598103934665603ull;
    const auto mix = [&h](char16_t u) {
        h ^= u;
        h *= 1099511628211ull;
    };
    if (n.isAscii)
        for (const char c : n.ascii)
            mix(static_cast<char16_t>(LowerAscii(c)));
    else
        for (const QChar c : n.folded)
            mix(c.unicode());
    return h;
}

bool SameName(const NameRef& a, const NameRef& b) {
    if (a.isAscii && b.isAscii) {
        if (a.ascii.size() != b.ascii.size())
            return false;
        for (qsizetype i = 0; i < a.ascii.size(); ++i)
            if (LowerAscii(a.ascii[i]) != LowerAscii(b.ascii[i]))
                return false;
        return true;
    }
    const auto text = [](const NameRef& n) {
        return n.isAscii ? QString::fromLatin1(n.ascii).toCaseFolded() : n.folded;
    };
    return text(a) == text(b);
}

// Whether a name equals an already case-folded text.
bool Matches(const NameRef& name, const QString& folded) {
    if (!name.isAscii)
        return name.folded == folded;
    if (name.ascii.size() != folded.size())
        return false;
    for (qsizetype i = 0; i < folded.size(); ++i)
        if (folded[i].unicode() != static_cast<char16_t>(LowerAscii(name.ascii[i])))
            return false;
    return true;
}

// A name looked for. A plain ASCII name is compared as it is given, without regard to case, so
// that the look-ups of a load or a save allocate nothing; any other name by its folded text.
struct Query {
    QStringView ascii;
    QString folded;
    bool isAscii = false;
};

Query MakeQuery(const QString& name) {
    const QStringView trimmed = QStringView(name).trimmed();
    const bool plain = std::all_of(trimmed.begin(), trimmed.end(), [](QChar c) {
        return c.unicode() < 0x80 && c != u'\r' && c != u'\n';
    });
    if (plain)
        return {trimmed, {}, true};
    return {{}, NameKey(OneLine(name)), false};
}

std::size_t HashQuery(const Query& q) {
    if (!q.isAscii) {
        NameRef n;
        n.folded = q.folded;
        n.isAscii = false;
        return HashFolded(n);
    }
    std::size_t h = 1469598103934665603ull;
    for (const QChar c : q.ascii) {
        h ^= static_cast<char16_t>(LowerAscii(static_cast<char>(c.unicode())));
        h *= 1099511628211ull;
    }
    return h;
}

bool Matches(const NameRef& name, const Query& q) {
    if (!q.isAscii)
        return Matches(name, q.folded);
    if (!name.isAscii)
        return name.folded == q.ascii.toString().toLower();
    if (name.ascii.size() != q.ascii.size())
        return false;
    for (qsizetype i = 0; i < q.ascii.size(); ++i)
        if (LowerAscii(name.ascii[i]) != LowerAscii(static_cast<char>(q.ascii[i].unicode())))
            return false;
    return true;
}

// The key of an entry line ("key=value"), or nothing for a line without "=".
std::optional<NameRef> KeyOf(QByteArrayView line) {
    const qsizetype eq = line.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    const QByteArrayView key = line.first(eq);
    NameRef n;
    if (IsAsciiBytes(key)) {
        n.ascii = TrimAscii(key);
    } else {
        const QString text = DecodeLine(line);
        n.folded = NameKey(QStringView(text).left(text.indexOf(u'=')));
        n.isAscii = false;
    }
    return n;
}

bool IsEmptyName(const NameRef& n) {
    return n.isAscii ? n.ascii.isEmpty() : n.folded.isEmpty();
}

// A line is a section header when its first character that is not blank is "[".
bool IsHeader(QByteArrayView line) {
    for (const char c : line) {
        if (IsSpaceByte(c))
            continue;
        if (static_cast<unsigned char>(c) < 0x80)
            return c == '[';
        return DecodeLine(line).trimmed().startsWith(u'[');
    }
    return false;
}

QString HeaderName(QStringView line) {
    const QStringView trimmed = line.trimmed();
    const qsizetype close = trimmed.indexOf(u']');
    return (close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1)).trimmed().toString();
}

NameRef HeaderNameOf(QByteArrayView line) {
    NameRef n;
    if (IsAsciiBytes(line)) {
        QByteArrayView t = TrimAscii(line).sliced(1);
        const qsizetype close = t.indexOf(']');
        n.ascii = TrimAscii(close < 0 ? t : t.first(close));
    } else {
        n.folded = NameKey(HeaderName(DecodeLine(line)));
        n.isAscii = false;
    }
    return n;
}

bool IsBlank(QByteArrayView line) {
    return IsAsciiBytes(line) ? TrimAscii(line).isEmpty() : DecodeLine(line).trimmed().isEmpty();
}

// Appends the line of a new entry, "key=value", in UTF-8 and on one line. Plain ASCII, the
// usual case, goes in without a temporary copy.
void AppendEntryLine(QByteArray& out, const QString& key, const QString& value) {
    const auto plain = [](const QString& t) {
        return std::all_of(t.begin(), t.end(),
                           [](QChar c) { return c.unicode() < 0x80 && c != u'\r' && c != u'\n'; });
    };
    if (!plain(key) || !plain(value)) {
        out += (OneLine(key) + QLatin1Char('=') + OneLine(value)).toUtf8();
        return;
    }
    // Room for the line, growing by at least half each time: a reserve of the exact size would
    // move the whole text at every new entry of a long section.
    const qsizetype needed = out.size() + key.size() + 1 + value.size();
    if (needed > out.capacity())
        out.reserve(std::max(needed, out.capacity() + out.capacity() / 2));
    for (const QChar c : key)
        out += static_cast<char>(c.unicode());
    out += '=';
    for (const QChar c : value)
        out += static_cast<char>(c.unicode());
}

} // namespace

IniFile::IniFile(const QString& fileName) : fileName_(fileName) {
    try {
        if (auto bytes = ReadFileWhole(fileName, kMaxTextFileBytes))
            raw_ = std::move(*bytes);
    } catch (const Error&) {
        unreadable_ = true;
        return;
    }
    parse(true);
}

IniFile IniFile::fromText(const QString& text) {
    // Text is decoded already: a U+FEFF it starts with is a character, not a byte order mark.
    IniFile ini;
    const QByteArray bytes = text.toUtf8();
    ini.raw_ = bytes.size() < std::numeric_limits<Offset>::max() ? bytes : QByteArray();
    ini.parse(false);
    return ini;
}

IniFile IniFile::fromBytes(const QByteArray& bytes) {
    IniFile ini;
    // Offsets are 32 bits: more than that is no file this program reads.
    ini.raw_ = bytes.size() < std::numeric_limits<Offset>::max() ? bytes : QByteArray();
    ini.parse(true);
    return ini;
}

void IniFile::parse(bool dropByteOrderMark) {
    sections_.clear();
    edits_.clear();
    keyTables_.clear();
    sectionTable_ = {};
    sectionTableMade_ = false;
    first_ = dropByteOrderMark && raw_.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    preamble_ = false;
    const auto size = static_cast<Offset>(raw_.size());
    for (Offset pos = first_; pos < size;) {
        const Span line = lineAt(pos);
        if (IsHeader(lineBytes(line))) {
            sections_.push_back({pos, line.next});
        } else if (sections_.empty()) {
            preamble_ = true;
            sections_.push_back({pos, pos});
        }
        pos = line.next;
    }
    rawSections_ = static_cast<qsizetype>(sections_.size());
}

IniFile::Span IniFile::lineAt(Offset pos) const {
    const char* data = raw_.constData();
    const auto size = static_cast<Offset>(raw_.size());
    Offset end = pos;
    while (end < size && data[end] != '\n' && data[end] != '\r')
        ++end;
    Offset next = end;
    if (next < size)
        next += data[next] == '\r' && next + 1 < size && data[next + 1] == '\n' ? 2 : 1;
    return {pos, end, next};
}

QByteArrayView IniFile::lineBytes(const Span& s) const {
    return QByteArrayView(raw_.constData() + s.start, s.end - s.start);
}

IniFile::Offset IniFile::sectionEnd(qsizetype i) const {
    return i + 1 < static_cast<qsizetype>(sections_.size())
               ? sections_[static_cast<std::size_t>(i + 1)].begin
               : static_cast<Offset>(raw_.size());
}

namespace {

// Adds a reference to a name unless the table holds that name already (the first one counts).
// nameOf gives the name a stored reference stands for.
template <typename NameOf>
void InsertFirst(std::vector<std::uint32_t>& refs, std::size_t& count, std::uint32_t ref,
                 const NameRef& name, const NameOf& nameOf) {
    if ((count + 1) * 2 > refs.size()) {
        std::vector<std::uint32_t> old(std::max<std::size_t>(16, 2 * refs.size()), 0);
        old.swap(refs);
        const std::size_t mask = refs.size() - 1;
        for (const std::uint32_t r : old) {
            if (r == 0)
                continue;
            std::size_t slot = HashFolded(nameOf(r - 1)) & mask;
            while (refs[slot] != 0)
                slot = (slot + 1) & mask;
            refs[slot] = r;
        }
    }
    const std::size_t mask = refs.size() - 1;
    for (std::size_t slot = HashFolded(name) & mask;; slot = (slot + 1) & mask) {
        if (refs[slot] == 0) {
            refs[slot] = ref + 1;
            ++count;
            return;
        }
        if (SameName(name, nameOf(refs[slot] - 1)))
            return;
    }
}

// The reference stored for a name, or -1.
template <typename NameOf>
std::int64_t FindName(const std::vector<std::uint32_t>& refs, const Query& wanted,
                      const NameOf& nameOf) {
    if (refs.empty())
        return -1;
    const std::size_t mask = refs.size() - 1;
    for (std::size_t slot = HashQuery(wanted) & mask; refs[slot] != 0; slot = (slot + 1) & mask)
        if (Matches(nameOf(refs[slot] - 1), wanted))
            return refs[slot] - 1;
    return -1;
}

} // namespace

// The name of section i as the tables compare it.
auto IniFile::sectionNameOf() const {
    return [this](std::uint32_t i) {
        NameRef name;
        if (isAdded(i)) {
            name.folded = edits_.at(i).foldedName;
            name.isAscii = false;
        } else {
            name = HeaderNameOf(lineBytes(lineAt(sections_[i].begin)));
        }
        return name;
    };
}

const IniFile::NameTable& IniFile::sectionTable() const {
    if (sectionTableMade_)
        return sectionTable_;
    sectionTableMade_ = true;
    const auto nameOf = sectionNameOf();
    for (qsizetype i = preamble_ ? 1 : 0; i < static_cast<qsizetype>(sections_.size()); ++i)
        InsertFirst(sectionTable_.refs, sectionTable_.count, static_cast<std::uint32_t>(i),
                    nameOf(static_cast<std::uint32_t>(i)), nameOf);
    return sectionTable_;
}

qsizetype IniFile::findSection(const QString& name) const {
    return static_cast<qsizetype>(FindName(sectionTable().refs, MakeQuery(name), sectionNameOf()));
}

const IniFile::NameTable& IniFile::keyTable(qsizetype section) const {
    const auto it = keyTables_.find(section);
    if (it != keyTables_.end())
        return it->second;
    NameTable& table = keyTables_[section];
    if (isAdded(section))
        return table;
    const auto nameOf = [this](std::uint32_t start) { return *KeyOf(lineBytes(lineAt(start))); };
    const Offset end = sectionEnd(section);
    for (Offset pos = sections_[static_cast<std::size_t>(section)].body; pos < end;) {
        const Span line = lineAt(pos);
        pos = line.next;
        const auto key = KeyOf(lineBytes(line));
        if (key && !IsEmptyName(*key))
            InsertFirst(table.refs, table.count, line.start, *key, nameOf);
    }
    return table;
}

IniFile::Found IniFile::find(qsizetype section, const QString& key) const {
    Found f;
    if (section < 0)
        return f;
    const Query wanted = MakeQuery(key);
    // Lines read with an empty key are no entries; written ones are.
    if (wanted.isAscii ? !wanted.ascii.isEmpty() : !wanted.folded.isEmpty())
        f.line = FindName(keyTable(section).refs, wanted,
                          [this](std::uint32_t start) { return *KeyOf(lineBytes(lineAt(start))); });
    if (f.line >= 0)
        return f;
    const auto e = edits_.find(section);
    if (e != edits_.end()) {
        const Edits& edits = e->second;
        f.added = FindName(edits.addedKeys.refs, wanted,
                           [&edits](std::uint32_t i) { return *KeyOf(edits.addedLine(i)); });
    }
    return f;
}

QByteArrayView IniFile::lineText(qsizetype section, const Found& f) const {
    const auto e = edits_.find(section);
    const Edits* edits = e == edits_.end() ? nullptr : &e->second;
    if (f.added >= 0) {
        // An added line is found only in a section that has edits; anything else is no line.
        if (!edits || static_cast<std::size_t>(f.added) >= edits->added.size())
            return {};
        return edits->addedLine(static_cast<std::size_t>(f.added));
    }
    const auto offset = static_cast<Offset>(f.line);
    if (edits) {
        const auto changed = edits->changed.find(offset);
        if (changed != edits->changed.end())
            return changed->second;
    }
    return lineBytes(lineAt(offset));
}

// Calls f(bytes) for every line of a section in the order a save writes them.
template <typename F> void IniFile::forEachLine(qsizetype section, F&& f) const {
    const auto e = edits_.find(section);
    const Edits* edits = e == edits_.end() ? nullptr : &e->second;
    const auto emitAdded = [&] {
        if (edits)
            for (std::size_t i = 0; i < edits->added.size(); ++i)
                f(edits->addedLine(i));
    };
    if (isAdded(section)) {
        f(QByteArrayView(edits->header));
        emitAdded();
    } else {
        const Section& s = sections_[static_cast<std::size_t>(section)];
        const Offset end = sectionEnd(section);
        const std::int64_t insertAt = edits ? edits->insertAt : -1;
        bool addedDone = false;
        for (Offset pos = s.begin; pos < end;) {
            const Span line = lineAt(pos);
            if (pos == insertAt) {
                emitAdded();
                addedDone = true;
            }
            const auto changed =
                edits ? edits->changed.find(pos) : decltype(edits->changed.end()){};
            if (edits && changed != edits->changed.end())
                f(QByteArrayView(changed->second));
            else
                f(lineBytes(line));
            pos = line.next;
        }
        if (!addedDone)
            emitAdded();
    }
    if (edits && edits->blankAfter)
        f(QByteArrayView());
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const qsizetype s = findSection(section);
    const Found f = find(s, key);
    if (!f.found())
        return std::nullopt;
    const QByteArrayView line = lineText(s, f);
    // "=" is one byte in every encoding read; a plain ASCII value needs no decoding of its line.
    if (IsAsciiBytes(line))
        return QString::fromLatin1(line.sliced(line.indexOf('=') + 1));
    const QString text = DecodeLine(line);
    return text.mid(text.indexOf(u'=') + 1);
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const {
    const QString text = value(section, key).value_or(def);
    return text.size() <= kMaxText ? text : LeftWhole(text, kMaxText).toString();
}

std::int32_t IniFile::readInteger(const QString& section, const QString& key,
                                  std::int32_t def) const {
    const auto text = value(section, key);
    if (!text)
        return def;
    return ParseInteger(QStringView(*text).left(kMaxText).trimmed()).value_or(def);
}

bool IniFile::readBool(const QString& section, const QString& key, bool def) const {
    const auto text = value(section, key);
    if (!text)
        return def;
    const auto v = ParseInteger(QStringView(*text).left(kMaxText).trimmed());
    return v ? *v != 0 : def;
}

qsizetype IniFile::sectionForWrite(const QString& section) {
    const qsizetype found = findSection(section);
    if (found >= 0)
        return found;
    // A new section goes to the end of the file, after a blank line when the file has text.
    if (!sections_.empty()) {
        const qsizetype last = static_cast<qsizetype>(sections_.size()) - 1;
        bool lastBlank = true;
        forEachLine(last, [&lastBlank](QByteArrayView line) { lastBlank = IsBlank(line); });
        if (!lastBlank)
            edits_[last].blankAfter = true;
    }
    const qsizetype index = static_cast<qsizetype>(sections_.size());
    const auto end = static_cast<Offset>(raw_.size());
    sections_.push_back({end, end});
    Edits& edits = edits_[index];
    edits.header = (QLatin1Char('[') + OneLine(section) + QLatin1Char(']')).toUtf8();
    edits.foldedName = NameKey(HeaderName(DecodeLine(edits.header)));
    // The table of names is made again at the next look-up (a save adds few sections).
    sectionTable_ = {};
    sectionTableMade_ = false;
    return index;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    const qsizetype s = sectionForWrite(section);
    // A key is looked for as a line holds it: line breaks in it are written as blanks.
    const Found f = find(s, key);
    Edits& edits = edits_[s];
    if (f.found()) {
        // The key keeps its spelling; only this line is written anew.
        const QString old = DecodeLine(lineText(s, f));
        const qsizetype eq = old.indexOf(u'=');
        // An entry written with the value it holds keeps its bytes.
        if (QStringView(old).mid(eq + 1) == OneLine(value))
            return;
        const QByteArray line = (old.left(eq + 1) + OneLine(value)).toUtf8();
        if (f.added >= 0)
            edits.setAdded(static_cast<std::size_t>(f.added), line);
        else
            edits.changed[static_cast<Offset>(f.line)] = line;
        return;
    }
    // A new key goes after the last line of the section that is not blank.
    if (edits.insertAt < 0 && !isAdded(s)) {
        const Section& sec = sections_[static_cast<std::size_t>(s)];
        Offset after = sec.body;
        for (Offset pos = sec.body; pos < sectionEnd(s);) {
            const Span line = lineAt(pos);
            pos = line.next;
            if (!IsBlank(lineBytes(line)))
                after = line.next;
        }
        edits.insertAt = after;
    }
    const auto index = static_cast<std::uint32_t>(edits.added.size());
    const auto start = static_cast<Offset>(edits.addedText.size());
    AppendEntryLine(edits.addedText, key, value);
    edits.added.emplace_back(start, static_cast<Offset>(edits.addedText.size()) - start);
    const auto nameOf = [&edits](std::uint32_t i) { return *KeyOf(edits.addedLine(i)); };
    InsertFirst(edits.addedKeys.refs, edits.addedKeys.count, index, nameOf(index), nameOf);
}

void IniFile::writeInteger(const QString& section, const QString& key, std::int32_t value) {
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QStringList IniFile::sections() const {
    QStringList names;
    for (qsizetype i = preamble_ ? 1 : 0; i < static_cast<qsizetype>(sections_.size()); ++i)
        names << HeaderName(DecodeLine(
            isAdded(i) ? QByteArrayView(edits_.at(i).header)
                       : lineBytes(lineAt(sections_[static_cast<std::size_t>(i)].begin))));
    return names;
}

QStringList IniFile::keys(const QString& section) const {
    QStringList names;
    const qsizetype s = findSection(section);
    if (s < 0)
        return names;
    QSet<QString> seen;
    bool header = true;
    forEachLine(s, [&](QByteArrayView bytes) {
        if (std::exchange(header, false))
            return;
        const qsizetype eq = bytes.indexOf('=');
        if (eq < 0)
            return;
        const QString line = DecodeLine(bytes);
        const QString name = line.left(line.indexOf(u'='));
        const QString folded = NameKey(name);
        if (!folded.isEmpty() && !seen.contains(folded)) {
            seen.insert(folded);
            names << name.trimmed();
        }
    });
    return names;
}

QString IniFile::text() const {
    QString out;
    for (qsizetype i = 0; i < static_cast<qsizetype>(sections_.size()); ++i)
        forEachLine(i, [&out](QByteArrayView line) {
            if (IsAsciiBytes(line))
                out += QLatin1String(line.data(), line.size());
            else
                out += DecodeLine(line);
            out += QLatin1String("\r\n");
        });
    return out;
}

QByteArray IniFile::bytes() const {
    // A byte order mark the file began with stays.
    QByteArray out = raw_.first(first_);
    out.reserve(raw_.size() + raw_.size() / 8);
    for (qsizetype i = 0; i < static_cast<qsizetype>(sections_.size()); ++i)
        forEachLine(i, [&out](QByteArrayView line) {
            out += line;
            out += "\r\n";
        });
    return out;
}

void IniFile::save() const {
    if (unreadable_)
        throw Error(QStringLiteral("Unable to write to %1").arg(fileName_));
    SaveFileWhole(fileName_, bytes());
}

} // namespace gyrodex
