#include "Cli.h"

#include "../QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimeZone>
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace gyrodex;

namespace {

struct Result {
    int status;
    QString out, err;
};

// The program as a test runs it: today is 19 October 1998 unless --today says otherwise, and the
// program file lies in a folder of its own, without a settings file unless a test writes one.
Result RunIn(const CliEnvironment& environment, const QStringList& args) {
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = RunCli(args, o, e, environment);
    return {status, out, err};
}

Result RunArgs(const QStringList& args) {
    static const QTemporaryDir programDir;
    return RunIn({MakeDayDate(19, 10, 1998), programDir.filePath("gyrodex-cli")}, args);
}

const QStringList kPeriod = {"--today",    "10/19/1998", "--start",
                             "10/09/1998", "--end",      "06/26/1999"};

} // namespace

TEST(Cli, BadArgumentsNameTheArgument) {
    for (const QStringList& args :
         {QStringList{}, QStringList{"draw"}, QStringList{"cells", "--radius", "5"},
          QStringList{"cells", "--radius"}, QStringList{"cells", "--size", "0x10"},
          QStringList{"cells", "--size", "40000x10"}, QStringList{"cells", "--today", "2/30/2000"},
          QStringList{"cells", "--start", "02/30/2000"}, QStringList{"cells", "--offset", "1"},
          QStringList{"cells", "--bogus"}, QStringList{"hit", "5"}, QStringList{"hit", "a", "b"},
          QStringList{"render"}, QStringList{"render", "--out", "x.gif"}}) {
        const Result r = RunArgs(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("gyrodex-cli: ")) << r.err.toStdString();
    }
    EXPECT_TRUE(RunArgs({"cells", "--radius", "5"}).err.contains("--radius '5'"));
    EXPECT_TRUE(RunArgs({"cells", "--bogus"}).err.contains("'--bogus'"));
}

TEST(Cli, CellsListsDatedCellsInSpokeThenRingOrder) {
    const Result r =
        RunArgs(QStringList{"cells", "--highlight", "10/20/1998$255#Party time"} + kPeriod);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 261);
    EXPECT_EQ(lines.first(), "0 1 05/10/1999 8454143 "); // the 32nd week lies on spoke 0
    EXPECT_EQ(lines.at(lines.indexOf("21 5 10/09/1998 6776679 ") - 1),
              "6 6 06/26/1999 33023 "); // spokes 7 to 20 stay empty
    EXPECT_TRUE(lines.contains("23 2 10/20/1998 255 Party time"));
    EXPECT_EQ(lines.last(), "51 7 05/09/1999 33023 ");
}

// The last day of a 365-day period is painted on the first day's cell; the cell's line and its
// hint describe that last day, not the first.
TEST(Cli, AWrappedCellListsTheLaterDay) {
    const QStringList args = {
        "--start", "08/02/2027", "--end",       "07/31/2028",
        "--today", "01/01/2027", "--highlight", "08/02/2027$255#First day of school"};
    const Result r = RunArgs(QStringList{"cells"} + args);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    const auto first = std::find_if(lines.begin(), lines.end(),
                                    [](const QString& l) { return l.startsWith("21 1 "); });
    ASSERT_NE(first, lines.end());
    EXPECT_TRUE(first->startsWith("21 1 07/31/2028 ")) << first->toStdString();
    EXPECT_FALSE(first->contains("First day of school")) << first->toStdString();
}

