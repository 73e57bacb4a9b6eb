#pragma once

#include "Host.h"
#include "Registry.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace gyrodex {

class SettingsStore;

enum class SettingsRoot { CurrentUser, LocalMachine };

// The settings store: four lists of "name=value" lines (Booleans, floats, integers, texts)
// that start with the values given at set-up, are replaced from a settings file (INI layout)
// or a registry key by ReadSettings and stored back by WriteSettings. Failures raise
// gyrodex::Error with the text shown to the user.
class ProgramSettings {
public:
    // `programFile` is the full path of the program file, whose folder holds the settings file
    // when UseStartUpDir is set; `registry` serves registry mode.
    explicit ProgramSettings(QString programFile = {},
                             RegistryService registry = RegistryService::System());

    // File mode: the settings file's name; registry mode: the key path below the root.
    QString IniFileName;
    // File mode: the file read instead of SettingsFileName() when not empty (an administrator's
    // file beside an installed program, which is read but never written).
    QString ReadFileName;
    // An extra level: a prefix to the section names, or a sub key.
    QString IniSection;
    bool UseStartUpDir = true;
    bool UseRegistry = false;
    SettingsRoot RegistryRoot = SettingsRoot::CurrentUser;
    QStringList Booleans;
    QStringList Floats;
    QStringList Integers;
    QStringList Strings;

    // Number format of the floats; the user's locale unless set otherwise.
    QLocale Locale;
    // A float whose own value is no number is reported through `host` (when given) and the
    // read goes on.
    void ReadSettings(Host* host = nullptr);
    // Stores every value; after a ReadSettings that found every value stored as a write would
    // store it, or after a WriteSettings, only when a value changed since.
    void WriteSettings();

    std::int32_t GetInteger(const QString& name) const;
    QString GetString(const QString& name) const;
    void SetInteger(const QString& name, std::int32_t value);
    // A text is kept to its first IniFile::kMaxText UTF-16 units (never half a character).
    void SetString(const QString& name, const QString& value);

    bool BooleanAt(qsizetype index) const;
    double FloatAt(qsizetype index) const;
    std::int32_t IntegerAt(qsizetype index) const;
    void SetBooleanAt(qsizetype index, bool value);
    void SetFloatAt(qsizetype index, double value);
    void SetIntegerAt(qsizetype index, std::int32_t value);
    void SetStringAt(qsizetype index, const QString& value);

    // The program's folder, up to and including its last "/" (empty when there is none).
    QString StartUpDir() const;
    // The settings file as file mode writes it, and as it reads it.
    QString SettingsFileName() const;
    QString SettingsReadFileName() const;

    // Name and value of one line: the text before and after its first "=".
    static QString EntryName(const QString& line);
    static QString EntryValue(const QString& line);

private:
    // The settings file, or the registry key (created when `create` is set).
    std::unique_ptr<SettingsStore> openStore(bool create) const;
    QString sectionName(const QString& list) const;
    std::optional<double> toFloat(const QString& text) const;
    QString floatText(double value) const;

    std::array<QStringList, 4> values() const;

    QString programFile_;
    RegistryService registry_;
    std::optional<std::array<QStringList, 4>> stored_; // the values as last read or written
};

// The program's own settings store: "gyrodex.ini", with the integer "HintType" (0) and the text
// "DateFormat" ("ddd"). The file is beside the program, or, where that folder is not writable,
// in `configFolder` (see ChooseSettingsLocation); an empty `configFolder` keeps it beside the
// program. `folderWritable` replaces the system's answer in tests.
ProgramSettings MakeProgramSettings(const QString& programFile,
                                    RegistryService registry = RegistryService::System(),
                                    const QString& configFolder = {},
                                    const std::function<bool(const QString&)>& folderWritable = {});

} // namespace gyrodex
