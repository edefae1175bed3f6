// Kavi starts at the splash window, which opens the main window.
#include "frmSplash.h"
#include "frmcovercreator.h"
#include "maker.h"
#include "platform.h"
#include "system/termination_signals.h"

#include <QApplication>
#include <QIcon>
#include <memory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kavi"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kavi/kavi.svg")));
    // The window hides into the notification area; closing the last visible window must not end the run.
    QApplication::setQuitOnLastWindowClosed(false);

    kavi::RealPlatform services(QUrl(QString::fromLatin1(kavi::maker::kServer)));
    std::unique_ptr<kavi::frmcovercreator> mainWindow;
    kavi::frmSplash splash(services.platform().screen, [&] {
        mainWindow = std::make_unique<kavi::frmcovercreator>(services.platform());
        mainWindow->Form_Load();
    });
    // Asked to stop (SIGTERM, SIGINT, SIGHUP), Kavi ends through the main window's shut-down, which
    // puts the default printer back and writes the settings; it runs once, so a second signal
    // changes nothing. While the splash shows there is nothing to keep.
    kavi::TerminationSignals stopRequests([&mainWindow](int) {
        if (mainWindow) mainWindow->Form_Unload();
        else QCoreApplication::quit();
    });
    splash.show();
    return app.exec();
}