// A period past 364 days and a wheel past the image's edges are warned about on stderr; the
// command still succeeds and writes its output.
TEST(Cli, LongPeriodsAndWheelsThatDoNotFitAreWarnedAbout) {
    const auto warnings = [](const QStringList& args) {
        const Result r = RunArgs(QStringList{"cells", "--today", "01/01/2027"} + args);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_FALSE(r.out.isEmpty());
        return r.err;
    };
    // 364 days fill the wheel exactly; the default wheel fits the default image.
    EXPECT_EQ(warnings({"--start", "08/02/2027", "--end", "07/30/2028"}), QString());
    EXPECT_EQ(warnings({"--start", "08/02/2027", "--end", "07/31/2028"}),
              "gyrodex-cli: warning: the period has 365 days; days after the 364th paint over "
              "the first weeks\n");
    // A radius that touches the image's last row, one past the top, an offset and a small image.
    const QString radius400 =
        "gyrodex-cli: warning: the wheel of radius 400 does not fit a 1024x768 image; use --size\n";
    EXPECT_EQ(warnings({"--radius", "383"}), QString());
    EXPECT_EQ(warnings({"--radius", "384"}),
              "gyrodex-cli: warning: the wheel of radius 384 does not fit a 1024x768 image; use "
              "--size\n");
    EXPECT_EQ(warnings({"--radius", "400"}), radius400);
    EXPECT_EQ(warnings({"--radius", "400", "--size", "1000x1000"}), QString());
    EXPECT_EQ(warnings({"--offset", "-200,0", "--size", "1000x1000", "--radius", "400"}),
              "gyrodex-cli: warning: the wheel of radius 400 does not fit a 1000x1000 image; use "
              "--size\n");
    EXPECT_TRUE(warnings({"--size", "100x100", "--start", "01/01/2027", "--end", "12/31/2028"})
                    .contains("the period has 731 days"));
    // The image is written all the same.
    QTemporaryDir dir;
    const QString png = dir.filePath("w.png");
    const Result r = RunArgs({"render", "--radius", "400", "--out", png});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, radius400);
    EXPECT_TRUE(QFileInfo(png).size() > 0);
}

TEST(Cli, HitPrintsTheCellUnderAPoint) {
    // The second line is the pointer hint, empty here: the day has no description.
    Result r = RunArgs(QStringList{"hit", "859", "405"} + kPeriod);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "0 1 05/10/1999\n\n");
    // With the first week on spoke 0 that cell is the Monday before the period.
    r = RunArgs(QStringList{"hit", "859", "405", "--start-week", "0"} + kPeriod);
    EXPECT_EQ(r.out, "0 1 00/00/0000\n\n");
    r = RunArgs(QStringList{"hit", "5", "5"} + kPeriod);
    EXPECT_EQ(r.out, "-1 -1 00/00/0000\n\n");
    r = RunArgs(QStringList{"hit", "812", "384"} + kPeriod);
    EXPECT_EQ(r.out, "-1 3 00/00/0000\n\n");
}

TEST(Cli, RenderWritesPngAndBmp) {
    QTemporaryDir dir;
    for (const char* name : {"w.png", "w.bmp"}) {
        const QString file = dir.filePath(name);
        const Result r =
            RunArgs(QStringList{"render", "--size", "640x480", "--out", file} + kPeriod);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QImage img(file);
        EXPECT_EQ(img.size(), QSize(640, 480));
    }
    const Result bad =
        RunArgs(QStringList{"render", "--out", dir.filePath("missing/w.png")} + kPeriod);
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.err.startsWith("Unable to write to ")) << bad.err.toStdString();
}

TEST(Cli, BadHighlightIsReportedAsAFailure) {
    const Result r = RunArgs(QStringList{"cells", "--highlight", "10/20/1998$x#"} + kPeriod);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "'x' is not a valid integer value\n");
}

