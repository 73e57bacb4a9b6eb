#include "IniFile.h"

#include "Error.h"
#include "SaveFile.h"

#include <QFile>
#include <QFileInfo>
#include <limits>

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

IniFile::IniFile(const QString& fileName) : fileName_(fileName) {
    QFile file(fileName);
    if (!file.exists())
        return;
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly)) {
        unreadable_ = true;
        return;
    }
    parse(DecodeText(file.readAll()));
}

IniFile IniFile::fromText(const QString& text) {
    IniFile ini;
    ini.parse(text);
    return ini;
}

void IniFile::parse(const QString& text) {
    sections_.clear();
    sectionIndex_.clear();
    const QStringView all(text);
    qsizetype start = 0;
    while (start < all.size()) {
        qsizetype end = all.indexOf(u'\n', start);
        const qsizetype next = end < 0 ? all.size() : end + 1;
        if (end < 0)
            end = all.size();
        QStringView raw = all.mid(start, end - start);
        if (raw.endsWith(u'\r'))
            raw.chop(1);
        start = next;

        const QStringView trimmed = raw.trimmed();
        if (trimmed.startsWith(u'[')) {
            const qsizetype close = trimmed.indexOf(u']');
            Section s;
            s.name = (close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1)).trimmed().toString();
            s.lines.push_back(Line{raw.toString(), {}, -1});
            const QString key = NameKey(s.name);
            if (!sectionIndex_.contains(key))
                sectionIndex_.insert(key, static_cast<qsizetype>(sections_.size()));
            sections_.push_back(std::move(s));
            continue;
        }
        if (sections_.empty()) {
            Section preamble;
            preamble.hasHeader = false;
            sections_.push_back(std::move(preamble));
        }
        Section& s = sections_.back();
        Line line{raw.toString(), {}, raw.indexOf(u'=')};
        if (line.eq >= 0 && s.hasHeader) {
            line.key = NameKey(raw.left(line.eq));
            if (!line.key.isEmpty() && !s.keyIndex.contains(line.key))
                s.keyIndex.insert(line.key, static_cast<qsizetype>(s.lines.size()));
        }
        s.lines.push_back(std::move(line));
    }
}

const IniFile::Line* IniFile::find(const QString& section, const QString& key) const {
    const auto si = sectionIndex_.constFind(NameKey(section));
    if (si == sectionIndex_.constEnd())
        return nullptr;
    const Section& s = sections_[static_cast<std::size_t>(*si)];
    const auto ki = s.keyIndex.constFind(NameKey(key));
    if (ki == s.keyIndex.constEnd())
        return nullptr;
    return &s.lines[static_cast<std::size_t>(*ki)];
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const Line* line = find(section, key);
    if (!line)
        return std::nullopt;
    return line->text.mid(line->eq + 1);
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const {
    return value(section, key).value_or(def).left(kMaxText);
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

IniFile::Section& IniFile::sectionForWrite(const QString& section) {
    const QString key = NameKey(section);
    const auto si = sectionIndex_.constFind(key);
    if (si != sectionIndex_.constEnd())
        return sections_[static_cast<std::size_t>(*si)];
    // A new section goes to the end of the file, after a blank line when the file has text.
    if (!sections_.empty() && !sections_.back().lines.empty() &&
        !sections_.back().lines.back().text.trimmed().isEmpty())
        sections_.back().lines.push_back(Line{});
    Section s;
    s.name = OneLine(section);
    s.lines.push_back(Line{QLatin1Char('[') + s.name + QLatin1Char(']'), {}, -1});
    sectionIndex_.insert(key, static_cast<qsizetype>(sections_.size()));
    sections_.push_back(std::move(s));
    return sections_.back();
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    Section& s = sectionForWrite(section);
    const QString folded = NameKey(key);
    const auto ki = s.keyIndex.constFind(folded);
    if (ki != s.keyIndex.constEnd()) {
        Line& line = s.lines[static_cast<std::size_t>(*ki)];
        line.text = line.text.left(line.eq + 1) + OneLine(value);
        return;
    }
    // A new key goes after the last line of the section that is not blank; only blank lines
    // follow it, so no indexed line moves.
    qsizetype pos = static_cast<qsizetype>(s.lines.size());
    while (pos > 1 && s.lines[static_cast<std::size_t>(pos - 1)].text.trimmed().isEmpty())
        --pos;
    const QString name = OneLine(key);
    Line line{name + QLatin1Char('=') + OneLine(value), folded, name.size()};
    s.lines.insert(s.lines.begin() + pos, std::move(line));
    s.keyIndex.insert(folded, pos);
}

void IniFile::writeInteger(const QString& section, const QString& key, std::int32_t value) {
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QStringList IniFile::sections() const {
    QStringList names;
    for (const Section& s : sections_)
        if (s.hasHeader)
            names << s.name;
    return names;
}

QStringList IniFile::keys(const QString& section) const {
    QStringList names;
    const auto si = sectionIndex_.constFind(NameKey(section));
    if (si == sectionIndex_.constEnd())
        return names;
    const Section& s = sections_[static_cast<std::size_t>(*si)];
    for (std::size_t i = 0; i < s.lines.size(); ++i) {
        const Line& line = s.lines[i];
        if (!line.key.isEmpty() && s.keyIndex.value(line.key) == static_cast<qsizetype>(i))
            names << line.text.left(line.eq).trimmed();
    }
    return names;
}

QString IniFile::text() const {
    QString out;
    for (const Section& s : sections_)
        for (const Line& line : s.lines) {
            out += line.text;
            out += QLatin1String("\r\n");
        }
    return out;
}

void IniFile::save() const {
    if (unreadable_)
        throw Error(QStringLiteral("Unable to write to %1").arg(fileName_));
    SaveFileWhole(fileName_, text().toUtf8());
}

} // namespace gyrodex
