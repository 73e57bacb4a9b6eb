// Renders the program's SVG icon into PNG files of given sizes at build time:
//   gyrodex-icon-render ICON.svg OUT_FOLDER SIZE...   writes OUT_FOLDER/SIZExSIZE.png
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: gyrodex-icon-render ICON.svg OUT_FOLDER SIZE...\n");
        return 2;
    }
    QSvgRenderer svg(args[1]);
    if (!svg.isValid()) {
        std::fprintf(stderr, "gyrodex-icon-render: unable to read %s\n", qPrintable(args[1]));
        return 1;
    }
    QDir().mkpath(args[2]);
    for (qsizetype i = 3; i < args.size(); ++i) {
        const int size = args[i].toInt();
        if (size <= 0 || size > 4096) {
            std::fprintf(stderr, "gyrodex-icon-render: bad size %s\n", qPrintable(args[i]));
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString out = QStringLiteral("%1/%2x%2.png").arg(args[2]).arg(size);
        if (!image.save(out, "PNG")) {
            std::fprintf(stderr, "gyrodex-icon-render: unable to write %s\n", qPrintable(out));
            return 1;
        }
    }
    return 0;
}
