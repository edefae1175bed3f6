// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/tray_icon.h"

#include <QSystemTrayIcon>

namespace kavi {

class QtTrayIcon::Impl {
public:
    QSystemTrayIcon icon;
};

QtTrayIcon::QtTrayIcon() : impl_(new Impl) {
    QObject::connect(&impl_->icon, &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason r) {
        switch (r) {
        case QSystemTrayIcon::DoubleClick: activated(TrayActivation::DoubleClick); break;
        case QSystemTrayIcon::Trigger: activated(TrayActivation::SingleClick); break;
        case QSystemTrayIcon::Context: activated(TrayActivation::Context); break;
        case QSystemTrayIcon::MiddleClick: activated(TrayActivation::Middle); break;
        default: break;
        }
    });
}

QtTrayIcon::~QtTrayIcon() { delete impl_; }

bool QtTrayIcon::isAvailable() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

void QtTrayIcon::show(const QIcon& icon, const QString& tip) {
    impl_->icon.setIcon(icon);
    impl_->icon.setToolTip(tip);
    impl_->icon.show();
}

void QtTrayIcon::hide() { impl_->icon.hide(); }

bool QtTrayIcon::isShown() const { return impl_->icon.isVisible(); }

} // namespace kavi
