// SPDX-License-Identifier: GPL-3.0-or-later
// Kavi starts at the splash window, which opens the main window.
#include "command_line.h"
#include "frmSplash.h"
#include "frmcovercreator.h"
#include "maker.h"
#include "platform.h"
#include "system/termination_signals.h"

#include "files/program_folder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <cstdio>
#include <memory>

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

} // namespace

int main(int argc, char** argv) {
    const kavi::CommandLine asked = kavi::parseCommandLine(argumentsOf(argc, argv), QDir::currentPath());
    if (asked.action == kavi::CommandLine::Action::Help) return printHelp(argc, argv);
    if (asked.action == kavi::CommandLine::Action::Version) {
        std::printf("Kavi %s\n", KAVI_VERSION);
        return 0;
    }
    QApplication app(argc, argv); // takes Qt's own options (-platform NAME, -style NAME...) out of argv
    const kavi::CommandLine line = kavi::parseCommandLine(argumentsOf(argc, argv), QDir::currentPath());
    if (line.action == kavi::CommandLine::Action::UnknownOption) {
        std::fprintf(stderr, "kavi: unknown option %s (kavi --help lists the options)\n",
                     qPrintable(line.unknownOption));
        return 2;
    }
    const QString picturePath = line.picture; // loaded once the main window is up
    QApplication::setApplicationName(QStringLiteral("Kavi"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kavi/kavi.svg")));
    // The window hides into the notification area; closing the last visible window must not end the run.
    QApplication::setQuitOnLastWindowClosed(false);

    kavi::RealPlatform services(QUrl(QString::fromLatin1(kavi::maker::kServer)));
    std::unique_ptr<kavi::frmcovercreator> mainWindow;
    kavi::frmSplash splash(services.platform().screen, [&] {
        mainWindow = std::make_unique<kavi::frmcovercreator>(services.platform());
        mainWindow->Form_Load();
        if (!picturePath.isEmpty()) mainWindow->openPicture(picturePath);
    });
    // Asked to stop (SIGTERM, SIGINT, SIGHUP), Kavi ends through the main window's shut-down, which
    // keeps unsaved covers in the recovery copy, puts the default printer back and writes the
    // settings; it runs once, so a second signal changes nothing. While the splash shows there is
    // nothing to keep.
    kavi::TerminationSignals stopRequests([&mainWindow](int signalNumber) {
        if (mainWindow) mainWindow->stopRequested(signalNumber);
        else QCoreApplication::quit();
    });
    splash.show();
    return app.exec();
}
