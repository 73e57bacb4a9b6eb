#include "CommandLine.h"

#include <QCommandLineParser>
#include <QDir>

namespace gyrodex {

namespace {

// The options QGuiApplication and QApplication take out of argv themselves, with a value or
// without one. They are accepted here only so that they are not reported as unknown.
const char* const kQtValueOptions[] = {"platform",        "platformpluginpath",
                                       "platformtheme",   "plugin",
                                       "qwindowgeometry", "geometry",
                                       "qwindowicon",     "icon",
                                       "qwindowtitle",    "title",
                                       "display",         "name",
                                       "style",           "stylesheet",
                                       "session",         "qmljsdebugger"};
const char* const kQtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

} // namespace

DesktopCommandLine ParseDesktopCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Gyrodex designs a calendar wheel."));
    // Qt's own options are written with one dash, as in "-platform offscreen".
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the program's version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    for (const char* name : kQtValueOptions) {
        QCommandLineOption o(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
    for (const char* name : kQtFlagOptions) {
        QCommandLineOption o(QString::fromLatin1(name));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A calendar design (.cal) to open."),
                                 QStringLiteral("[FILE]"));

    DesktopCommandLine result;
    const QString program = QStringLiteral("gyrodex");
    if (!parser.parse(arguments)) {
        result = {{}, true, 2, program + QStringLiteral(": ") + parser.errorText() + u'\n', true};
        return result;
    }
    if (parser.isSet(help)) {
        QString text = parser.helpText();
        // The usage line names the program as a user types it, whatever path started it.
        const qsizetype usage = text.indexOf(u' ');
        if (text.startsWith(QStringLiteral("Usage: ")) && usage >= 0) {
            const qsizetype end = text.indexOf(u' ', usage + 1);
            if (end > usage)
                text = QStringLiteral("Usage: ") + program + text.mid(end);
        }
        result = {{}, true, 0, text, false};
        return result;
    }
    if (parser.isSet(version)) {
        result = {{}, true, 0, program + QStringLiteral(" " GYRODEX_VERSION "\n"), false};
        return result;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        result = {{},
                  true,
                  2,
                  program + QStringLiteral(": Only one calendar file can be opened, got %1.\n")
                                .arg(files.size()),
                  true};
        return result;
    }
    // Made absolute as text: QFileInfo would pass the name through the system's encoding and
    // lose the bytes of a name that is not UTF-8.
    if (!files.isEmpty() && !files[0].isEmpty()) {
        const QString& name = files[0];
        result.file = QDir::cleanPath(
            QDir::isAbsolutePath(name) ? name : QDir::currentPath() + QLatin1Char('/') + name);
    }
    return result;
}

} // namespace gyrodex
