#include "Cli.h"

#include "Bitmap.h"
#include "CalendarFile.h"
#include "DateFormat.h"
#include "Error.h"
#include "FieldRanges.h"
#include "Geometry.h"
#include "Highlights.h"
#include "ICalendar.h"
#include "Illustrator.h"
#include "ImageCanvas.h"
#include "LabelWords.h"
#include "Painter.h"
#include "Print.h"
#include "ProgramSettings.h"
#include "SaveFile.h"
#include "VectorImage.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QRegularExpression>
#include <algorithm>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace gyrodex {

namespace {

const char* const kUsage =
    "usage: gyrodex-cli COMMAND [options]\n"
    "commands:\n"
    "  render --out FILE      paint the wheel and write it as .png, .bmp, .svg or .pdf\n"
    "                         (--bitmap FILE.bmp: paint over a loaded bitmap)\n"
    "  export-ai --out FILE   paint, then write the wheel as an Illustrator drawing\n"
    "  print --out FILE.pdf   paint, then print the image to a PDF file scaled to the page\n"
    "                         (--page a4|letter, --landscape)\n"
    "  cells                  print 'spoke ring MM/DD/YYYY fill description' per dated cell\n"
    "  hit X Y                print 'spoke ring MM/DD/YYYY' for an image point, then the\n"
    "                         pointer hint shown there (an empty line when there is none)\n"
    "                         (--hint-type N, --date-format PATTERN; default: the settings\n"
    "                         file's)\n"
    "  show                   print the design as Section.Key=value lines\n"
    "  save-cal FILE          save the design as a calendar file\n"
    "  export-ics --out FILE  write the period's highlights as an iCalendar file\n"
    "options (--opt VALUE or --opt=VALUE; they take effect in the order given):\n"
    "  --cal FILE (load a calendar file first)  --highlights FILE (import a highlight file)\n"
    "  --size WxH  --today MM/DD/YYYY  --start MM/DD/YYYY  --end MM/DD/YYYY\n"
    "  --start-week N  --radius N  --day-height N  --offset X,Y  --anticlockwise\n"
    "  --weekend-outside  --no-weekends  --no-past  --today-not-past  --no-repaint-all\n"
    "  --highlight ENTRY (repeatable)  --set Section.Key=VALUE (a calendar file entry;\n"
    "  Legend.COLOUR=NAME names a highlight colour in the colour key)\n"
    "  --labels LIST (show months,weeks,title,legend,agenda; 'none' shows none)\n"
    "  --title TEXT (the title line's text; shows the title)\n"
    "  --ics FILE (import an iCalendar file's events within the period; repeatable)\n"
    "  --ics-colour COLOUR (for the events of later --ics files that name none: a CSS\n"
    "  name, #RRGGBB or a decimal colour; default red)\n"
    "  --help, -h (this text)  --version (the program's version)\n";

struct UsageError {
    QString message;
};

// One change to the design, applied in command-line order after the calendar file is loaded.
using Edit = std::function<void(CalendarState&, HighlightList&)>;

struct Options {
    QString command;
    QStringList positional;
    QSize size{1024, 768};
    std::optional<DayDate> today;
    bool sizeGiven = false;
    QString out;
    QString bitmap;
    QString page = QStringLiteral("a4");
    bool landscape = false;
    QString cal;
    std::optional<int> hintType;
    std::optional<QString> dateFormat;
    std::vector<Edit> edits;
    // The colour the next --ics files give events that name none.
    Colour icsColour = kDefaultIcsColour;
    // The zone of UTC and floating times in .ics files: the environment's, set before the
    // edits run.
    std::shared_ptr<QTimeZone> localZone = std::make_shared<QTimeZone>(QTimeZone::utc());
};

// What a command takes and writes: the suffixes its --out file may have (none: it writes no
// --out file), how many plain arguments it needs, and the options it takes beyond the design
// options every command shares.
struct CommandInfo {
    QString name;
    QStringList outSuffixes;
    qsizetype positionals = 0;
    QString positionalsMessage;
    QStringList ownOptions;
};

const std::vector<CommandInfo>& Commands() {
    static const std::vector<CommandInfo> commands = {
        {"render", {"png", "bmp", "svg", "pdf"}, 0, {}, {"out", "bitmap"}},
        {"export-ai", {"ai"}, 0, {}, {"out"}},
        {"print", {"pdf"}, 0, {}, {"out", "page", "landscape"}},
        {"cells", {}, 0, {}, {}},
        {"hit", {}, 2, "hit needs the coordinates X Y", {"hint-type", "date-format"}},
        {"show", {}, 0, {}, {}},
        {"save-cal", {}, 1, "save-cal needs the file name FILE", {}},
        {"export-ics", {"ics"}, 0, {}, {"out"}},
    };
    return commands;
}

// Sets one entry of the calendar file layout: the design is written into a file held in
// memory, the entry changed, and the file read back with the loader's own rules.
Edit SetEntry(const QString& section, const QString& key, const QString& value) {
    return [section, key, value](CalendarState& s, HighlightList& h) {
        IniFile ini;
        WriteCalendar(ini, s, h);
        ini.writeString(section, key, value);
        ReadCalendar(ini, s, h);
    };
}

std::optional<DayDate> ParseDate(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^(\\d{2})/(\\d{2})/(\\d{4})$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const DayDate d = MakeDayDate(static_cast<std::uint16_t>(m.captured(2).toUInt()),
                                  static_cast<std::uint16_t>(m.captured(1).toUInt()),
                                  static_cast<std::uint16_t>(m.captured(3).toUInt()));
    if (!IsRealDate(d))
        return std::nullopt;
    return d;
}

std::optional<int> ParseInt(const QString& text) {
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    return ok ? std::optional<int>(v) : std::nullopt;
}

int IntValue(const QString& option, const QString& text, int lo, int hi) {
    const auto v = ParseInt(text);
    if (!v || *v < lo || *v > hi)
        throw UsageError{QStringLiteral("invalid %1 '%2' (expected a whole number from %3 "
                                        "to %4)")
                             .arg(option, QuoteField(text))
                             .arg(lo)
                             .arg(hi)};
    return *v;
}

int IntValue(const QString& option, const QString& text, const FieldRange& range) {
    return IntValue(option, text, range.min, range.max);
}

DayDate DateValue(const QString& option, const QString& text) {
    const auto d = ParseDate(text);
    if (!d)
        throw UsageError{QStringLiteral("invalid %1 '%2' (expected a real date MM/DD/YYYY)")
                             .arg(option, QuoteField(text))};
    return *d;
}

QSize SizeValue(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^(\\d{1,9})x(\\d{1,9})$"));
    const auto m = re.match(text);
    const qint64 w = m.hasMatch() ? m.captured(1).toLongLong() : 0;
    const qint64 h = m.hasMatch() ? m.captured(2).toLongLong() : 0;
    try {
        if (!m.hasMatch())
            throw Error(QStringLiteral("expected WxH"));
        CheckImageSize(w, h);
    } catch (const Error& e) {
        throw UsageError{
            QStringLiteral("invalid --size '%1': %2").arg(QuoteField(text), e.message())};
    }
    return QSize(static_cast<int>(w), static_cast<int>(h));
}

// One option: its name without the dashes, the name of its value (empty for a switch) and what
// it does to the options, given the option as written ("--radius") and its value.
struct OptionInfo {
    QString name;
    QString valueName;
    std::function<void(Options&, const QString&, const QString&)> apply;
};

void AddEdit(Options& o, Edit e) {
    o.edits.push_back(std::move(e));
}

const std::vector<OptionInfo>& OptionTable() {
    using S = CalendarState;
    using H = HighlightList;
    static const std::vector<OptionInfo> options = {
        {"size", "WxH",
         [](Options& o, const QString&, const QString& v) {
             o.size = SizeValue(v);
             o.sizeGiven = true;
         }},
        {"today", "MM/DD/YYYY",
         [](Options& o, const QString& a, const QString& v) { o.today = DateValue(a, v); }},
        {"start", "MM/DD/YYYY",
         [](Options& o, const QString& a, const QString& v) {
             AddEdit(o, [d = DateValue(a, v)](S& s, H&) { s.StartDate = d; });
         }},
        {"end", "MM/DD/YYYY",
         [](Options& o, const QString& a, const QString& v) {
             AddEdit(o, [d = DateValue(a, v)](S& s, H&) { s.EndDate = d; });
         }},
        {"start-week", "N",
         [](Options& o, const QString& a, const QString& v) {
             AddEdit(o, [n = IntValue(a, v, kStartWeekRange)](S& s, H&) { s.StartWeek = n; });
         }},
        {"radius", "N",
         [](Options& o, const QString& a, const QString& v) {
             AddEdit(o, [n = IntValue(a, v, kRadiusRange)](S& s, H&) { s.Radius = n; });
         }},
        {"day-height", "N",
         [](Options& o, const QString& a, const QString& v) {
             AddEdit(o, [n = IntValue(a, v, kDayHeightRange)](S& s, H&) { s.DayHeight = n; });
         }},
        {"offset", "X,Y",
         [](Options& o, const QString&, const QString& v) {
             const QStringList parts = v.split(u',');
             const auto x = parts.size() == 2 ? ParseInt(parts[0]) : std::nullopt;
             const auto y = parts.size() == 2 ? ParseInt(parts[1]) : std::nullopt;
             if (!x || !y)
                 throw UsageError{
                     QStringLiteral("invalid --offset '%1' (expected X,Y)").arg(QuoteField(v))};
             AddEdit(o, [x = *x, y = *y](S& s, H&) {
                 s.CentreOffsetX = x;
                 s.CentreOffsetY = y;
             });
         }},
        {"anticlockwise",
         {},
         [](Options& o, const QString&, const QString&) {
             AddEdit(o, [](S& s, H&) { s.Clockwise = false; });
         }},
        {"weekend-outside",
         {},
         [](Options& o, const QString&, const QString&) {
             AddEdit(o, [](S& s, H&) { s.WeekendInside = false; });
         }},
        {"no-weekends",
         {},
         [](Options& o, const QString&, const QString&) {
             AddEdit(o, [](S& s, H&) { s.PaintWeekends = false; });
         }},
        {"no-past",
         {},
         [](Options& o, const QString&, const QString&) {
             AddEdit(o, [](S& s, H&) { s.setPaintPast(false); });
         }},
        {"today-not-past",
         {},
         [](Options& o, const QString&, const QString&) {
             AddEdit(o, [](S& s, H&) { s.TodayAsPast = false; });
         }},
        {"no-repaint-all",
         {},
         [](Options& o, const QString&, const QString&) {
             AddEdit(o, [](S& s, H&) { s.RepaintAll = false; });
         }},
        {"highlight", "ENTRY",
         [](Options& o, const QString&, const QString& v) {
             AddEdit(o, [v](S&, H& h) { h.add(v); });
         }},
        {"highlights", "FILE",
         [](Options& o, const QString&, const QString& v) {
             AddEdit(o, [v](S&, H& h) { ImportFromFile(h, v); });
         }},
        {"ics", "FILE",
         [](Options& o, const QString&, const QString& v) {
             AddEdit(o, [v, colour = o.icsColour, zone = o.localZone](S& s, H& h) {
                 IcsImport how;
                 how.first = s.StartDate;
                 how.last = s.EndDate;
                 how.colour = colour;
                 how.localZone = *zone;
                 ImportIcsFile(h, v, how);
             });
         }},
        {"ics-colour", "COLOUR",
         [](Options& o, const QString& a, const QString& v) {
             if (const auto css = CssColour(v)) {
                 o.icsColour = *css;
             } else if (const auto n = ParseInt(v)) {
                 o.icsColour = static_cast<Colour>(*n);
             } else {
                 throw UsageError{QStringLiteral("invalid %1 '%2' (expected a CSS colour name, "
                                                 "#RRGGBB or a decimal colour)")
                                      .arg(a, QuoteField(v))};
             }
         }},
        {"cal", "FILE", [](Options& o, const QString&, const QString& v) { o.cal = v; }},
        {"set", "Section.Key=VALUE",
         [](Options& o, const QString&, const QString& v) {
             static const QRegularExpression re(
                 QStringLiteral("^(Colors|Flags|Misc|Font|Labels|Legend)\\.([^=]+)=(.*)$"),
                 QRegularExpression::CaseInsensitiveOption);
             const auto m = re.match(v);
             if (!m.hasMatch())
                 throw UsageError{QStringLiteral("invalid --set '%1' (expected Section.Key=VALUE "
                                                 "with a section Colors, Flags, Misc, Font, "
                                                 "Labels or Legend)")
                                      .arg(QuoteField(v))};
             QString key = m.captured(2);
             if (m.captured(1).compare(u"Legend", Qt::CaseInsensitive) == 0) {
                 // The colour as the highlights write it, also from a CSS name or #RRGGBB.
                 if (const auto css = CssColour(key.trimmed()))
                     key = QString::number(static_cast<std::int32_t>(*css));
                 else if (!ParseInt(key.trimmed()))
                     throw UsageError{QStringLiteral("invalid --set '%1' (expected "
                                                     "Legend.COLOUR=NAME with a CSS colour name, "
                                                     "#RRGGBB or a decimal colour)")
                                          .arg(QuoteField(v))};
             }
             AddEdit(o, SetEntry(m.captured(1), key, m.captured(3)));
         }},
        {"labels", "LIST",
         [](Options& o, const QString& a, const QString& v) {
             LabelSettings shown;
             for (const QString& part : v.split(u',', Qt::SkipEmptyParts)) {
                 const QString name = part.trimmed().toLower();
                 if (name == u"months")
                     shown.Months = true;
                 else if (name == u"weeks")
                     shown.Weeks = true;
                 else if (name == u"title")
                     shown.Title = true;
                 else if (name == u"legend")
                     shown.Legend = true;
                 else if (name == u"agenda")
                     shown.Agenda = true;
                 else if (name != u"none")
                     throw UsageError{QStringLiteral("invalid %1 '%2' (expected any of months, "
                                                     "weeks, title, legend, agenda or none)")
                                          .arg(a, QuoteField(v))};
             }
             AddEdit(o, [shown](S& s, H&) {
                 s.Labels.Months = shown.Months;
                 s.Labels.Weeks = shown.Weeks;
                 s.Labels.Title = shown.Title;
                 s.Labels.Legend = shown.Legend;
                 s.Labels.Agenda = shown.Agenda;
             });
         }},
        {"title", "TEXT",
         [](Options& o, const QString&, const QString& v) {
             AddEdit(o, [v](S& s, H&) {
                 s.Labels.TitleText = v;
                 s.Labels.Title = true;
             });
         }},
        {"hint-type", "N",
         [](Options& o, const QString& a, const QString& v) {
             o.hintType =
                 IntValue(a, v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
         }},
        {"date-format", "PATTERN",
         [](Options& o, const QString&, const QString& v) { o.dateFormat = v; }},
        {"out", "FILE", [](Options& o, const QString&, const QString& v) { o.out = v; }},
        {"bitmap", "FILE", [](Options& o, const QString&, const QString& v) { o.bitmap = v; }},
        {"page", "a4|letter",
         [](Options& o, const QString&, const QString& v) {
             o.page = v.toLower();
             if (o.page != u"a4" && o.page != u"letter")
                 throw UsageError{QStringLiteral("invalid --page '%1' (expected a4 or letter)")
                                      .arg(QuoteField(o.page))};
         }},
        {"landscape", {}, [](Options& o, const QString&, const QString&) { o.landscape = true; }},
    };
    return options;
}

// Marks a plain argument that looks like a negative number ("hit -5 10"), which the parser would
// take for a short option, and takes the mark off again.
constexpr QChar kNumberMark(0xE000);

QStringList MarkNegativeNumbers(const QStringList& args) {
    static const QRegularExpression number(QStringLiteral("^-\\d+$"));
    QStringList marked;
    marked.reserve(args.size());
    bool isValue = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (isValue) {
            marked << a;
            isValue = false;
        } else if (a == u"--") {
            // Everything after "--" is a plain argument already.
            marked << args.mid(i);
            break;
        } else if (number.match(a).hasMatch()) {
            marked << kNumberMark + a;
        } else {
            if (a.startsWith(u"--") && !a.contains(u'=')) {
                const QStringView name = QStringView(a).mid(2);
                for (const OptionInfo& info : OptionTable())
                    if (info.name == name && !info.valueName.isEmpty())
                        isValue = true;
            }
            marked << a;
        }
    }
    return marked;
}

QString UnmarkNumber(const QString& a) {
    return a.startsWith(kNumberMark) ? a.mid(1) : a;
}

// The option as the user wrote it, for a message about an option the parser did not know.
QString WrittenOption(const QStringList& args, const QString& name) {
    const QString dashed = QStringLiteral("--") + name;
    for (const QString& a : args)
        if (a == dashed || a.startsWith(dashed + u'=') || a == QStringView(dashed).mid(1))
            return a.section(u'=', 0, 0);
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

struct Parsed {
    Options options;
    bool help = false;
    bool version = false;
};

Parsed ParseArgs(const QStringList& args) {
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    parser.addOption(QCommandLineOption(QStringLiteral("version")));
    for (const OptionInfo& info : OptionTable())
        parser.addOption(QCommandLineOption(info.name, QString(), info.valueName));
    // The parser wants the program's name first.
    const QStringList marked =
        QStringList{QStringLiteral("gyrodex-cli")} + MarkNegativeNumbers(args);
    if (!parser.parse(marked)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            throw UsageError{QStringLiteral("unknown argument '%1'")
                                 .arg(QuoteField(WrittenOption(args, unknown.first())))};
        throw UsageError{QuoteField(parser.errorText())};
    }
    Parsed p;
    p.help = parser.isSet(QStringLiteral("help"));
    p.version = parser.isSet(QStringLiteral("version"));
    QStringList positional;
    for (const QString& a : parser.positionalArguments())
        positional << UnmarkNumber(a);
    if (p.help || p.version)
        return p;
    if (positional.size() == 1 && positional[0] == u"help" && parser.optionNames().isEmpty()) {
        p.help = true;
        return p;
    }

    Options& o = p.options;
    if (positional.isEmpty())
        throw UsageError{QStringLiteral("missing command")};
    o.command = positional.takeFirst();
    const auto command = std::find_if(Commands().begin(), Commands().end(),
                                      [&o](const CommandInfo& c) { return c.name == o.command; });
    if (command == Commands().end())
        throw UsageError{QStringLiteral("unknown command '%1'").arg(QuoteField(o.command))};
    static const QStringList kOwnOptions = [] {
        QStringList own;
        for (const CommandInfo& c : Commands())
            own << c.ownOptions;
        return own;
    }();

    // The options in the order given: a repeated option's values come in order too.
    std::map<QString, qsizetype> used;
    for (const QString& name : parser.optionNames()) {
        const auto info = std::find_if(OptionTable().begin(), OptionTable().end(),
                                       [&name](const OptionInfo& i) { return i.name == name; });
        const QString written = WrittenOption(args, name);
        if (info == OptionTable().end() ||
            (kOwnOptions.contains(name) && !command->ownOptions.contains(name)))
            throw UsageError{
                QStringLiteral("unknown argument '%1' for %2").arg(QuoteField(written), o.command)};
        const qsizetype index = used[name]++;
        const QString value =
            info->valueName.isEmpty() ? QString() : parser.values(name).value(index);
        info->apply(o, QStringLiteral("--") + name, value);
    }

    if (positional.size() > command->positionals) {
        if (command->positionals == 0)
            throw UsageError{
                QStringLiteral("unknown argument '%1'").arg(QuoteField(positional.first()))};
        throw UsageError{command->positionalsMessage};
    }
    if (positional.size() < command->positionals)
        throw UsageError{command->positionalsMessage};
    o.positional = positional;
    if (o.command == u"hit")
        for (const QString& c : o.positional)
            if (!ParseInt(c))
                throw UsageError{QStringLiteral("invalid coordinate '%1'").arg(QuoteField(c))};

    if (!command->outSuffixes.isEmpty()) {
        if (o.out.isEmpty())
            throw UsageError{QStringLiteral("%1 needs --out FILE").arg(o.command)};
        const QString suffix = QFileInfo(o.out).suffix().toLower();
        if (!o.bitmap.isEmpty() && (suffix == u"svg" || suffix == u"pdf"))
            throw UsageError{QStringLiteral("--bitmap needs a .png or .bmp output")};
        if (!command->outSuffixes.contains(suffix))
            throw UsageError{
                QStringLiteral("invalid --out '%1' (expected a .%2 file)")
                    .arg(QuoteField(o.out), command->outSuffixes.join(QStringLiteral(", .")))};
    }
    return p;
}

struct HintSettings {
    int hintType = 0;
    QString dateFormat = QStringLiteral("ddd");
};

// The hint settings: the options given, else the program's settings file (beside the program,
// or in the user's configuration folder for an installed one). A settings file that can't be
// used is reported and its design values taken, as the program does.
HintSettings ReadHintSettings(const Options& o, const CliEnvironment& environment,
                              QTextStream& err) {
    HintSettings hs;
    if (!o.hintType || !o.dateFormat) {
        ProgramSettings ini = MakeProgramSettings(
            environment.programFile, RegistryService::System(), environment.configFolder);
        try {
            ini.ReadSettings();
        } catch (const Error& e) {
            err << e.message() << '\n';
        }
        try {
            hs.hintType = ini.GetInteger(QStringLiteral("HintType"));
            hs.dateFormat = ini.GetString(QStringLiteral("DateFormat"));
        } catch (const Error& e) {
            err << e.message() << '\n';
        }
    }
    if (o.hintType)
        hs.hintType = *o.hintType;
    if (o.dateFormat)
        hs.dateFormat = *o.dateFormat;
    return hs;
}

// Warns about a design that paints, but not as its user likely meant: a period past 364 days
// (52 spokes of 7 days), whose later days paint over the first weeks' cells, and a wheel that
// reaches past the image's edges. Only a warning: the picture is made all the same.
void WarnAboutFit(const CalendarDesign& s, QSize image, QTextStream& err) {
    if (IsRealDate(s.StartDate) && IsRealDate(s.EndDate)) {
        const std::int64_t days = std::int64_t{DayNumber(s.EndDate)} - DayNumber(s.StartDate) + 1;
        if (days > kSpokes * kRings)
            err << "gyrodex-cli: warning: the period has " << days << " days; days after the "
                << kSpokes * kRings << "th paint over the first weeks\n";
    }
    RepaintResult r;
    r.updateCentre(s, image.width(), image.height());
    const std::int64_t radius = s.Radius;
    if (r.CentreX - radius < 0 || r.CentreY - radius < 0 || r.CentreX + radius >= image.width() ||
        r.CentreY + radius >= image.height())
        err << "gyrodex-cli: warning: the wheel of radius " << s.Radius << " does not fit a "
            << image.width() << 'x' << image.height() << " image; use --size\n";
    err.flush();
}

} // namespace

int RunCli(const QStringList& args, QTextStream& out, QTextStream& err,
           const CliEnvironment& environment) {
    Parsed parsed;
    try {
        parsed = ParseArgs(args);
    } catch (const UsageError& e) {
        err << "gyrodex-cli: " << e.message << " (gyrodex-cli --help shows the usage)\n";
        err.flush();
        return 2;
    }
    if (parsed.help || parsed.version) {
        out << (parsed.help ? QString::fromLatin1(kUsage)
                            : QStringLiteral("gyrodex-cli " GYRODEX_VERSION "\n"));
        out.flush();
        return 0;
    }
    *parsed.options.localZone = environment.localZone;
    const Options& o = parsed.options;
    try {
        const DayDate today = o.today.value_or(environment.today);
        CalendarState s;
        HighlightList highlights;
        if (o.cal.isEmpty())
            s.setDefaultPeriod(today);
        else if (const CalendarLoadResult loaded = LoadCalendarFile(s, highlights, o.cal);
                 !loaded.message.isEmpty())
            throw Error(loaded.message);
        for (const Edit& e : o.edits)
            e(s, highlights);
        // The labels in English with the hints' date format, as the hints this tool prints.
        if (s.Labels.anyShown() && o.command != u"show" && o.command != u"save-cal")
            s.LabelWords = MakeLabelWords(ReadHintSettings(o, environment, err).dateFormat,
                                          DateFormatLocale::UsEnglish());

        if (o.command == u"show") {
            IniFile ini;
            WriteCalendar(ini, s, highlights);
            for (const QString& section : ini.sections())
                for (const QString& key : ini.keys(section))
                    out << section << '.' << key << '='
                        << ini.value(section, key).value_or(QString()) << '\n';
            out.flush();
            return 0;
        }
        if (o.command == u"save-cal") {
            SaveCalendarFile(s, highlights, o.positional[0]);
            return 0;
        }
        if (o.command == u"export-ics") {
            ExportIcsFile(highlights, o.out, s.StartDate, s.EndDate);
            return 0;
        }

        ImageCanvas canvas(o.size);
        if (!o.bitmap.isEmpty()) {
            LoadBitmapFile(s, canvas, o.bitmap);
            if (o.sizeGiven)
                ResizeBitmap(s, canvas, o.size.width(), o.size.height());
        }
        WarnAboutFit(s, QSize(canvas.width(), canvas.height()), err);
        const QString suffix = QFileInfo(o.out).suffix().toLower();
        if (o.command == u"render" && (suffix == u"svg" || suffix == u"pdf")) {
            const VectorFormat format = suffix == u"svg" ? VectorFormat::Svg : VectorFormat::Pdf;
            SaveFileWhole(o.out, RenderVector(format, s, highlights, today,
                                              QSize(canvas.width(), canvas.height())));
            return 0;
        }
        RepaintCalendar(s, highlights, canvas, today);

        if (o.command == u"render") {
            if (suffix == u"bmp") {
                SaveBitmapFile(s, canvas.image(), o.out);
            } else {
                QByteArray bytes;
                QBuffer buffer(&bytes);
                buffer.open(QIODevice::WriteOnly);
                if (!canvas.image().save(&buffer, "PNG"))
                    throw Error(QStringLiteral("Unable to write to %1").arg(o.out));
                SaveFileWhole(o.out, bytes);
            }
        } else if (o.command == u"export-ai") {
            ExportToIllustrator(
                o.out, s, highlights, today,
                [&canvas](const QString& text) { return canvas.textExtent(text); },
                QSize(canvas.width(), canvas.height()));
        } else if (o.command == u"print") {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setPageSize(QPageSize(o.page == u"letter" ? QPageSize::Letter : QPageSize::A4));
            printer.setPageOrientation(o.landscape ? QPageLayout::Landscape
                                                   : QPageLayout::Portrait);
            PrintImageToPdf(printer, canvas.image(), o.out);
        } else if (o.command == u"cells") {
            for (int spoke = 0; spoke < kSpokes; ++spoke)
                for (int ring = 1; ring <= kRings; ++ring) {
                    const DayCell& c = s.Cells.at(spoke, ring);
                    if (c.date.isNoDate())
                        continue;
                    out << spoke << ' ' << ring << ' ' << DateText(c.date) << ' '
                        << static_cast<std::int32_t>(c.fill) << ' ' << c.description << '\n';
                }
        } else {
            const HitResult h = HitTest(s, o.positional[0].toInt(), o.positional[1].toInt());
            out << h.spoke << ' ' << h.ring << ' ' << DateText(h.date) << '\n';
            const QString description =
                h.spoke >= 0 && h.ring >= 1 ? s.Cells.at(h.spoke, h.ring).description : QString();
            const HintSettings hs = ReadHintSettings(o, environment, err);
            const DateHint hint = MakeDateHint(h.date, description, hs.hintType, hs.dateFormat);
            // A hint that keeps its earlier text shows the empty text it starts with.
            out << (hint.kind == DateHint::Kind::Text ? hint.text : QString()) << '\n';
        }
    } catch (const Error& e) {
        err << e.message() << '\n';
        err.flush();
        out.flush();
        return 1;
    }
    out.flush();
    return 0;
}

} // namespace gyrodex
