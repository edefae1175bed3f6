// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The first window of the process: the product picture for four seconds (or until a key is
// pressed), then the main window.
#include <QWidget>
#include <functional>

class QLabel;
class QTimer;

namespace kavi {

class ScreenUnits;

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    // openMainWindow is called exactly once, after the splash has closed.
    SplashWindow(ScreenUnits& screen, std::function<void()> openMainWindow, QWidget* parent = nullptr);

    QLabel* Picture1 = nullptr;
    QTimer* Timer1 = nullptr;

    void Timer1_Timer();
    void Form_KeyPress();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void finish();
    void takeKeyboard();
    std::function<void()> openMainWindow_;
    bool finished_ = false;
    int grabTries_ = 0;
};

} // namespace kavi
