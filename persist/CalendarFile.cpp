#include "CalendarFile.h"

#include "Error.h"
#include "FieldRanges.h"

#include <algorithm>

namespace gyrodex {

namespace {

const QString kColors = QStringLiteral("Colors");
const QString kFlags = QStringLiteral("Flags");
const QString kMisc = QStringLiteral("Misc");
const QString kFont = QStringLiteral("Font");
const QString kHighlights = QStringLiteral("Highlights");
const QString kLabels = QStringLiteral("Labels");
const QString kLegend = QStringLiteral("Legend");

Colour ReadColour(const IniFile& ini, const QString& key, Colour def) {
    return static_cast<Colour>(ini.readInteger(kColors, key, static_cast<std::int32_t>(def)));
}

void WriteColour(IniFile& ini, const QString& key, Colour c) {
    ini.writeInteger(kColors, key, static_cast<std::int32_t>(c));
}

// A number field's value, held inside the field's range.
std::int32_t ReadField(const IniFile& ini, const QString& key, std::int32_t def,
                       const FieldRange& range) {
    return range.clamp(ini.readInteger(kMisc, key, def));
}

QString HighlightKey(qsizetype i) {
    // Written out by hand: one allocation for each of up to 100,000 keys a load or save makes.
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + i % 10);
        i /= 10;
    } while (i > 0);
    QString key(n + 1, Qt::Uninitialized);
    QChar* out = key.data();
    *out++ = u'H';
    while (n > 0)
        *out++ = QLatin1Char(digits[--n]);
    return key;
}

bool HasSection(const IniFile& ini, const QString& name) {
    const QStringList sections = ini.sections();
    return std::any_of(sections.begin(), sections.end(), [&name](const QString& s) {
        return s.compare(name, Qt::CaseInsensitive) == 0;
    });
}

// A text kept on one line of the file.
QString OneLine(const QString& text) {
    QString line = text;
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    return line;
}

// The labels and the colour key's names; a file without the sections shows no labels.
LabelSettings ReadLabels(const IniFile& ini) {
    LabelSettings l;
    l.Months = ini.readBool(kLabels, QStringLiteral("Months"), false);
    l.Weeks = ini.readBool(kLabels, QStringLiteral("Weeks"), false);
    l.Title = ini.readBool(kLabels, QStringLiteral("Title"), false);
    l.TitleYears = ini.readBool(kLabels, QStringLiteral("Years"), false);
    l.Legend = ini.readBool(kLabels, QStringLiteral("Legend"), false);
    l.Agenda = ini.readBool(kLabels, QStringLiteral("Agenda"), false);
    l.TitleText = ini.readString(kLabels, QStringLiteral("Text"), QString());
    l.FontName = ini.readString(kLabels, QStringLiteral("FontName"), l.FontName).trimmed();
    if (l.FontName.isEmpty())
        l.FontName = LabelSettings::defaultFontName();
    l.FontSize = std::clamp(
        ini.readInteger(kLabels, QStringLiteral("FontSize"), LabelSettings::kDefaultFontSize),
        LabelSettings::kMinFontSize, LabelSettings::kMaxFontSize);
    for (const QString& key : ini.keys(kLegend)) {
        const auto colour = ParseDecimal(QStringView(key).trimmed());
        const QString name = ini.readString(kLegend, key, QString()).trimmed();
        if (colour && !name.isEmpty())
            l.ColourNames[static_cast<Colour>(*colour)] = name;
    }
    return l;
}

// Writes the sections only for a design that uses them or a file that has them: a design
// without labels leaves the file's bytes as they were.
void WriteLabels(IniFile& ini, const LabelSettings& l) {
    LabelSettings plain = l;
    plain.ColourNames.clear();
    if (!(plain == LabelSettings{}) || HasSection(ini, kLabels)) {
        ini.writeBool(kLabels, QStringLiteral("Months"), l.Months);
        ini.writeBool(kLabels, QStringLiteral("Weeks"), l.Weeks);
        ini.writeBool(kLabels, QStringLiteral("Title"), l.Title);
        ini.writeBool(kLabels, QStringLiteral("Years"), l.TitleYears);
        ini.writeBool(kLabels, QStringLiteral("Legend"), l.Legend);
        ini.writeBool(kLabels, QStringLiteral("Agenda"), l.Agenda);
        ini.writeString(kLabels, QStringLiteral("Text"), OneLine(l.TitleText));
        ini.writeString(kLabels, QStringLiteral("FontName"), OneLine(l.FontName));
        ini.writeInteger(kLabels, QStringLiteral("FontSize"), l.FontSize);
    }
    if (!l.ColourNames.empty() || HasSection(ini, kLegend)) {
        // A name taken away stays in the file as an empty one, which reads as no name.
        for (const QString& key : ini.keys(kLegend)) {
            const auto colour = ParseDecimal(QStringView(key).trimmed());
            if (colour && !l.ColourNames.contains(static_cast<Colour>(*colour)))
                ini.writeString(kLegend, key, QString());
        }
        for (const auto& [colour, name] : l.ColourNames)
            ini.writeString(kLegend, QString::number(static_cast<std::int32_t>(colour)),
                            OneLine(name));
    }
}

} // namespace

