// SPDX-License-Identifier: GPL-3.0-or-later
// Takes screenshots for looking at the windows as a user sees them (run under xvfb-run):
// the alert popup fully open, and the About window part way through its credits.
#include "about/about_window.h"
#include "app/main_window.h"
#include "platform/platform.h"
#include "popup/alert_popup_window.h"
#include "popup/alert_state.h"

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
    kavi::RealPlatform real(QUrl(QStringLiteral("http://127.0.0.1:9")));
    kavi::Platform& platform = real.platform();

    kavi::MainWindow window(platform);
    window.move(0, 0);
    window.show();
    settle();
    // "Cover Manipulator" with no cover clicked: the popup, grown to its full height.
    window.Toolbar1_ButtonClick(3);
    kavi::AlertPopupWindow* popup = window.findChild<kavi::AlertPopupWindow*>();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<kavi::AlertPopupWindow*>(w)) popup = p;
    if (!popup) return 1;
    while (popup->tmrOpen->isActive()) popup->tmrOpen_Timer();
    settle();
    const bool popupSaved = grabScreen(QString::fromLocal8Bit(argv[1]));
    popup->close();
    settle();

    // "About": modal, so the credits are moved on and grabbed from inside its event loop.
    bool aboutSaved = false;
    QTimer::singleShot(0, &window, [&] {
        auto* about = qobject_cast<kavi::AboutWindow*>(QApplication::activeModalWidget());
        if (!about) return;
        settle();
        for (int i = 0; i < 160; ++i) about->Timer1_Timer();
        settle();
        aboutSaved = grabScreen(QString::fromLocal8Bit(argv[2]));
        about->close();
    });
    window.about_Click();
    return popupSaved && aboutSaved ? 0 : 1;
}
