// Gyrodex, the calendar wheel designer: builds the program's windows and runs it.

#include "CommandLine.h"
#include "DesktopApp.h"
#include "FileName.h"
#include "MainWindow.h"
#include "QtServices.h"
#include "SettingsLocation.h"

#include <QApplication>
#include <QFont>
#include <QScreen>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int gSignalPipe[2] = {-1, -1};

void OnTerminate(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(gSignalPipe[1], &byte, 1);
}

// The program places its own windows (palette snapping, centring), which only X11 allows:
// unless a platform was chosen, Qt is asked for xcb (XWayland on a Wayland desktop).
void PreferX11(int argc, char** argv) {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "-platform") == 0)
            return;
    qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace

int main(int argc, char** argv) {
    // --help, --version and a bad command line are answered before a display is needed.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << gyrodex::FileNameFromBytes(argv[i]);
    const gyrodex::DesktopCommandLine commandLine = gyrodex::ParseDesktopCommandLine(arguments);
    if (commandLine.exitNow) {
        std::fputs(commandLine.text.toLocal8Bit().constData(),
                   commandLine.toStderr ? stderr : stdout);
        return commandLine.exitCode;
    }

    PreferX11(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Gyrodex"));
    QApplication::setOrganizationName(QStringLiteral("Vantoric"));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setFont(gyrodex::ProgramFont());

    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fprintf(stderr, "gyrodex: no screen to show the program on\n");
        return 1;
    }
    gyrodex::Environment env{QCoreApplication::applicationFilePath(),
                             gyrodex::RegistryService::System(), screen->geometry()};
    env.pixelRatio = screen->devicePixelRatio();
    env.configFolder = gyrodex::UserConfigFolder();
    // Recovery copies of unsaved designs, one per running program.
    env.stateFolder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    env.processId = QCoreApplication::applicationPid();
    env.processRuns = [](qint64 pid) {
        return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
    };

    gyrodex::QtServices services;
    gyrodex::DesktopApp globals(services, env);
    services.setParent(globals.mainWindow.get());

    // Ending the program other than by "Exit" (the window manager, the session manager,
    // SIGTERM) still writes the settings and the recent lists; the design is never saved.
    bool interactive = true;
    // exit(), not quit(): quit() first asks every window to close, and the palette refuses.
    QObject::connect(
        &globals, &gyrodex::DesktopApp::quitRequested, &app, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &globals,
                     [&globals](QSessionManager&) { globals.Shutdown(false); });
    std::unique_ptr<QSocketNotifier> terminate;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalPipe) == 0) {
        terminate = std::make_unique<QSocketNotifier>(gSignalPipe[0], QSocketNotifier::Read);
        QObject::connect(terminate.get(), &QSocketNotifier::activated, &app, [&] {
            char byte = 0;
            [[maybe_unused]] const auto got = ::read(gSignalPipe[0], &byte, 1);
            interactive = false;
            QCoreApplication::exit(0);
        });
        struct sigaction action {};
        action.sa_handler = OnTerminate;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &action, nullptr);
        sigaction(SIGHUP, &action, nullptr);
    }

    globals.Start();
    // A design named on the command line opens once the wheel is on the screen, as "Open"
    // would open it.
    if (!commandLine.file.isEmpty())
        QTimer::singleShot(0, globals.mainWindow.get(), [&globals, file = commandLine.file] {
            globals.mainWindow->openCalendarFile(file);
        });
    const int result = QApplication::exec();
    globals.Shutdown(interactive);
    gyrodex::ForgetQtDialogSettings();
    return result;
}