namespace {

class CliFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString cal = dir.filePath("d.cal");
    QString readAll(const QString& name) {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    void write(const QString& name, const QByteArray& bytes) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

} // namespace

TEST_F(CliFiles, SaveCalThenShowAndUseIt) {
    Result r = RunArgs({"save-cal", cal, "--start", "10/09/1998", "--end", "06/26/1999", "--radius",
                        "300", "--anticlockwise", "--set", "Colors.Past=$FF", "--set",
                        "misc.startweek=99", "--highlight", "10/20/1998$255#Party"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(readAll(cal).contains("\r\nRadius=300\r\n"));

    r = RunArgs({"show", "--cal", cal});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 10 + 4 + 9 + 2 + 2);
    EXPECT_EQ(lines.first(), "Colors.Background=13720687");
    EXPECT_TRUE(lines.contains("Colors.Past=255"));
    EXPECT_TRUE(lines.contains("Misc.StartWeek=51"));
    EXPECT_EQ(lines.at(21), "Misc.StartDate=10/09/1998");
    EXPECT_EQ(lines.at(23), "Font.Name=MS Sans Serif");
    EXPECT_EQ(lines.last(), "Highlights.H0=10/20/1998$255#Party");

    // The file's design first, then the options: the radius option wins over the file.
    r = RunArgs({"hit", "859", "405", "--cal", cal, "--radius", "360", "--start-week", "21",
                 "--today", "10/19/1998", "--hint-type", "1", "--date-format", "dddd d mmm"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "0 1 05/10/1999\n  Monday 10 May  \n");
    r = RunArgs({"hit", "203", "480", "--cal", cal, "--radius", "360", "--start-week", "21",
                 "--today", "10/19/1998", "--hint-type", "1"});
    EXPECT_EQ(r.out, "23 2 10/20/1998\n  Party,  Tue  \n");
    r = RunArgs({"hit", "203", "480", "--cal", cal, "--radius", "360", "--start-week", "21",
                 "--today", "10/19/1998", "--hint-type", "0"});
    EXPECT_EQ(r.out, "23 2 10/20/1998\n  Party  \n");
}

TEST_F(CliFiles, OptionsAndFilesHoldTheSameFieldLimits) {
    // The command line refuses what the loader would hold at the limit.
    const struct {
        const char *option, *key, *inside, *outside, *held;
    } fields[] = {{"--radius", "Radius", "2048", "2049", "2048"},
                  {"--radius", "Radius", "60", "59", "60"},
                  {"--day-height", "DayHeight", "128", "129", "128"},
                  {"--day-height", "DayHeight", "1", "0", "1"},
                  {"--start-week", "StartWeek", "51", "52", "51"},
                  {"--start-week", "StartWeek", "0", "-1", "0"}};
    for (const auto& f : fields) {
        Result r = RunArgs({"show", f.option, f.inside});
        EXPECT_EQ(r.status, 0) << f.option << ' ' << f.inside;
        EXPECT_TRUE(r.out.contains(QStringLiteral("Misc.%1=%2\n").arg(f.key, f.inside)));
        EXPECT_EQ(RunArgs({"show", f.option, f.outside}).status, 2) << f.option << ' ' << f.outside;
        write(cal, QStringLiteral("[Misc]\n%1=%2\n").arg(f.key, f.outside).toUtf8());
        r = RunArgs({"show", "--cal", cal});
        EXPECT_TRUE(r.out.contains(QStringLiteral("Misc.%1=%2\n").arg(f.key, f.held)))
            << f.key << ' ' << f.outside;
    }
    write(cal, "[Misc]\nThick=0\nNormal=10\n");
    const Result r = RunArgs({"show", "--cal", cal});
    EXPECT_TRUE(r.out.contains("Misc.Thick=1\nMisc.Normal=9\n"));
}

TEST_F(CliFiles, TodayAndTheSettingsFolderComeFromTheCaller) {
    const CliEnvironment here{MakeDayDate(20, 10, 1998), dir.filePath("bin/gyrodex-cli")};
    const QStringList period = {"--start", "10/19/1998", "--end", "10/21/1998"};
    // Days before the given today are past (6776679), today too by default, tomorrow is not.
    Result r = RunIn(here, QStringList{"cells"} + period);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "21 1 10/19/1998 6776679 \n21 2 10/20/1998 6776679 \n"
                     "21 3 10/21/1998 8454143 \n");

    // Without a settings file the hint shows descriptions only; with one beside the program
    // its type and date format are used.
    const QStringList hit = QStringList{"hit", "203", "480", "--start-week", "23"} + period;
    r = RunIn(here, hit);
    EXPECT_EQ(r.out, "23 2 10/20/1998\n\n");
    ASSERT_TRUE(QDir(dir.path()).mkdir("bin"));
    write(dir.filePath("bin/gyrodex.ini"), "[Integers]\r\nHintType=1\r\n[Strings]\r\n"
                                           "DateFormat=dddd\r\n");
    r = RunIn(here, hit);
    EXPECT_EQ(r.out, "23 2 10/20/1998\n  Tuesday  \n");
    EXPECT_EQ(r.err, "");
}

TEST_F(CliFiles, HighlightFilesAreImported) {
    const QString txt = dir.filePath("h.txt");
    write(txt, "10/20/1998$255#From file\r\n");
    const Result r = RunArgs(QStringList{"cells", "--highlights", txt} + kPeriod);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("23 2 10/20/1998 255 From file\n"));
}

TEST_F(CliFiles, HighlightsPastTheLimitAreRefusedAndNothingIsSaved) {
    QByteArray big = "[Highlights]\r\nCount=100000\r\n";
    for (int i = 0; i < 100000; ++i)
        big += "H" + QByteArray::number(i) + "=01/01/1999$0#\r\n";
    write(cal, big);
    const QString out = dir.filePath("out.cal");
    Result r = RunArgs({"save-cal", out, "--cal", cal, "--highlight", "12/25/1998$255#Xmas"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Too many highlights\n");
    EXPECT_FALSE(QFileInfo::exists(out));
    const QString txt = dir.filePath("h.txt");
    write(txt, "12/25/1998$255#Xmas\r\n");
    r = RunArgs({"save-cal", out, "--cal", cal, "--highlights", txt});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Too many highlights in " + txt + "\n");
    EXPECT_EQ(RunArgs({"save-cal", out, "--cal", cal}).status, 0);
    EXPECT_EQ(RunArgs({"show", "--cal", out}).status, 0);
}

TEST_F(CliFiles, LoadAndSaveFailuresExitWithTheProgramsMessage) {
    write(cal, "[Misc]\nStartDate=1/19/1998\n");
    Result r = RunArgs({"show", "--cal", cal});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "'9/' is not a valid integer value\n");
    r = RunArgs({"cells", "--highlights", dir.filePath("none.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Unable to read " + dir.filePath("none.txt") + "\n");
    const QString bad = dir.filePath("missing/x.cal");
    r = RunArgs({"save-cal", bad});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Unable to write to " + bad + "\n");
    for (const QStringList& args : {QStringList{"save-cal"}, QStringList{"show", "--set", "x"},
                                    QStringList{"show", "--set", "Highlights.Count=1"},
                                    QStringList{"hit", "1", "1", "--hint-type", "x"}})
        EXPECT_EQ(RunArgs(args).status, 2) << args.join(' ').toStdString();
}

TEST(Cli, ErrorsAreOneLineAndHelpShowsUsage) {
    const Result bad = RunArgs({"cells", "--size", "0x5"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err.count('\n'), 1);
    EXPECT_TRUE(bad.err.contains("Invalid image size 0x5")) << bad.err.toStdString();
    const Result help = RunArgs({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith("usage: gyrodex-cli"));
    for (const QStringList& args :
         {QStringList{"export-ai"}, QStringList{"export-ai", "--out", "w.png"},
          QStringList{"print", "--out", "w.png"},
          QStringList{"print", "--out", "p.pdf", "--page", "a3"},
          QStringList{"render", "--out", "w.svg", "--bitmap", "b.bmp"},
          QStringList{"cells", "--bitmap", "b.bmp"}, QStringList{"cells", "--landscape"}})
        EXPECT_EQ(RunArgs(args).status, 2) << args.join(' ').toStdString();
}

TEST(Cli, OutputCommandsWriteTheirFiles) {
    QTemporaryDir dir;
    auto read = [](const QString& name) {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QString ai = dir.filePath("w.ai");
    ASSERT_EQ(RunArgs(QStringList{"export-ai", "--out", ai} + kPeriod).status, 0);
    const QByteArray drawing = read(ai);
    EXPECT_TRUE(drawing.startsWith("%!PS-Adobe-3.0 EPSF-3.0\r\n"));
    EXPECT_TRUE(drawing.endsWith("%%EOF\r\n"));
    EXPECT_EQ(drawing.count("\r\nTO\r\n"), 261);

    for (const char* name : {"w.svg", "w.pdf"}) {
        const QString file = dir.filePath(name);
        ASSERT_EQ(RunArgs(QStringList{"render", "--out", file} + kPeriod).status, 0) << name;
        EXPECT_FALSE(read(file).isEmpty());
    }

    // Painting over a loaded bitmap without clearing keeps its pixels outside the wheel.
    const QString bmp = dir.filePath("base.bmp");
    QImage base(300, 200, QImage::Format_RGB32);
    base.fill(qRgb(10, 200, 30));
    ASSERT_TRUE(base.save(bmp, "BMP"));
    const QString over = dir.filePath("over.png");
    ASSERT_EQ(RunArgs(QStringList{"render", "--bitmap", bmp, "--no-repaint-all", "--radius", "80",
                                  "--out", over} +
                      kPeriod)
                  .status,
              0);
    const QImage painted(over);
    EXPECT_EQ(painted.size(), QSize(300, 200));
    EXPECT_EQ(painted.pixel(2, 2), qRgb(10, 200, 30));
    EXPECT_NE(painted.pixel(150 + 70, 101), qRgb(10, 200, 30));

    const QString pdf = dir.filePath("page.pdf");
    ASSERT_EQ(
        RunArgs(QStringList{"print", "--out", pdf, "--page", "letter", "--landscape"} + kPeriod)
            .status,
        0);
    EXPECT_TRUE(read(pdf).startsWith("%PDF"));

    const Result missing = RunArgs(
        QStringList{"render", "--bitmap", dir.filePath("none.bmp"), "--out", over} + kPeriod);
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.startsWith("Unable to read ")) << missing.err.toStdString();
}

namespace {

// Every command that writes a file, with the arguments that make it write `file`.
QList<QStringList> Writers(const QString& stem) {
    return {{"save-cal", stem + ".cal"},        {"render", "--out", stem + ".png"},
            {"render", "--out", stem + ".bmp"}, {"render", "--out", stem + ".svg"},
            {"render", "--out", stem + ".pdf"}, {"export-ai", "--out", stem + ".ai"},
            {"print", "--out", stem + ".pdf"}};
}

QString WrittenFile(const QStringList& args) {
    return args.first() == u"save-cal" ? args.at(1) : args.last();
}

} // namespace

TEST_F(CliFiles, EveryWriterFollowsLinksCreatesDanglingTargetsAndRefusesLoops) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("real"));
    for (const QStringList& args : Writers(dir.filePath("link"))) {
        const QString link = WrittenFile(args);
        const QString target = dir.filePath("real/" + QFileInfo(link).fileName());
        QFile::remove(link);
        QFile::remove(target);
        // A dangling link: its target is made, the link stays.
        ASSERT_TRUE(QFile::link(target, link));
        Result r = RunArgs(args + kPeriod);
        EXPECT_EQ(r.status, 0) << args.join(' ').toStdString() << r.err.toStdString();
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_GT(QFileInfo(target).size(), 0);
        // Written again through the link, the target is replaced.
        write(target, "old");
        EXPECT_EQ(RunArgs(args + kPeriod).status, 0);
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_NE(readAll(target), "old");

        // A loop: refused with the message, left a loop.
        const QString other = dir.filePath("other");
        QFile::remove(link);
        QFile::remove(other);
        ASSERT_TRUE(QFile::link(other, link));
        ASSERT_TRUE(QFile::link(link, other));
        r = RunArgs(args + kPeriod);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "Unable to write to " + link + "\n");
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_TRUE(QFileInfo(other).isSymLink());
        QFile::remove(link);
    }
}

TEST_F(CliFiles, FifosAndDevicesAreRefusedAtOnce) {
    const QString fifo = dir.filePath("pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& name : {fifo, QStringLiteral("/dev/zero"), dir.path()}) {
        for (const QStringList& args :
             {QStringList{"cells", "--highlights", name}, QStringList{"show", "--cal", name},
              QStringList{"render", "--bitmap", name, "--out", dir.filePath("x.png")}}) {
            const Result r = RunArgs(args);
            EXPECT_EQ(r.status, 1) << args.join(' ').toStdString();
            EXPECT_EQ(r.err, "Unable to read " + name + "\n");
        }
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("x.png")));
}

TEST_F(CliFiles, CarriageReturnFilesSaveInPlaceWithoutLosingAnything) {
    write(cal, "[Colors]\rDay=255\r[Misc]\rStartDate=01/02/2003\rEndDate=03/04/2003\r"
               "[Highlights]\rCount=1\rH0=01/05/2003$65280#Caf\xe9\r");
    ASSERT_EQ(RunArgs({"save-cal", cal, "--cal", cal, "--radius", "300"}).status, 0);
    const Result r = RunArgs({"show", "--cal", cal});
    ASSERT_EQ(r.status, 0);
    for (const char* line : {"Colors.Day=255", "Misc.Radius=300", "Misc.StartDate=01/02/2003",
                             "Misc.EndDate=03/04/2003", "Highlights.Count=1",
                             "Highlights.H0=01/05/2003$65280#Caf\u00e9"})
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(line) + "\n")) << line;
    // The untouched Windows-1252 highlight keeps its byte.
    QFile f(cal);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("\r\nH0=01/05/2003$65280#Caf\xe9\r\n"));
}

