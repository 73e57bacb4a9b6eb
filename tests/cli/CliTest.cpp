#include "Cli.h"

#include "../QtPrinters.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gyrodex;

namespace {

struct Result {
    int status;
    QString out, err;
};

Result RunArgs(const QStringList& args) {
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = RunCli(args, o, e);
    return {status, out, err};
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

TEST(Cli, HitPrintsTheCellUnderAPoint) {
    Result r = RunArgs(QStringList{"hit", "859", "405"} + kPeriod);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "0 1 05/10/1999\n");
    // With the first week on spoke 0 that cell is the Monday before the period.
    r = RunArgs(QStringList{"hit", "859", "405", "--start-week", "0"} + kPeriod);
    EXPECT_EQ(r.out, "0 1 00/00/0000\n");
    r = RunArgs(QStringList{"hit", "5", "5"} + kPeriod);
    EXPECT_EQ(r.out, "-1 -1 00/00/0000\n");
    r = RunArgs(QStringList{"hit", "812", "384"} + kPeriod);
    EXPECT_EQ(r.out, "-1 3 00/00/0000\n");
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
