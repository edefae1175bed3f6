// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One scanner reached through SANE: its settings that the scan dialog offers (resolution, colour
// mode, scan area) and one scan read into a picture. Nothing here shows a window.
#include <QImage>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace kavi {

struct ScannerDevice {
    QString name; // the SANE device name, such as "test:0"
    QString label; // vendor and model for people
};

// SANE started once for the life of the object; devices are only local ones (network backends
// are not probed, so listing is quick and never waits on the network).
class SaneLibrary {
public:
    SaneLibrary();
    ~SaneLibrary();
    SaneLibrary(const SaneLibrary&) = delete;
    SaneLibrary& operator=(const SaneLibrary&) = delete;
    bool started() const { return started_; }
    std::vector<ScannerDevice> devices();

private:
    bool started_ = false;
};

// A numeric setting with its allowed values: a list, or a range with a step (0: any value).
struct NumericSetting {
    bool offered = false;
    double value = 0;
    std::vector<double> choices;
    double min = 0, max = 0, step = 0;
    bool millimetres = false; // false for the area means pixels
};

struct ScanSettings {
    NumericSetting resolution;
    QStringList modes; // empty: the device offers no choice
    QString mode;
    NumericSetting left, top, right, bottom; // the scan area
};

class SaneDevice {
public:
    SaneDevice() = default;
    ~SaneDevice();
    SaneDevice(const SaneDevice&) = delete;
    SaneDevice& operator=(const SaneDevice&) = delete;

    bool open(const QString& name);
    bool isOpen() const { return handle_ != nullptr; }
    ScanSettings settings() const;
    // Sets what the device offers of these settings; false when the device refuses one.
    bool apply(const ScanSettings& settings);

    // Progress (0..1 when the size is known, negative otherwise); returning false cancels.
    using Progress = std::function<bool(double)>;
    // The scanned picture in Format_RGB32 carrying the scan's resolution (picture_resolution.h), or
    // a null image when the scan failed or was cancelled.
    // A device that leaves one call unanswered for longer than the silence limit is given up.
    QImage scan(const Progress& progress);
    void setSilenceLimit(std::chrono::milliseconds limit) { silenceLimit_ = limit; }
    // Whether the last scan was given up because the device stopped answering.
    bool lastScanGaveUp() const { return lastScanGaveUp_; }

private:
    int findOption(const char* name) const;
    NumericSetting numeric(const char* name) const;
    bool setNumber(const char* name, double value);
    std::pair<double, double> scanDpi() const;

    void* handle_ = nullptr;
    std::chrono::milliseconds silenceLimit_{60000};
    bool lastScanGaveUp_ = false;
};

} // namespace kavi