DayDate ParseFileDate(const QString& text) {
    const std::int32_t year = StrToInt(QStringView(text).mid(6, 4));
    const std::int32_t day = StrToInt(QStringView(text).mid(3, 2));
    const std::int32_t month = StrToInt(QStringView(text).mid(0, 2));
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > MonthLength(month, year))
        throw Error(QStringLiteral("Invalid argument to date encode"));
    return MakeDayDate(static_cast<std::uint16_t>(day), static_cast<std::uint16_t>(month),
                       static_cast<std::uint16_t>(year));
}

bool ReadCalendar(const IniFile& ini, CalendarDesign& s, HighlightList& highlights) {
    s.BackColour = ReadColour(ini, QStringLiteral("Background"), 16744576);
    s.BackTextColour = ReadColour(ini, QStringLiteral("BackFont"), 8388608);
    s.DayColour = ReadColour(ini, QStringLiteral("Day"), 8454143);
    s.DayTextColour = ReadColour(ini, QStringLiteral("DayFont"), 0);
    s.WeekendColour = ReadColour(ini, QStringLiteral("Weekend"), 33023);
    s.WeekendTextColour = ReadColour(ini, QStringLiteral("WeekendFont"), 0);
    s.PastColour = ReadColour(ini, QStringLiteral("Past"), s.PastColour);
    s.PastTextColour = ReadColour(ini, QStringLiteral("PastFont"), s.PastTextColour);
    s.ThinColour = ReadColour(ini, QStringLiteral("Thin"), 0);
    s.ThickColour = ReadColour(ini, QStringLiteral("Thick"), 0);

    s.RepaintAll = ini.readBool(kFlags, QStringLiteral("Background"), true);
    s.PaintWeekends = ini.readBool(kFlags, QStringLiteral("Weekend"), true);
    s.setPaintPast(ini.readBool(kFlags, QStringLiteral("PastDays"), true));
    // Applied after the coupling, so "Today as Past" may end ticked though disabled.
    s.TodayAsPast = ini.readBool(kFlags, QStringLiteral("TodayPast"), true);

    s.ThickWidth = ReadField(ini, QStringLiteral("Thick"), 3, kPenWidthRange);
    s.ThinWidth = ReadField(ini, QStringLiteral("Normal"), 1, kPenWidthRange);
    s.StartWeek = ReadField(ini, QStringLiteral("StartWeek"), 22, kStartWeekRange);
    s.Radius = ReadField(ini, QStringLiteral("Radius"), 360, kRadiusRange);
    s.DayHeight = ReadField(ini, QStringLiteral("DayHeight"), 24, kDayHeightRange);
    s.CentreOffsetX = ini.readInteger(kMisc, QStringLiteral("CXOffset"), 0);
    s.CentreOffsetY = ini.readInteger(kMisc, QStringLiteral("CYOffset"), 0);

    // The period is taken as it stands: its order and length are not checked during a load.
    s.StartDate = ParseFileDate(
        ini.readString(kMisc, QStringLiteral("StartDate"), QStringLiteral("10/19/1998")));
    s.EndDate = ParseFileDate(
        ini.readString(kMisc, QStringLiteral("EndDate"), QStringLiteral("09/16/1999")));

    s.Font.name = ini.readString(kFont, QStringLiteral("Name"), DayFont::defaultName());
    s.Font.size = ini.readInteger(kFont, QStringLiteral("Size"), DayFont::kDefaultSize);

    const std::int32_t count = ini.readInteger(kHighlights, QStringLiteral("Count"), 0);
    highlights.clear();
    qsizetype n = std::min<qsizetype>(count, kMaxHighlights);
    // A Count over the limit is corrupt: no more entries are read than the section has keys
    // besides "Count", so that a made-up number costs no more than the entries present.
    if (count > kMaxHighlights)
        n = std::min<qsizetype>(n, std::max<qsizetype>(ini.keys(kHighlights).size() - 1, 0));
    QStringList entries;
    entries.reserve(std::max<qsizetype>(n, 0));
    for (qsizetype i = 0; i < n; ++i)
        entries << ini.readString(kHighlights, HighlightKey(i), QStringLiteral("$0#"));
    highlights.addAll(std::move(entries));
    s.Labels = ReadLabels(ini);
    return count <= kMaxHighlights;
}

