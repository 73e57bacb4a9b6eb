#include "Cli.h"

#include "Bitmap.h"
#include "CalendarFile.h"
#include "DateFormat.h"
#include "Error.h"
#include "FieldRanges.h"
#include "Geometry.h"
#include "Highlights.h"
#include "Illustrator.h"
#include "ImageCanvas.h"
#include "Painter.h"
#include "Print.h"
#include "RegVal.h"
#include "SaveFile.h"
#include "VectorImage.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QRegularExpression>
#include <functional>
#include <limits>
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
    "  show                   print the design as Section.Key=value lines\n"
    "  save-cal FILE          save the design as a calendar file\n"
    "options:\n"
    "  --cal FILE (load a calendar file first)  --highlights FILE (import a highlight file)\n"
    "  --size WxH  --today MM/DD/YYYY  --start MM/DD/YYYY  --end MM/DD/YYYY\n"
    "  --start-week N  --radius N  --day-height N  --offset X,Y  --anticlockwise\n"
    "  --weekend-outside  --no-weekends  --no-past  --today-not-past  --no-repaint-all\n"
    "  --highlight ENTRY (repeatable)  --set Section.Key=VALUE (a calendar file entry)\n"
    "  --hint-type N  --date-format PATTERN (hit; default: the settings file's)\n";

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
};

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

class ArgReader {
public:
    explicit ArgReader(const QStringList& args) : args_(args) {}
    bool atEnd() const { return i_ >= args_.size(); }
    QString next() { return args_.at(i_++); }
    QString value(const QString& option) {
        if (atEnd())
            throw UsageError{QStringLiteral("missing value for %1").arg(option)};
        return next();
    }
    int intValue(const QString& option, int lo, int hi) {
        const QString text = value(option);
        const auto v = ParseInt(text);
        if (!v || *v < lo || *v > hi)
            throw UsageError{QStringLiteral("invalid %1 '%2' (expected a whole number from %3 "
                                            "to %4)")
                                 .arg(option, QuoteField(text))
                                 .arg(lo)
                                 .arg(hi)};
        return *v;
    }
    int intValue(const QString& option, const FieldRange& range) {
        return intValue(option, range.min, range.max);
    }
    DayDate dateValue(const QString& option) {
        const QString text = value(option);
        const auto d = ParseDate(text);
        if (!d)
            throw UsageError{QStringLiteral("invalid %1 '%2' (expected a real date MM/DD/YYYY)")
                                 .arg(option, QuoteField(text))};
        return *d;
    }

private:
    const QStringList& args_;
    qsizetype i_ = 0;
};

