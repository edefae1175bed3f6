// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/update_window.h"

#include "update/version_number.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace kavi {

UpdateWindow::UpdateWindow(Platform& platform, QWidget* parent) : QDialog(parent), platform_(platform) {
    setObjectName(QStringLiteral("update"));
    setWindowTitle(QStringLiteral("Kavi Update"));
    const ScreenUnits& tw = platform_.screen;
    setFixedSize(tw.x(3690), tw.y(1995));
    // The layout in twips was made for an 8-point face; the desktop's larger default would cut the texts.
    QFont small = font();
    small.setPointSizeF(8);
    setFont(small);

    Frame1 = placeControl(tw, new QFrame(this), "Frame1", 120, 0, 3495, 1935);
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setFrameShadow(QFrame::Sunken);

    const auto label = [&](const QString& text) { return new QLabel(text, Frame1); };
    Label1 =
        placeControl(tw, label(QStringLiteral("Searching for newer versions of Kavi")), "Label1", 120, 240, 3210, 195);
    Label1->setAlignment(Qt::AlignCenter);
    Label2 = placeControl(tw, label(QStringLiteral("Current  Version :")), "Label2", 600, 600, 1575, 255);
    Label3 = placeControl(tw, label(QStringLiteral("Newest  Version :")), "Label3", 600, 960, 1575, 255);
    currentversion = placeControl(tw, label({}), "currentversion", 2280, 600, 855, 255);
    newestversion = placeControl(tw, label({}), "newestversion", 2280, 960, 855, 255);

    const auto button = [&](const char* name, const QString& text, int left, void (UpdateWindow::*handler)()) {
        auto* b = placeControl(tw, new QPushButton(text, Frame1), name, left, 1440, 1455, 375);
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        return b;
    };
    Command1 = button("Command1", QStringLiteral("&Yes"), 240, &UpdateWindow::Command1_Click);
    Command3 = button("Command3", QStringLiteral("Cl&ose"), 1080, &UpdateWindow::Command3_Click);
    Command2 = button("Command2", QStringLiteral("&Cancel"), 1920, &UpdateWindow::Command2_Click);

    Form_Load();
}

UpdateWindow::~UpdateWindow() = default;

void UpdateWindow::Form_Load() {
    current_ = QString::fromLatin1(kCurrentVersion);
    // While the version file is being fetched the window can only be closed.
    Command1->hide();
    Command2->hide();
    Command3->show();
    fetched_ = false;
    transfer_ =
        platform_.http.get(platform_.http.address(QString::fromLatin1(kVersionFilePath)), kVersionFetchTimeoutMs,
                           kVersionFileMaxBytes, [this](const HttpResponse& r) { versionFileFetched(r); });
}

void UpdateWindow::versionFileFetched(const HttpResponse& response) {
    fetched_ = true;
    using Outcome = HttpResponse::Outcome;
    switch (response.outcome) {
    case Outcome::Ok: {
        const QString newest = QString::fromUtf8(response.body).trimmed();
        if (versionNumber(newest)) showNewest(newest);
        else showFailure(QStringLiteral("The update server sent no version number."));
        return;
    }
    case Outcome::HttpError:
        showFailure(QStringLiteral("The update server answered with status %1.").arg(response.status));
        return;
    case Outcome::NetworkError:
        showFailure(QStringLiteral("The update server could not be reached (%1).").arg(response.error));
        return;
    case Outcome::TimedOut:
        showFailure(
            QStringLiteral("The update server did not answer within %1 seconds.").arg(kVersionFetchTimeoutMs / 1000));
        return;
    case Outcome::TooLarge: showFailure(QStringLiteral("The update server sent no version number.")); return;
    }
}

void UpdateWindow::showNewest(const QString& newest) {
    currentversion->setText(current_);
    newestversion->setText(newest);
    const std::optional<std::int16_t> mine = versionNumber(current_);
    const std::optional<std::int16_t> theirs = versionNumber(newest);
    if (mine && theirs && *mine < *theirs) {
        Label1->setText(QStringLiteral("A new update is available!"));
        Command1->show();
        Command2->show();
        Command3->hide();
    } else {
        Label1->setText(QStringLiteral("Your version is up to date!"));
        Command1->hide();
        Command2->hide();
        Command3->show();
    }
}

void UpdateWindow::showFailure(const QString& reason) {
    currentversion->setText(current_);
    newestversion->setText(QStringLiteral("unknown"));
    Label1->setText(QStringLiteral("Could not check for updates."));
    Label1->setToolTip(reason);
    Command1->hide();
    Command2->hide();
    Command3->show();
}

void UpdateWindow::Command1_Click() {
    platform_.shell.open(platform_.http.address(QString::fromLatin1(kLinuxPackagePath)).toString(), kShowNormal);
    accept();
}

void UpdateWindow::Command2_Click() { reject(); }
void UpdateWindow::Command3_Click() { reject(); }

void UpdateWindow::done(int result) {
    transfer_.reset(); // a fetch still running is abandoned with the window
    QDialog::done(result);
}

} // namespace kavi