TEST(Cli, BadFieldsAreQuotedShortAndPrintable) {
    const QString field = QString(QChar(0)) + QString(1000000, u'7') + "x";
    const Result r =
        RunArgs(QStringList{"cells", "--highlight", "10/20/1998$" + field + "#"} + kPeriod);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "'\\0" + QString(99, u'7') + QChar(0x2026) + "' is not a valid integer value\n");
    const Result arg = RunArgs({"cells", "--radius", "1\n2\x1b"});
    EXPECT_TRUE(arg.err.contains("'1\\n2\\x1b'")) << arg.err.toStdString();
}

TEST(Cli, OffsetsAtTheLimitsWorkForEveryOutput) {
    QTemporaryDir dir;
    for (const QString& offset : {QStringLiteral("2147483647,0"), QStringLiteral("0,-2147483648"),
                                  QStringLiteral("-2147483648,2147483647")}) {
        for (const QStringList& args : Writers(dir.filePath("far"))) {
            const Result r = RunArgs(args + kPeriod + QStringList{"--offset", offset});
            EXPECT_EQ(r.status, 0) << args.join(' ').toStdString() << r.err.toStdString();
        }
        EXPECT_EQ(RunArgs(QStringList{"cells", "--offset", offset} + kPeriod).status, 0);
        EXPECT_EQ(
            RunArgs(QStringList{"hit", "2147483647", "-2147483648", "--offset", offset} + kPeriod)
                .out,
            "-1 -1 00/00/0000\n\n");
    }
    const Result r = RunArgs(QStringList{"show", "--set", "Misc.CXOffset=2147483647"});
    EXPECT_TRUE(r.out.contains("Misc.CXOffset=2147483647\n"));
}

