// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/splash_window.h"

#include "platform/desktop/twips.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace kavi {

SplashWindow::SplashWindow(ScreenUnits& screen, std::function<void()> openMainWindow, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), openMainWindow_(std::move(openMainWindow)) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QString());
    setFixedSize(screen.x(4215), screen.y(3015));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x1d, 0x2b, 0x45));
    setPalette(pal);

    Picture1 = placeControl(screen, new QLabel(this), "Picture1", 0, 0, 4215, 2535);
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1->setPixmap(QPixmap(QStringLiteral(":/kavi/splash.jpg")));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(4000);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &SplashWindow::Timer1_Timer);
    Timer1->start();

    if (const QScreen* s = QGuiApplication::primaryScreen()) move(s->availableGeometry().center() - rect().center());
    setFocusPolicy(Qt::StrongFocus);
}

void SplashWindow::Timer1_Timer() { finish(); }

void SplashWindow::Form_KeyPress() { finish(); }

void SplashWindow::keyPressEvent(QKeyEvent*) { Form_KeyPress(); }

void SplashWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    QTimer::singleShot(0, this, &SplashWindow::takeKeyboard);
}

// Window managers do not give a splash window the keyboard focus, so a key press would go
// nowhere. The splash takes the keyboard for its few seconds instead; the grab only succeeds once
// the window is on screen, so it is tried again for a second.
void SplashWindow::takeKeyboard() {
    if (finished_ || !isVisible()) return;
    activateWindow();
    if (windowHandle() && windowHandle()->setKeyboardGrabEnabled(true)) {
        grabKeyboard(); // key events of the grab come to this widget
        return;
    }
    if (++grabTries_ < 20) QTimer::singleShot(50, this, &SplashWindow::takeKeyboard);
}

void SplashWindow::finish() {
    if (finished_) return;
    finished_ = true;
    Timer1->stop();
    if (QWidget::keyboardGrabber() == this) releaseKeyboard();
    close();
    if (openMainWindow_) openMainWindow_();
}

} // namespace kavi
