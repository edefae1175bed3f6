// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/alert_popup_window.h"

#include "platform/files/program_folder.h"
#include "platform/imaging/qt_raster.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace kavi {

namespace {

// Gradient of the popup's background: light blue at the top fading to white at the bottom.
constexpr float kGradientAngle = -100;
constexpr std::uint32_t kGradientTop = raster::rgb(61, 149, 255);
constexpr std::uint32_t kGradientBottom = raster::rgb(255, 255, 255);

// The full-screen client height stands for the available area less this much, so that the first
// popup's fixed bottom edge lies on the bottom of the available area, above the panel.
constexpr int kClientAreaAllowance = 390;
// The first popup starts this far below the full-screen client area.
constexpr int kStartBelowClientArea = 300;
// Sliding down, the popup unloads once it is lower than this.
constexpr int kUnloadBelowHeight = 121;

int toTwips(int pixels, double dpi) { return int(std::lround(pixelsToTwips(pixels, dpi))); }

} // namespace

void GradientBox::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

AlertPopupWindow* AlertPopupWindow::showAlert(Platform& platform, const AlertModule& module, QWidget* workspace,
                                              const QString& message, const QString& kind) {
    module->AlertMessage = message;
    module->AlertKind = kind;
    auto* popup = new AlertPopupWindow(platform, module, workspace);
    popup->Form_Load();
    return popup;
}

AlertPopupWindow::AlertPopupWindow(Platform& platform, AlertModule module, QWidget* workspace)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), platform_(platform),
      module_(std::move(module)), workspace_(workspace) {
    setObjectName("frmmsnpopup");
    setAttribute(Qt::WA_DeleteOnClose);
    // The popup belongs to the workspace: it neither keeps the program running nor outlives it.
    setAttribute(Qt::WA_QuitOnClose, false);
    if (workspace) connect(workspace, &QObject::destroyed, this, &QObject::deleteLater);

    const ScreenUnits& s = platform_.screen;
    picBackground = placeControl(s, new GradientBox(this), "picBackground", 0, 0, kBackgroundWidth, kBackgroundHeight);
    lblAlert = placeControl(s, new QLabel(picBackground), "lblAlert", 120, 240, 1815, 615);
    lblAlert->setAlignment(Qt::AlignCenter);
    lblAlert->setWordWrap(true);
    lblAlert->setAttribute(Qt::WA_TranslucentBackground);
    lblAlert->setStyleSheet("QLabel { background: transparent; color: #001a4d; }");
    QFont font = lblAlert->font();
    font.setPointSize(8);
    lblAlert->setFont(font);

    Command1 = placeControl(s, new QPushButton("Ok", picBackground), "Command1", 600, 1080, 855, 255);
    connect(Command1, &QPushButton::clicked, this, &AlertPopupWindow::Command1_Click);

    tmrOpen = new QTimer(this);
    tmrOpen->setObjectName("tmrOpen");
    tmrOpen->setInterval(kTimerInterval);
    connect(tmrOpen, &QTimer::timeout, this, &AlertPopupWindow::tmrOpen_Timer);
    tmrClose = new QTimer(this);
    tmrClose->setObjectName("tmrClose");
    tmrClose->setInterval(kTimerInterval);
    connect(tmrClose, &QTimer::timeout, this, &AlertPopupWindow::tmrClose_Timer);

    // As laid out: exactly as wide as the background, at the starting height.
    width_ = kBackgroundWidth;
    height_ = kStartHeight;
}

AlertPopupWindow::~AlertPopupWindow() {
    // A popup destroyed without closing (the workspace went first) still gives the workspace back.
    if (!unloaded_) Form_Unload();
}

void AlertPopupWindow::Form_Load() {
    if (workspace_) workspace_->setEnabled(false);
    // "Ok" is the popup's only button; for the kind "picture" it is the one shown.
    if (module_->AlertKind == "picture") Command1->setVisible(true);
    DisplayAlert(module_->AlertMessage, 3000);
}

void AlertPopupWindow::DisplayAlert(const QString& message, int /*displayTimeMs*/) {
    module_->OpenAlerts = qint16(module_->OpenAlerts + 1);
    index_ = module_->OpenAlerts;
    lblAlert->setText(message);

    const double dpiX = platform_.screen.logicalDpiX(), dpiY = platform_.screen.logicalDpiY();
    const QRect available = platform_.desktop.available();
    const QRect screen = platform_.desktop.screen();
    const int clientAreaBottom = toTwips(available.y() + available.height(), dpiY) - kClientAreaAllowance;
    const QSize frame = frameGeometry().size() - geometry().size();
    borderWidth_ = toTwips(frame.width(), dpiX);
    borderHeight_ = toTwips(frame.height(), dpiY);

    left_ = toTwips(screen.x(), dpiX) + toTwips(screen.width(), dpiX) / 2 - width_ / 2;
    height_ = kStartHeight;
    width_ = kBackgroundWidth + borderWidth_;
    top_ = clientAreaBottom - (kBackgroundHeight + borderHeight_) * (index_ - 1) + kStartBelowClientArea;
    applyGeometry();
    show();

    platform_.sound.play(inProgramFolder("alert.wav"));
    paintBackground();
    tmrOpen->start();
}

void AlertPopupWindow::paintBackground() {
    if (!gradient_) {
        gradient_ = std::make_unique<msnpopupGradient>(
            platform_.systemColors, [this](const std::string& text, const std::string& title) {
                platform_.messages.show({QString::fromStdString(text), QString::fromStdString(title),
                                         MsgIcon::Exclamation, MsgButtons::Ok, MsgDefault::First});
            });
    }
    gradient_->setAngle(kGradientAngle);
    gradient_->setColor1(kGradientTop);
    gradient_->setColor2(kGradientBottom);
    const QSize size = picBackground->size();
    raster::Bitmap bitmap(std::max(size.width(), 0), std::max(size.height(), 0), 32);
    gradient_->Draw(bitmap);
    picBackground->setPicture(toImage(bitmap));
}

void AlertPopupWindow::applyGeometry() {
    const ScreenUnits& s = platform_.screen;
    move(s.x(left_), s.y(top_));
    resize(std::max(s.x(width_ - borderWidth_), 1), std::max(s.y(height_ - borderHeight_), 1));
}

void AlertPopupWindow::tmrOpen_Timer() {
    const int target = kBackgroundHeight + borderHeight_;
    if (target <= height_) {
        tmrOpen->stop();
        return;
    }
    const int grown = std::min(height_ + kSlideStep, target);
    // Grow upward: the bottom edge stays where it is.
    top_ -= grown - height_;
    height_ = grown;
    applyGeometry();
}

void AlertPopupWindow::tmrClose_Timer() {
    if (height_ < kUnloadBelowHeight) {
        tmrClose->stop(); // unloading empties the stack when this is the newest alert
        close();
        return;
    }
    height_ -= kSlideStep;
    top_ += kSlideStep;
    applyGeometry();
}

void AlertPopupWindow::Command1_Click() {
    // Pressed while still growing, the popup turns and slides down from where it is.
    tmrOpen->stop();
    tmrClose->start();
}

void AlertPopupWindow::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void AlertPopupWindow::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    // Also when the popup goes without sliding down (closed by the window manager, or with the
    // workspace): the next alert must not be placed above one that is no longer there.
    if (module_->OpenAlerts == index_) module_->OpenAlerts = 0;
    tmrOpen->stop();
    tmrClose->stop();
    if (workspace_) workspace_->setEnabled(true);
}

} // namespace kavi
