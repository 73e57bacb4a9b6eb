#include "Cli.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gyrodex;

namespace {

struct Result {
    int status;
    QString out, err;
};

Result RunCommand(const QStringList& args) {
    static const QTemporaryDir programDir;
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status =
        RunCli(args, o, e, {MakeDayDate(1, 8, 2027), programDir.filePath("gyrodex-cli")});
    return {status, out, err};
}

QByteArray Read(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A school year with three highlights out of list order and every label on.
const QStringList kSchool = {"--start",      "09/01/2027",
                             "--end",        "07/21/2028",
                             "--size",       "1600x1200",
                             "--radius",     "500",
                             "--day-height", "36",
                             "--highlight",  "01/05/2028$255#Spring term starts",
                             "--highlight",  "12/20/2027$255#Winter holidays",
                             "--highlight",  "09/17/2027$65280#Sports day",
                             "--labels",     "months,weeks,title,legend,agenda",
                             "--title",      "Riverside School",
                             "--set",        "Labels.Years=1",
                             "--set",        "Legend.red=Holidays"};

// The texts every output must carry.
const QStringList kTexts = {
    "Riverside School 2027", "September",          "January", "Holidays", "Sports day",
    "Winter holidays",       "Spring term starts", ">52<"};

} // namespace

TEST(CliLabels, EveryOutputCarriesTheLabelTexts) {
    QTemporaryDir dir;
    // The SVG keeps the labels as text, in date order.
    const QString svg = dir.filePath("w.svg");
    ASSERT_EQ(RunCommand(QStringList{"render", "--out", svg} + kSchool).status, 0);
    const QString svgText = QString::fromUtf8(Read(svg));
    for (const QString& t : kTexts)
        EXPECT_TRUE(svgText.contains(t)) << t.toStdString();
    EXPECT_LT(svgText.indexOf("Sports day"), svgText.indexOf("Winter holidays"));
    EXPECT_LT(svgText.indexOf("Winter holidays"), svgText.indexOf("Spring term starts"));

    // The PDF's text read back, where poppler's pdftotext is installed (which reads turned
    // text in pieces).
    const QString pdf = dir.filePath("w.pdf");
    ASSERT_EQ(RunCommand(QStringList{"render", "--out", pdf} + kSchool).status, 0);
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (!pdftotext.isEmpty()) {
        QProcess p;
        p.start(pdftotext, {pdf, "-"});
        ASSERT_TRUE(p.waitForFinished(60000));
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        for (const char* t : {"Riverside School", "Holidays", "Sports day", "Spring term starts"})
            EXPECT_TRUE(text.contains(QString::fromUtf8(t))) << t;
    }

    // The bitmap differs from the one without labels only outside the wheel's cells.
    const QString on = dir.filePath("on.png"), off = dir.filePath("off.png");
    ASSERT_EQ(RunCommand(QStringList{"render", "--out", on} + kSchool).status, 0);
    ASSERT_EQ(
        RunCommand(QStringList{"render", "--out", off} + kSchool + QStringList{"--labels", "none"})
            .status,
        0);
    const QImage a(on), b(off);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_NE(a, b);
    EXPECT_EQ(a.pixel(800 + 300, 600), b.pixel(800 + 300, 600)); // a cell of the wheel
}

TEST(CliLabels, ShowListsTheNewKeysOnlyWhenUsedAndBadListsAreRefused) {
    const Result plain = RunCommand({"show"});
    EXPECT_FALSE(plain.out.contains("Labels.")) << plain.out.toStdString();
    EXPECT_FALSE(plain.out.contains("Legend."));

    const Result shown = RunCommand({"show", "--labels", "weeks,AGENDA", "--title", "Year", "--set",
                                     "Labels.FontSize=9999", "--set", "Legend.#00ff00=Events",
                                     "--set", "Legend.255=Holidays"});
    EXPECT_EQ(shown.status, 0) << shown.err.toStdString();
    for (const char* line : {"Labels.Months=0\n", "Labels.Weeks=1\n", "Labels.Title=1\n",
                             "Labels.Agenda=1\n", "Labels.Text=Year\n", "Labels.FontSize=512\n",
                             "Legend.65280=Events\n", "Legend.255=Holidays\n"})
        EXPECT_TRUE(shown.out.contains(line)) << line;

    for (const QStringList& args : {QStringList{"show", "--labels", "months,moons"},
                                    QStringList{"show", "--set", "Legend.blurple=x"},
                                    QStringList{"show", "--set", "Labelz.Months=1"}}) {
        const Result r = RunCommand(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
}
