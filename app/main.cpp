// Kavi starts at the splash window, which opens the main window.
#include "frmSplash.h"
#include "frmcovercreator.h"
#include "maker.h"
#include "platform.h"

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
    splash.show();
    return app.exec();
}
