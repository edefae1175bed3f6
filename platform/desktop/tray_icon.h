// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The notification-area icon.
#include <QIcon>
#include <QString>
#include <functional>

namespace kavi {

enum class TrayActivation { SingleClick, DoubleClick, Context, Middle };

class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    // False where the desktop has no notification area.
    virtual bool isAvailable() const = 0;
    virtual void show(const QIcon& icon, const QString& tip) = 0;
    virtual void hide() = 0;
    virtual bool isShown() const = 0;
    void setActivationHandler(std::function<void(TrayActivation)> handler) { handler_ = std::move(handler); }

protected:
    void activated(TrayActivation a) {
        if (handler_) handler_(a);
    }

private:
    std::function<void(TrayActivation)> handler_;
};

class QtTrayIcon final : public TrayIcon {
public:
    QtTrayIcon();
    ~QtTrayIcon() override;
    bool isAvailable() const override;
    void show(const QIcon& icon, const QString& tip) override;
    void hide() override;
    bool isShown() const override;

private:
    class Impl;
    Impl* impl_;
};

} // namespace kavi
