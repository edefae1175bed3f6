// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The update check: asks the maker's server for the newest version and offers the download.
#include "platform/platform.h"

#include <QDialog>
#include <memory>

class QFrame;
class QLabel;
class QPushButton;

namespace kavi {

// This program's version, and where the maker publishes the newest one and its Linux package.
inline constexpr const char* kCurrentVersion = "4.00";
inline constexpr const char* kVersionFilePath = "/kavi/kaviver.txt";
inline constexpr const char* kLinuxPackagePath = "/kavi/kavi_amd64.deb";
inline constexpr int kVersionFetchTimeoutMs = 5000;
inline constexpr qint64 kVersionFileMaxBytes = 1024; // a version number is a few bytes

// The window "update". It opens at once and fetches the version file in the background; closing it
// abandons the fetch.
class UpdateWindow : public QDialog {
    Q_OBJECT
public:
    explicit UpdateWindow(Platform& platform, QWidget* parent = nullptr);
    ~UpdateWindow() override;

    void Form_Load();
    void Command1_Click(); // "&Yes"
    void Command2_Click(); // "&Cancel"
    void Command3_Click(); // "Cl&ose"
    // Runs when the fetch has ended, with its response.
    void versionFileFetched(const HttpResponse& response);
    bool isSearching() const { return transfer_ != nullptr && !fetched_; }

    QFrame* Frame1;
    QLabel *Label1, *Label2, *Label3, *currentversion, *newestversion;
    QPushButton *Command1, *Command3, *Command2;

    void done(int result) override;

private:
    void showNewest(const QString& newest);
    void showFailure(const QString& reason);

    Platform& platform_;
    QString current_;
    std::unique_ptr<HttpTransfer> transfer_;
    bool fetched_ = false;
};

} // namespace kavi