Options ParseArgs(const QStringList& args) {
    Options o;
    ArgReader r(args);
    if (r.atEnd())
        throw UsageError{QStringLiteral("missing command")};
    o.command = r.next();
    static const QStringList kCommands = {"render",   "cells",     "hit",  "show",
                                          "save-cal", "export-ai", "print"};
    if (!kCommands.contains(o.command))
        throw UsageError{QStringLiteral("unknown command '%1'").arg(QuoteField(o.command))};
    const auto edit = [&o](auto f) { o.edits.push_back(Edit(f)); };
    while (!r.atEnd()) {
        const QString a = r.next();
        if (a == u"--size") {
            const QString text = r.value(a);
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
            o.size = QSize(static_cast<int>(w), static_cast<int>(h));
            o.sizeGiven = true;
        } else if (a == u"--today") {
            o.today = r.dateValue(a);
        } else if (a == u"--start") {
            edit([d = r.dateValue(a)](CalendarState& s, HighlightList&) { s.StartDate = d; });
        } else if (a == u"--end") {
            edit([d = r.dateValue(a)](CalendarState& s, HighlightList&) { s.EndDate = d; });
        } else if (a == u"--start-week") {
            edit([v = r.intValue(a, kStartWeekRange)](CalendarState& s, HighlightList&) {
                s.StartWeek = v;
            });
        } else if (a == u"--radius") {
            edit([v = r.intValue(a, kRadiusRange)](CalendarState& s, HighlightList&) {
                s.Radius = v;
            });
        } else if (a == u"--day-height") {
            edit([v = r.intValue(a, kDayHeightRange)](CalendarState& s, HighlightList&) {
                s.DayHeight = v;
            });
        } else if (a == u"--offset") {
            const QString text = r.value(a);
            const QStringList parts = text.split(u',');
            const auto x = parts.size() == 2 ? ParseInt(parts[0]) : std::nullopt;
            const auto y = parts.size() == 2 ? ParseInt(parts[1]) : std::nullopt;
            if (!x || !y)
                throw UsageError{
                    QStringLiteral("invalid --offset '%1' (expected X,Y)").arg(QuoteField(text))};
            edit([x = *x, y = *y](CalendarState& s, HighlightList&) {
                s.CentreOffsetX = x;
                s.CentreOffsetY = y;
            });
        } else if (a == u"--anticlockwise") {
            edit([](CalendarState& s, HighlightList&) { s.Clockwise = false; });
        } else if (a == u"--weekend-outside") {
            edit([](CalendarState& s, HighlightList&) { s.WeekendInside = false; });
        } else if (a == u"--no-weekends") {
            edit([](CalendarState& s, HighlightList&) { s.PaintWeekends = false; });
        } else if (a == u"--no-past") {
            edit([](CalendarState& s, HighlightList&) { s.setPaintPast(false); });
        } else if (a == u"--today-not-past") {
            edit([](CalendarState& s, HighlightList&) { s.TodayAsPast = false; });
        } else if (a == u"--no-repaint-all") {
            edit([](CalendarState& s, HighlightList&) { s.RepaintAll = false; });
        } else if (a == u"--highlight") {
            edit([e = r.value(a)](CalendarState&, HighlightList& h) { h.add(e); });
        } else if (a == u"--highlights") {
            edit([f = r.value(a)](CalendarState&, HighlightList& h) { ImportFromFile(h, f); });
        } else if (a == u"--cal") {
            o.cal = r.value(a);
        } else if (a == u"--set") {
            const QString text = r.value(a);
            static const QRegularExpression re(
                QStringLiteral("^(Colors|Flags|Misc|Font)\\.([^=]+)=(.*)$"),
                QRegularExpression::CaseInsensitiveOption);
            const auto m = re.match(text);
            if (!m.hasMatch())
                throw UsageError{QStringLiteral("invalid --set '%1' (expected Section.Key=VALUE "
                                                "with a section Colors, Flags, Misc or Font)")
                                     .arg(QuoteField(text))};
            edit(SetEntry(m.captured(1), m.captured(2), m.captured(3)));
        } else if (a == u"--hint-type") {
            o.hintType =
                r.intValue(a, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        } else if (a == u"--date-format") {
            o.dateFormat = r.value(a);
        } else if (a == u"--out") {
            o.out = r.value(a);
        } else if (a == u"--bitmap" && o.command == u"render") {
            o.bitmap = r.value(a);
        } else if (a == u"--page" && o.command == u"print") {
            o.page = r.value(a).toLower();
            if (o.page != u"a4" && o.page != u"letter")
                throw UsageError{QStringLiteral("invalid --page '%1' (expected a4 or letter)")
                                     .arg(QuoteField(o.page))};
        } else if (a == u"--landscape" && o.command == u"print") {
            o.landscape = true;
        } else if (a.startsWith(u"--") || (o.command != u"hit" && o.command != u"save-cal")) {
            throw UsageError{QStringLiteral("unknown argument '%1'").arg(QuoteField(a))};
        } else {
            o.positional << a;
        }
    }
    const bool writesFile =
        o.command == u"render" || o.command == u"export-ai" || o.command == u"print";
    if (writesFile && o.out.isEmpty())
        throw UsageError{QStringLiteral("%1 needs --out FILE").arg(o.command)};
    if (o.command == u"save-cal" && o.positional.size() != 1)
        throw UsageError{QStringLiteral("save-cal needs the file name FILE")};
    if (o.command == u"hit") {
        if (o.positional.size() != 2)
            throw UsageError{QStringLiteral("hit needs the coordinates X Y")};
        for (const QString& p : o.positional)
            if (!ParseInt(p))
                throw UsageError{QStringLiteral("invalid coordinate '%1'").arg(QuoteField(p))};
    }
    if (!o.out.isEmpty()) {
        const QString suffix = QFileInfo(o.out).suffix().toLower();
        const QStringList allowed = o.command == u"render" ? QStringList{"png", "bmp", "svg", "pdf"}
                                    : o.command == u"export-ai" ? QStringList{"ai"}
                                    : o.command == u"print"     ? QStringList{"pdf"}
                                                                : QStringList{"png"};
        if (!o.bitmap.isEmpty() && (suffix == u"svg" || suffix == u"pdf"))
            throw UsageError{QStringLiteral("--bitmap needs a .png or .bmp output")};
        if (!allowed.contains(suffix))
            throw UsageError{QStringLiteral("invalid --out '%1' (expected a .%2 file)")
                                 .arg(o.out, allowed.join(QStringLiteral(", .")))};
    }
    return o;
}

struct HintSettings {
    int hintType = 0;
    QString dateFormat = QStringLiteral("ddd");
};

// The hint settings: the options given, else the settings file beside the program. A settings
// file that can't be used is reported and its design values taken, as the program does.
HintSettings ReadHintSettings(const Options& o, const QString& programFile, QTextStream& err) {
    HintSettings hs;
    if (!o.hintType || !o.dateFormat) {
        TRegVal ini = MakeProgramSettings(programFile);
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

} // namespace

int RunCli(const QStringList& args, QTextStream& out, QTextStream& err,
           const CliEnvironment& environment) {
    if (args.size() == 1 && (args[0] == u"--help" || args[0] == u"-h" || args[0] == u"help")) {
        out << kUsage;
        out.flush();
        return 0;
    }
    Options o;
    try {
        o = ParseArgs(args);
    } catch (const UsageError& e) {
        err << "gyrodex-cli: " << e.message << " (gyrodex-cli --help shows the usage)\n";
        err.flush();
        return 2;
    }
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

        ImageCanvas canvas(o.size);
        if (!o.bitmap.isEmpty()) {
            LoadBitmapFile(s, canvas, o.bitmap);
            if (o.sizeGiven)
                ResizeBitmap(s, canvas, o.size.width(), o.size.height());
        }
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
            ExportToIllustrator(o.out, s, highlights, today,
                                [&canvas](const QString& text) { return canvas.textExtent(text); });
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
            const HintSettings hs = ReadHintSettings(o, environment.programFile, err);
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
