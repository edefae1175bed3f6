// SPDX-License-Identifier: GPL-3.0-or-later
// Kavi starts at the splash window, which opens the main window.
#include "about/splash_window.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "app/maker.h"
#include "app/window_system.h"
#include "platform/platform.h"
#include "platform/system/termination_signals.h"

#include "platform/files/program_folder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace {

// --help and --version answer on the standard output and end the run before any window opens.
int printHelp(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QByteArray text =
        QStringLiteral("Usage: kavi [--help] [--version] [--] [PICTURE]\n"
                       "Makes printed covers and inserts for disc and game cases.\n"
                       "\n"
                       "  --help     show this text and end\n"
                       "  --version  show the version and end\n"
                       "  --         what follows is a picture's name, even if it begins with -\n"
                       "  PICTURE    load this picture into the cover whose tab shows at start\n"
                       "\n"
                       "Files:\n"
                       "  settings    %1\n"
                       "  help pages  %2\n"
                       "  scan file   %3\n")
            .arg(kavi::inProgramFolder(QStringLiteral("kavi4.ini")), kavi::inProgramFolder(QStringLiteral("Kavi4.chm")),
                 kavi::programFolders().scratch + QStringLiteral("/temp.bmp"))
            .toUtf8();
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    return 0;
}

QStringList argumentsOf(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QFile::decodeName(argv[i]);
    return args;
}

int refuseOption(const QString& option) {
    std::fprintf(stderr, "kavi: unknown option %s (kavi --help lists the options)\n", qPrintable(option));
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    // The command line is read before anything opens the display, so that help, version and a
    // mistyped option are answered without one.
    const kavi::CommandLine asked = kavi::parseCommandLine(argumentsOf(argc, argv), QDir::currentPath());
    if (asked.action == kavi::CommandLine::Action::Help) return printHelp(argc, argv);
    if (asked.action == kavi::CommandLine::Action::Version) {
        std::printf("Kavi %s\n", KAVI_VERSION);
        return 0;
    }
    if (asked.action == kavi::CommandLine::Action::UnknownOption) return refuseOption(asked.unknownOption);
    const kavi::WindowSystemChoice windowSystem = kavi::chooseWindowSystem(
        kavi::currentWindowSystemFacts(asked.platform), [] { return kavi::xcbPlatformLoadable(); });
    if (windowSystem.noDisplay) {
        std::fputs(qPrintable(kavi::noDisplayMessage()), stderr);
        return 1;
    }
    // The preferred platform goes to Qt as its -platform option, which programs Kavi starts do not inherit.
    std::vector<char*> qtArgv(argv, argv + argc);
    char platformOption[] = "-platform";
    QByteArray platform = windowSystem.platform.toLocal8Bit();
    if (!platform.isEmpty()) qtArgv.insert(qtArgv.begin() + 1, {platformOption, platform.data()});
    int qtArgc = int(qtArgv.size());
    qtArgv.push_back(nullptr);

    std::optional<kavi::WindowSystemStartGuard> startGuard(std::in_place);
    QApplication app(qtArgc, qtArgv.data()); // takes Qt's own options (-platform NAME, -style NAME...) out of argv
    startGuard.reset();
    const kavi::CommandLine line = kavi::parseCommandLine(argumentsOf(qtArgc, qtArgv.data()), QDir::currentPath());
    if (line.action == kavi::CommandLine::Action::UnknownOption) return refuseOption(line.unknownOption);
    const QString picturePath = line.picture; // loaded once the main window is up
    QApplication::setApplicationName(QStringLiteral("Kavi"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kavi/kavi.svg")));
    // The window hides into the notification area; closing the last visible window must not end the run.
    QApplication::setQuitOnLastWindowClosed(false);

    kavi::RealPlatform services(QUrl(QString::fromLatin1(kavi::maker::kServer)));
    std::unique_ptr<kavi::MainWindow> mainWindow;
    kavi::SplashWindow splash(services.platform().screen, [&] {
        mainWindow = std::make_unique<kavi::MainWindow>(services.platform());
        mainWindow->Form_Load();
        if (!picturePath.isEmpty()) mainWindow->openPicture(picturePath);
    });
    // Asked to stop (SIGTERM, SIGINT, SIGHUP), Kavi ends through the main window's shut-down, which
    // keeps unsaved covers in the recovery copy, puts the default printer back and writes the
    // settings; it runs once, so a second signal changes nothing. While the splash shows there is
    // nothing to keep. Showing the splash may already read the signal, before the event loop runs,
    // where quitting would be ignored; so the quit is queued for the loop.
    kavi::TerminationSignals stopRequests([&mainWindow](int signalNumber) {
        if (mainWindow) mainWindow->stopRequested(signalNumber);
        else QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    splash.show();
    return app.exec();
}