TEST(Cli, OptionsTakeEitherFormAndNegativeNumbersStayArguments) {
    QTemporaryDir dir;
    const QString png = dir.filePath("w.png");
    const Result r = RunArgs(QStringList{"render", "--size=800x600", "--out=" + png} + kPeriod);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(png).size(), QSize(800, 600));
    // Both forms give the same design; later options win over earlier ones.
    EXPECT_EQ(RunArgs({"show", "--radius=200", "--day-height", "10", "--radius", "300"}).out,
              RunArgs({"show", "--day-height=10", "--radius=300"}).out);
    EXPECT_EQ(RunArgs(QStringList{"hit", "-5", "-2147483648"} + kPeriod).out,
              "-1 -1 00/00/0000\n\n");
    EXPECT_EQ(RunArgs(QStringList{"hit", "--offset", "-5,-7", "-1", "10"} + kPeriod).status, 0);
    // A value that starts with a dash is still the option's value.
    EXPECT_TRUE(RunArgs({"cells", "--radius", "-5"}).err.contains("--radius '-5'"));
    EXPECT_EQ(RunArgs({"hit", "--", "-5", "10"}).status, 0);
}

TEST(Cli, HelpVersionAndOptionsThatDoNotApply) {
    const Result version = RunArgs({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.startsWith("gyrodex-cli ")) << version.out.toStdString();
    EXPECT_TRUE(version.out.endsWith('\n'));
    EXPECT_EQ(version.out.count('\n'), 1);
    for (const QStringList& args :
         {QStringList{"-h"}, QStringList{"help"}, QStringList{"render", "--help"}}) {
        const Result help = RunArgs(args);
        EXPECT_EQ(help.status, 0) << args.join(' ').toStdString();
        EXPECT_TRUE(help.out.startsWith("usage: gyrodex-cli")) << args.join(' ').toStdString();
        EXPECT_TRUE(help.out.endsWith('\n'));
    }
    for (const QStringList& args :
         {QStringList{"cells", "--out", "w.png"}, QStringList{"show", "--hint-type", "1"},
          QStringList{"export-ai", "--out", "w.ai", "--page", "a4"},
          QStringList{"cells", "--anticlockwise=1"}, QStringList{"cells", "extra"},
          QStringList{"save-cal", "a.cal", "b.cal"}, QStringList{"cells", "-x"},
          QStringList{"cells", "--radius="}, QStringList{"render", "--out="}}) {
        const Result r = RunArgs(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("gyrodex-cli: ")) << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
    EXPECT_TRUE(RunArgs({"cells", "--out", "w.png"}).err.contains("'--out'"));
    EXPECT_TRUE(RunArgs({"cells", "--bogus=3"}).err.contains("'--bogus'"));
}

namespace {

const QString kSchool = QStringLiteral(GYRODEX_CLI_DATA "/school.ics");
const QStringList kSchoolYear = {"--start", "08/02/2027", "--end", "07/30/2028"};

// .ics times in New York, whatever the machine's zone.
Result RunIcs(const QStringList& args) {
    static const QTemporaryDir programDir;
    CliEnvironment environment{MakeDayDate(1, 9, 2027), programDir.filePath("gyrodex-cli")};
    environment.localZone = QTimeZone("America/New_York");
    return RunIn(environment, args);
}

// The Highlights lines of "show".
QStringList HighlightLines(const Result& r) {
    return r.out.split('\n', Qt::SkipEmptyParts).filter(QRegularExpression("^Highlights\\.H"));
}

} // namespace

TEST(CliIcs, EveryHolidayLandsOnItsDay) {
    const Result r = RunIcs(QStringList{"cells"} + kSchoolYear + QStringList{"--ics", kSchool});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const auto day = [&r](const QString& date) {
        const QRegularExpression line("^\\d+ \\d+ " + QRegularExpression::escape(date) +
                                          " (\\d+) (.*)$",
                                      QRegularExpression::MultilineOption);
        const auto m = line.match(r.out);
        return m.hasMatch() ? m.captured(1) + ' ' + m.captured(2) : QString();
    };
    EXPECT_EQ(day("08/23/2027"), "3329330 First day of school");
    EXPECT_EQ(day("09/06/2027"), "255 Labour Day (no school)");
    for (const char* d : {"10/25/2027", "10/28/2027"})
        EXPECT_EQ(day(d), "42495 Autumn break") << d;
    EXPECT_EQ(day("11/26/2027"), "42495 Thanksgiving break");
    for (const char* d : {"12/20/2027", "12/31/2027"})
        EXPECT_EQ(day(d), "15128749 Winter break") << d;
    EXPECT_EQ(day("01/01/2028"), "15128749 New Year's Day");
    EXPECT_EQ(day("01/28/2028"), "14524637 Early closing");
    EXPECT_EQ(day("04/07/2028"), "3329434 Spring break");
    EXPECT_EQ(day("05/19/2028"), "55295 Sports day");
    EXPECT_EQ(day("06/23/2028"), "3329330 Last day of school");
    // Cancelled, past the rule's end, the day after a break: plain days.
    for (const char* d : {"05/10/2028", "06/30/2028", "04/08/2028", "01/02/2028"})
        EXPECT_TRUE(day(d).endsWith(' ')) << d << ' ' << day(d).toStdString();
}

TEST(CliIcs, ExportThenImportGivesTheSameHighlights) {
    const QTemporaryDir dir;
    const QString out = dir.filePath("export.ics"), again = dir.filePath("again.ics");
    const Result imported =
        RunIcs(QStringList{"show"} + kSchoolYear + QStringList{"--ics", kSchool});
    ASSERT_EQ(imported.status, 0) << imported.err.toStdString();
    const QStringList entries = HighlightLines(imported);
    EXPECT_EQ(entries.size(), 1 + 1 + 5 + 2 + 12 + 1 + 12 + 8 + 1 + 1);

    for (const QString& file : {out, again}) {
        const Result r = RunIcs(QStringList{"export-ics", "--out", file} + kSchoolYear +
                                QStringList{"--ics", kSchool});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
    }
    QFile a(out), b(again);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    const QByteArray text = a.readAll();
    EXPECT_EQ(text, b.readAll());
    // The winter break is one event; the rule's dates are one event each.
    EXPECT_EQ(text.count("SUMMARY:Winter break"), 1);
    EXPECT_EQ(text.count("SUMMARY:Early closing"), 8);

    EXPECT_EQ(HighlightLines(RunIcs(QStringList{"show"} + kSchoolYear + QStringList{"--ics", out})),
              entries);
    // Both files: the export adds nothing to what the school's file gave.
    EXPECT_EQ(HighlightLines(RunIcs(QStringList{"show"} + kSchoolYear +
                                    QStringList{"--ics", kSchool, "--ics", out})),
              entries);
}

TEST(CliIcs, OptionsApplyInOrder) {
    // The colour applies to later files; the period is the one set before the file.
    const Result r =
        RunIcs({"show", "--start", "09/01/2027", "--end", "09/30/2027", "--ics", kSchool,
                "--ics-colour", "#00ff00", "--end", "12/31/2027", "--ics", kSchool});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = HighlightLines(r);
    EXPECT_TRUE(lines.filter("09/06/2027$255#Labour Day").size() == 1);
    EXPECT_TRUE(lines.filter("09/06/2027$65280#Labour Day").size() == 1);
    EXPECT_EQ(lines.filter("Winter break").size(), 12);

    EXPECT_EQ(RunIcs({"show", "--ics-colour", "blurple"}).status, 2);
    EXPECT_EQ(RunIcs({"export-ics"}).status, 2);
    EXPECT_EQ(RunIcs({"export-ics", "--out", "x.txt"}).status, 2);
    const Result missing = RunIcs({"show", "--ics", "/nonexistent/x.ics"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Unable to read /nonexistent/x.ics: there is no such file\n");
}
