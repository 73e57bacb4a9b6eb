#include "Cli.h"
#include "FileName.h"
#include "SettingsLocation.h"

#include <QDate>
#include <QGuiApplication>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv) {
    // Headless by default: fonts and painting need a GUI application, but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a session (cron, CI, ssh) give Qt a private runtime folder, as it would make
    // itself, so that scripts don't see a warning on every run.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray dir = "/tmp/runtime-" + QByteArray::number(getuid());
        if (mkdir(dir.constData(), 0700) == 0 || errno == EEXIST)
            qputenv("XDG_RUNTIME_DIR", dir);
    }
    QGuiApplication app(argc, argv);
    // What Qt left of the command line, decoded so that a file name keeps every byte.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << gyrodex::FileNameFromBytes(argv[i]);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const gyrodex::CliEnvironment environment{gyrodex::FromQDate(QDate::currentDate()),
                                              QCoreApplication::applicationFilePath(),
                                              gyrodex::UserConfigFolder()};
    return gyrodex::RunCli(args, out, err, environment);
}
