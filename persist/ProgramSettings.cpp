#include "ProgramSettings.h"

#include "Error.h"
#include "IniFile.h"
#include "ProgramFolder.h"
#include "SettingsLocation.h"

#include <QDir>
#include <QFileInfo>
#include <functional>

namespace gyrodex {

namespace {

const QString kBooleans = QStringLiteral("Booleans");
const QString kFloats = QStringLiteral("Floats");
const QString kIntegers = QStringLiteral("Integers");
const QString kStrings = QStringLiteral("Strings");

qsizetype IndexOfName(const QStringList& list, const QString& name) {
    for (qsizetype i = 0; i < list.size(); ++i)
        if (ProgramSettings::EntryName(list[i]).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void CheckIndex(const QStringList& list, qsizetype index) {
    if (index < 0 || index >= list.size())
        throw Error(QStringLiteral("List index out of bounds (%1)").arg(index));
}

// Sets the value of the first entry named like entry `index`; the entry keeps its name.
void SetValueAt(QStringList& list, qsizetype index, const QString& value) {
    CheckIndex(list, index);
    const QString name = ProgramSettings::EntryName(list[index]);
    const qsizetype target = IndexOfName(list, name);
    list[target] = ProgramSettings::EntryName(list[target]) + QLatin1Char('=') + value;
}

std::optional<std::int32_t> ToInteger(const QString& text) {
    return ParseInteger(text, false);
}

} // namespace

ProgramSettings::ProgramSettings(QString programFile, RegistryService registry)
    : programFile_(std::move(programFile)), registry_(std::move(registry)) {}

QString ProgramSettings::EntryName(const QString& line) {
    const qsizetype eq = line.indexOf(u'=');
    return eq < 0 ? QString() : line.left(eq);
}

QString ProgramSettings::EntryValue(const QString& line) {
    const qsizetype eq = line.indexOf(u'=');
    return eq < 0 ? QString() : line.mid(eq + 1);
}

QString ProgramSettings::StartUpDir() const {
    return ProgramFolder(programFile_);
}

QString ProgramSettings::SettingsFileName() const {
    return UseStartUpDir ? StartUpDir() + IniFileName : IniFileName;
}

QString ProgramSettings::SettingsReadFileName() const {
    return ReadFileName.isEmpty() ? SettingsFileName() : ReadFileName;
}

QString ProgramSettings::sectionName(const QString& list) const {
    return IniSection.isEmpty() ? list : IniSection + QLatin1Char('\\') + list;
}

std::optional<double> ProgramSettings::toFloat(const QString& text) const {
    QLocale locale = Locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = locale.toDouble(text, &ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

QString ProgramSettings::floatText(double value) const {
    QLocale locale = Locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = locale.toString(value, 'g', 15);
    // Exponents are written as E20 and E-5: upper-case, no "+", no leading zeros.
    const qsizetype e = text.indexOf(u'e', 0, Qt::CaseInsensitive);
    if (e >= 0) {
        QString exponent = text.mid(e + 1);
        const bool negative = exponent.startsWith(u'-');
        if (negative || exponent.startsWith(u'+'))
            exponent.remove(0, 1);
        while (exponent.size() > 1 && exponent.startsWith(u'0'))
            exponent.remove(0, 1);
        text = text.left(e) + QLatin1Char('E') + (negative ? QStringLiteral("-") : QString()) +
               exponent;
    }
    return text;
}

std::int32_t ProgramSettings::GetInteger(const QString& name) const {
    const qsizetype i = IndexOfName(Integers, name);
    if (i < 0)
        throw Error(QStringLiteral("Integer Field \"%1\" not found").arg(name));
    const QString value = EntryValue(Integers[i]);
    const auto v = ToInteger(value);
    if (!v)
        throw Error(QStringLiteral("Error in conversion of integer \"%1\", Value = \"%2\"")
                        .arg(name, QuoteField(value)));
    return *v;
}

QString ProgramSettings::GetString(const QString& name) const {
    const qsizetype i = IndexOfName(Strings, name);
    if (i < 0)
        throw Error(QStringLiteral("String Field \"%1\" not found").arg(name));
    return EntryValue(Strings[i]);
}

void ProgramSettings::SetInteger(const QString& name, std::int32_t value) {
    const qsizetype i = IndexOfName(Integers, name);
    if (i < 0)
        throw Error(QStringLiteral("Integer Field \"%1\" not found").arg(name));
    SetValueAt(Integers, i, QString::number(value));
}

void ProgramSettings::SetString(const QString& name, const QString& value) {
    const qsizetype i = IndexOfName(Strings, name);
    if (i < 0)
        throw Error(QStringLiteral("String Field \"%1\" not found").arg(name));
    SetStringAt(i, value);
}

bool ProgramSettings::BooleanAt(qsizetype index) const {
    CheckIndex(Booleans, index);
    const QString value = EntryValue(Booleans[index]);
    return !value.isEmpty() && value != u"0";
}

double ProgramSettings::FloatAt(qsizetype index) const {
    CheckIndex(Floats, index);
    const QString value = EntryValue(Floats[index]);
    const auto v = toFloat(value);
    if (!v)
        throw Error(QStringLiteral("Error in conversion of float[%1], Value = \"%2\"")
                        .arg(index)
                        .arg(QuoteField(value)));
    return *v;
}

std::int32_t ProgramSettings::IntegerAt(qsizetype index) const {
    CheckIndex(Integers, index);
    const QString value = EntryValue(Integers[index]);
    const auto v = ToInteger(value);
    if (!v)
        throw Error(QStringLiteral("Error in conversion of integer[%1], Value = \"%2\"")
                        .arg(index)
                        .arg(QuoteField(value)));
    return *v;
}

void ProgramSettings::SetBooleanAt(qsizetype index, bool value) {
    SetValueAt(Booleans, index, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void ProgramSettings::SetFloatAt(qsizetype index, double value) {
    SetValueAt(Floats, index, floatText(value));
}

void ProgramSettings::SetIntegerAt(qsizetype index, std::int32_t value) {
    SetValueAt(Integers, index, QString::number(value));
}

void ProgramSettings::SetStringAt(qsizetype index, const QString& value) {
    // Cut here, once, to what a read of the settings file gives back, so that the value kept
    // is the value stored and read again.
    SetValueAt(Strings, index,
               value.size() <= IniFile::kMaxText ? value
                                                 : LeftWhole(value, IniFile::kMaxText).toString());
}

// Reading and writing text values under a list's name, the same way for both kinds of store.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<QString> read(const QString& list, const QString& name) = 0;
    virtual void write(const QString& list, const QString& name, const QString& value) = 0;
    virtual void close() = 0;
    virtual bool readable() const { return true; }
};

namespace {

class FileStore final : public SettingsStore {
public:
    FileStore(const QString& fileName, std::function<QString(const QString&)> section)
        : ini_(fileName), section_(std::move(section)) {}
    std::optional<QString> read(const QString& list, const QString& name) override {
        const auto v = ini_.value(section_(list), name);
        return v ? std::optional<QString>(LeftWhole(*v, IniFile::kMaxText).toString())
                 : std::nullopt;
    }
    void write(const QString& list, const QString& name, const QString& value) override {
        ini_.writeString(section_(list), name, value);
        dirty_ = true;
    }
    void close() override {
        if (dirty_)
            ini_.save();
    }
    bool readable() const override { return ini_.readable(); }

private:
    IniFile ini_;
    std::function<QString(const QString&)> section_;
    bool dirty_ = false;
};

class RegistryStore final : public SettingsStore {
public:
    explicit RegistryStore(RegistryKey key) : key_(std::move(key)) {}
    std::optional<QString> read(const QString& list, const QString& name) override {
        return key_.openKey(list, false).readValue(name);
    }
    void write(const QString& list, const QString& name, const QString& value) override {
        RegistryKey sub = key_.openKey(list, true);
        sub.writeString(name, value);
        sub.close();
    }
    void close() override { key_.close(); }

private:
    RegistryKey key_;
};

} // namespace

std::unique_ptr<SettingsStore> ProgramSettings::openStore(bool create) const {
    if (UseRegistry) {
        const RegRoot root = RegistryRoot == SettingsRoot::CurrentUser ? RegRoot::CurrentUser
                                                                       : RegRoot::LocalMachine;
        RegistryKey key = registry_.openKey(root, IniFileName, create);
        if (!IniSection.isEmpty())
            key = key.openKey(IniSection, create);
        return std::make_unique<RegistryStore>(std::move(key));
    }
    if (create) {
        // The user's configuration folder may not exist yet.
        const QString folder = QFileInfo(SettingsFileName()).absolutePath();
        if (!QFileInfo(folder).isDir())
            QDir().mkpath(folder);
    }
    return std::make_unique<FileStore>(create ? SettingsFileName() : SettingsReadFileName(),
                                       [this](const QString& l) { return sectionName(l); });
}

void ProgramSettings::ReadSettings(Host* host) {
    const std::unique_ptr<SettingsStore> store = openStore(false);
    // A missing file is no error, but one that exists and can't be read (no regular file, too
    // large) is reported before its values are taken as missing.
    if (!store->readable())
        throw Error(QStringLiteral("Unable to read %1").arg(SettingsReadFileName()));

    for (qsizetype i = 0; i < Booleans.size(); ++i) {
        bool value = BooleanAt(i);
        if (const auto text = store->read(kBooleans, EntryName(Booleans[i])))
            if (const auto v = ParseInteger(text->trimmed()))
                value = *v != 0;
        SetBooleanAt(i, value);
    }
    for (qsizetype i = 0; i < Floats.size(); ++i) {
        const QString name = EntryName(Floats[i]);
        const QString own = EntryValue(Floats[i]);
        auto value = toFloat(store->read(kFloats, name).value_or(own));
        if (!value) {
            try {
                value = FloatAt(i);
            } catch (const Error&) {
                if (host)
                    host->showMessage(
                        QStringLiteral("Error in default value of Float \"%1\". Value = "
                                       "\"%2\". Value set to 0.0")
                            .arg(name, own));
                value = 0.0;
            }
        }
        SetFloatAt(i, *value);
    }
    for (qsizetype i = 0; i < Integers.size(); ++i) {
        std::int32_t value = IntegerAt(i);
        if (const auto text = store->read(kIntegers, EntryName(Integers[i])))
            value = ParseInteger(text->trimmed()).value_or(value);
        SetIntegerAt(i, value);
    }
    for (qsizetype i = 0; i < Strings.size(); ++i) {
        const QString name = EntryName(Strings[i]);
        SetStringAt(i, store->read(kStrings, name).value_or(EntryValue(Strings[i])));
    }
    // The store needs no write at the end while it holds every value as a write would put it;
    // a value missing there (a first start) or written otherwise is written.
    bool same = true;
    const auto holds = [&](const QString& list, const QString& name, const QString& text) {
        const auto stored = store->read(list, name);
        same = same && stored && *stored == text;
    };
    for (qsizetype i = 0; i < Booleans.size(); ++i)
        holds(kBooleans, EntryName(Booleans[i]),
              BooleanAt(i) ? QStringLiteral("1") : QStringLiteral("0"));
    for (const QString& line : std::as_const(Floats))
        holds(kFloats, EntryName(line), EntryValue(line));
    for (qsizetype i = 0; i < Integers.size(); ++i)
        holds(kIntegers, EntryName(Integers[i]), QString::number(IntegerAt(i)));
    for (const QString& line : std::as_const(Strings))
        holds(kStrings, EntryName(line), EntryValue(line));
    stored_ = same ? std::optional(values()) : std::nullopt;
}

std::array<QStringList, 4> ProgramSettings::values() const {
    return {Booleans, Floats, Integers, Strings};
}

void ProgramSettings::WriteSettings() {
    // Nothing changed since the settings were read (or last written): the file stays as it is,
    // also where it may not be written (an administrator's file, a read-only one).
    if (stored_ && *stored_ == values())
        return;
    const std::unique_ptr<SettingsStore> store = openStore(true);

    try {
        for (qsizetype i = 0; i < Booleans.size(); ++i)
            store->write(kBooleans, EntryName(Booleans[i]),
                         BooleanAt(i) ? QStringLiteral("1") : QStringLiteral("0"));
        for (const QString& line : std::as_const(Floats))
            store->write(kFloats, EntryName(line), EntryValue(line));
        for (qsizetype i = 0; i < Integers.size(); ++i)
            store->write(kIntegers, EntryName(Integers[i]), QString::number(IntegerAt(i)));
        for (const QString& line : std::as_const(Strings))
            store->write(kStrings, EntryName(line), EntryValue(line));
    } catch (const Error&) {
        // A value that can't be converted ends the write; what was written before it is kept.
        store->close();
        throw;
    }
    store->close();
    stored_ = values();
}

ProgramSettings MakeProgramSettings(const QString& programFile, RegistryService registry,
                                    const QString& configFolder,
                                    const std::function<bool(const QString&)>& folderWritable) {
    ProgramSettings ini(programFile, std::move(registry));
    ini.IniFileName = QStringLiteral("gyrodex.ini");
    const SettingsLocation where = ChooseSettingsLocation(ProgramFolder(programFile), configFolder,
                                                          ini.IniFileName, folderWritable);
    if (where.writeFile != ini.SettingsFileName()) {
        ini.UseStartUpDir = false;
        ini.IniFileName = where.writeFile;
        if (where.readFile != where.writeFile)
            ini.ReadFileName = where.readFile;
    }
    ini.Integers = QStringList{QStringLiteral("HintType=0")};
    ini.Strings = QStringList{QStringLiteral("DateFormat=ddd")};
    return ini;
}

} // namespace gyrodex