void WriteCalendar(IniFile& ini, const CalendarDesign& s, const HighlightList& highlights) {
    WriteColour(ini, QStringLiteral("Background"), s.BackColour);
    WriteColour(ini, QStringLiteral("BackFont"), s.BackTextColour);
    WriteColour(ini, QStringLiteral("Day"), s.DayColour);
    WriteColour(ini, QStringLiteral("DayFont"), s.DayTextColour);
    WriteColour(ini, QStringLiteral("Weekend"), s.WeekendColour);
    WriteColour(ini, QStringLiteral("WeekendFont"), s.WeekendTextColour);
    WriteColour(ini, QStringLiteral("Past"), s.PastColour);
    WriteColour(ini, QStringLiteral("PastFont"), s.PastTextColour);
    WriteColour(ini, QStringLiteral("Thin"), s.ThinColour);
    WriteColour(ini, QStringLiteral("Thick"), s.ThickColour);

    ini.writeBool(kFlags, QStringLiteral("Background"), s.RepaintAll);
    ini.writeBool(kFlags, QStringLiteral("Weekend"), s.PaintWeekends);
    ini.writeBool(kFlags, QStringLiteral("PastDays"), s.PaintPast);
    ini.writeBool(kFlags, QStringLiteral("TodayPast"), s.TodayAsPast);

    ini.writeInteger(kMisc, QStringLiteral("Thick"), s.ThickWidth);
    ini.writeInteger(kMisc, QStringLiteral("Normal"), s.ThinWidth);
    ini.writeInteger(kMisc, QStringLiteral("StartWeek"), s.StartWeek);
    ini.writeInteger(kMisc, QStringLiteral("Radius"), s.Radius);
    ini.writeInteger(kMisc, QStringLiteral("DayHeight"), s.DayHeight);
    ini.writeInteger(kMisc, QStringLiteral("CXOffset"), s.CentreOffsetX);
    ini.writeInteger(kMisc, QStringLiteral("CYOffset"), s.CentreOffsetY);
    ini.writeString(kMisc, QStringLiteral("StartDate"), DateText(s.StartDate));
    ini.writeString(kMisc, QStringLiteral("EndDate"), DateText(s.EndDate));

    ini.writeString(kFont, QStringLiteral("Name"), s.Font.name);
    ini.writeInteger(kFont, QStringLiteral("Size"), s.Font.size);

    ini.writeInteger(kHighlights, QStringLiteral("Count"),
                     static_cast<std::int32_t>(highlights.size()));
    for (qsizetype i = 0; i < highlights.size(); ++i)
        ini.writeString(kHighlights, HighlightKey(i), highlights.at(i));
    WriteLabels(ini, s.Labels);
}

CalendarLoadResult LoadCalendarFile(CalendarState& state, HighlightList& highlights,
                                    const QString& fileName) {
    state.CalendarFileName = fileName;
    // The sections are applied with repaints suspended, as a batch of changes.
    const SuspendRepaint suspend(state);
    try {
        const IniFile ini(fileName);
        // A missing file loads the defaults, but one that exists and can't be read is reported
        // rather than silently replaced by them.
        if (!ini.readable())
            throw Error(QStringLiteral("Unable to read %1").arg(fileName));
        if (!ReadCalendar(ini, state, highlights))
            return {LoadOutcome::TooManyHighlights,
                    QStringLiteral("Too many highlights in %1").arg(fileName)};
    } catch (const Error& e) {
        return {LoadOutcome::Failed, e.message()};
    }
    return {};
}

void SaveCalendarFile(CalendarState& state, const HighlightList& highlights,
                      const QString& fileName) {
    state.CalendarFileName = fileName;
    IniFile ini(fileName);
    WriteCalendar(ini, state, highlights);
    ini.save();
}

} // namespace gyrodex
