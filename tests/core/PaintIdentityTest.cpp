#include "../QtPrinters.h"
#include "../TestDates.h"
#include "Error.h"
#include "ImageCanvas.h"
#include "Painter.h"

#include <QCryptographicHash>
#include <QDir>
#include <functional>
#include <gtest/gtest.h>

// Every picture the painter makes, held to the bytes: the image, the cell grid, the day the walk
// stopped on and the wheel's centre, as SHA-1 digests recorded from a known-good painter. A
// faster painter must not change any of them. The digests hold for the fonts the build scripts
// install (DejaVu Sans for the day numbers, Liberation Sans for the credit line).

using namespace gyrodex;
using gyrodex::test::D;

namespace {

const DayDate kToday = D(10, 19, 1998);

struct Design {
    CalendarState state;
    HighlightList highlights;
    QSize size{1024, 768};
    std::function<QImage()> background; // the loaded picture painted over, if any
};

Design Default() {
    Design d;
    d.state.setDefaultPeriod(kToday);
    return d;
}

// The benchmark's design: a year with one highlight a day.
Design Year(QSize size) {
    Design d;
    d.size = size;
    d.state.StartDate = D(10, 7, 1998);
    d.state.EndDate = AddDays(d.state.StartDate, 364);
    DayDate day = d.state.StartDate;
    for (int i = 0; i < 365; ++i, NextDay(day))
        d.highlights.add(MakeEntry(DateText(day), 0x00FF8080u + static_cast<unsigned>(i),
                                   QStringLiteral("Highlight number %1").arg(i)));
    return d;
}

void AddBytes(QCryptographicHash& hash, const void* data, std::size_t size) {
    hash.addData(QByteArrayView(static_cast<const char*>(data), static_cast<qsizetype>(size)));
}

template <typename T> void AddValue(QCryptographicHash& hash, T value) {
    AddBytes(hash, &value, sizeof value);
}

void AddDate(QCryptographicHash& hash, const DayDate& d) {
    AddValue(hash, d.Day);
    AddValue(hash, d.Month);
    AddValue(hash, d.Year);
}

void AddImage(QCryptographicHash& hash, const QImage& image) {
    AddValue(hash, image.width());
    AddValue(hash, image.height());
    for (int y = 0; y < image.height(); ++y)
        AddBytes(hash, image.constScanLine(y), static_cast<std::size_t>(image.width()) * 4);
}

void AddState(QCryptographicHash& hash, const CalendarState& s) {
    for (int spoke = 0; spoke < kSpokes; ++spoke)
        for (int ring = 1; ring <= kRings; ++ring) {
            const DayCell& c = s.Cells.at(spoke, ring);
            AddDate(hash, c.date);
            AddValue(hash, c.fill);
            AddBytes(hash, c.description.constData(),
                     static_cast<std::size_t>(c.description.size()) * sizeof(QChar));
            AddValue(hash, '|');
        }
    AddDate(hash, s.CurrentDate);
    AddValue(hash, s.CentreX);
    AddValue(hash, s.CentreY);
}

// How many times Digest paints the design on one canvas before digesting it. Clearing a canvas
// to the colour it was last cleared to rewrites only what was drawn since, so a design painted
// four times must come out as it does painted once.
int paintsPerDigest = 1;
// The last image Digest painted, written out when its digest is not the recorded one.
QImage lastImage;

// Paints the design (an error ends the paint, as on the screen) and digests the outcome; then
// `after`, if given, changes the design and paints more, and that outcome is digested too.
QString Digest(Design d, const std::function<void(Design&, ImageCanvas&)>& after = {}) {
    ImageCanvas canvas = d.background ? ImageCanvas(d.background()) : ImageCanvas(d.size);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    QString error;
    for (int i = 0; i < paintsPerDigest; ++i) {
        try {
            error.clear();
            RepaintCalendar(d.state, d.highlights, canvas, kToday);
        } catch (const Error& e) {
            error = e.message();
        }
    }
    AddBytes(hash, error.constData(), static_cast<std::size_t>(error.size()) * sizeof(QChar));
    AddImage(hash, canvas.image());
    AddState(hash, d.state);
    if (after) {
        after(d, canvas);
        AddImage(hash, canvas.image());
        AddState(hash, d.state);
    }
    lastImage = canvas.image();
    return QString::fromLatin1(hash.result().toHex());
}

QImage Pattern(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x ^ y) % 256));
    return image;
}

struct Case {
    const char* name;
    std::function<QString()> digest;
    const char* expected;
};

