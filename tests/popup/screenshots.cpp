// Takes screenshots for looking at the windows as a user sees them (run under xvfb-run):
// the alert popup fully open, and the About window part way through its credits.
#include "frmabout.h"
#include "frmmsnpopup.h"
#include "msnpopup.h"
#include "platform.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace {

void settle() {
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

bool grabScreen(const QString& file) {
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    return shot.save(file);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s popup.png about.png\n", argv[0]);
        return 2;
    }
    kavi::RealPlatform real;
    kavi::Platform& platform = real.platform();

    QWidget workspace;
    workspace.setWindowTitle("Kavi 4");
    workspace.setGeometry(40, 40, 400, 250);
    workspace.show();
    kavi::msnpopup::AlertMessage = "Please select a cover by clicking on it and try again!";
    kavi::msnpopup::AlertKind = "picture";
    kavi::frmmsnpopup* popup = kavi::frmmsnpopup::showAlert(platform, &workspace);
    while (popup->tmrOpen->isActive()) popup->tmrOpen_Timer();
    settle();
    const bool popupSaved = grabScreen(QString::fromLocal8Bit(argv[1]));
    popup->close();
    settle();

    kavi::frmAbout about(platform, &workspace);
    about.show();
    settle();
    for (int i = 0; i < 160; ++i) about.Timer1_Timer();
    settle();
    const bool aboutSaved = grabScreen(QString::fromLocal8Bit(argv[2]));
    return popupSaved && aboutSaved ? 0 : 1;
}
