// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// AlertPopupWindow: a small alert window that slides up from the bottom of the available screen area
// with a message on a blue-to-white gradient and a sound, and slides down when "Ok" is pressed.
// While it is open the workspace window is disabled.
#include "platform/platform.h"
#include "popup/alert_gradient.h"
#include "popup/alert_state.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <memory>

class QLabel;
class QPushButton;
class QTimer;

namespace kavi {

// The popup's picture box: it keeps the gradient drawn into it.
class GradientBox : public QWidget {
public:
    explicit GradientBox(QWidget* parent) : QWidget(parent) {}
    void setPicture(QImage picture) {
        picture_ = std::move(picture);
        update();
    }
    const QImage& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage picture_;
};

class AlertPopupWindow : public QWidget {
    Q_OBJECT
public:
    // Layout in twips.
    static constexpr int kBackgroundWidth = 2055;
    static constexpr int kBackgroundHeight = 1455;
    static constexpr int kStartHeight = 90;
    static constexpr int kSlideStep = 30;
    static constexpr int kTimerInterval = 10;

    // Hands message and kind to the module and shows a new popup with them, not modal; the popup
    // deletes itself once unloaded.
    static AlertPopupWindow* showAlert(Platform& platform, const AlertModule& module, QWidget* workspace,
                                       const QString& message, const QString& kind);

    AlertPopupWindow(Platform& platform, AlertModule module, QWidget* workspace);
    ~AlertPopupWindow() override;

    void Form_Load();
    void Form_Unload();
    // Fills, places and shows the popup and starts the slide-up. The display time is not acted
    // on: the popup closes when "Ok" is pressed.
    void DisplayAlert(const QString& message, int displayTimeMs);
    void Command1_Click();
    void tmrOpen_Timer();
    void tmrClose_Timer();

    // The outer rectangle in twips, and this popup's place in the stack.
    int outerLeft() const { return left_; }
    int outerTop() const { return top_; }
    int outerWidth() const { return width_; }
    int outerHeight() const { return height_; }
    int borderHeight() const { return borderHeight_; }
    int stackIndex() const { return index_; }
    bool isUnloaded() const { return unloaded_; }

    GradientBox* picBackground;
    QLabel* lblAlert;
    QPushButton* Command1;
    QTimer* tmrOpen;
    QTimer* tmrClose;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void applyGeometry();
    void paintBackground();

    Platform& platform_;
    AlertModule module_;
    QPointer<QWidget> workspace_;
    std::unique_ptr<msnpopupGradient> gradient_;
    int index_ = 0;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int borderWidth_ = 0, borderHeight_ = 0;
    bool unloaded_ = false;
};

} // namespace kavi
