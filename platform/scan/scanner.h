// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The scanner: a source chooser and acquiring one picture into a BMP file, each with its own
// small modal dialog owned by the calling window.
#include <QString>

#include <memory>

class QWidget;

namespace kavi {

class Scanner {
public:
    virtual ~Scanner() = default;
    // Shows the source chooser; the chosen source is used by later acquisitions of this run.
    // The result only says whether a source was chosen; callers may ignore it.
    virtual int selectImageSource(QWidget* owner) = 0;
    // Acquires one picture from the current source (the first one found when none was chosen)
    // through the source's dialog and writes it as a BMP file at path. 0 on success; any other
    // value on failure, when no scanner is there, or when the user cancels.
    virtual int acquireToFilename(QWidget* owner, const QString& path) = 0;
};

// Result codes of SaneScanner besides 0.
enum ScanResult : int {
    ScanOk = 0,
    ScanCancelled = 1,
    ScanNoScanner = 2,
    ScanDeviceFailed = 3,
    ScanWriteFailed = 4,
};

class SaneLibrary;

// Scanners reached through SANE. SANE is started on first use and stopped with the object.
class SaneScanner final : public Scanner {
public:
    SaneScanner();
    ~SaneScanner() override;
    int selectImageSource(QWidget* owner) override;
    int acquireToFilename(QWidget* owner, const QString& path) override;
    // The SANE name of the source chosen in this run; empty before any choice.
    const QString& currentSource() const { return chosen_; }

private:
    SaneLibrary& library();

    std::unique_ptr<SaneLibrary> library_;
    QString chosen_;
};

} // namespace kavi
