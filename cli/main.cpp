#include "Cli.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    // Headless by default: fonts and painting need a GUI application, but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return gyrodex::RunCli(args, out, err);
}