std::vector<Case> Cases() {
    return {
        {"default", [] { return Digest(Default()); }, "974e9e2854a1743ad24c89eadf9d26fe53c105b9"},
        {"year 1920x1080",
         [] {
             return Digest(Year({1920, 1080}));
         },
         "e59b634decc5c74c50b4740e0457a106e676932e"},
        {"year 3840x2160",
         [] {
             return Digest(Year({3840, 2160}));
         },
         "65ffb2fc8cdbe1b1aef4cbc83444744f78a2c086"},
        {"anticlockwise",
         [] {
             Design d = Year({1024, 768});
             d.state.Clockwise = false;
             d.state.StartWeek = 5;
             return Digest(d);
         },
         "4f924bb2017b4d776b1f818bdab3e0b2fb0293fd"},
        {"weekend outside",
         [] {
             Design d = Year({1024, 768});
             d.state.WeekendInside = false;
             return Digest(d);
         },
         "c7019c8e9d4c9da690abfb6394cefc513baa3940"},
        {"offset leaving the image",
         [] {
             Design d = Year({1024, 768});
             d.state.CentreOffsetX = 700;
             d.state.CentreOffsetY = -450;
             return Digest(d);
         },
         "2be4ce3c279aa91bf1efe55f50d2603aa6098e52"},
        {"far offset",
         [] {
             Design d = Default();
             d.state.CentreOffsetX = 2147483647;
             d.state.CentreOffsetY = -2147483647 - 1;
             return Digest(d);
         },
         "150eea1b256f7de0605abcce8df0c589d2ffa37d"},
        {"ring height 1",
         [] {
             Design d = Year({1024, 768});
             d.state.DayHeight = 1;
             return Digest(d);
         },
         "0b2d03de65b8cfc106ca993ff054197bfdff3c20"},
        {"ring crossing the centre",
         [] {
             Design d = Year({1024, 768});
             d.state.Radius = 60;
             d.state.DayHeight = 20;
             return Digest(d);
         },
         "b6456d28499f8522f70f91c3bbaf2b239188363a"},
        {"largest radius",
         [] {
             Design d = Year({1024, 768});
             d.state.Radius = 2048;
             d.state.DayHeight = 128;
             return Digest(d);
         },
         "8dd60fc15f05147f33d9e4c5a6c6a0b370260285"},
        {"pen width 9",
         [] {
             Design d = Year({1024, 768});
             d.state.ThinWidth = 9;
             d.state.ThickWidth = 9;
             d.state.ThinColour = 0x00FF00;
             return Digest(d);
         },
         "371e1b85c48c149f9886051f261713d52a544a30"},
        {"53-week wrap",
         [] {
             Design d = Default();
             d.state.StartDate = D(1, 1, 1990);
             d.state.EndDate = D(1, 8, 1991);
             return Digest(d);
         },
         "ba8f7e4bf1225f68ecd7d8b34d66e7f8f81acdf9"},
        {"no repaint all over a bitmap",
         [] {
             Design d = Year({0, 0});
             d.state.RepaintAll = false;
             d.background = [] { return Pattern({801, 603}); };
             return Digest(d);
         },
         "7f70c51c9a0e12bc89e4cdc3b93de0768f34f5b3"},
        {"odd sizes",
         [] {
             return Digest(Year({333, 257})) + Digest(Year({1, 1})) + Digest(Year({1999, 7}));
         },
         "088251d919e1e470616e350432e32a1728ebdb6fa13a32b78bf0cb269217e4e90d61442d64d4ac4a480e9e933"
         "9f9b26347c7f87cb9235cf35bb5fefa"},
        {"switches and font",
         [] {
             Design d = Default();
             d.state.PaintWeekends = false;
             d.state.TodayAsPast = false;
             d.state.Font.size = 14;
             d.state.Font.style = Bold | Italic;
             return Digest(d);
         },
         "7cb3844c4f38459ed2cf931780e4044ccdb34e67"},
        {"duplicate highlights",
         [] {
             Design d = Default();
             for (const char* e :
                  {"10/20/1998$255#first", "10/20/1998$65280#second", "10/20/1998$255#first",
                   "10/21/1998$16711680#", "10/21/1998", "01/01/1980$bad#outside",
                   "11/05/1998$123456#A long description that runs past forty characters",
                   "11/05/1998 $777#spaced"})
                 d.highlights.add(QString::fromLatin1(e));
             return Digest(d);
         },
         "75b0bf9d6cc6f2b352e26ad90f74a423c457a5f3"},
        {"bad colour before a good one",
         [] {
             Design d = Default();
             d.highlights.add(QStringLiteral("10/22/1998$x#bad"));
             d.highlights.add(QStringLiteral("10/22/1998$255#good"));
             return Digest(d);
         },
         "88de73530cc616d7f4b3d665ece21c6b53bdea04"},
        {"one cell after the list changed",
         [] {
             return Digest(Year({800, 600}), [](Design& d, ImageCanvas& canvas) {
                 d.highlights.add(
                     MakeEntry(QStringLiteral("12/01/1998"), 0x123456, QStringLiteral("changed")));
                 d.state.CurrentDate = D(12, 1, 1998);
                 PaintCell(d.state, d.highlights, canvas, 29, 2);
                 d.highlights.removeAt(0);
                 d.state.CurrentDate = D(10, 7, 1998);
                 PaintCell(d.state, d.highlights, canvas, 21, 3);
             });
         },
         "3ea5f22a1c4bca57d3b658954cdf514122838355"},
    };
}

// Compares a case's digest with the recorded one; on a difference the picture it got is written
// beside the test's output (the working folder) as PNG and named, so that it can be looked at.
void ExpectRecorded(const Case& c, const char* run) {
    const QString got = c.digest();
    if (got == QString::fromLatin1(c.expected))
        return;
    QString name = QStringLiteral("paint-identity-%1-%2.png")
                       .arg(QString::fromLatin1(run), QString::fromLatin1(c.name));
    name.replace(u' ', u'-');
    const QString file = QDir::current().absoluteFilePath(name);
    const bool written = lastImage.save(file, "PNG");
    ADD_FAILURE() << c.name << ": digest " << qPrintable(got) << ", recorded " << c.expected
                  << "; the picture painted is in "
                  << (written ? qPrintable(file) : "(could not be written)");
}

} // namespace

TEST(PaintIdentity, EveryConfigurationPaintsTheRecordedPicture) {
    for (const Case& c : Cases())
        ExpectRecorded(c, "once");
}

TEST(PaintIdentity, PaintingAgainOnTheSameCanvasGivesTheSamePicture) {
    paintsPerDigest = 4;
    for (const Case& c : Cases())
        ExpectRecorded(c, "again");
    paintsPerDigest = 1;
}
